#pragma once

// The consultation program's one main window. It owns the knowledge base in memory (the
// questions, each holding the end user's answer, and the records), shows one question at a
// time, and hands the arrays to the record list and, through it, to the explanation window.
// Main.cpp builds the window and loads; MainAnswers.cpp is the answer area; MainFlow.cpp is
// Next, Show Analysis and New Query; MainSettings.cpp applies mirel.ini.

#include "consult/CAnalyser.h"
#include "dialogs/ProgramWindow.h"
#include "kb/CKnowledgeBase.h"
#include "kb/CQuestion.h"
#include "kb/CRecord.h"

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace dialogs {
class About;
class AnswerRows;
} // namespace dialogs

namespace consult {

class Explanation;
class RecordDisplayer;

class Main : public dialogs::ProgramWindow {
    Q_OBJECT

public:
    explicit Main(QWidget* parent = nullptr);
    ~Main() override;

    // The splash that brought the window up; it is closed with the program.
    void SetSplash(QWidget* splash) { m_Splash = splash; }

    // The windows the program opens lazily; nullptr until first used.
    RecordDisplayer* RecordList() const { return m_RecordDisplayer.get(); }
    Explanation* ExplanationWindow() const { return m_Explanation.get(); }

    static constexpr int kRows = 9;
    static constexpr int kLevels = 5;

private slots:
    void LoadQuestions_Click();
    void m_checks_Click(int Index);
    void m_Sliders_Change(int Index);
    void FirstBtn_Click();
    void NextBtn_Click();
    void LastBtn_Click();
    void ReferHelpBtn_Click();
    void AnalysisBtn_Click();
    void NewQueryBtn_Click();
    void ContentsHelpMenu_Click();
    void SearchHelpMenu_Click();
    void CorvaneHomepageHelpMenu_Click();
    void AboutMenu_Click();
    void ExitBtn_Click();

private:
    void BuildControls();
    void BuildAnswerArea(QWidget* frame);
    void BuildMenus();
    void Form_Load();
    // False keeps the window open.
    bool Form_Unload() override;
    void ReadIniSettings();
    void EnableControls(bool enabled);
    void ShowQuestion(const kb::CQuestion& Q);
    void ShowLevel(int Index, int value);
    void SetNextEnabled(bool enabled);
    void ClearOptionButtons();
    // Whether question index q's reliance is met by the end user's answers as they stand.
    bool IsRelianceMet(const kb::CQuestion& q) const;
    void ShowExplanation(const kb::QuestionArray& questions,
                         const std::shared_ptr<kb::CRecord>& record);
    kb::CQuestion& CurrentQuestion() { return *m_Questions[static_cast<std::size_t>(m_CurrentQ)]; }

    // The knowledge base and the consultation's position in it.
    // Opens the knowledge base; Mirel never saves it.
    kb::CKnowledgeBase m_KnowledgeBase{kb::CKnowledgeBase::Program::Consultation};
    kb::QuestionArray m_Questions;
    kb::RecordArray m_Records;
    std::unique_ptr<CAnalyser> m_Analyser;
    QString m_QFileName;
    QString m_DataFileName;
    std::int16_t m_CurrentQ = 0;
    int m_NumQuestions = 0;
    int m_NumRecords = 0;
    std::array<QString, kLevels> m_LevelNames;
    std::array<QColor, kLevels> m_LevelColours;

    // Windows of the program besides this one.
    QWidget* m_Splash = nullptr;
    std::unique_ptr<dialogs::About> m_About;
    std::unique_ptr<RecordDisplayer> m_RecordDisplayer;
    std::unique_ptr<Explanation> m_Explanation;

    // Controls, named as their objectName.
    QLabel* CorvaneTitle = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* QNoLabel = nullptr;
    QPushButton* FirstBtn = nullptr;
    QPushButton* NextBtn = nullptr;
    QPushButton* LastBtn = nullptr;
    QLabel* theQuestion = nullptr;
    dialogs::AnswerRows* m_Rows = nullptr;
    std::array<QRadioButton*, kRows> m_checks{};
    std::array<QScrollBar*, kRows> m_Sliders{};
    std::array<QLabel*, kRows> m_Inds{};
    std::array<QLabel*, kRows> m_Options{};
    QPushButton* LoadQuestions = nullptr;
    QPushButton* ReferHelpBtn = nullptr;
    QPushButton* AnalysisBtn = nullptr;
    QPushButton* NewQueryBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QAction* OpenQuestionsMenu = nullptr;
    QAction* FirstQuestionMenu = nullptr;
    QAction* NextQuestionMenu = nullptr;
    QAction* LastQuestionMenu = nullptr;
    QAction* HelpQuestionMenu = nullptr;
    QAction* ExitMenu = nullptr;
    QAction* ShowAnalysisActionsMenu = nullptr;
    QAction* NewQueryActionsMenu = nullptr;
    QAction* ContentsHelpMenu = nullptr;
    QAction* SearchHelpMenu = nullptr;
    QAction* CorvaneHomepageHelpMenu = nullptr;
    QAction* AboutMenu = nullptr;
};

} // namespace consult
