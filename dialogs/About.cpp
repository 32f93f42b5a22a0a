#include "dialogs/About.h"

#include "dialogs/Artwork.h"
#include "dialogs/ProgramShell.h"
#include "platform/ClickableLabel.h"
#include "platform/DesignWidgets.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace dialogs {

namespace {

QFrame* MakePanel(QWidget* parent, const char* name, QRect place) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(place);
    return panel;
}

QFrame* MakeLine(QWidget* parent, const char* name, QRect place) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(place);
    return line;
}

} // namespace

About::About(QWidget* parent) : PlacedDialog(parent) {
    using platform::MakeLabel;
    using platform::TwipsRect;
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Corvane"));
    setFixedSize(TwipsRect(0, 0, 5490, 3525).size());
    setFont(platform::DesignFont(8.25));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, platform::BgrToQColor(0x00FFC0C0));
    setPalette(colours);
    setAutoFillBackground(true);

    m_Panel3D1 = MakePanel(this, "Panel3D1", TwipsRect(60, 60, 5370, 645));
    m_Picture2 =
        MakeLabel(m_Panel3D1, QStringLiteral("Picture2"), {}, TwipsRect(120, 82, 480, 480), font());
    m_Picture2->setPixmap(AboutArtwork());
    m_Picture2->setAlignment(Qt::AlignCenter);
    m_VersionLabel =
        MakeLabel(m_Panel3D1, QStringLiteral("VersionLabel"), QStringLiteral("Version M.m.R"),
                  TwipsRect(720, 45, 4530, 270), font());
    m_DescriptionLabel = MakeLabel(
        m_Panel3D1, QStringLiteral("DescriptionLabel"), QStringLiteral("Application Name"),
        TwipsRect(720, 315, 4530, 285), platform::DesignFont(8.25, true));

    m_Panel3D2 = MakePanel(this, "Panel3D2", TwipsRect(60, 825, 5370, 2580));
    // The description lines are long for the band; a slightly smaller size keeps each on
    // its line in the fallback typeface too.
    const QFont textFont = platform::DesignFont(7.5);
    const char* const names[] = {"Label1", "Label3", "Label5", "Label7"};
    const QString texts[] = {
        QString(),
        QStringLiteral("own artificially intelligent (decision support) systems with relative"),
        QStringLiteral("ease.   The system uses its inference  engine  (fuzzy logic)  to find"),
        QStringLiteral("a probable solution given the users responses to a set of questions.")};
    QLabel** lines[] = {&m_Label1, &m_Label3, &m_Label5, &m_Label7};
    for (int i = 0; i < 4; ++i) {
        *lines[i] = MakeLabel(m_Panel3D2, QString::fromLatin1(names[i]), texts[i],
                              TwipsRect(90, 90 + i * 255, 5190, 255), textFont);
    }
    m_Line1 = MakeLine(m_Panel3D2, "Line1", TwipsRect(90, 1170, 5190, 30));
    m_Label6 = new platform::ClickableLabel(
        QStringLiteral("[click here to go to the Corvane HomePage]"), m_Panel3D2);
    m_Label6->setObjectName(QStringLiteral("Label6"));
    m_Label6->setGeometry(TwipsRect(90, 1290, 5190, 300));
    m_Label6->setAlignment(Qt::AlignCenter);
    m_Label6->setCursor(Qt::UpArrowCursor);
    QPalette linkColours = m_Label6->palette();
    linkColours.setColor(QPalette::WindowText, platform::BgrToQColor(0x00400040));
    m_Label6->setPalette(linkColours);
    m_Line2 = MakeLine(m_Panel3D2, "Line2", TwipsRect(90, 1680, 5190, 30));

    m_AboutOK = new QPushButton(QStringLiteral("OK"), m_Panel3D2);
    m_AboutOK->setObjectName(QStringLiteral("AboutOK"));
    m_AboutOK->setGeometry(TwipsRect(4080, 1980, 1140, 405));
    m_AboutOK->setDefault(true);

    connect(m_AboutOK, &QPushButton::clicked, this, &About::AboutOK_Click);
    connect(m_Label6, &platform::ClickableLabel::clicked, this, &About::Label6_Click);
}

void About::Form_Load() {
    PlacedDialog::Form_Load();
    m_VersionLabel->setText(platform::VersionText());
    m_DescriptionLabel->setText(platform::ProductName());
}

void About::AboutOK_Click() {
    hide();
}

void About::Label6_Click() {
    OpenHomePage();
}

} // namespace dialogs
