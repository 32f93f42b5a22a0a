#include "dialogs/Artwork.h"

#include "platform/DesignLook.h"
#include "platform/ProgramInfo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace dialogs {

namespace {

// A raven on a branch, facing right; (0, 0) is the middle of its body, one unit a pixel
// at scale 1.
void DrawRaven(QPainter& p, QPointF at, double scale) {
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);

    QPainterPath tail;
    tail.moveTo(-50, 15);
    tail.lineTo(-112, 62);
    tail.lineTo(-98, 74);
    tail.lineTo(-30, 38);
    tail.closeSubpath();
    p.setBrush(QColor(0x10, 0x12, 0x1c));
    p.drawPath(tail);

    p.save();
    p.rotate(-22);
    p.drawEllipse(QPointF(0, 0), 72, 42);
    p.restore();

    p.drawEllipse(QPointF(58, -62), 30, 28); // head
    QPainterPath neck;
    neck.moveTo(30, -60);
    neck.quadTo(70, -40, 55, 0);
    neck.lineTo(20, 10);
    neck.closeSubpath();
    p.drawPath(neck);

    QPainterPath beak;
    beak.moveTo(80, -74);
    beak.quadTo(108, -72, 122, -56);
    beak.lineTo(82, -50);
    beak.closeSubpath();
    p.setBrush(QColor(0x2a, 0x2c, 0x38));
    p.drawPath(beak);

    // The wing, with a blue sheen.
    QPainterPath wing;
    wing.moveTo(-48, -8);
    wing.quadTo(0, -48, 52, -22);
    wing.quadTo(10, 10, -70, 40);
    wing.closeSubpath();
    QLinearGradient sheen(QPointF(-60, 0), QPointF(50, -30));
    sheen.setColorAt(0, QColor(0x1c, 0x22, 0x3a));
    sheen.setColorAt(1, QColor(0x3c, 0x4a, 0x7a));
    p.setBrush(sheen);
    p.drawPath(wing);

    p.setBrush(QColor(0xff, 0xd7, 0x5e));
    p.drawEllipse(QPointF(68, -68), 4.5, 4.5); // eye
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(69, -68), 2, 2);

    p.setPen(QPen(QColor(0x10, 0x12, 0x1c), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-6, 38), QPointF(-12, 70));
    p.drawLine(QPointF(14, 36), QPointF(12, 70));
    p.restore();
}

// A small decision tree of glowing nodes: the inference behind the answers.
void DrawTree(QPainter& p) {
    const QPointF nodes[] = {{92, 52},  {48, 104},  {136, 104}, {26, 156},
                             {70, 156}, {118, 156}, {160, 156}};
    const int parents[] = {-1, 0, 0, 1, 1, 2, 2};
    p.setPen(QPen(QColor(0x8f, 0xd3, 0xff, 150), 2));
    for (int i = 1; i < 7; ++i) {
        p.drawLine(nodes[parents[i]], nodes[i]);
    }
    p.setPen(QPen(QColor(0xcf, 0xee, 0xff), 1.5));
    for (int i = 0; i < 7; ++i) {
        p.setBrush(i == 5 ? QColor(0xff, 0xff, 0x80) : QColor(0x2f, 0x6f, 0x9f));
        p.drawEllipse(nodes[i], i == 0 ? 10 : 8, i == 0 ? 10 : 8);
    }
}

} // namespace

QPixmap SplashArtwork() {
    QPixmap picture(420, 320);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(QPointF(0, 0), QPointF(0, 320));
    sky.setColorAt(0, QColor(0x14, 0x21, 0x3d));
    sky.setColorAt(1, QColor(0x1f, 0x5e, 0x6f));
    p.fillRect(picture.rect(), sky);

    DrawTree(p);

    p.setPen(QPen(QColor(0x5a, 0x3b, 0x22), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(226, 246), QPointF(430, 232));
    DrawRaven(p, QPointF(290, 172), 1.0);

    p.setPen(platform::BgrToQColor(0x0080FFFF));
    p.setFont(platform::DesignFont(30, true));
    p.drawText(QRectF(22, 196, 220, 56), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Corvane"));
    p.setPen(QColor(0xcf, 0xe3, 0xff));
    p.setFont(platform::DesignFont(10));
    p.drawText(QRectF(24, 250, 230, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Decision support you build yourself"));
    p.setFont(platform::DesignFont(8));
    p.drawText(QRectF(24, 286, 380, 20), Qt::AlignLeft | Qt::AlignVCenter, platform::VersionText());
    return picture;
}

QPixmap AboutArtwork() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x14, 0x21, 0x3d), 1));
    p.setBrush(QColor(0x2f, 0x6f, 0x9f));
    p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    DrawRaven(p, QPointF(14, 20), 0.13);
    return picture;
}

} // namespace dialogs
