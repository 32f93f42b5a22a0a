#pragma once

// Controls made the way every window makes them: the control's own name as the
// objectName, placed at a rectangle from TwipsRect, in the windows' typeface.

#include "platform/DesignLook.h"

#include <QKeySequence>
#include <QRect>
#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

namespace platform {

// The objectName of member index of a control array: "Name(index)".
QString Indexed(const QString& name, int index);

// A caption-less frame.
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QRect& place);
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                  const QFont& font = DesignFont(9));
// A button that Enter presses when it has the focus, as Space does.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& place, const QFont& font = DesignFont(8.25));
QAction* MakeItem(QMenu* menu, const QString& name, const QString& text,
                  const QKeySequence& shortcut = {});

} // namespace platform
