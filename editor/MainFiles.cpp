// Loading a question set (with the data file beside it) and saving it.

#include "dialogs/SavedMsg.h"
#include "editor/Main.h"
#include "kb/CRecord.h"
#include "kb/KnowledgeBaseLock.h"
#include "kb/QuestionFileReader.h"
#include "kb/Utilities.h"
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
bool MaySaveOver(const CSetSaver::Changes& changes) {
    QStringList paragraphs;
    if (changes.questionSet) {
        paragraphs << QStringLiteral("The question set changed on disk since Halvet read or last "
                                     "saved it:\n") +
                          QString::fromStdString(changes.questionSetPath) +
                          QStringLiteral("\nSaving now replaces it with the questions held here, "
                                         "and what was saved there is lost.");
    }
    if (changes.dataFile) {
        paragraphs << QStringLiteral("The data file changed on disk since Halvet read or last "
                                     "saved the set:\n") +
                          QString::fromStdString(changes.dataFilePath) +
                          QStringLiteral("\nSaving now renumbers it as it is now; records made "
                                         "there for other questions would have their answers "
                                         "moved with these.");
    }
    paragraphs << QStringLiteral("Save Questions anyway?");
    return platform::MessageBox(paragraphs.join(QStringLiteral("\n\n")),
                                platform::Buttons::YesNoDefaultNo, platform::Icon::Exclamation,
                                platform::ProgramTitle()) == platform::Answer::Yes;
}

// Nothing was written: say which file stopped the save, and why.
void WarnNotSaved(const CSetSaver::Failure& failure) {
    const QString first = failure.file == CSetSaver::Which::QuestionSet
                              ? QStringLiteral("Cannot Save Questions To ")
                              : QStringLiteral("Cannot Save Data File To ");
    Warn(first + QString::fromStdString(failure.path) + u'\n' +
             QString::fromStdString(failure.why) +
             QStringLiteral("\nNothing was saved: the question set and its data file are as they "
                            "were, and the changes made here are kept."),
         platform::Icon::Critical);
}

} // namespace

std::string Main::DataFileName() const {
    return m_QFileName.isEmpty() ? std::string() : kb::DataFileNameFor(m_QFileName.toStdString());
}

bool Main::HasDataFile() const {
    const std::string dataFile = DataFileName();
    return !dataFile.empty() && kb::FileExists(dataFile);
}

void Main::LoadQuestionsBtn_Click() {
    const QString chosen = platform::OpenFileName(this, platform::kQuestionFilter, QString());
    if (chosen.isEmpty())
        return;

    // A fresh reader into a fresh array: a failed read never leaves a mixture of two sets.
    const std::string path = chosen.toStdString();
    const std::int16_t countBefore = kb::g_NumQuestions;
    kb::QuestionFileReader reader;
    kb::QuestionArray questions;
    bool readWhole = false;
    bool dataReadable = true;
    {
        // Read, stamped and looked over while no save can come between.
        const kb::KnowledgeBaseLock lock(path, kb::KnowledgeBaseLock::Mode::Load);
        readWhole = reader.Read(path, questions);
        if (std::min<int>(reader.QuestionCount(), static_cast<int>(questions.size())) >= 1) {
            // Changes still waiting for the data file of the set held before are dropped.
            dataReadable = m_Saver.Loaded(path);
        }
    }
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
    } else if (reader.TextPassedOver() > 0) {
        WarnTextPassedOver(chosen);
    }

    const QString dataFile = QString::fromStdString(kb::DataFileNameFor(path));
    if (!dataReadable) {
        Warn(QStringLiteral("The data file beside this question set could not be read; while it "
                            "cannot, inserted or deleted questions cannot be saved:\n") +
             dataFile);
    } else if (const long line = m_Saver.Modifier().GetFirstUnshiftableLine(); line > 0) {
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
    if (!CheckBeforeSave())
        return;
    const QString file = ChooseSaveFile();
    if (file.isEmpty())
        return;

    switch (m_Saver.Save(m_Questions, file.toStdString(), &MaySaveOver)) {
    case CSetSaver::Outcome::Saved:
        break;
    case CSetSaver::Outcome::Declined:
        return;
    case CSetSaver::Outcome::Busy:
        Warn(QStringLiteral("Cannot Save Questions To ") + file +
                 QStringLiteral("\nAnother program is saving this knowledge base. Nothing was "
                                "saved; try again in a moment."),
             platform::Icon::Exclamation);
        return;
    case CSetSaver::Outcome::Failed:
        WarnNotSaved(m_Saver.LastFailure());
        return;
    }
    m_QFileName = file;
    platform::SetQuestionSetFile(file);
    if (!m_SavedMsg)
        m_SavedMsg = std::make_unique<dialogs::SavedMsg>(this);
    m_SavedMsg->Initialise(m_QFileName);
    m_SavedMsg->exec();
}

} // namespace editor
