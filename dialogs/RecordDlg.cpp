#include "dialogs/RecordDlg.h"

#include "kb/Utilities.h"
#include "platform/DesignWidgets.h"
#include "platform/EntryValidator.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace dialogs {

namespace {

constexpr int kMaxRecordName = 55;

} // namespace

RecordDlg::RecordDlg(QWidget* parent) : PlacedDialog(parent) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("RecordDlg"));
    setWindowTitle(QStringLiteral("Record Name"));
    setFixedSize(TwipsRect(0, 0, 5400, 1320).size());

    m_Frame1 = new QGroupBox(QStringLiteral(" Type the record name here "), this);
    m_Frame1->setObjectName(QStringLiteral("Frame1"));
    m_Frame1->setGeometry(TwipsRect(60, 45, 5280, 1230));

    m_RecordNameBox = new QLineEdit(m_Frame1);
    m_RecordNameBox->setObjectName(QStringLiteral("RecordName"));
    m_RecordNameBox->setGeometry(TwipsRect(120, 300, 5040, 345));
    m_RecordNameBox->setValidator(
        new platform::EntryValidator(m_RecordNameBox, true, kMaxRecordName));

    m_CancelBtn = platform::MakeButton(m_Frame1, QStringLiteral("CancelBtn"),
                                       QStringLiteral("Cancel"), TwipsRect(2760, 765, 1140, 375));
    m_OKBtn = platform::MakeButton(m_Frame1, QStringLiteral("OKBtn"), QStringLiteral("OK"),
                                   TwipsRect(4020, 765, 1140, 375));
    m_OKBtn->setDefault(true);
    m_CancelBtn->setAutoDefault(false);

    setTabOrder(m_RecordNameBox, m_OKBtn);
    setTabOrder(m_OKBtn, m_CancelBtn);

    connect(m_OKBtn, &QPushButton::clicked, this, &RecordDlg::OKBtn_Click);
    connect(m_CancelBtn, &QPushButton::clicked, this, &RecordDlg::CancelBtn_Click);
}

void RecordDlg::reject() {
    CancelBtn_Click();
}

void RecordDlg::showEvent(QShowEvent* event) {
    PlacedDialog::showEvent(event);
    Form_Activate();
}

void RecordDlg::Form_Activate() {
    m_OKPressed = false;
    m_RecordName.clear();
    m_RecordNameBox->clear();
    m_RecordNameBox->setFocus();
}

bool RecordDlg::IsValidRecordName() const {
    const QString text = m_RecordNameBox->text();
    if (text.isEmpty()) {
        return false;
    }
    return !std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

void RecordDlg::OKBtn_Click() {
    if (!IsValidRecordName()) {
        platform::MessageBox(QStringLiteral("Invalid Record Name"), platform::Buttons::OK,
                             platform::Icon::Exclamation, platform::ProgramTitle());
        m_RecordNameBox->clear();
        m_RecordNameBox->setFocus();
        return;
    }
    // The data file closes a record's name at its first "]".
    if (m_RecordNameBox->text().contains(u']')) {
        platform::MessageBox(QStringLiteral("A record name cannot contain \"]\""),
                             platform::Buttons::OK, platform::Icon::Exclamation,
                             platform::ProgramTitle());
        m_RecordNameBox->setFocus();
        return;
    }
    m_OKPressed = true;
    std::string text = m_RecordNameBox->text().toStdString();
    m_RecordName = QString::fromStdString(kb::TrimSpaces(text));
    hide();
}

void RecordDlg::CancelBtn_Click() {
    hide();
    m_OKPressed = false;
    m_RecordName.clear();
}

} // namespace dialogs
