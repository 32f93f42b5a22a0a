#pragma once

#include "dialogs/PlacedDialog.h"

class QFrame;
class QLabel;
class QTimer;

namespace dialogs {

// The timed notice naming the file a Save has just written. The caller calls Initialise
// and then exec(); the notice hides itself after one second. Callers show it only after
// a write that succeeded.
class SavedMsg : public PlacedDialog {
    Q_OBJECT
public:
    explicit SavedMsg(QWidget* parent = nullptr);

    void Initialise(const QString& Filename);
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void Timer1_Timer();

private:
    void Form_Activate();

    QString m_Filename;

    QFrame* m_Frame1;
    QLabel* m_Label1;
    QLabel* m_FilenameLabel;
    QTimer* m_Timer1;
};

} // namespace dialogs
