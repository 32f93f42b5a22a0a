#pragma once

#include "kb/CQuestion.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace editor {

// The reliance editor: the pairs (question, option) on earlier questions that one question
// (the set-up question) relies on, and whether all or any of them must be met. It works on
// a copy and hands the pairs back only after Accept Reliances.
// Protocol: Initialise, exec(), AcceptPressed, then GetDependencies when it is true.
class RelianceForm : public QDialog {
    Q_OBJECT
public:
    explicit RelianceForm(QWidget* parent = nullptr);

    static constexpr int kRows = 9;

    // SetupQNo: the 0-based index of the question whose reliance is set, 1 or more.
    void Initialise(const kb::QuestionArray& QArr, std::int16_t SetupQNo);
    bool AcceptPressed() const { return m_Accepted; }
    // Replaces deps' pairs and type by the working ones.
    void GetDependencies(kb::CDependency& deps) const;

public slots:
    // Closing through the window frame is Cancel and Exit.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void Accept_Click();
    void Abort_Click();
    void Reset_Click();
    void Check_Click(int Index);
    void DependType_Click(int Index);
    void FirstBtn_Click();
    void PrevBtn_Click();
    void NextBtn_Click();
    void LastBtn_Click();

private:
    void Form_Load();
    void DisplayQuestion(std::int16_t n);
    void DisplayDependencies();

    kb::QuestionArray m_Questions;
    std::int16_t m_SetupQNo = 1;
    std::shared_ptr<kb::CQuestion> m_SetupQ;
    std::int16_t m_ShownQ = 0;
    kb::CDependency m_WorkingDeps;
    bool m_Accepted = false;
    bool m_Loaded = false;

    QLabel* RelyQNoLabel = nullptr;
    QLabel* RelyQUserQ = nullptr;
    std::array<QLabel*, kRows> DependentQ{};
    std::array<QLabel*, kRows> DependentOpt{};
    std::array<QRadioButton*, 2> DependType{};
    QLabel* QNoLabel = nullptr;
    QLabel* UserQ = nullptr;
    std::array<QLabel*, kRows> OptNo{};
    std::array<QCheckBox*, kRows> Check{};
    std::array<QLabel*, kRows> QOption{};
};

} // namespace editor
