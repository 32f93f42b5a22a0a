#include "dialogs/ProgramWindow.h"

#include "platform/FormUtilities.h"
#include "platform/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QShowEvent>
#include <algorithm>

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

void ProgramWindow::PutMenuShortcutsFirst(QWidget* box) {
    box->installEventFilter(this);
}

bool ProgramWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // A box that accepts the override keeps the key from the menu; left ignored, the
        // key goes to the menu item that has it.
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        const QList<QAction*> items = menuBar()->findChildren<QAction*>();
        const bool isMenuShortcut = std::any_of(items.begin(), items.end(), [&](QAction* item) {
            return item->isEnabled() && item->shortcuts().contains(pressed);
        });
        if (isMenuShortcut) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
