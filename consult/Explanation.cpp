#include "consult/Explanation.h"

#include "platform/DesignWidgets.h"
#include "platform/FormUtilities.h"
#include "platform/NumberFormat.h"
#include "platform/ShownText.h"
#include "platform/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace consult {

using platform::BgrToQColor;
using platform::DesignFont;
using platform::kComicSans;
using platform::MakeButton;
using platform::MakeFrame;
using platform::SetTextColour;
using platform::TwipsRect;

namespace {

struct HelpLine {
    int top;
    const char* text;
    std::uint32_t colour;
    bool underlined;
};

constexpr std::uint32_t kRed = 0xFF;
constexpr std::uint32_t kDarkBlue = 0x800000;
constexpr std::uint32_t kBlack = 0x0;

// clang-format off
constexpr HelpLine kHelp[Explanation::kHelpLines] = {
    {360, "Analysis Description Help", kBlack, true},
    {720, "Single Option Questions", kRed, true},
    {960, "For these Questions the system will show the Question that was asked together with ", kDarkBlue, false},
    {1200, "its importance.  The Option that the user chose is then displayed together with the", kDarkBlue, false},
    {1440, "the score that that option attained.  Maximum and minimum scores are derived from", kDarkBlue, false},
    {1680, "Importance where HIGH is from -20 to +20, MEDIUM from -15 to +15 and NORMAL from", kDarkBlue, false},
    {1920, "-10 to +10.  The Resultant Score for the chosen Option is shown in brackets ie [-10].", kDarkBlue, false},
    {2280, "Multiple Option Questions", kRed, true},
    {2520, "For these Questions the system will display all of the options for that Question with a", kDarkBlue, false},
    {2760, "score next to each indicating the user input.  These are as follows ; ", kDarkBlue, false},
    {3000, "[-10] = NO, [ -5] = UNLIKELY, [ 0 ] = NEUTRAL, [  5 ] = PERHAPS, [ 10 ] = YES", kDarkBlue, false},
    {3240, "The system then performs an analysis of the users inputs using data stored in the DB.", kDarkBlue, false},
    {3480, "This final score is then shown eg [Resultant Score = -10 ]", kDarkBlue, false},
    {3720, "", kDarkBlue, false},
    {3960, "For Questions that are not answered by the user [Not Answered] is shown", kBlack, true},
    {4200, "Reliant Questions not asked by the system show [This Question was not Asked]", kBlack, true},
};
// clang-format on

QString ImportanceTag(double importance) {
    if (importance == 2.0)
        return QStringLiteral(" [Importance = HIGH] ");
    if (importance == 1.5)
        return QStringLiteral(" [Importance = MEDIUM] ");
    return QStringLiteral(" [Importance = NORMAL] ");
}

QString LevelTag(int level) {
    switch (level) {
    case -10:
        return QStringLiteral(" [NO]");
    case -5:
        return QStringLiteral(" [DOUBT]");
    case 0:
        return QStringLiteral(" [NEUTRAL]");
    case 5:
        return QStringLiteral(" [MAYBE]");
    case 10:
        return QStringLiteral(" [YES]");
    default:
        return QString();
    }
}

} // namespace

