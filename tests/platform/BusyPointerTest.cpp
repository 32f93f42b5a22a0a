#include "platform/BusyPointer.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/Pointer.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using platform::BusyPointer;
using testsupport::Pointer;
using testsupport::PointerOverridden;

namespace {

// A click and a Space waiting in the queue for button, as the window system holds them
// while the program works.
void QueueClickAndSpace(QPushButton& button) {
    const QPointF centre = QRectF(button.rect()).center();
    const QPointF global = button.mapToGlobal(centre);
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                         Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                         Qt::LeftButton, Qt::NoButton, {}));
    QCoreApplication::postEvent(&button, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}, " "));
    QCoreApplication::postEvent(&button, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, {}, " "));
}

} // namespace

TEST(BusyPointer, ShowsWhileWorkRunsAndGoesOnEveryWayOut) {
    ASSERT_FALSE(PointerOverridden());
    {
        const BusyPointer busy;
        EXPECT_TRUE(BusyPointer::Active());
        EXPECT_EQ(Pointer(), Qt::WaitCursor);
        {
            const BusyPointer inner; // work within work
            EXPECT_EQ(Pointer(), Qt::WaitCursor);
        }
        EXPECT_EQ(Pointer(), Qt::WaitCursor) << "the inner one left the outer's in place";
    }
    EXPECT_FALSE(BusyPointer::Active());
    EXPECT_FALSE(PointerOverridden());

    try {
        const BusyPointer busy;
        throw std::runtime_error("failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(PointerOverridden()) << "restored when the work ends in an exception";
}

// A question asked during the work shows the normal pointer while it is open.
TEST(BusyPointer, AModalWindowShowsTheNormalPointer) {
    QDialog question;
    question.setObjectName(QStringLiteral("question"));
    Qt::CursorShape whileAsked = Qt::WaitCursor;
    {
        const BusyPointer busy;
        testsupport::WhenModal([&](QDialog* dialog) {
            whileAsked = Pointer();
            dialog->accept();
        });
        testsupport::ExecWithDeadline(question);
        EXPECT_EQ(Pointer(), Qt::WaitCursor) << "busy again once it is answered";
    }
    EXPECT_EQ(whileAsked, Qt::ArrowCursor);
    EXPECT_FALSE(PointerOverridden());
}

// Clicks and keys made while the program worked are not acted on when it is done; what
// else waited is, and input from then on counts again.
TEST(BusyPointer, InputQueuedDuringTheWorkIsDropped) {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Act"), &window);
    button->resize(120, 40);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    QSignalSpy clicked(button, &QPushButton::clicked);
    bool timerRan = false;
    {
        const BusyPointer busy;
        QTimer::singleShot(0, [&timerRan] { timerRan = true; });
        QueueClickAndSpace(*button);
    }
    QTest::qWait(20);
    EXPECT_EQ(clicked.count(), 0) << "a click or key from the busy time was acted on late";
    EXPECT_TRUE(timerRan) << "what else waited is done";

    QueueClickAndSpace(*button);
    QTest::qWait(20);
    EXPECT_EQ(clicked.count(), 2);
}

// A window that comes up while the queue is emptied (the question a close asked for) takes
// the input that follows: otherwise it could never be answered.
TEST(BusyPointer, AWindowShownAfterTheWorkTakesInputAgain) {
    QWidget question;
    auto* yes = new QPushButton(QStringLiteral("Yes"), &question);
    yes->resize(120, 40);
    QSignalSpy answered(yes, &QPushButton::clicked);
    {
        const BusyPointer busy;
        QTimer::singleShot(0, [&question] { question.show(); });
        QTimer::singleShot(0, [yes] { QueueClickAndSpace(*yes); });
    }
    QTest::qWait(20);
    EXPECT_EQ(answered.count(), 2);
}
