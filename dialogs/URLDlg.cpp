#include "dialogs/URLDlg.h"

#include "dialogs/ProgramShell.h"
#include "kb/DataFileReader.h"
#include "kb/Utilities.h"
#include "platform/DesignWidgets.h"
#include "platform/EntryValidator.h"
#include "platform/FormUtilities.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace dialogs {

URLDlg::URLDlg(QWidget* parent) : QDialog(parent) {
    using platform::MakeButton;
    using platform::MakeFrame;
    using platform::TwipsRect;
    setObjectName(QStringLiteral("URLDlg"));
    setWindowTitle(QStringLiteral("Description URL or File Location"));
    setFixedSize(TwipsRect(0, 0, 5385, 1635).size());

    m_Frame2 = MakeFrame(this, QStringLiteral("Frame2"), TwipsRect(60, 0, 5265, 420));
    m_Note = new QLabel(QString(), m_Frame2);
    m_Note->setObjectName(QStringLiteral("Note"));
    m_Note->setGeometry(TwipsRect(60, 75, 5145, 270));
    m_Note->setAlignment(Qt::AlignCenter);
    QPalette noteColours = m_Note->palette();
    noteColours.setColor(QPalette::WindowText, platform::BgrToQColor(0x00004000));
    m_Note->setPalette(noteColours);

    m_Frame1 = MakeFrame(this, QStringLiteral("Frame1"), TwipsRect(60, 420, 5265, 1155));
    m_URLBox = new QLineEdit(m_Frame1);
    m_URLBox->setObjectName(QStringLiteral("URL"));
    m_URLBox->setGeometry(TwipsRect(120, 165, 5025, 345));
    // As long as a page the files hold, and no longer; a longer paste is refused whole and
    // said so, never cut.
    m_URLBox->setValidator(new platform::EntryValidator(
        m_URLBox, false, static_cast<int>(kb::DataFileReader::kMaxTextBytes)));

    m_BrowseBtn = MakeButton(m_Frame1, "BrowseBtn", QStringLiteral("Browse for URL"),
                             TwipsRect(120, 660, 1575, 375));
    m_CancelBtn = MakeButton(m_Frame1, "CancelBtn", QStringLiteral("Cancel"),
                             TwipsRect(2760, 660, 1140, 375));
    m_OKBtn = MakeButton(m_Frame1, "OKBtn", QStringLiteral("OK"), TwipsRect(4005, 660, 1140, 375));
    m_OKBtn->setDefault(true);
    m_BrowseBtn->setAutoDefault(false);
    m_CancelBtn->setAutoDefault(false);

    setTabOrder(m_URLBox, m_OKBtn);
    setTabOrder(m_OKBtn, m_CancelBtn);
    setTabOrder(m_CancelBtn, m_BrowseBtn);

    connect(m_OKBtn, &QPushButton::clicked, this, &URLDlg::OKBtn_Click);
    connect(m_CancelBtn, &QPushButton::clicked, this, &URLDlg::CancelBtn_Click);
    connect(m_BrowseBtn, &QPushButton::clicked, this, &URLDlg::BrowseBtn_Click);
}

void URLDlg::Initialise(const QString& desc) {
    m_URL = desc;
    m_URLBox->setText(desc);
}

void URLDlg::reject() {
    CancelBtn_Click();
}

void URLDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void URLDlg::Form_Activate() {
    platform::CentreForm(this, 0, 0);
    m_OKPressed = false;
    m_URLBox->setFocus();
}

bool URLDlg::IsValidURL() const {
    const QString text = m_URLBox->text();
    if (text.isEmpty()) {
        return false;
    }
    return !std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

void URLDlg::OKBtn_Click() {
    if (!IsValidURL()) {
        platform::MessageBox(QStringLiteral("Invalid Entry"), platform::Buttons::OK,
                             platform::Icon::Exclamation, platform::ProgramTitle());
        m_URLBox->clear();
        m_URLBox->setFocus();
        return;
    }
    m_OKPressed = true;
    std::string text = m_URLBox->text().toStdString();
    m_URL = QString::fromStdString(kb::TrimSpaces(text));
    hide();
}

void URLDlg::CancelBtn_Click() {
    m_OKPressed = false;
    m_URL.clear();
    hide();
}

void URLDlg::BrowseBtn_Click() {
    const QString text = m_URLBox->text();
    const QString inProgramFolder = platform::FindProgramFile(text);
    if (!inProgramFolder.isEmpty()) {
        platform::OpenDocument(inProgramFolder);
    } else if (text.isEmpty()) {
        OpenHomePage();
    } else {
        platform::OpenDocument(platform::ResolvePage(text));
    }
}

} // namespace dialogs
