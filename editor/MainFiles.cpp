// Loading a question set (with the data file beside it) and saving it.

#include "dialogs/KnowledgeBaseNotices.h"
#include "dialogs/QuestionFileNotices.h"
#include "dialogs/SavedMsg.h"
#include "editor/Main.h"
#include "editor/QuestionFileWriter.h"
#include "editor/SavePlan.h"
#include "kb/QuestionFileReader.h"
#include "kb/Utilities.h"
#include "platform/BusyPointer.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

#include <QStringList>

#include <algorithm>

namespace editor {

namespace {

void Warn(const QString& text, platform::Icon icon = platform::Icon::Exclamation) {
    platform::MessageBox(text, platform::Buttons::OK, icon, platform::ProgramTitle());
}

bool Exists(const QString& path) {
    return !path.isEmpty() && kb::FileExists(path.toStdString());
}

// The reader takes an item that begins with a double quote only up to the closing quote,
// and a comma ends an item: such a text would read back as something else.
bool FileCannotKeep(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return text.find(',') != std::string::npos ||
           (first != std::string::npos && text[first] == '"');
}

bool HoldsTextFileCannotKeep(const kb::CQuestion& q) {
    if (FileCannotKeep(q.GetKEQ()) || FileCannotKeep(q.GetUserQ()) || FileCannotKeep(q.GetQHelp()))
        return true;
    for (std::int16_t i = 0; i < q.GetNumOptions(); ++i) {
        if (FileCannotKeep(q.GetOption(i)))
            return true;
    }
    return false;
}

// The reader leaves out text after an item's closing quote, and saving writes only what
// was read.
void WarnTextPassedOver(const QString& path) {
    Warn(QStringLiteral("Text after a closing quote in this question set could not be read; "
                        "saving it will write the set without that text:\n") +
         path);
}

// Before saving over files another program changed since this one read or saved them.
bool MaySaveOver(const kb::CKnowledgeBase::Question& question) {
    const QString questionSet = QString::fromStdString(question.questionSet);
    const QString dataFile = QString::fromStdString(question.dataFile);
    QStringList paragraphs;
    if (question.questionSetChanged) {
        paragraphs << QStringLiteral("The question set changed on disk since Halvet read or last "
                                     "saved it:\n") +
                          questionSet +
                          QStringLiteral("\nSaving now replaces it with the questions held here, "
                                         "and what was saved there is lost.");
    }
    if (question.recordsMayMove) {
        // The records beside it answer the questions saved there, by number.
        paragraphs << QStringLiteral("The records of the data file beside it answer the "
                                     "questions saved there, question by question:\n") +
                          dataFile +
                          QStringLiteral("\nSaving these questions in their place puts the "
                                         "records' answers on other questions wherever the two "
                                         "sets differ.");
    }
    if (question.dataFileChanged) {
        paragraphs << QStringLiteral("The data file changed on disk since Halvet read or last "
                                     "saved the set:\n") +
                          dataFile +
                          QStringLiteral("\nSaving now renumbers it as it is now; records made "
                                         "there for other questions would have their answers "
                                         "moved with these.");
    }
    if (question.dataFileElsewhere) {
        paragraphs << QStringLiteral("The data file beside the question set is a link to a file "
                                     "outside its folder, and saving renumbers that file:\n") +
                          dataFile;
    }
    paragraphs << QStringLiteral("Save Questions anyway?");
    return platform::MessageBox(paragraphs.join(QStringLiteral("\n\n")),
                                platform::Buttons::YesNoDefaultNo, platform::Icon::Exclamation,
                                platform::ProgramTitle()) == platform::Answer::Yes;
}

// The save stopped: say which file stopped it, and why.
void WarnNotSaved(const kb::CKnowledgeBase::Failure& failure, const QString& questionSet) {
    using Which = kb::CKnowledgeBase::Which;
    const QString path = QString::fromStdString(failure.path);
    QString text;
    switch (failure.file) {
    case Which::QuestionSet:
        text = QStringLiteral("Cannot Save Questions To ") + path + u'\n';
        break;
    case Which::DataFile:
        text = QStringLiteral("Cannot Save Data File To ") + path + u'\n';
        break;
    default:
        text = QStringLiteral("Cannot Save Questions To ") + questionSet + u'\n' + path + u'\n';
        break;
    }
    text += QString::fromStdString(failure.why);
    if (!failure.pending)
        text += QStringLiteral("\nNothing was saved: the question set and its data file are as "
                               "they were, and the changes made here are kept.");
    Warn(text, platform::Icon::Critical);
}

} // namespace

bool Main::HasDataFile() const {
    return !m_QFileName.isEmpty() && m_KnowledgeBase.HasDataFile();
}

void Main::LoadQuestionsBtn_Click() {
    const platform::BusyPointer busy;
    const QString chosen = platform::OpenFileName(this, platform::kQuestionFilter, QString());
    if (chosen.isEmpty())
        return;

    // Read aside: a failed load never leaves a mixture of two sets.
    kb::CKnowledgeBase::Contents contents;
    const auto outcome = m_KnowledgeBase.Open(chosen.toStdString(), contents);
    dialogs::ShowMended(m_KnowledgeBase);
    if (outcome == kb::CKnowledgeBase::Outcome::Unreadable) {
        Warn(QStringLiteral("Cannot Read Question File: Check Format") +
             dialogs::QuestionLimitLine(m_KnowledgeBase.QuestionSetTooLong()));
        return;
    }
    if (outcome != kb::CKnowledgeBase::Outcome::Done) {
        dialogs::WarnNotLoaded(m_KnowledgeBase, outcome, chosen);
        return;
    }
    // Changes still waiting for the data file of the set held before are dropped; the data
    // file beside this one is looked over, to name at once a line it cannot renumber.
    m_DataModifier = CDataFileModifier();
    const std::string path = m_KnowledgeBase.DataFilePath();
    const bool dataReadable =
        !contents.dataFileExists || (contents.dataFileReadable && m_DataModifier.Init(path));

    const auto whole = static_cast<int>(contents.questions.size());
    m_QFileName = QString::fromStdString(m_KnowledgeBase.QuestionSetPath());
    platform::SetQuestionSetFile(m_QFileName);
    m_Questions = std::move(contents.questions);
    m_CurrentQ = 0;
    ShowQuestion(CurrentQuestion());
    // Saving writes only what was read, so the rest of the file would be lost unasked.
    if (!contents.questionSetWhole) {
        Warn(QStringLiteral("Only the first %1 question(s) of this question set could be read; "
                            "saving it will write only these:\n")
                 .arg(whole) +
             m_QFileName);
    } else if (contents.textPassedOver > 0) {
        WarnTextPassedOver(m_QFileName);
    }

    const QString dataFile = QString::fromStdString(path);
    if (!dataReadable) {
        Warn(QStringLiteral("The data file beside this question set could not be read; while it "
                            "cannot, inserted or deleted questions cannot be saved:\n") +
             dataFile);
    } else if (const long line = m_DataModifier.GetFirstUnshiftableLine(); line > 0) {
        // Said now, before the user inserts or deletes questions the file cannot follow.
        Warn(QStringLiteral("Line %1 of the data file beside this question set holds a "
                            "question's responses together with other items. Such a line "
                            "cannot be renumbered: inserting or deleting a question before "
                            "that one cannot be saved while it is there.\n")
                 .arg(line) +
             dataFile);
    }
}

bool Main::CheckBeforeSave() {
    const auto last = static_cast<std::int16_t>(m_Questions.size() - 1);
    const auto isEmpty = [](const std::shared_ptr<kb::CQuestion>& q) { return q->IsEmpty(); };
    // Several questions, all of them empty, would make an empty file just the same.
    if (std::all_of(m_Questions.begin(), m_Questions.end(), isEmpty)) {
        Warn(QStringLiteral("There is nothing to save"), platform::Icon::Information);
        return false;
    }
    const kb::CQuestion& lastQuestion = *m_Questions[static_cast<std::size_t>(last)];
    if (!lastQuestion.IsComplete(last) && !lastQuestion.IsEmpty()) {
        Warn(QStringLiteral("Question %1 is incomplete.  Clear  ALL\n"
                            "entries in it OR complete the Question")
                 .arg(last + 1));
        return false;
    }
    // An empty question before one with content would end the set early when read back,
    // and the data file's responses would no longer meet their questions.
    const auto lastFilled = std::find_if_not(m_Questions.rbegin(), m_Questions.rend(), isEmpty);
    const auto firstEmpty = std::find_if(m_Questions.begin(), lastFilled.base(), isEmpty);
    if (firstEmpty != lastFilled.base()) {
        Warn(QStringLiteral("Question %1 is empty.  Fill it in or delete it\n"
                            "before saving the questions")
                 .arg(firstEmpty - m_Questions.begin() + 1));
        return false;
    }
    // Said here, before anything is written: the writer would refuse the set.
    if (const std::size_t count = QuestionFileWriter::QuestionsToWrite(m_Questions);
        count > static_cast<std::size_t>(kb::QuestionFileReader::kMaxQuestions)) {
        Warn(QStringLiteral("A question set holds at most %1 questions, and this one has %2: "
                            "delete questions before saving")
                 .arg(kb::QuestionFileReader::kMaxQuestions)
                 .arg(count));
        return false;
    }
    const auto cannotKeep = std::find_if(m_Questions.begin(), lastFilled.base(),
                                         [](const auto& q) { return HoldsTextFileCannotKeep(*q); });
    if (cannotKeep != lastFilled.base()) {
        Warn(QStringLiteral("Question %1 holds text the question file cannot keep:\n"
                            "no text may begin with a double quote or hold a comma")
                 .arg(cannotKeep - m_Questions.begin() + 1));
        return false;
    }
    return true;
}

QString Main::ChooseSaveFile() {
    if (Exists(m_QFileName))
        return m_QFileName;
    const QString chosen = platform::SaveFileName(this, platform::kQuestionFilter, m_QFileName);
    if (chosen.isEmpty())
        return QString();
    if (Exists(chosen) && platform::MessageBox(QStringLiteral("File Exists - Overwrite ?"),
                                               platform::Buttons::YesNo, platform::Icon::Question,
                                               platform::ProgramTitle()) != platform::Answer::Yes)
        return QString();
    return chosen;
}

void Main::SaveQuestionsBtn_Click() {
    const platform::BusyPointer busy;
    if (!CheckBeforeSave())
        return;
    const QString file = ChooseSaveFile();
    if (file.isEmpty())
        return;

    kb::CKnowledgeBase::Plan plan;
    if (!MakeSavePlan(m_Questions, m_DataModifier, plan)) {
        WarnNotSaved({kb::CKnowledgeBase::Which::QuestionSet, file.toStdString(),
                      "It holds more questions, or text, than a question set file can hold.",
                      false},
                     file);
        return;
    }
    const auto outcome = m_KnowledgeBase.SaveAs(file.toStdString(), plan, &MaySaveOver);
    dialogs::ShowMended(m_KnowledgeBase);
    const kb::CKnowledgeBase::Failure& failure = m_KnowledgeBase.LastFailure();
    if (outcome == kb::CKnowledgeBase::Outcome::Done || failure.pending) {
        // The set on disk is now the one in memory (a save left pending is completed as it
        // was made), so a data file made from here on is made for it: nothing waits any more.
        m_DataModifier.Done();
        m_QFileName = QString::fromStdString(m_KnowledgeBase.QuestionSetPath());
        platform::SetQuestionSetFile(m_QFileName);
    }
    switch (outcome) {
    case kb::CKnowledgeBase::Outcome::Done:
        break;
    case kb::CKnowledgeBase::Outcome::Declined:
        return;
    case kb::CKnowledgeBase::Outcome::Busy:
        Warn(QStringLiteral("Cannot Save Questions To ") + file +
                 QStringLiteral("\nAnother program is saving this knowledge base. Nothing was "
                                "saved; try again in a moment."),
             platform::Icon::Exclamation);
        return;
    default:
        WarnNotSaved(failure, file);
        return;
    }
    if (!m_SavedMsg)
        m_SavedMsg = std::make_unique<dialogs::SavedMsg>(this);
    m_SavedMsg->Initialise(m_QFileName);
    m_SavedMsg->exec();
}

} // namespace editor
