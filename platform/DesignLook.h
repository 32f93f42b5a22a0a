#pragma once

// Colours and fonts as the windows were designed: colours written 0xBBGGRR, fonts by the
// design's family, which fontconfig maps to the nearest installed one.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace platform {

inline const QString kComicSans = QStringLiteral("Comic Sans MS");
inline const QString kSansSerif = QStringLiteral("MS Sans Serif");

// The top byte is ignored.
inline QColor BgrToQColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline QFont DesignFont(const QString& family, double points, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Most of the windows are designed in Comic Sans.
inline QFont DesignFont(double points, bool bold = false) {
    return DesignFont(kComicSans, points, bold);
}

inline void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}
// A bare number would be read as 0xRRGGBB: say BgrToQColor.
void SetTextColour(QWidget* widget, std::uint32_t bgr) = delete;

} // namespace platform
