#pragma once

// The knowledge acquisition program's one main window. It owns the knowledge base in memory
// (the questions and the records, with exactly one empty record slot while there is no
// record), shows one question at a time with the chosen record's responses, and writes each
// click and slider move straight into that record. Main.cpp builds the window, loads, opens
// help and leaves; MainAnswers.cpp is the answer area and First, Next and Last;
// MainRecords.cpp holds the six record commands.

#include "dialogs/AnswerRows.h"
#include "dialogs/ProgramWindow.h"
#include "kb/CKnowledgeBase.h"
#include "kb/CQuestion.h"
#include "kb/CRecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace consult {
class RecordDisplayer;
}

namespace dialogs {
class About;
class RecordDlg;
class SavedMsg;
class URLDlg;
} // namespace dialogs

namespace acquire {

class Main : public dialogs::ProgramWindow {
    Q_OBJECT

public:
    explicit Main(QWidget* parent = nullptr);
    ~Main() override;

    // The record list, opened by View Records; nullptr until first used.
    consult::RecordDisplayer* RecordList() const { return m_RecordDisplayer.get(); }
    // The records as held, for a look from outside; the window alone changes them.
    const kb::RecordArray& Records() const { return m_Records; }

    static constexpr int kRows = dialogs::AnswerRows::kRows;
    static constexpr std::int16_t kNoRecord = -1000;

private slots:
    void LoadQuestions_Click();
    void ReferHelpBtn_Click();
    void ContentsHelpMenu_Click();
    void SearchHelpMenu_Click();
    void HomePageHelpMenu_Click();
    void AboutMenu_Click();
    void ExitBtn_Click();
    void FirstBtn_Click();
    void NextBtn_Click();
    void LastBtn_Click();
    void m_checks_Click(int Index);
    void m_Sliders_Change(int Index);
    void NewRecord_Click();
    void LoadRecord_Click();
    void DeleteRecord_Click();
    void DescribeRecord_Click();
    void SaveRecord_Click();
    void ViewRecordsBtn_Click();

private:
    void BuildControls();
    void BuildMenus();
    void Form_Load();
    // False keeps the window open.
    bool Form_Unload() override;
    void EnableControls(bool flag);
    void ShowQuestion(const kb::CQuestion& Q);
    void ResetDisplay();
    void EnableResponses(bool flag);
    bool IsRecordChosen() const;
    // The chosen record's responses to the question shown.
    kb::CResponses& CurrentResponses();
    // Whether question q's reliance is met by the chosen record's responses as they stand.
    bool IsRelianceMet(const kb::CQuestion& q) const;
    void ShowLevel(int Index, int value);
    void ShowQuestionAt(std::int16_t index);
    // Removes list item index of RecordName and leaves the text typed or picked as it was.
    void RemoveListItem(int index);
    // The record Load and Delete act on: the one picked from RecordName's list, found by its
    // whole name (the first record that bears it, as for a name typed), or else the first
    // whose name is the text as typed; kb::ArrayManager::kNotFound when there is none. name
    // becomes that whole name, or the text.
    std::int16_t NamedRecord(QString& name) const;

    // The knowledge base and the position in it.
    kb::QuestionArray m_Questions;
    kb::RecordArray m_Records;
    QString m_QFileName;
    QString m_DataFileName;
    // Opens the knowledge base, and writes or deletes the data file, asking first when that
    // would lose what another program saved or what the last read could not take in.
    kb::CKnowledgeBase m_KnowledgeBase{kb::CKnowledgeBase::Program::Acquisition};
    std::int16_t m_CurrentQ = 0;
    std::int16_t m_NumQuestions = 0;
    std::int16_t m_NumRecords = 0;
    std::int16_t m_CurrentRecord = kNoRecord;
    // The list item of RecordName last picked (or made by New Record) while its text stands
    // in the box as it was put there; -1 once the text is edited or the list changes.
    int m_PickedItem = -1;
    dialogs::AnswerRows::LevelColours m_LevelColours;
    dialogs::AnswerRows::LevelNames m_LevelNames;

    // Windows of the program besides this one.
    std::unique_ptr<dialogs::About> m_About;
    std::unique_ptr<consult::RecordDisplayer> m_RecordDisplayer;
    std::unique_ptr<dialogs::RecordDlg> m_RecordDlg;
    std::unique_ptr<dialogs::SavedMsg> m_SavedMsg;
    std::unique_ptr<dialogs::URLDlg> m_URLDlg;

    // Controls, named as their objectName.
    QLabel* CorvaneTitle = nullptr;
    QLabel* VersionLabel = nullptr;
    QComboBox* RecordName = nullptr;
    QLabel* QNoLabel = nullptr;
    QPushButton* FirstBtn = nullptr;
    QPushButton* NextBtn = nullptr;
    QPushButton* LastBtn = nullptr;
    QLabel* theQuestion = nullptr;
    dialogs::AnswerRows* m_Rows = nullptr;
    QPushButton* LoadRecord = nullptr;
    QPushButton* SaveRecord = nullptr;
    QPushButton* DeleteRecord = nullptr;
    QPushButton* ViewRecordsBtn = nullptr;
    QPushButton* NewRecord = nullptr;
    QPushButton* LoadQuestions = nullptr;
    QPushButton* ReferHelpBtn = nullptr;
    QPushButton* DescribeRecord = nullptr;
    QPushButton* ExitBtn = nullptr;
    QAction* OpenQuestionsMenu = nullptr;
    QAction* FirstQuestionMenu = nullptr;
    QAction* NextQuestionMenu = nullptr;
    QAction* LastQuestionMenu = nullptr;
    QAction* ExitMenu = nullptr;
    QAction* LoadRecordsMenu = nullptr;
    QAction* SaveRecordsMenu = nullptr;
    QAction* DeleteRecordsMenu = nullptr;
    QAction* DescribeRecordsMenu = nullptr;
    QAction* ViewRecordsMenu = nullptr;
    QAction* CreateRecordsMenu = nullptr;
    QAction* ContentsHelpMenu = nullptr;
    QAction* SearchHelpMenu = nullptr;
    QAction* HomePageHelpMenu = nullptr;
    QAction* AboutMenu = nullptr;
};

} // namespace acquire
