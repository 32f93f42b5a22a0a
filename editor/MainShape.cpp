// Inserting and deleting questions and starting a new set. Every reliance pair goes on
// naming the same question, and the data file's records are shifted to match.

#include "editor/ArrayManager.h"
#include "editor/Main.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>

namespace editor {

namespace {

const QString kConfirmTitle = QStringLiteral("Confirmation Required");
// Five lines, each ended by one line feed: a line feed followed by a carriage return
// would show as a break and then an empty line.
const QString kInsertWarning =
    QStringLiteral("WARNING: A data file created with the current question set already \n"
                   "exists.  The records in this data file will be updated with a neutral \n"
                   "response by Halvet.  You should use Drosk to update all existing \n"
                   "records with a response for this new question.  Do you still want \n"
                   "to insert a new question ?");

bool Confirmed(const QString& text, platform::Icon icon, const QString& title) {
    return platform::MessageBox(text, platform::Buttons::YesNo, icon, title) ==
           platform::Answer::Yes;
}

} // namespace

std::int16_t Main::QuestionCount() const {
    // The set never passes the most a question set holds, well within 16 bits.
    return static_cast<std::int16_t>(std::min<std::size_t>(m_Questions.size(), INT16_MAX));
}

void Main::InsertMenu_Click() {
    if (RefuseAnotherQuestion())
        return;
    const bool confirmed =
        HasDataFile() ? Confirmed(kInsertWarning, platform::Icon::Exclamation, kConfirmTitle)
                      : Confirmed(QStringLiteral("Confirm Question Insertion"),
                                  platform::Icon::Question, kConfirmTitle);
    if (!confirmed)
        return;

    const std::int16_t at = m_CurrentQ;
    const std::int16_t countBefore = QuestionCount();
    ArrayManager::InsertNewQuestion(m_Questions, at);
    InitialiseQuestion(CurrentQuestion());
    // The former question number at + 1 and every later one move up by one.
    ArrayManager::RenumberReliances(m_Questions, true, static_cast<std::int16_t>(at + 1),
                                    countBefore);
    ShowQuestion(CurrentQuestion());
    m_DataModifier.InsertQuestion(static_cast<std::int16_t>(at + 1));
}

void Main::DeleteMenu_Click() {
    if (!Confirmed(QStringLiteral("Confirm Question Deletion"), platform::Icon::Question,
                   kConfirmTitle))
        return;

    if (m_Questions.size() == 1) {
        m_Questions[0] = std::make_shared<kb::CQuestion>();
        InitialiseQuestion(*m_Questions[0]);
        ShowQuestion(CurrentQuestion());
        return;
    }

    const auto d = static_cast<std::int16_t>(m_CurrentQ + 1);
    for (std::size_t i = 0; i < m_Questions.size(); ++i) {
        if (m_Questions[i]->m_Dependencies.IsDependentQ(d)) {
            platform::MessageBox(QStringLiteral("Question %1 has a reliance on this one. You\n"
                                                "must resolve this before deleting this question")
                                     .arg(i + 1),
                                 platform::Buttons::OK, platform::Icon::Exclamation,
                                 QStringLiteral("Cannot Delete"));
            return;
        }
    }

    const std::int16_t countBefore = QuestionCount();
    ArrayManager::RemoveQuestion(m_Questions, m_CurrentQ);
    ArrayManager::RenumberReliances(m_Questions, false, d, countBefore);
    if (ArrayManager::IsQuestionSlotEmpty(m_Questions, m_CurrentQ))
        --m_CurrentQ;
    ShowQuestion(CurrentQuestion());
    m_DataModifier.DeleteQuestion(d);
}

void Main::QuestionsMenuNew_Click() {
    if (!Confirmed(QStringLiteral("Are You Sure ?  Any \nunsaved data will be lost"),
                   platform::Icon::Question, QStringLiteral("New Qs")))
        return;
    m_Questions = {std::make_shared<kb::CQuestion>()};
    InitialiseQuestion(*m_Questions[0]);
    m_CurrentQ = 0;
    m_QFileName.clear();
    platform::SetQuestionSetFile(QString());
    m_KnowledgeBase.Close();
    m_DataModifier = CDataFileModifier();
    FirstBtn_Click();
}

} // namespace editor
