#pragma once

#include "kb/CQuestion.h"
#include "kb/CRecord.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace consult {

// Tells the end user how one record's score arose, question by question, with a short
// help page on reading it. Filled by the record list's Explain; modeless.
class Explanation : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHelpLines = 16;

    explicit Explanation(QWidget* parent = nullptr);
    ~Explanation() override;

    // Fills the list and the caption for theRec; it does not show the window. Parent is
    // the window that asked (not used).
    void Initialise(QWidget* Parent, const kb::QuestionArray& theQs,
                    const std::shared_ptr<kb::CRecord>& theRec);

private slots:
    void BTR_Click();
    void AnalysisHelp_Click();
    void BacktoResults_Click();
    void OK_Click();

private:
    void Form_Load();
    void ShowList();
    // The lines that explain the record, as the list shows them.
    static QStringList ExplainRecord(const kb::QuestionArray& questions, const kb::CRecord& record);

    kb::QuestionArray m_Questions;
    std::shared_ptr<kb::CRecord> m_Record;
    bool m_Loaded = false;

    QListWidget* List1 = nullptr;
    QPushButton* BTR = nullptr;
    std::array<QLabel*, kHelpLines> AHelp{};
};

} // namespace consult
