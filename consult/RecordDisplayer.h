#pragma once

#include "kb/CQuestion.h"
#include "kb/CRecord.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace platform {
class ClickableLabel;
}

namespace consult {

// The record list: records fifteen to a page, with their confidence and an Explain button
// in the consultation program, as a plain list in the acquisition program. It knows
// nothing of the explanation window; the consultation program hands it an explainer.
// The rows work as a list box does: one Tab stop, on the selected row (or the page's
// first when the selection lies on another page), and Up, Down, Page Up, Page Down, Home
// and End move the selection, turning the page with it.
class RecordDisplayer : public QWidget {
    Q_OBJECT

public:
    using Explainer = std::function<void(const kb::QuestionArray& questions,
                                         const std::shared_ptr<kb::CRecord>& record)>;

    static constexpr int kRows = 15;

    explicit RecordDisplayer(QWidget* parent = nullptr);
    ~RecordDisplayer() override;

    // Keeps references to the records and questions as handed over and starts again at
    // page 1 with the first record selected.
    void Initialise(const kb::RecordArray& Recs, const kb::QuestionArray& Qs, std::int16_t nRecs,
                    const QString& Title = QString(), bool ShowConf = false);
    void UpdateDisplay();
    // What Explain does with the selected record; without one, Explain does nothing.
    void SetExplainer(Explainer explainer) { m_Explainer = std::move(explainer); }

    int CurrentPage() const { return m_CurrentPage; }
    int SelectedRec() const { return m_SelectedRec; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void NextPg_Click();
    void PrevPg_Click();
    void RecName_Click(int Index);
    void Describe_Click();
    void Explain_Click();
    void Close_Click();

private:
    void Form_Load();
    bool HasSelection() const;
    // Selects record index k, kept within the list, shows its page and focuses its row.
    void SelectFromKeyboard(int k);

    int m_CurrentPage = 0;
    int m_LastPage = 0;
    int m_SelectedRec = 0;
    int m_NumRecs = 0;
    kb::RecordArray m_Records;
    kb::QuestionArray m_Questions;
    Explainer m_Explainer;
    bool m_Loaded = false;

    QLabel* pageLabel = nullptr;
    QLabel* ConfLabel = nullptr;
    std::array<QLabel*, kRows> RNo{};
    std::array<platform::ClickableLabel*, kRows> RecName{};
    std::array<QLabel*, kRows> RecScore{};
    QPushButton* Explain = nullptr;
};

} // namespace consult
