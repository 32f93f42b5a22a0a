#pragma once

#include <QRect>

namespace platform {

// Positions and sizes are designed in twips; 15 twips make one logical pixel and Qt's
// high-DPI scaling does the rest.
constexpr int kTwipsPerPixel = 15;
// To the nearest pixel, a negative offset the same as a positive one: integer division
// truncates toward zero, so the half is added away from zero.
constexpr int TwipsToPixels(int twips) {
    return twips < 0 ? -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel)
                     : (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace platform
