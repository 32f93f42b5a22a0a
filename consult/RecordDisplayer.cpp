#include "consult/RecordDisplayer.h"

#include "platform/ClickableLabel.h"
#include "platform/DesignWidgets.h"
#include "platform/FormUtilities.h"
#include "platform/NumberFormat.h"
#include "platform/PageLocation.h"
#include "platform/Platform.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace consult {

using platform::BgrToQColor;
using platform::DesignFont;
using platform::Indexed;
using platform::kComicSans;
using platform::kSansSerif;
using platform::MakeButton;
using platform::MakeLabel;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

// "##0.00%" in the user's locale.
QString Percent(double score) {
    return platform::FormatTwoDecimals(score) + QLatin1Char('%');
}

// A record's name as its row shows it: never wider than the row, cut with an ellipsis. A
// data file may hold a name of megabytes, which would take seconds to lay out and spill
// over the rows below; only the start of a name is ever looked at.
QString ShownName(const QLabel* label, const std::string& name) {
    constexpr std::size_t kMaxChars = 400;
    // Four bytes at most per character: enough bytes for kMaxChars characters.
    const bool cut = name.size() > kMaxChars * 4;
    QString text = QString::fromStdString(cut ? name.substr(0, kMaxChars * 4) : name);
    if (cut || text.size() > static_cast<qsizetype>(kMaxChars))
        text = text.left(static_cast<qsizetype>(kMaxChars)) + QChar(0x2026);
    const int room = label->contentsRect().width() - 2 * label->indent();
    return label->fontMetrics().elidedText(text, Qt::ElideRight, room);
}

} // namespace

RecordDisplayer::RecordDisplayer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("RecordDisplayer"));
    setWindowTitle(QStringLiteral("Corvane (Records)"));
    setFixedSize(TwipsRect(0, 0, 7200, 5895).size());

    const QFont comic = DesignFont(kComicSans, 8.25);
    const QFont sans = DesignFont(kSansSerif, 8.25);
    pageLabel = MakeLabel(this, QStringLiteral("pageLabel"), QStringLiteral("Page"),
                          TwipsRect(120, 120, 2895, 255), DesignFont(kComicSans, 9, true));
    QLabel* Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("Corvane"),
                               TwipsRect(4800, 120, 2175, 255), DesignFont(kComicSans, 9, true));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetTextColour(Label4, BgrToQColor(0x800000));

    QLabel* Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Posn"),
                               TwipsRect(120, 480, 495, 255), comic);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Record Name"),
              TwipsRect(720, 480, 4695, 255), comic);
    ConfLabel = MakeLabel(this, QStringLiteral("ConfLabel"), QStringLiteral("Conf %"),
                          TwipsRect(5520, 480, 1455, 255), comic);
    ConfLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const int top = 840 + 240 * i;
        RNo[row] =
            MakeLabel(this, Indexed("RNo", i), QString(), TwipsRect(120, top, 495, 240), comic);
        RNo[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SetTextColour(RNo[row], BgrToQColor(0x0000FF));
        RNo[row]->hide();

        auto* name = new platform::ClickableLabel(QString(), this);
        name->setObjectName(Indexed("RecName", i));
        name->setGeometry(TwipsRect(720, top, 4695, 240));
        name->setFont(sans);
        name->setTextFormat(Qt::PlainText);
        name->setIndent(3);
        name->setCursor(Qt::UpArrowCursor);
        name->setAutoFillBackground(true);
        SetTextColour(name, BgrToQColor(0x800000));
        name->installEventFilter(this);
        RecName[row] = name;
        connect(name, &platform::ClickableLabel::clicked, this, [this, i] { RecName_Click(i); });

        RecScore[row] = MakeLabel(this, Indexed("RecScore", i), QString(),
                                  TwipsRect(5520, top, 1455, 240), sans);
        RecScore[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SetTextColour(RecScore[row], BgrToQColor(0x800000));
    }

    QPushButton* PrevPg =
        MakeButton(this, "PrevPg", QStringLiteral("Page <<"), TwipsRect(120, 4560, 2175, 375));
    QPushButton* NextPg =
        MakeButton(this, "NextPg", QStringLiteral("Page >>"), TwipsRect(2400, 4560, 2175, 375));
    QPushButton* Describe =
        MakeButton(this, "Describe", QStringLiteral("Describe"), TwipsRect(120, 5040, 2175, 375));
    Explain =
        MakeButton(this, "Explain", QStringLiteral("Explain"), TwipsRect(2400, 5040, 2175, 375));
    QPushButton* Close =
        MakeButton(this, "Close", QStringLiteral("Close"), TwipsRect(4680, 4560, 2295, 855));

    connect(PrevPg, &QPushButton::clicked, this, &RecordDisplayer::PrevPg_Click);
    connect(NextPg, &QPushButton::clicked, this, &RecordDisplayer::NextPg_Click);
    connect(Describe, &QPushButton::clicked, this, &RecordDisplayer::Describe_Click);
    connect(Explain, &QPushButton::clicked, this, &RecordDisplayer::Explain_Click);
    connect(Close, &QPushButton::clicked, this, &RecordDisplayer::Close_Click);
}

RecordDisplayer::~RecordDisplayer() = default;

void RecordDisplayer::Form_Load() {
    platform::CentreForm(this, 2000, 0);
}

