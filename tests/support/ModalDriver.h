#pragma once

// Driving a dialog's exec() from a test: the action runs once the dialog is modal and
// active, and a deadline hides whatever modal window is still open, failing the test,
// so a dialog left open never hangs the run. A modal window that no deadline of a test
// watches is left to the watchdog every window test program installs (ModalWatchdog).

#include "tests/support/ModalWatchdog.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>

namespace testsupport {

inline constexpr int kDeadlineMs = 5000;

// Schedules act on the next modal dialog; call before exec().
inline void WhenModal(std::function<void(QDialog*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QElapsedTimer waited;
        waited.start();
        QWidget* modal = QApplication::activeModalWidget();
        while (modal == nullptr && waited.elapsed() < kDeadlineMs) {
            QTest::qWait(5);
            modal = QApplication::activeModalWidget();
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog came up";
            return;
        }
        if (!QTest::qWaitForWindowActive(dialog)) {
            ADD_FAILURE() << "the dialog never became active";
        }
        act(dialog);
    });
}

// Runs dialog.exec() with a deadline; the deadline's firing is a failure. The watchdog
// leaves the dialog to this deadline, which may be longer than its own limit.
inline void ExecWithDeadline(QDialog& dialog, int deadlineMs = kDeadlineMs) {
    dialog.setProperty(testsupport::ModalWatchdog::kOwnDeadline, true);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&dialog] {
        ADD_FAILURE() << dialog.objectName().toStdString() << " was still open at the deadline";
        dialog.hide();
    });
    deadline.start(deadlineMs);
    dialog.exec();
    dialog.setProperty(testsupport::ModalWatchdog::kOwnDeadline, QVariant());
}

// Types text key by key, any character (QTest::keyClicks knows ASCII only).
inline void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const int key = c.isLetterOrNumber() && c.unicode() < 128 ? c.toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

// A child control by its design name.
template <typename T> T* Control(QWidget* form, const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace testsupport
