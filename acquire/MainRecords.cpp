// The six record commands: create, load, delete, describe, save and view. They keep the
// record array, the record count and RecordName's list in step (list item i names record i).

#include "acquire/Main.h"
#include "consult/RecordDisplayer.h"
#include "dialogs/KnowledgeBaseNotices.h"
#include "dialogs/RecordDlg.h"
#include "dialogs/SavedMsg.h"
#include "dialogs/URLDlg.h"
#include "kb/ArrayManager.h"
#include "kb/DataFileReader.h"
#include "kb/DataFileWriter.h"
#include "platform/BusyPointer.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QComboBox>
#include <QStringList>

namespace acquire {

namespace am = kb::ArrayManager;

namespace {

// The data file takes any item holding both "[" and "]" for a record's name line.
bool ReadsAsHeader(const QString& text) {
    return text.contains(u'[') && text.contains(u']');
}

void Refuse(const QString& text, platform::Icon icon = platform::Icon::Exclamation,
            const QString& title = platform::ProgramTitle()) {
    platform::MessageBox(text, platform::Buttons::OK, icon, title);
}

} // namespace

void Main::NewRecord_Click() {
    if (m_NumRecords >= kb::DataFileReader::kMaxRecords) {
        Refuse(QStringLiteral("A data file holds at most %1 records: delete a record before "
                              "creating another")
                   .arg(kb::DataFileReader::kMaxRecords));
        return;
    }
    if (!m_RecordDlg)
        m_RecordDlg = std::make_unique<dialogs::RecordDlg>(this);
    m_RecordDlg->exec();
    if (!m_RecordDlg->OKPressed())
        return;

    std::int16_t index = 0;
    if (am::IsRecordSlotEmpty(m_Records, 0)) {
        if (m_Records.empty())
            m_Records.resize(1);
        m_Records[0] = std::make_shared<kb::CRecord>();
    } else {
        index = static_cast<std::int16_t>(m_Records.size());
        am::InsertRecord(m_Records, index);
        if (am::IsRecordSlotEmpty(m_Records, index))
            return; // the array could not grow: nothing was added
    }
    kb::CRecord& record = *m_Records[static_cast<std::size_t>(index)];
    record.SetName(m_RecordDlg->GetRecordName().toStdString());
    RecordName->addItem(QString::fromStdString(record.GetName()));
    RecordName->setCurrentIndex(index);
    m_PickedItem = index;
    m_CurrentRecord = index;
    ++m_NumRecords;
    ShowQuestionAt(0);
    EnableResponses(true);
}

std::int16_t Main::NamedRecord(QString& name) const {
    name = RecordName->currentText();
    if (m_PickedItem >= 0 && m_PickedItem < m_NumRecords &&
        name == RecordName->itemText(m_PickedItem) &&
        !am::IsRecordSlotEmpty(m_Records, static_cast<std::int16_t>(m_PickedItem))) {
        // The box shows the item as it was picked, which may be the name abridged.
        const std::string whole = m_Records[static_cast<std::size_t>(m_PickedItem)]->GetName();
        name = QString::fromStdString(whole);
        return am::FindRecord(m_Records, whole);
    }
    return am::FindRecord(m_Records, name.toStdString());
}

void Main::LoadRecord_Click() {
    if (RecordName->currentText().isEmpty()) {
        Refuse(QStringLiteral("Select or Create a Record First"), platform::Icon::Exclamation,
               QStringLiteral("Error"));
        return;
    }
    QString name;
    const std::int16_t index = NamedRecord(name);
    if (index == am::kNotFound) {
        Refuse(QStringLiteral("Couldn't Load '") + name + QLatin1Char('\''),
               platform::Icon::Information);
        return;
    }
    m_CurrentRecord = index;
    ShowQuestionAt(0);
    EnableResponses(true);
}

void Main::RemoveListItem(int index) {
    // Removing the current item would put the next name into the box.
    const QString text = RecordName->currentText();
    RecordName->removeItem(index);
    RecordName->setEditText(text);
}

void Main::DeleteRecord_Click() {
    if (RecordName->currentText().isEmpty()) {
        Refuse(QStringLiteral("Select a Record to delete First"), platform::Icon::Exclamation,
               QStringLiteral("Error"));
        return;
    }
    QString name;
    const std::int16_t index = NamedRecord(name);
    if (index == am::kNotFound) {
        Refuse(QStringLiteral("Couldn't Delete '") + name + QLatin1Char('\''),
               platform::Icon::Information);
        return;
    }
    if (platform::MessageBox(QStringLiteral("Delete Record : ") + name, platform::Buttons::YesNo,
                             platform::Icon::None,
                             QStringLiteral("Confirm")) != platform::Answer::Yes)
        return;
    am::RemoveRecord(m_Records, index);
    RemoveListItem(index);
    --m_NumRecords;
    m_CurrentRecord = kNoRecord;
    EnableResponses(false);
    ResetDisplay();
}

void Main::DescribeRecord_Click() {
    if (!IsRecordChosen()) {
        Refuse(QStringLiteral("Select or Create a Record to Describe"));
        return;
    }
    kb::CRecord& record = *m_Records[static_cast<std::size_t>(m_CurrentRecord)];
    if (!m_URLDlg)
        m_URLDlg = std::make_unique<dialogs::URLDlg>(this);
    QString page = QString::fromStdString(record.GetDescription());
    for (;;) {
        m_URLDlg->Initialise(page);
        m_URLDlg->exec();
        if (!m_URLDlg->OKPressed())
            return;
        page = m_URLDlg->GetURL();
        if (!ReadsAsHeader(page))
            break;
        // Asked again with the text as typed, so it can be put right.
        Refuse(QStringLiteral("A description page cannot contain both \"[\" and \"]\""));
    }
    record.SetDescription(page.toStdString());
}

void Main::SaveRecord_Click() {
    const platform::BusyPointer busy;
    // Text the data file would read back as something else never reaches it.
    for (std::int16_t i = 0; i < m_NumRecords; ++i) {
        const kb::CRecord& record = *m_Records[static_cast<std::size_t>(i)];
        if (!kb::DataFileCanKeep(kb::RecordText::Name, record.GetName()) ||
            !kb::DataFileCanKeep(kb::RecordText::Page, record.GetDescription())) {
            Refuse(QStringLiteral("Cannot Save Records To ") + m_DataFileName +
                       QStringLiteral("\nRecord '") + QString::fromStdString(record.GetName()) +
                       QStringLiteral("' holds text the data file cannot keep:\nno name may hold "
                                      "a comma or \"]\", and no page a comma or both \"[\" "
                                      "and \"]\""),
                   platform::Icon::Critical);
            return;
        }
    }
    const QString outcome = m_NumRecords > 0
                                ? QStringLiteral("replace the data file with the records held here")
                                : QStringLiteral("delete the data file");
    const auto mayLose = [&](const kb::CKnowledgeBase::Question& question) {
        QStringList paragraphs;
        if (question.questionSetChanged || question.dataFileChanged) {
            // Another program saved since: the records held here may answer questions that
            // have moved, and what it wrote would be lost.
            QStringList changed;
            if (question.questionSetChanged)
                changed << QString::fromStdString(question.questionSet);
            if (question.dataFileChanged)
                changed << QString::fromStdString(question.dataFile);
            paragraphs << QStringLiteral("Changed on disk since Drosk read or last saved it:\n") +
                              changed.join(u'\n') +
                              QStringLiteral("\nSaving now would %1, losing those changes; "
                                             "responses may land on questions that have moved.")
                                  .arg(outcome);
        } else if (question.dataFilePartlyRead) {
            paragraphs << QStringLiteral("The data file could be read only in part:\n") +
                              QString::fromStdString(question.dataFile) +
                              QStringLiteral("\nSaving now would %1, losing what could not be "
                                             "read.")
                                  .arg(outcome);
        }
        if (question.dataFileElsewhere) {
            paragraphs << QStringLiteral("The data file beside the question set is a link to a "
                                         "file outside its folder, and saving writes that "
                                         "file:\n") +
                              QString::fromStdString(question.dataFile);
        }
        paragraphs << QStringLiteral("Save Records anyway?");
        return platform::MessageBox(paragraphs.join(u'\n'), platform::Buttons::YesNoDefaultNo,
                                    platform::Icon::Exclamation,
                                    platform::ProgramTitle()) == platform::Answer::Yes;
    };
    kb::CKnowledgeBase::Plan plan;
    plan.data = m_NumRecords > 0 ? kb::CKnowledgeBase::Plan::Data::Write
                                 : kb::CKnowledgeBase::Plan::Data::Remove;
    plan.records = &m_Records;
    const auto saved = m_KnowledgeBase.Save(plan, mayLose);
    dialogs::ShowMended(m_KnowledgeBase);
    // Messages name the file really written, a link followed.
    const QString target = QString::fromStdString(m_KnowledgeBase.DataFileTarget());
    switch (saved) {
    case kb::CKnowledgeBase::Outcome::Done:
        if (m_NumRecords <= 0)
            return; // deleted, or there was nothing to delete: no notice
        break;
    case kb::CKnowledgeBase::Outcome::Declined:
        return;
    case kb::CKnowledgeBase::Outcome::Busy:
        Refuse(QStringLiteral("Cannot Save Records To ") + target +
                   QStringLiteral("\nAnother program is saving this knowledge base. Nothing was "
                                  "saved; try again in a moment."),
               platform::Icon::Exclamation);
        return;
    default: {
        const QString first = m_NumRecords > 0 ? QStringLiteral("Cannot Save Records To ") + target
                                               : QStringLiteral("Cannot Delete ") + m_DataFileName;
        Refuse(first + u'\n' +
                   dialogs::FailureLines(m_KnowledgeBase.LastFailure(),
                                         m_NumRecords > 0 ? target : m_DataFileName),
               platform::Icon::Critical);
        return;
    }
    }
    if (!m_SavedMsg)
        m_SavedMsg = std::make_unique<dialogs::SavedMsg>(this);
    m_SavedMsg->Initialise(target);
    m_SavedMsg->exec();
}

void Main::ViewRecordsBtn_Click() {
    if (m_NumRecords < 1) {
        Refuse(QStringLiteral("This database is currently empty"), platform::Icon::Information,
               QStringLiteral("Info"));
        return;
    }
    if (!m_RecordDisplayer)
        m_RecordDisplayer = std::make_unique<consult::RecordDisplayer>();
    m_RecordDisplayer->Initialise(m_Records, m_Questions,
                                  static_cast<std::int16_t>(m_Records.size()), QString(), false);
    m_RecordDisplayer->show();
    m_RecordDisplayer->raise();
    m_RecordDisplayer->activateWindow();
}

} // namespace acquire
