#pragma once

#include "dialogs/PlacedDialog.h"

class QFrame;
class QLabel;
class QPushButton;

namespace platform {
class ClickableLabel;
}

namespace dialogs {

// Names the program and its version, describes the system and links to the home page.
// The caller decides how it is shown: exec() for a modal window, show() for a modeless
// one.
class About : public PlacedDialog {
    Q_OBJECT
public:
    explicit About(QWidget* parent = nullptr);

protected:
    void Form_Load() override;

private slots:
    void AboutOK_Click();
    void Label6_Click();

private:
    QFrame* m_Panel3D1;
    QLabel* m_Picture2;
    QLabel* m_VersionLabel;
    QLabel* m_DescriptionLabel;
    QFrame* m_Panel3D2;
    QLabel* m_Label1;
    QLabel* m_Label3;
    QLabel* m_Label5;
    QLabel* m_Label7;
    platform::ClickableLabel* m_Label6;
    QFrame* m_Line1;
    QFrame* m_Line2;
    QPushButton* m_AboutOK;
};

} // namespace dialogs
