#include "dialogs/SavedMsg.h"

#include "platform/DesignLook.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

namespace dialogs {

SavedMsg::SavedMsg(QWidget* parent)
    : PlacedDialog(parent), m_Frame1(new QFrame(this)), m_Label1(new QLabel(m_Frame1)),
      m_FilenameLabel(new QLabel(m_Frame1)), m_Timer1(new QTimer(this)) {
    using platform::TwipsRect;
    setObjectName(QStringLiteral("SavedMsg"));
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(TwipsRect(0, 0, 4830, 1080).size());

    const QColor darkBlue = platform::BgrToQColor(0x00C00000);
    const QColor lightYellow = platform::BgrToQColor(0x0080FFFF);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, darkBlue);
    colours.setColor(QPalette::WindowText, lightYellow);
    setPalette(colours);
    setAutoFillBackground(true);

    m_Frame1->setObjectName(QStringLiteral("Frame1"));
    m_Frame1->setGeometry(TwipsRect(0, 0, 4830, 1080));
    m_Frame1->setAutoFillBackground(true);

    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setText(QStringLiteral("Changed information has been saved in:"));
    m_Label1->setGeometry(TwipsRect(60, 150, 4710, 330));
    m_Label1->setAlignment(Qt::AlignCenter);
    m_Label1->setFont(platform::DesignFont(9, true));

    m_FilenameLabel->setObjectName(QStringLiteral("FilenameLabel"));
    m_FilenameLabel->setText(QStringLiteral("File"));
    m_FilenameLabel->setGeometry(TwipsRect(60, 540, 4710, 300));
    m_FilenameLabel->setAlignment(Qt::AlignCenter);
    m_FilenameLabel->setTextFormat(Qt::PlainText);
    m_FilenameLabel->setFont(platform::DesignFont(8.25));

    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_Timer1->setInterval(1000);
    m_Timer1->setSingleShot(true);
    connect(m_Timer1, &QTimer::timeout, this, &SavedMsg::Timer1_Timer);
}

void SavedMsg::Initialise(const QString& Filename) {
    m_Filename = Filename;
}

void SavedMsg::setVisible(bool visible) {
    if (!visible)
        m_Timer1->stop();
    PlacedDialog::setVisible(visible);
}

void SavedMsg::showEvent(QShowEvent* event) {
    PlacedDialog::showEvent(event);
    Form_Activate();
}

void SavedMsg::Form_Activate() {
    m_Timer1->start();
    // A long path keeps its beginning and its file name; the whole of it is the tip.
    const int room = m_FilenameLabel->width() - 8;
    m_FilenameLabel->setText(
        m_FilenameLabel->fontMetrics().elidedText(m_Filename, Qt::ElideMiddle, room));
    m_FilenameLabel->setToolTip(m_Filename);
}

void SavedMsg::Timer1_Timer() {
    hide();
    m_Timer1->stop();
}

} // namespace dialogs
