#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace platform {

// Places a window at the centre of its screen, shifted by offsets in twips (positive
// offsets move it right and down).
void CentreForm(QWidget* form, std::int16_t horizontalTwips, std::int16_t verticalTwips);

// Opens a help page, description page or the home page with the default handler.
bool OpenDocument(const QString& target);

} // namespace platform