void RecordDisplayer::Initialise(const kb::RecordArray& Recs, const kb::QuestionArray& Qs,
                                 std::int16_t nRecs, const QString& Title, bool ShowConf) {
    if (!m_Loaded) {
        m_Loaded = true;
        Form_Load();
    }
    m_CurrentPage = 0;
    m_LastPage = 0;
    m_SelectedRec = 0;
    // Never more rows than records handed over, whatever count came with them.
    m_NumRecs = std::clamp<int>(nRecs, 0, static_cast<int>(Recs.size()));
    if (!ShowConf) {
        ConfLabel->hide();
        for (QLabel* score : RecScore)
            score->hide();
        Explain->hide();
    }
    if (!Title.isEmpty())
        setWindowTitle(Title);
    m_Records = Recs;
    m_Questions = Qs;
    for (int c = m_NumRecs; c - kRows > 0; c -= kRows)
        ++m_LastPage;
    UpdateDisplay();
}

void RecordDisplayer::UpdateDisplay() {
    pageLabel->setText(QStringLiteral("Page %1 of %2").arg(m_CurrentPage + 1).arg(m_LastPage + 1));
    const QColor window = palette().color(QPalette::Base);
    // The rows' one Tab stop: the selected row when this page holds it, else the first.
    const bool selectionShown =
        m_SelectedRec >= 0 && m_SelectedRec < m_NumRecs && m_SelectedRec / kRows == m_CurrentPage;
    const int tabStop = selectionShown ? m_SelectedRec % kRows : 0;
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const int k = m_CurrentPage * kRows + i;
        if (k < m_NumRecs) {
            const auto& record = m_Records[static_cast<std::size_t>(k)];
            RNo[row]->setText(QString::number(k + 1));
            RNo[row]->show();
            RecName[row]->setText(record ? ShownName(RecName[row], record->GetName()) : QString());
            RecScore[row]->setText(record ? Percent(record->GetScore()) : QString());
        } else {
            RNo[row]->clear();
            RNo[row]->hide();
            RecName[row]->clear();
            RecScore[row]->clear();
        }
        QPalette palette = RecName[row]->palette();
        palette.setColor(QPalette::Window, k == m_SelectedRec ? BgrToQColor(0x8000) : window);
        RecName[row]->setPalette(palette);
        RecName[row]->setFocusPolicy(k >= m_NumRecs ? Qt::NoFocus
                                     : i == tabStop ? Qt::StrongFocus
                                                    : Qt::ClickFocus);
    }
}

bool RecordDisplayer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || m_NumRecs < 1)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QWidget::eventFilter(watched, event);
    switch (key->key()) {
    case Qt::Key_Up:
        SelectFromKeyboard(m_SelectedRec - 1);
        return true;
    case Qt::Key_Down:
        SelectFromKeyboard(m_SelectedRec + 1);
        return true;
    case Qt::Key_PageUp:
        SelectFromKeyboard(m_SelectedRec - kRows);
        return true;
    case Qt::Key_PageDown:
        SelectFromKeyboard(m_SelectedRec + kRows);
        return true;
    case Qt::Key_Home:
        SelectFromKeyboard(0);
        return true;
    case Qt::Key_End:
        SelectFromKeyboard(m_NumRecs - 1);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void RecordDisplayer::SelectFromKeyboard(int k) {
    m_SelectedRec = std::clamp(k, 0, m_NumRecs - 1);
    m_CurrentPage = m_SelectedRec / kRows;
    UpdateDisplay();
    RecName[static_cast<std::size_t>(m_SelectedRec % kRows)]->setFocus(Qt::OtherFocusReason);
}

bool RecordDisplayer::HasSelection() const {
    return m_SelectedRec >= 0 && m_SelectedRec < m_NumRecs &&
           m_Records[static_cast<std::size_t>(m_SelectedRec)] != nullptr;
}

void RecordDisplayer::NextPg_Click() {
    if (m_CurrentPage < m_LastPage) {
        ++m_CurrentPage;
        UpdateDisplay();
    }
}

void RecordDisplayer::PrevPg_Click() {
    if (m_CurrentPage > 0) {
        --m_CurrentPage;
        UpdateDisplay();
    }
}

void RecordDisplayer::RecName_Click(int Index) {
    const int k = m_CurrentPage * kRows + Index;
    if (k < m_NumRecs) {
        m_SelectedRec = k;
        UpdateDisplay();
    }
}

void RecordDisplayer::Describe_Click() {
    if (!HasSelection())
        return;
    QString page = QString::fromStdString(
        m_Records[static_cast<std::size_t>(m_SelectedRec)]->GetDescription());
    const QString inProgramFolder = platform::FindProgramFile(page);
    page = inProgramFolder.isEmpty() ? platform::ResolvePage(page) : inProgramFolder;
    if (!platform::OpenDocument(page))
        platform::MessageBox(QStringLiteral("Cannot Display: ") + page, platform::Buttons::OK,
                             platform::Icon::Information, QStringLiteral("Invalid"));
}

void RecordDisplayer::Explain_Click() {
    if (HasSelection() && m_Explainer)
        m_Explainer(m_Questions, m_Records[static_cast<std::size_t>(m_SelectedRec)]);
}

void RecordDisplayer::Close_Click() {
    if (isVisible())
        hide();
}

} // namespace consult
