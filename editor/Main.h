#pragma once

// The question editor's one main window. It owns the question set in memory, shows one
// question at a time with every field open for editing, and writes each edit straight into
// the question. Main.cpp builds the window, shows a question and holds the editing,
// navigation and help handlers; MainFiles.cpp loads and saves sets; MainShape.cpp inserts
// and deletes questions and starts a new set, keeping reliances and the data file in step.

#include "dialogs/ProgramWindow.h"
#include "editor/CDataFileModifier.h"
#include "kb/CKnowledgeBase.h"
#include "kb/CQuestion.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace dialogs {
class About;
class SavedMsg;
class URLDlg;
} // namespace dialogs

namespace editor {

class RelianceForm;

class Main : public dialogs::ProgramWindow {
    Q_OBJECT

public:
    explicit Main(QWidget* parent = nullptr);
    ~Main() override;

    // The splash that brought the window up; it is closed with the program.
    void SetSplash(QWidget* splash) { m_Splash = splash; }

    static constexpr int kRows = 9;
    // Typed characters a text box takes.
    static constexpr int kMaxTyped = 120;

private slots:
    void KEQuestion_Change(const QString& text);
    void UserQuestion_Change(const QString& text);
    void QOption_Change(int Index, const QString& text);
    void KEType_Click(int Index);
    void UserType_Click(int Index);
    void QImportance_Click(int Index);
    void Copy_Click();
    void OptionsMenuAdd_Click();
    void OptionsMenuRemove_Click();
    void FirstBtn_Click();
    void PrevBtn_Click();
    void NextBtn_Click();
    void LastBtn_Click();
    void AddHelpBtn_Click();
    void RelianceBtn_Click();
    void LoadQuestionsBtn_Click();
    void SaveQuestionsBtn_Click();
    void InsertMenu_Click();
    void DeleteMenu_Click();
    void QuestionsMenuNew_Click();
    void HelpMenuContents_Click();
    void HelpMenuSearch_Click();
    void HelpMenuHomepage_Click();
    void HelpMenuAbout_Click();
    void QuitBtn_Click();

private:
    void BuildControls();
    void BuildMenus();
    void Form_Load();
    // False keeps the window open.
    bool Form_Unload() override;
    void ShowQuestion(const kb::CQuestion& q);
    static void InitialiseQuestion(kb::CQuestion& q);
    kb::CQuestion& CurrentQuestion() { return *m_Questions[static_cast<std::size_t>(m_CurrentQ)]; }
    // The number of questions in the set, at most 32767.
    std::int16_t QuestionCount() const;
    // Whether a data file lies beside the set's file at this moment.
    bool HasDataFile() const;
    // True, after saying why, when the set holds as many questions as a question set file
    // can: the readers would refuse a file with one more.
    bool RefuseAnotherQuestion();
    // Whether the set may be written; says why not when it may not.
    bool CheckBeforeSave();
    // The file to save to, asking for one when the set has none that exists; "" when the
    // user cancelled or would not overwrite.
    QString ChooseSaveFile();
    // Stored text in a text box: shown whole, and never cut by the typed-length limit.
    static void ShowStoredText(QLineEdit* box, const std::string& text);

    // The question set and the position in it.
    std::int16_t m_CurrentQ = 0;
    kb::QuestionArray m_Questions;
    QString m_QFileName;
    // Opens the knowledge base, and saves the set and the data file beside it as one step.
    kb::CKnowledgeBase m_KnowledgeBase{kb::CKnowledgeBase::Program::Editor};
    // Notes the insertions and deletions the data file must follow.
    CDataFileModifier m_DataModifier;

    // Windows of the program besides this one, made on first use.
    QWidget* m_Splash = nullptr;
    std::unique_ptr<dialogs::About> m_About;
    std::unique_ptr<RelianceForm> m_RelianceForm;
    std::unique_ptr<dialogs::SavedMsg> m_SavedMsg;
    std::unique_ptr<dialogs::URLDlg> m_URLDlg;

    // Controls, named as their objectName.
    QLabel* PrognameLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* QNoLabel = nullptr;
    QLineEdit* KEQuestion = nullptr;
    std::array<QRadioButton*, 2> KEType{};
    QLineEdit* UserQuestion = nullptr;
    std::array<QRadioButton*, 2> UserType{};
    QPushButton* Copy = nullptr;
    std::array<QLabel*, kRows> OptNo{};
    std::array<QLineEdit*, kRows> QOption{};
    std::array<QRadioButton*, 3> QImportance{};
    std::array<QLabel*, kRows> DependentQ{};
    std::array<QLabel*, kRows> DependentOpt{};
    QPushButton* FirstBtn = nullptr;
    QPushButton* PrevBtn = nullptr;
    QPushButton* NextBtn = nullptr;
    QPushButton* LastBtn = nullptr;
    QPushButton* RelianceBtn = nullptr;
    QPushButton* SaveQuestionsBtn = nullptr;
    QPushButton* LoadQuestionsBtn = nullptr;
    QPushButton* AddHelpBtn = nullptr;
    QPushButton* QuitBtn = nullptr;
};

} // namespace editor
