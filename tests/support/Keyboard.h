#pragma once

// Driving a window from the keyboard alone: keys go to the widget with the focus, as
// they do on a desktop, and Tab is pressed until the focus reaches what was looked for.

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>

namespace testsupport {

inline QWidget* Focused() {
    return QApplication::focusWidget();
}

// The focused widget's name, for failure messages.
inline QString FocusName() {
    QWidget* focus = Focused();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// Presses key (with modifiers) on the focused widget; false when nothing has the focus.
inline bool Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = Focused();
    if (!focus)
        return false;
    QTest::keyClick(focus, key, modifiers);
    return true;
}

// Presses Tab (Shift+Tab when backwards) until found holds for the focused widget, at
// most limit times; the widget found, or nullptr. passed collects the names the focus
// went through.
inline QWidget* TabUntil(const std::function<bool(QWidget*)>& found, QStringList* passed = nullptr,
                         bool backwards = false, int limit = 40) {
    for (int i = 0; i < limit; ++i) {
        if (!Press(backwards ? Qt::Key_Backtab : Qt::Key_Tab))
            return nullptr;
        if (passed)
            *passed << FocusName();
        if (found(Focused()))
            return Focused();
    }
    return nullptr;
}

} // namespace testsupport
