#pragma once

// Colours and fonts as the windows were designed: colours written 0xBBGGRR, fonts by the
// design's family, which fontconfig maps to the nearest installed one.

#include "platform/Colours.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <cstdint>

namespace consult {

inline QColor BgrColour(std::uint32_t bgr) {
    return platform::BgrToQColor(bgr);
}

inline QFont DesignFont(const QString& family, double points, bool bold = false) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

inline void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

inline void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline const QString kComicSans = QStringLiteral("Comic Sans MS");
inline const QString kSansSerif = QStringLiteral("MS Sans Serif");

} // namespace consult
