#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dialogs {

// The page dialog: a help page or description page, as a web address or a file name.
// Protocol: Initialise with the current page, exec(), then OKPressed and GetURL.
class URLDlg : public QDialog {
    Q_OBJECT
public:
    explicit URLDlg(QWidget* parent = nullptr);

    void Initialise(const QString& desc);
    bool OKPressed() const { return m_OKPressed; }
    QString GetURL() const { return m_URL; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OKBtn_Click();
    void CancelBtn_Click();
    void BrowseBtn_Click();

private:
    void Form_Activate();
    bool IsValidURL() const;

    bool m_OKPressed = false;
    QString m_URL;

    QGroupBox* m_Frame2;
    QLabel* m_Note;
    QGroupBox* m_Frame1;
    QLineEdit* m_URLBox;
    QPushButton* m_BrowseBtn;
    QPushButton* m_CancelBtn;
    QPushButton* m_OKBtn;
};

} // namespace dialogs
