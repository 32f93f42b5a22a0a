#pragma once

#include <QPixmap>

namespace dialogs {

// Our own pictures, drawn in code so that nothing has to be shipped for them.
// The splash picture, 420 x 320.
QPixmap SplashArtwork();
// The small picture of the About window, 32 x 32.
QPixmap AboutArtwork();

} // namespace dialogs
