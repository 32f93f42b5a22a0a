#include "dialogs/Intro.h"

#include "dialogs/Artwork.h"
#include "kb/Utilities.h"
#include "platform/FormUtilities.h"
#include "platform/ProgramInfo.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QTimer>

namespace dialogs {

Intro::Intro(MainFactory makeMain, QWidget* parent)
    : QWidget(parent, Qt::Window), m_MakeMain(std::move(makeMain)), m_Picture1(new QLabel(this)),
      m_Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("Intro"));
    setWindowTitle(QStringLiteral("Welcome to Corvane "));
    setFixedSize(platform::TwipsRect(0, 0, 6165, 4800).size());

    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setGeometry(platform::TwipsRect(-120, 0, 6435, 4830));
    m_Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_Picture1->setPixmap(SplashArtwork());

    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_Timer1->setInterval(3000);
    m_Timer1->setSingleShot(true);
    // A coarse timer may fire up to 5% early; the splash stands its full three seconds.
    m_Timer1->setTimerType(Qt::PreciseTimer);
    connect(m_Timer1, &QTimer::timeout, this, &Intro::Timer1_Timer);

    Form_Load();
}

Intro::~Intro() {
    delete m_Main.data();
}

void Intro::Form_Load() {
    const QString logo = platform::InProgramFolder(QStringLiteral("corvanelogo.bmp"));
    if (kb::FileExists(logo.toStdString())) {
        // A file that is not a readable picture leaves the built-in one in place.
        QPixmap picture;
        if (picture.load(logo)) {
            m_Picture1->setVisible(true);
            m_Picture1->setPixmap(picture);
        }
    }
    raise();
    platform::CentreForm(this, 0, 0);
    m_Timer1->start();
}

void Intro::Timer1_Timer() {
    m_Timer1->stop();
    hide();
    if (m_Main.isNull() && m_MakeMain) {
        m_Main = m_MakeMain();
    }
    if (!m_Main.isNull()) {
        m_Main->setVisible(true);
        m_Main->raise();
        m_Main->activateWindow();
    }
}

} // namespace dialogs
