#pragma once

#include "dialogs/PlacedDialog.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace dialogs {

// The name of a new record: upper-cased, at most 55 characters, never blank, never with
// "]" (the data file would cut the name there). Protocol: exec(), then OKPressed and
// GetRecordName.
class RecordDlg : public PlacedDialog {
    Q_OBJECT
public:
    explicit RecordDlg(QWidget* parent = nullptr);

    bool OKPressed() const { return m_OKPressed; }
    QString GetRecordName() const { return m_RecordName; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OKBtn_Click();
    void CancelBtn_Click();

private:
    void Form_Activate();
    bool IsValidRecordName() const;

    bool m_OKPressed = false;
    QString m_RecordName;

    QGroupBox* m_Frame1;
    QLineEdit* m_RecordNameBox;
    QPushButton* m_CancelBtn;
    QPushButton* m_OKBtn;
};

} // namespace dialogs
