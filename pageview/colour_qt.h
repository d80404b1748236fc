// Colour values of the page as Qt colours, and back.
#pragma once

#include <QColor>

#include "colour.h"

namespace quom {

// RGB values map directly; system colours take the application palette's colour
// for their role (button face, window, window text, ...).
QColor ToQColor(Colour colour);

// Always an RGB value: the colour dialog yields no system colours.
Colour FromQColor(const QColor& colour);

}  // namespace quom
