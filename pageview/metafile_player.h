// Plays enhanced metafiles (EMF) and Windows metafiles (WMF) into an image: the
// common drawing records (lines, polygons, rectangles, ellipses, text), pens,
// brushes, fonts and the window/viewport mapping. Records it does not know are
// skipped.
#pragma once

#include <QImage>

#include "picture.h"

namespace quom {

// The picture drawn at its size in pixels on a transparent background, or a null
// image when the bytes hold no metafile.
QImage PlayMetafile(const Picture& picture);

}  // namespace quom
