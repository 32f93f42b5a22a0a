#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>

namespace platform {

// Colours are designed as 0xBBGGRR (blue in the high byte); the top byte is ignored.
inline QColor BgrToQColor(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// The designed typeface; fontconfig falls back to a look-alike where it is missing.
inline QFont DesignFont(double points, bool bold = false) {
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace platform
