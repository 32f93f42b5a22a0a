#include "platform/FormUtilities.h"

#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace platform {

void CentreForm(QWidget* form, std::int16_t horizontalTwips, std::int16_t verticalTwips) {
    if (form == nullptr) {
        return;
    }
    QScreen* screen = form->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // A window that was never shown has no frame yet; its client size is the best guess.
    const QSize size = form->isVisible() ? form->frameGeometry().size() : form->size();
    const double perPixel = kTwipsPerPixel;
    const double left =
        area.x() + area.width() / 2.0 - size.width() / 2.0 + horizontalTwips / perPixel;
    const double top =
        area.y() + area.height() / 2.0 - size.height() / 2.0 + verticalTwips / perPixel;
    form->move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

bool OpenDocument(const QString& target) {
    try {
        return ShellOpen(target);
    } catch (...) {
        return false;
    }
}

} // namespace platform
