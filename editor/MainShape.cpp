// Inserting and deleting questions and starting a new set. Every reliance pair goes on
// naming the same question, and the data file's records are shifted to match.

#include "editor/ArrayManager.h"
#include "editor/Main.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"

namespace editor {

namespace {

const QString kConfirmTitle = QStringLiteral("Confirmation Required");

bool Confirmed(const QString& text, platform::Icon icon, const QString& title) {
    return platform::MessageBox(text, platform::Buttons::YesNo, icon, title) ==
           platform::Answer::Yes;
}

} // namespace

void Main::RenumberReliances(const std::function<std::int16_t(std::int16_t)>& map) {
    // Every question, not only those after the change: a hand-made set may hold a pair on
    // a later question, and it too must go on naming the same one.
    for (const auto& question : m_Questions) {
        kb::CDependency& reliance = question->m_Dependencies;
        std::array<kb::DependencyEntry, kb::CDependency::kSlots> pairs{};
        for (int slot = 0; slot < kb::CDependency::kSlots; ++slot) {
            auto& pair = pairs[static_cast<std::size_t>(slot)];
            reliance.GetDependency(static_cast<std::int16_t>(slot), pair.Q, pair.Opt);
        }
        reliance.Reset();
        for (const auto& pair : pairs) {
            if (pair.Q >= 1)
                reliance.AddDependency(map(pair.Q), pair.Opt);
        }
    }
}

void Main::InsertMenu_Click() {
    const bool confirmed =
        HasDataFile()
            ? Confirmed(QStringLiteral("WARNING: A data file created with the current question "
                                       "set already \n\r"
                                       "exists.  The records in this data file will be updated "
                                       "with a neutral \n\r"
                                       "response by Halvet.  You should use Drosk to update all "
                                       "existing \n\r"
                                       "records with a response for this new question.  Do you "
                                       "still want \n\r"
                                       "to insert a new question ?"),
                        platform::Icon::Exclamation, kConfirmTitle)
            : Confirmed(QStringLiteral("Confirm Question Insertion"), platform::Icon::Question,
                        kConfirmTitle);
    if (!confirmed)
        return;

    const std::int16_t at = m_CurrentQ;
    ArrayManager::InsertNewQuestion(m_Questions, at);
    InitialiseQuestion(CurrentQuestion());
    // The former question number at + 1 and every later one move up by one.
    RenumberReliances(
        [at](std::int16_t q) { return q > at ? static_cast<std::int16_t>(q + 1) : q; });
    ShowQuestion(CurrentQuestion());
    if (HasDataFile())
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

    ArrayManager::RemoveQuestion(m_Questions, m_CurrentQ);
    RenumberReliances([d](std::int16_t q) { return q > d ? static_cast<std::int16_t>(q - 1) : q; });
    if (ArrayManager::IsQuestionSlotEmpty(m_Questions, m_CurrentQ))
        --m_CurrentQ;
    ShowQuestion(CurrentQuestion());
    if (HasDataFile())
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
    m_DataModifier = CDataFileModifier();
    FirstBtn_Click();
}

} // namespace editor
