#include "platform/BusyPointer.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace platform {

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

// Watches, while a busy pointer is up, for modal windows coming and going: over one, the
// normal pointer.
class ModalWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
            return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow())
            return false;
        if (event->type() == QEvent::Show && window->isModal()) {
            if (m_Modal.empty())
                QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
            m_Modal.emplace_back(window);
        } else if (event->type() == QEvent::Hide) {
            Forget(window);
        }
        return false;
    }

    // Ends the pause, if any, as the busy pointer goes.
    void EndPause() {
        if (!m_Modal.empty()) {
            m_Modal.clear();
            QGuiApplication::restoreOverrideCursor();
        }
    }

private:
    void Forget(QWidget* window) {
        const bool paused = !m_Modal.empty();
        std::erase_if(m_Modal, [window](const QPointer<QWidget>& modal) {
            return modal.isNull() || modal == window;
        });
        if (paused && m_Modal.empty())
            QGuiApplication::restoreOverrideCursor();
    }

    std::vector<QPointer<QWidget>> m_Modal;
};

// Drops the input that queued up while the program worked. A window that comes up
// meanwhile (the question a close asked for) ends the dropping: what follows is for it.
class InputDrop : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow())
            m_Dropping = false;
        return m_Dropping && IsInput(event->type());
    }

private:
    bool m_Dropping = true;
};

int g_Depth = 0;
ModalWatch* g_Watch = nullptr;

} // namespace

BusyPointer::BusyPointer() {
    if (g_Depth++ > 0 || !qApp)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    g_Watch = new ModalWatch();
    qApp->installEventFilter(g_Watch);
}

BusyPointer::~BusyPointer() {
    if (--g_Depth > 0 || !g_Watch)
        return;
    qApp->removeEventFilter(g_Watch);
    g_Watch->EndPause();
    delete g_Watch;
    g_Watch = nullptr;
    QGuiApplication::restoreOverrideCursor();

    // Everything the window system queued meanwhile is taken now (drawing, a close asked
    // for and the rest as usual), the input without acting on it. Bounded, so that a
    // stream of events cannot keep the handler from returning.
    InputDrop drop;
    qApp->installEventFilter(&drop);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    qApp->removeEventFilter(&drop);
}

bool BusyPointer::Active() {
    return g_Depth > 0;
}

} // namespace platform
