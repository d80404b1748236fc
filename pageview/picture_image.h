// What a picture item shows: its picture drawn at the picture's size.
#pragma once

#include <QImage>

#include "picture.h"

namespace quom {

// Bitmaps and icons are decoded by Qt, metafiles played record by record. A picture
// that cannot be drawn gives a framed empty image of its size.
QImage PictureImage(const Picture& picture);

}  // namespace quom
