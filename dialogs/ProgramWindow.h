#pragma once

#include <QMainWindow>

class QCloseEvent;
class QShowEvent;

namespace dialogs {

// The base of the three programs' main windows: a client area of the designed fixed
// size, centred on the screen once the window first has its real size, and a close that
// goes through the program's own Form_Unload, which may keep the window open.
class ProgramWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ProgramWindow(QWidget* parent = nullptr) : QMainWindow(parent) {}

protected:
    // The area below the menu bar that the frames fill. The designed window sizes include
    // the title bar, menu bar and borders, so each program gives its client size here.
    QWidget* MakeClientArea(int widthTwips, int heightTwips);
    // Runs whenever the window is about to close; false keeps it open.
    virtual bool Form_Unload() = 0;
    // The menus' shortcuts act even while box has the focus, which would otherwise take
    // Ctrl+X (cut), Ctrl+A (select all) and the like for itself.
    void PutMenuShortcutsFirst(QWidget* box);

    bool eventFilter(QObject* watched, QEvent* event) override;

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_Placed = false;
};

} // namespace dialogs
