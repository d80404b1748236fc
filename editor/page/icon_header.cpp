// Icon files: ICONDIR (idReserved, idType, idCount), then idCount ICONDIRENTRYs of 16
// bytes, each pointing at one image elsewhere in the file. An image is either a DIB
// (BITMAPINFOHEADER, colour table, XOR rows, AND-mask rows) or a PNG stream.

#include <cstdint>

#include "picture_headers.h"

namespace quom {

namespace {

using std::uint32_t;
using std::uint64_t;

constexpr uint32_t kIconResourceType = 1;  // idType: 1 icon, 2 cursor
constexpr uint64_t kDirectoryHeaderSize = 6;
constexpr uint64_t kDirectoryEntrySize = 16;
// ICONDIRENTRY: bWidth, bHeight (0 means 256), bColorCount, bReserved, wPlanes,
// wBitCount, dwBytesInRes at 8, dwImageOffset at 12.
constexpr int kSizeOfZeroEntry = 256;

// An image's DIB header is a BITMAPINFOHEADER whose biHeight counts the XOR and the
// AND rows together, i.e. twice the icon's height.
constexpr uint32_t kInfoHeaderSize = 40;

// A PNG stream: the 8-byte signature, then the IHDR chunk (length 13, type, data,
// CRC) must come first.
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr uint64_t kPngSignatureSize = 8;
constexpr uint64_t kPngHeaderEnd = kPngSignatureSize + 8 + 13 + 4;

uint64_t RowBytes(uint64_t width, uint64_t bits) {
    return (width * bits + 31) / 32 * 4;
}

bool IsPngImage(std::string_view image) {
    if (image.size() < kPngHeaderEnd) return false;
    if (image.substr(0, kPngSignatureSize) != std::string_view(kPngSignature, kPngSignatureSize))
        return false;
    // The chunk length is big-endian: 00 00 00 0D.
    return image.substr(8, 8) == std::string_view("\0\0\0\x0dIHDR", 8);
}

// The DIB must hold its header, colour table, XOR rows and AND rows in full.
bool IsDibImage(std::string_view image) {
    FileFields f(image);
    const uint32_t header_size = f.U32(0);
    const std::int32_t width = f.I32(4);
    const std::int32_t height = f.I32(8);
    const uint32_t planes = f.U16(12);
    const uint32_t bits = f.U16(14);
    const uint32_t compression = f.U32(16);
    const uint32_t colours_used = f.U32(32);
    if (!f.complete() || header_size != kInfoHeaderSize || width <= 0 || height <= 0 ||
        planes != 1 || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    uint64_t palette_entries = 0;
    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        if (colours_used > most) return false;
        palette_entries = colours_used == 0 ? most : colours_used;
    }
    // Width < 2^31 and bits <= 32 make a row < 2^33 bytes, and rows < 2^30: no wrap.
    const uint64_t rows = static_cast<uint64_t>(height) / 2;
    const uint64_t needed = header_size + palette_entries * 4 + RowBytes(width, bits) * rows +
                            RowBytes(width, 1) * rows;
    return needed <= image.size();
}

}  // namespace

std::optional<PictureSize> IconFileSize(std::string_view bytes) {
    FileFields f(bytes);
    const uint32_t reserved = f.U16(0);
    const uint32_t type = f.U16(2);
    const uint64_t count = f.U16(4);
    if (!f.complete() || reserved != 0 || type != kIconResourceType || count == 0)
        return std::nullopt;
    const uint64_t directory_end = kDirectoryHeaderSize + count * kDirectoryEntrySize;
    if (directory_end > f.size()) return std::nullopt;

    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t entry = kDirectoryHeaderSize + i * kDirectoryEntrySize;
        const uint64_t image_size = f.U32(entry + 8);
        const uint64_t image_offset = f.U32(entry + 12);
        // Each image lies after the directory and inside the file.
        if (image_offset < directory_end || image_offset > f.size() ||
            image_size > f.size() - image_offset)
            return std::nullopt;
        const std::string_view image = bytes.substr(image_offset, image_size);
        if (!IsPngImage(image) && !IsDibImage(image)) return std::nullopt;
    }

    const int width = f.U8(kDirectoryHeaderSize);
    const int height = f.U8(kDirectoryHeaderSize + 1);
    return PictureSize{width == 0 ? kSizeOfZeroEntry : width,
                       height == 0 ? kSizeOfZeroEntry : height};
}

}  // namespace quom
