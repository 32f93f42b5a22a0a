#pragma once

#include <QRect>

namespace platform {

// Positions and sizes are designed in twips; 15 twips make one logical pixel and Qt's
// high-DPI scaling does the rest.
constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace platform
