#pragma once

#include <QDialog>
#include <QPoint>

namespace dialogs {

// A dialog loaded on its first showing, centred then, and shown again where it was last
// hidden, however it is shown (exec() or show()).
class PlacedDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    void setVisible(bool visible) override;

protected:
    // Runs once, just before the first showing; centres the window.
    virtual void Form_Load();

private:
    bool m_Loaded = false;
    QPoint m_Place;
};

} // namespace dialogs
