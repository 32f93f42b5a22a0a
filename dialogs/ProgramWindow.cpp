#include "dialogs/ProgramWindow.h"

#include "platform/FormUtilities.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QLayout>
#include <QShowEvent>

namespace dialogs {

QWidget* ProgramWindow::MakeClientArea(int widthTwips, int heightTwips) {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(platform::TwipsRect(0, 0, widthTwips, heightTwips).size());
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    return client;
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void ProgramWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Centred once, when the window first has its real size.
    if (!m_Placed) {
        m_Placed = true;
        platform::CentreForm(this, 0, 0);
    }
}

} // namespace dialogs
