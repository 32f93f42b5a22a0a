#include "platform/DesignWidgets.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace platform {

QString Indexed(const QString& name, int index) {
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QRect& place) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(name);
    frame->setGeometry(place);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    // Captions and what they show (wordings, names, titles from files) are never markup.
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& place, const QFont& font) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setFont(font);
    // Enter presses a focused button as Space does, in every window and not only in
    // dialogs, as the desktop's buttons answer both.
    button->setAutoDefault(true);
    return button;
}

QAction* MakeItem(QMenu* menu, const QString& name, const QString& text,
                  const QKeySequence& shortcut) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

} // namespace platform