Explanation::Explanation(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Explanation"));
    // The designed 8700 x 5925 twips include the title bar, menu bar and borders.
    auto* menuBar = new QMenuBar(this);
    QMenu* Action = menuBar->addMenu(QStringLiteral("&Action"));
    Action->setObjectName(QStringLiteral("Action"));
    QAction* BacktoResults = Action->addAction(QStringLiteral("&Back to Results"));
    BacktoResults->setObjectName(QStringLiteral("BacktoResults"));
    QAction* AnalysisHelp = Action->addAction(QStringLiteral("Analysis &Help"));
    AnalysisHelp->setObjectName(QStringLiteral("AnalysisHelp"));

    auto* client = new QWidget(this);
    client->setFixedSize(TwipsRect(0, 0, 8655, 5295).size());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QGroupBox* Frame1 = MakeFrame(client, QStringLiteral("Frame1"), TwipsRect(120, 0, 8415, 5175));

    for (int i = 0; i < kHelpLines; ++i) {
        const HelpLine& line = kHelp[i];
        auto* label = new QLabel(QString::fromLatin1(line.text), Frame1);
        label->setObjectName(QStringLiteral("AHelp(%1)").arg(i));
        label->setGeometry(i == 0 ? TwipsRect(495, line.top, 2895, 375)
                                  : TwipsRect(i == 13 ? 480 : 495, line.top, 7455, 255));
        QFont font = DesignFont(kComicSans, i == 0 ? 9.75 : 8.25);
        font.setUnderline(line.underlined);
        label->setFont(font);
        SetTextColour(label, BgrToQColor(line.colour));
        label->hide();
        AHelp[static_cast<std::size_t>(i)] = label;
    }

    QPushButton* OK = MakeButton(Frame1, QStringLiteral("OK"), QStringLiteral("OK"),
                                 TwipsRect(7080, 3840, 615, 375));

    // Made after the help page and OK, so that it lies on top of them.
    List1 = new QListWidget(Frame1);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(TwipsRect(120, 240, 8130, 4755));
    List1->setFont(DesignFont(kComicSans, 8.25));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    BTR = MakeButton(client, QStringLiteral("BTR"), QStringLiteral("Exit"),
                     TwipsRect(7320, 4560, 735, 375));
    BTR->raise();

    connect(BTR, &QPushButton::clicked, this, &Explanation::BTR_Click);
    connect(OK, &QPushButton::clicked, this, &Explanation::OK_Click);
    connect(AnalysisHelp, &QAction::triggered, this, &Explanation::AnalysisHelp_Click);
    connect(BacktoResults, &QAction::triggered, this, &Explanation::BacktoResults_Click);
}

Explanation::~Explanation() = default;

void Explanation::Form_Load() {
    // Placed before it is first shown: its layout must give it its size first.
    adjustSize();
    platform::CentreForm(this, -1000, -1000);
}

QStringList Explanation::ExplainRecord(const kb::QuestionArray& questions,
                                       const kb::CRecord& record) {
    QStringList lines;
    for (std::size_t q = 0; q < questions.size(); ++q) {
        const kb::CQuestion& question = *questions[q];
        lines << QStringLiteral("[Question %1]").arg(q + 1) +
                     ImportanceTag(question.GetImportance());
        lines << QString::fromStdString(question.GetUserQ()) +
                     (question.GetUserType() == 0 ? QStringLiteral(" [Type = Single] ")
                                                  : QStringLiteral(" [Type = Multiple] "));
        if (question.GetAnswered()) {
            for (std::int16_t k = 0; k < question.GetNumOptions(); ++k)
                lines << QStringLiteral("--- ") + QString::fromStdString(question.GetOption(k)) +
                             LevelTag(question.m_Responses.GetResponse(k));
            // A record sized for fewer questions has no score to show for the rest.
            const int qNo = static_cast<int>(q);
            const double score = qNo < record.GetNumResponses() ? record.GetQScore(qNo) : 0.0;
            lines << QStringLiteral("Resultant Score = ") + platform::FormatTwoDecimals(score) +
                         QLatin1Char(' ') + QStringLiteral("From a MAX of ") +
                         platform::FormatTwoDecimals(question.GetImportance() * 10);
        } else {
            lines << QStringLiteral(" [This question was NOT asked/answered] ");
        }
        lines << QStringLiteral(" ");
    }
    return lines;
}

void Explanation::Initialise(QWidget* /*Parent*/, const kb::QuestionArray& theQs,
                             const std::shared_ptr<kb::CRecord>& theRec) {
    if (!m_Loaded) {
        m_Loaded = true;
        Form_Load();
    }
    m_Record = theRec;
    m_Questions = theQs;
    List1->clear();
    if (!m_Record)
        return;
    // A name of megabytes would be carried whole to the window manager: it is abridged as
    // the message boxes abridge a line.
    setWindowTitle(QStringLiteral("Selected Record = ") +
                   platform::AbridgeText(QString::fromStdString(m_Record->GetName()),
                                         platform::kMessageLineLimit));
    List1->addItems(ExplainRecord(m_Questions, *m_Record));
    // Clearing keeps the scroll bars where the last record left them; a new explanation
    // starts at its first line.
    List1->scrollToTop();
    List1->horizontalScrollBar()->setValue(List1->horizontalScrollBar()->minimum());
}

void Explanation::ShowList() {
    List1->show();
    BTR->show();
}

void Explanation::BTR_Click() {
    hide();
}

void Explanation::AnalysisHelp_Click() {
    for (QLabel* line : AHelp)
        line->show();
    List1->hide();
    BTR->hide();
}

void Explanation::BacktoResults_Click() {
    ShowList();
    for (QLabel* line : AHelp)
        line->hide();
}

void Explanation::OK_Click() {
    ShowList();
}

} // namespace consult
