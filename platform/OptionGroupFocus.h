#pragma once

#include <QObject>

class QButtonGroup;

namespace platform {

// Keeps an option group's one Tab stop where the desktop puts it: on the chosen option, or
// on the first when none is chosen, among the options shown and enabled. Left alone, Qt
// gives the stop to the option that last had the focus, so once that option is hidden
// (another question shows fewer rows) Tab never reaches the group. The arrow keys move
// within the group as before. Owned by the group; made once its buttons are in it.
class OptionGroupFocus : public QObject {
    Q_OBJECT

public:
    explicit OptionGroupFocus(QButtonGroup* group);

    // Puts the stop in place; runs by itself whenever an option is chosen, shown, hidden,
    // enabled or disabled.
    void Update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* m_Group;
};

} // namespace platform
