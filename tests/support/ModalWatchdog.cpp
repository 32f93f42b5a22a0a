#include "tests/support/ModalWatchdog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {

constexpr int kLongestText = 200;

// The window's title, kind and every text it shows, enough to tell which window it is.
std::string Describe(QWidget* window) {
    QStringList texts;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(window))
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(child))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(child))
            text = button->text();
        else if (auto* line = qobject_cast<QLineEdit*>(child))
            text = line->text();
        else if (auto* group = qobject_cast<QGroupBox*>(child))
            text = group->title();
        else if (auto* rich = qobject_cast<QTextEdit*>(child))
            text = rich->toPlainText();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(child))
            text = plain->toPlainText();
        text = text.simplified();
        if (!text.isEmpty())
            texts << QLatin1Char('"') + text.left(kLongestText) + QLatin1Char('"');
    }
    QString out =
        QStringLiteral("title \"%1\" (%2 \"%3\")")
            .arg(window->windowTitle(), QString::fromLatin1(window->metaObject()->className()),
                 window->objectName());
    out += texts.isEmpty() ? QStringLiteral(", showing no text")
                           : QStringLiteral(", showing ") + texts.join(QStringLiteral(", "));
    return out.toStdString();
}

} // namespace

ModalWatchdog::ModalWatchdog(int limitMs) : m_LimitMs(limitMs) {}

ModalWatchdog::~ModalWatchdog() {
    delete m_Timer.data(); // already gone with the application at the end of a run
}

void ModalWatchdog::Install() {
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue(kLimitVariable, &ok);
    const int limit = ok && fromEnvironment > 0 ? fromEnvironment : kDefaultLimitMs;
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalWatchdog(limit));
}

void ModalWatchdog::OnTestStart(const ::testing::TestInfo& test) {
    m_Test = std::string(test.test_suite_name()) + "." + test.name();
    m_Closings = 0;
    if (m_Timer == nullptr && QCoreApplication::instance() != nullptr) {
        m_Timer = new QTimer(QCoreApplication::instance());
        m_Timer->setInterval(std::clamp(m_LimitMs / 10, 10, 100));
        QObject::connect(m_Timer, &QTimer::timeout, m_Timer, [this] { Check(); });
    }
    if (m_Timer != nullptr)
        m_Timer->start();
}

void ModalWatchdog::OnTestEnd(const ::testing::TestInfo&) {
    if (m_Timer != nullptr)
        m_Timer->stop();
    Watch(nullptr);
    m_ClosedAtLevel = 0;
}

// The limit counts from when the window was first seen open; hiding it starts again.
void ModalWatchdog::Watch(QWidget* modal) {
    QObject::disconnect(m_Hidden);
    m_Watched = modal;
    if (modal == nullptr)
        return;
    m_OpenFor.start();
    if (QWindow* window = modal->windowHandle())
        m_Hidden = QObject::connect(window, &QWindow::visibleChanged, m_Timer, [this](bool shown) {
            if (!shown)
                Watch(nullptr);
        });
}

void ModalWatchdog::Check() {
    QWidget* modal = QApplication::activeModalWidget();
    const int level = QThread::currentThread()->loopLevel();
    if (modal == nullptr) {
        Watch(nullptr);
        // A window closed here whose exec() (or other event loop) never returned would hang
        // the run as surely as the open window did.
        if (m_ClosedAtLevel > 0 && level < m_ClosedAtLevel)
            m_ClosedAtLevel = 0;
        else if (m_ClosedAtLevel > 0 && m_ClosedFor.elapsed() >= m_LimitMs)
            GiveUp(m_ClosedWindow + "; it was closed, but the event loop that showed it went on");
        return;
    }
    m_ClosedAtLevel = 0; // a modal window is open again: it is judged on its own
    if (modal->property(kOwnDeadline).toBool()) {
        Watch(nullptr);
        return;
    }
    if (modal != m_Watched) {
        Watch(modal);
        return;
    }
    if (m_OpenFor.elapsed() < m_LimitMs)
        return;

    const std::string window = Describe(modal);
    Watch(nullptr);
    ADD_FAILURE() << "An unexpected modal window was still open in " << m_Test << " after "
                  << m_LimitMs << " ms and is closed now: " << window;
    if (++m_Closings > kMostClosingsPerTest)
        GiveUp(window + "; modal windows kept coming back");

    const QPointer<QWidget> closing = modal;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->done(QDialog::Rejected);
    else
        modal->close();
    if (closing != nullptr && closing->isVisible())
        closing->hide();
    if (closing != nullptr && closing->isVisible())
        GiveUp(window + "; it would not close");
    m_ClosedAtLevel = level;
    m_ClosedWindow = window;
    m_ClosedFor.start();
}

void ModalWatchdog::GiveUp(const std::string& window) const {
    std::fflush(stdout);
    std::fprintf(stderr,
                 "\nModal window watchdog: %s left a modal window open, %s. Ending the run.\n",
                 m_Test.c_str(), window.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace testsupport
