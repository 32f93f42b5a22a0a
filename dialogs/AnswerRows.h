#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <array>

class QButtonGroup;
class QLabel;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace dialogs {

// The nine answer rows of the acquisition and consultation windows: per row an option
// button (single choice), a level slider with its level word (multiple choice) and the
// option text, named m_checks(i), m_Sliders(i), m_Inds(i) and m_Options(i). The rows
// report only what the person does; values the program sets raise no signal. The sliders
// are tab stops in row order and move by the arrow, page and end keys, as the platform's
// scroll bars do; the option buttons are one tab stop, on the chosen option (the first
// shown when none is chosen), and the arrows move within them.
class AnswerRows : public QObject {
    Q_OBJECT

public:
    static constexpr int kRows = 9;
    static constexpr int kLevels = 5;
    using LevelNames = std::array<QString, kLevels>;
    using LevelColours = std::array<QColor, kLevels>;

    // Builds the rows inside frame in their design state: rows 0 and 1 show a disabled
    // slider at 0 with "Neutral" in green and an empty option text, the rest are hidden,
    // and every option button is hidden and disabled.
    explicit AnswerRows(QWidget* frame);

    // The level (0 to 4) of a response: -10, -5, 0, 5, 10; any other value is level 0.
    static int LevelOf(int value);
    // "No", "Unlikely", "Neutral", "Perhaps", "Yes" and their colours.
    static LevelNames DefaultLevelNames();
    static LevelColours DefaultLevelColours();

    QRadioButton* Check(int row) const { return m_checks[static_cast<std::size_t>(row)]; }
    QScrollBar* Slider(int row) const { return m_Sliders[static_cast<std::size_t>(row)]; }
    QLabel* Ind(int row) const { return m_Inds[static_cast<std::size_t>(row)]; }
    QLabel* Option(int row) const { return m_Options[static_cast<std::size_t>(row)]; }

    // The level word of value beside the row's slider, in the level's colour.
    void ShowLevel(int row, int value, const LevelNames& names, const LevelColours& colours);
    // No option button selected.
    void ClearChecks();
    // Rows below numOptions show their option text with an option button (single) or a
    // slider and level word (multiple); the other rows are hidden.
    void ShowRows(int numOptions, bool single);

signals:
    void CheckClicked(int row);
    // The row's slider was moved by the person; its sliderPosition() is the new level.
    void SliderMoved(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* m_checksGroup = nullptr;
    std::array<QRadioButton*, kRows> m_checks{};
    std::array<QScrollBar*, kRows> m_Sliders{};
    std::array<int, kRows> m_SliderAtPress{};
    std::array<QLabel*, kRows> m_Inds{};
    std::array<QLabel*, kRows> m_Options{};
};

} // namespace dialogs
