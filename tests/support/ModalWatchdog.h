#pragma once

// A modal window that no test action closes would block its exec() until CTest ends the
// whole program, naming no test. The watchdog looks at the open modal window several times a
// second while a test runs; once the same one has been open for its limit it fails the
// running test, naming the test and the window's title and texts, and closes the window so
// the run goes on. A window that will not close, or whose event loop goes on without it,
// ends the program at once with that message.

#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>
#include <gtest/gtest.h>
#include <string>

class QTimer;
class QWidget;

namespace testsupport {

class ModalWatchdog : public ::testing::EmptyTestEventListener {
public:
    static constexpr int kDefaultLimitMs = 3000;
    // Set (in milliseconds) in the environment, it replaces the default limit: longer when
    // a person steps through a test in a debugger, shorter for the watchdog's own test.
    static constexpr const char* kLimitVariable = "CORVANE_MODAL_WATCHDOG_MS";
    // A dynamic property: true on a dialog that a test runs with a deadline of its own
    // (ExecWithDeadline), which the watchdog then leaves to that deadline.
    static constexpr const char* kOwnDeadline = "corvaneOwnDeadline";
    // Closing windows again and again in one test means something keeps opening them.
    static constexpr int kMostClosingsPerTest = 3;

    explicit ModalWatchdog(int limitMs);
    ~ModalWatchdog() override;
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    // Hands GoogleTest a watchdog with the limit from the environment or the default. Call
    // in main, after the QApplication is made and before the tests run.
    static void Install();

    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

private:
    void Check();
    void Watch(QWidget* modal);
    [[noreturn]] void GiveUp(const std::string& window) const;

    int m_LimitMs;
    std::string m_Test;
    QPointer<QTimer> m_Timer;
    QPointer<QWidget> m_Watched;
    QMetaObject::Connection m_Hidden;
    QElapsedTimer m_OpenFor;
    int m_Closings = 0;
    // The event loop level at which the last window was closed, while that loop may still
    // run (0: none); the loop must end within the limit too.
    int m_ClosedAtLevel = 0;
    std::string m_ClosedWindow;
    QElapsedTimer m_ClosedFor;
};

} // namespace testsupport
