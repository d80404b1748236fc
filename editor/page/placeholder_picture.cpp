// The placeholder a picture item shows before a picture is loaded: a small framed
// landscape (sky, sun, hill), drawn pixel by pixel into a 24-bit bitmap file.

#include <algorithm>
#include <cstdint>
#include <string>

#include "picture.h"

namespace quom {

namespace {

constexpr int kSide = 28;
constexpr int kBitsPerPixel = 24;
// 28 pixels of 3 bytes are 84 bytes: already a multiple of 4, so rows need no padding.
constexpr int kRowBytes = kSide * 3;
static_assert(kRowBytes % 4 == 0);
constexpr int kFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr int kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr int kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr int kFileSize = kPixelOffset + kRowBytes * kSide;

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr Rgb kFrame{64, 64, 64};
constexpr Rgb kMat{255, 255, 255};
constexpr Rgb kSky{135, 196, 235};
constexpr Rgb kSun{250, 210, 40};
constexpr Rgb kHill{60, 150, 60};

// x, y from the top-left corner, as one looks at the picture.
Rgb PixelAt(int x, int y) {
    const int edge = std::min(std::min(x, y), std::min(kSide - 1 - x, kSide - 1 - y));
    if (edge == 0) return kFrame;
    if (edge == 1) return kMat;
    const int sun_dx = x - 19, sun_dy = y - 8;
    if (sun_dx * sun_dx + sun_dy * sun_dy <= 12) return kSun;
    // A hill whose top is at (10, 14), falling off as a parabola to both sides.
    const int hill_dx = x - 10;
    if (y >= 14 + hill_dx * hill_dx / 8) return kHill;
    return kSky;
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

std::string PlaceholderBytes() {
    std::string out;
    out.reserve(kFileSize);
    // BITMAPFILEHEADER
    out += "BM";
    PutLittleEndian(out, kFileSize, 4);
    PutLittleEndian(out, 0, 4);  // two reserved WORDs
    PutLittleEndian(out, kPixelOffset, 4);
    // BITMAPINFOHEADER: bottom-up rows, uncompressed, no colour table.
    PutLittleEndian(out, kInfoHeaderSize, 4);
    PutLittleEndian(out, kSide, 4);  // biWidth
    PutLittleEndian(out, kSide, 4);  // biHeight
    PutLittleEndian(out, 1, 2);      // biPlanes
    PutLittleEndian(out, kBitsPerPixel, 2);
    PutLittleEndian(out, 0, 4);  // biCompression: BI_RGB
    PutLittleEndian(out, kRowBytes * kSide, 4);
    PutLittleEndian(out, 3780, 4);  // biXPelsPerMeter: 96 dots per inch
    PutLittleEndian(out, 3780, 4);  // biYPelsPerMeter
    PutLittleEndian(out, 0, 4);     // biClrUsed
    PutLittleEndian(out, 0, 4);     // biClrImportant
    for (int row = kSide - 1; row >= 0; --row) {
        for (int x = 0; x < kSide; ++x) {
            const Rgb c = PixelAt(x, row);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
        }
    }
    return out;
}

}  // namespace

const Picture& PlaceholderPicture() {
    // Built once through the ordinary check, so the placeholder is a picture like any other.
    static const Picture placeholder = PictureFromBytes(PictureKind::Bitmap, PlaceholderBytes());
    return placeholder;
}

}  // namespace quom
