#include "dialogs/PlacedDialog.h"

#include "platform/FormUtilities.h"

namespace dialogs {

void PlacedDialog::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (!m_Loaded) {
            m_Loaded = true;
            Form_Load();
        } else {
            move(m_Place);
        }
    }
    if (!visible && isVisible())
        m_Place = pos();
    QDialog::setVisible(visible);
}

void PlacedDialog::Form_Load() {
    platform::CentreForm(this, 0, 0);
}

} // namespace dialogs
