// Loading a question set (with the data file beside it) and saving it.

#include "dialogs/SavedMsg.h"
#include "editor/Main.h"
#include "kb/CRecord.h"
#include "kb/QuestionFileReader.h"
#include "kb/Utilities.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"

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

// The question set is on disk by now, so the data file no longer matches it: say so plainly.
void WarnDataFileNotSaved(const CDataFileModifier& modifier) {
    QString why;
    switch (modifier.GetLastProblem()) {
    case CDataFileModifier::Problem::Unshiftable:
        why = QStringLiteral("Line %1 of it holds a question's responses together with other "
                             "items, and such a line cannot be renumbered.")
                  .arg(modifier.GetFirstUnshiftableLine());
        break;
    case CDataFileModifier::Problem::Unreadable:
        why = QStringLiteral("It could not be read again, or it is no longer there.");
        break;
    case CDataFileModifier::Problem::Changing:
        why = QStringLiteral("It kept changing while it was being read.");
        break;
    default:
        why = QStringLiteral("It could not be written.");
        break;
    }
    Warn(QStringLiteral("Cannot Save Data File To ") +
             QString::fromStdString(modifier.GetDataFileName()) + u'\n' + why +
             QStringLiteral("\nThe question set was saved, but the data file was left as it "
                            "was and no longer matches it. Saving again will try once more."),
         platform::Icon::Critical);
}

} // namespace

void Main::LoadQuestionsBtn_Click() {
    const QString chosen = platform::OpenFileName(this, platform::kQuestionFilter, QString());
    if (chosen.isEmpty())
        return;

    // A fresh reader into a fresh array: a failed read never leaves a mixture of two sets.
    const std::int16_t countBefore = kb::g_NumQuestions;
    kb::QuestionFileReader reader;
    kb::QuestionArray questions;
    const bool readWhole = reader.Read(chosen.toStdString(), questions);
    const int whole = std::min<int>(reader.QuestionCount(), static_cast<int>(questions.size()));
    if (whole < 1) {
        kb::g_NumQuestions = countBefore;
        Warn(QStringLiteral("Cannot Read Question File: Check Format"));
        return;
    }
    // A set read only in part is used as far as its whole questions go; a question cut off
    // by the fault holds the wrong fields.
    questions.resize(static_cast<std::size_t>(whole));

    m_QFileName = chosen;
    platform::SetQuestionSetFile(chosen);
    m_Questions = std::move(questions);
    m_CurrentQ = 0;
    ShowQuestion(CurrentQuestion());
    // Saving writes only what was read, so the rest of the file would be lost unasked.
    if (!readWhole && !reader.OnlyBlankLeftOver()) {
        Warn(QStringLiteral("Only the first %1 question(s) of this question set could be read; "
                            "saving it will write only these:\n")
                 .arg(whole) +
             chosen);
    }

    // Changes still pending for the data file of the set held before are dropped.
    m_DataModifier = CDataFileModifier();
    const std::string dataFile = kb::DataFileNameFor(chosen.toStdString());
    if (kb::FileExists(dataFile) && !m_DataModifier.Init(dataFile)) {
        Warn(QStringLiteral("The data file beside this question set could not be read; "
                            "it will be left as it is:\n") +
             QString::fromStdString(dataFile));
    } else if (const long line = m_DataModifier.GetFirstUnshiftableLine(); line > 0) {
        // Said now, before the user inserts or deletes questions the file cannot follow.
        Warn(QStringLiteral("Line %1 of the data file beside this question set holds a "
                            "question's responses together with other items. Such a line "
                            "cannot be renumbered: inserting or deleting a question before "
                            "that one will leave the data file as it is.\n")
                 .arg(line) +
             QString::fromStdString(dataFile));
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
    if (!CheckBeforeSave())
        return;
    const QString file = ChooseSaveFile();
    if (file.isEmpty())
        return;
    m_QFileName = file;
    platform::SetQuestionSetFile(file);

    if (!m_QWriter.Save(m_Questions, m_QFileName.toStdString())) {
        // The data file is left alone too: it must stay in step with the set on disk.
        Warn(QStringLiteral("Cannot Save Questions To ") + m_QFileName, platform::Icon::Critical);
        return;
    }
    if (!m_SavedMsg)
        m_SavedMsg = std::make_unique<dialogs::SavedMsg>(this);
    m_SavedMsg->Initialise(m_QFileName);
    m_SavedMsg->exec();

    if (m_DataModifier.IsModified() && !m_DataModifier.Save())
        WarnDataFileNotSaved(m_DataModifier);
}

} // namespace editor
