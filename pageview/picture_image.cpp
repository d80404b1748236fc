#include "picture_image.h"

#include <algorithm>

#include <QPainter>

#include "metafile_player.h"

namespace quom {

namespace {

// Larger pictures are shown cut to this size each way.
constexpr int kMaxShownSide = 8192;

QImage FramedBlank(int width, int height) {
    QImage image(std::clamp(width, 1, kMaxShownSide), std::clamp(height, 1, kMaxShownSide),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::gray);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QImage Decoded(const Picture& picture, const char* format) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(picture.bytes.data()),
                       static_cast<int>(picture.bytes.size()), format);
    return image;
}

}  // namespace

QImage PictureImage(const Picture& picture) {
    QImage image;
    switch (picture.kind) {
        case PictureKind::Bitmap:
            image = Decoded(picture, "BMP");
            break;
        case PictureKind::Icon:
            image = Decoded(picture, "ICO");
            break;
        case PictureKind::EnhancedMetafile:
        case PictureKind::Metafile:
            image = PlayMetafile(picture);
            break;
    }
    if (image.isNull()) return FramedBlank(picture.width, picture.height);
    if (image.width() != picture.width || image.height() != picture.height) {
        image = image.scaled(std::clamp(picture.width, 1, kMaxShownSide),
                             std::clamp(picture.height, 1, kMaxShownSide));
    }
    return image;
}

}  // namespace quom
