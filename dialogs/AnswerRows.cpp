#include "dialogs/AnswerRows.h"

#include "dialogs/SliderStyle.h"

#include "platform/DesignWidgets.h"
#include "platform/OptionGroupFocus.h"
#include "platform/Twips.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QScrollBar>

namespace dialogs {

using platform::Indexed;
using platform::SetTextColour;
using platform::TwipsRect;

AnswerRows::AnswerRows(QWidget* frame) : QObject(frame) {
    auto* sliderStyle = new SliderStyle();
    sliderStyle->setParent(this);
    m_checksGroup = new QButtonGroup(this);
    m_checksGroup->setObjectName(QStringLiteral("m_checksGroup"));
    QFont optionFont(QStringLiteral("MS Sans Serif"));
    optionFont.setPointSizeF(8.25);
    const LevelColours colours = DefaultLevelColours();

    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const int top = 600 + 360 * i;
        auto* check = new QRadioButton(frame);
        check->setObjectName(Indexed("m_checks", i));
        check->setGeometry(TwipsRect(120, top, 1095, 255));
        check->hide();
        check->setEnabled(false);
        m_checksGroup->addButton(check, i);
        m_checks[row] = check;

        auto* slider = new QScrollBar(Qt::Horizontal, frame);
        slider->setObjectName(Indexed("m_Sliders", i));
        slider->setGeometry(TwipsRect(120, top, 1095, 255));
        slider->setRange(-10, 10);
        slider->setSingleStep(5);
        slider->setPageStep(5);
        slider->setValue(0);
        slider->setStyle(sliderStyle);
        // A tab stop that a click also focuses, as the platform's scroll bars are.
        slider->setFocusPolicy(Qt::StrongFocus);
        slider->installEventFilter(this);
        slider->setEnabled(false);
        slider->setVisible(i < 2);
        m_Sliders[row] = slider;

        auto* ind = new QLabel(QStringLiteral("Neutral"), frame);
        ind->setObjectName(Indexed("m_Inds", i));
        ind->setGeometry(TwipsRect(1320, top, 735, 255));
        ind->setAlignment(Qt::AlignCenter);
        ind->setTextFormat(Qt::PlainText);
        ind->setFont(platform::DesignFont(8.25));
        SetTextColour(ind, colours[2]);
        ind->setVisible(i < 2);
        m_Inds[row] = ind;

        auto* option = new QLabel(frame);
        option->setObjectName(Indexed("m_Options", i));
        option->setGeometry(TwipsRect(2160, top, 7095, 255));
        option->setFont(optionFont);
        option->setTextFormat(Qt::PlainText);
        option->setIndent(3);
        QPalette optionColours = option->palette();
        optionColours.setColor(QPalette::Window, platform::BgrToQColor(0x80FFFF));
        optionColours.setColor(QPalette::WindowText, platform::BgrToQColor(0x800000));
        option->setPalette(optionColours);
        option->setAutoFillBackground(true);
        option->setVisible(i < 2);
        m_Options[row] = option;

        connect(check, &QRadioButton::clicked, this, [this, i] { emit CheckClicked(i); });
        // Arrows, track and keys arrive as actions (the position already moved, the value
        // not yet); a drag counts once, when it ends, and only if it ended elsewhere.
        connect(slider, &QScrollBar::actionTriggered, this, [this, i, slider](int action) {
            if (action == QAbstractSlider::SliderNoAction ||
                (action == QAbstractSlider::SliderMove && slider->isSliderDown()))
                return;
            if (slider->sliderPosition() != slider->value())
                emit SliderMoved(i);
        });
        connect(slider, &QScrollBar::sliderPressed, this,
                [this, row, slider] { m_SliderAtPress[row] = slider->value(); });
        connect(slider, &QScrollBar::sliderReleased, this, [this, i, row, slider] {
            if (slider->sliderPosition() != m_SliderAtPress[row])
                emit SliderMoved(i);
        });
    }
    // Tab reaches the option buttons whichever rows a question shows.
    new platform::OptionGroupFocus(m_checksGroup);
}

bool AnswerRows::eventFilter(QObject* watched, QEvent* event) {
    // A horizontal scroll bar takes Left and Right the wrong way round (its controls are
    // inverted for the wheel), so they are stepped here: Left lowers the level, Right
    // raises it. The other keys (Up, Down, Page Up, Page Down, Home, End) already move it
    // the way the platform's scroll bars do. Stepping triggers an action, so the move
    // counts as the person's.
    if (event->type() == QEvent::KeyPress) {
        auto* slider = qobject_cast<QScrollBar*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain =
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
        if (slider && plain && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            slider->triggerAction(key->key() == Qt::Key_Left
                                      ? QAbstractSlider::SliderSingleStepSub
                                      : QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

int AnswerRows::LevelOf(int value) {
    switch (value) {
    case -10:
        return 0;
    case -5:
        return 1;
    case 0:
        return 2;
    case 5:
        return 3;
    case 10:
        return 4;
    default:
        return 0;
    }
}

AnswerRows::LevelNames AnswerRows::DefaultLevelNames() {
    return {QStringLiteral("No"), QStringLiteral("Unlikely"), QStringLiteral("Neutral"),
            QStringLiteral("Perhaps"), QStringLiteral("Yes")};
}

AnswerRows::LevelColours AnswerRows::DefaultLevelColours() {
    return {platform::BgrToQColor(0x0), platform::BgrToQColor(0xC00000),
            platform::BgrToQColor(0x8000), platform::BgrToQColor(0xC00000),
            platform::BgrToQColor(0xC0)};
}

void AnswerRows::ShowLevel(int row, int value, const LevelNames& names,
                           const LevelColours& colours) {
    const auto level = static_cast<std::size_t>(LevelOf(value));
    QLabel* ind = Ind(row);
    ind->setText(names[level]);
    SetTextColour(ind, colours[level]);
}

void AnswerRows::ClearChecks() {
    // An exclusive group keeps one button on; it lets go only while not exclusive.
    m_checksGroup->setExclusive(false);
    for (QRadioButton* check : m_checks)
        check->setChecked(false);
    m_checksGroup->setExclusive(true);
}

void AnswerRows::ShowRows(int numOptions, bool single) {
    for (int i = 0; i < kRows; ++i) {
        const bool shown = i < numOptions;
        Option(i)->setVisible(shown);
        Check(i)->setVisible(shown && single);
        Slider(i)->setVisible(shown && !single);
        Ind(i)->setVisible(shown && !single);
    }
}

} // namespace dialogs
