#include "platform/OptionGroupFocus.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>

namespace platform {

OptionGroupFocus::OptionGroupFocus(QButtonGroup* group) : QObject(group), m_Group(group) {
    for (QAbstractButton* option : m_Group->buttons())
        option->installEventFilter(this);
    connect(m_Group, &QButtonGroup::buttonToggled, this, &OptionGroupFocus::Update);
    Update();
}

void OptionGroupFocus::Update() {
    QAbstractButton* stop = nullptr;
    QAbstractButton* first = nullptr;
    for (QAbstractButton* option : m_Group->buttons()) {
        if (option->isHidden() || !option->isEnabled())
            continue;
        if (!first)
            first = option;
        if (option->isChecked()) {
            stop = option;
            break;
        }
    }
    if (!stop)
        stop = first;
    for (QAbstractButton* option : m_Group->buttons()) {
        const Qt::FocusPolicy policy = option == stop
                                           ? Qt::FocusPolicy(option->focusPolicy() | Qt::TabFocus)
                                           : Qt::FocusPolicy(option->focusPolicy() & ~Qt::TabFocus);
        if (policy != option->focusPolicy())
            option->setFocusPolicy(policy);
    }
}

bool OptionGroupFocus::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::EnabledChange:
        Update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
