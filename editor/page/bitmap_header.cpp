// Windows bitmap files: a 14-byte BITMAPFILEHEADER, a DIB header (BITMAPCOREHEADER,
// BITMAPINFOHEADER or one of its longer successors), optional colour masks, the
// colour table, and the pixel rows at bfOffBits.

#include <cstdint>
#include <limits>

#include "picture_headers.h"

namespace quom {

namespace {

using std::uint32_t;
using std::uint64_t;

// BITMAPFILEHEADER: bfType "BM" (read as a little-endian word), bfSize at 2,
// bfOffBits at 10; the DIB header follows at 14 and begins with its own size.
constexpr uint32_t kBitmapType = 0x4D42;
constexpr uint64_t kFileHeaderSize = 14;

// DIB header sizes: BITMAPCOREHEADER (OS/2 1.x), BITMAPINFOHEADER, the info header
// extended by RGB masks and by RGBA masks (Adobe), BITMAPV4HEADER, BITMAPV5HEADER.
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kRgbMasksHeaderSize = 52;
constexpr uint32_t kRgbaMasksHeaderSize = 56;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;

// biCompression values that GDI draws on a screen (BI_JPEG and BI_PNG are for
// printers only).
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// With BI_BITFIELDS and a plain BITMAPINFOHEADER, three DWORD masks (R, G, B)
// follow the header; the longer headers hold the masks themselves.
constexpr uint64_t kSeparateMasksSize = 12;

// Bytes of uncompressed pixels: rows padded to whole DWORDs. Width and bit count
// come from 32- and 16-bit fields, so a row fits 64 bits; rows times row bytes may
// not, and saturates instead (no bitmap file of that size can exist).
uint64_t PixelBytes(uint64_t width, uint64_t bits_per_pixel, uint64_t rows) {
    const uint64_t row_bytes = (width * bits_per_pixel + 31) / 32 * 4;
    if (rows != 0 && row_bytes > std::numeric_limits<uint64_t>::max() / rows)
        return std::numeric_limits<uint64_t>::max();
    return row_bytes * rows;
}

bool IsCoreBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

bool IsInfoBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsKnownInfoHeaderSize(uint32_t size) {
    return size == kInfoHeaderSize || size == kRgbMasksHeaderSize || size == kRgbaMasksHeaderSize ||
           size == kV4HeaderSize || size == kV5HeaderSize;
}

// What the DIB header says about the layout after it.
struct DibLayout {
    PictureSize size;
    uint64_t header_end = 0;     // where the colour table (or the masks) begins
    uint64_t palette_bytes = 0;  // masks and colour table together
    uint64_t pixel_bytes = 0;    // what must lie at bfOffBits
};

// BITMAPCOREHEADER: bcWidth, bcHeight (WORDs, bottom-up), bcPlanes, bcBitCount;
// the colour table holds 2^bits RGBTRIPLEs.
std::optional<DibLayout> CoreLayout(FileFields& f) {
    uint32_t width = f.U16(18);
    uint32_t height = f.U16(20);
    uint32_t planes = f.U16(22);
    uint32_t bits = f.U16(24);
    if (!f.complete() || width == 0 || height == 0 || planes != 1 || !IsCoreBitCount(bits))
        return std::nullopt;
    DibLayout layout;
    layout.size = {static_cast<int>(width), static_cast<int>(height)};
    layout.header_end = kFileHeaderSize + kCoreHeaderSize;
    layout.palette_bytes = bits <= 8 ? (uint64_t{1} << bits) * 3 : 0;
    layout.pixel_bytes = PixelBytes(width, bits, height);
    return layout;
}

// BITMAPINFOHEADER and successors: biWidth, biHeight (negative: top-down rows),
// biPlanes, biBitCount, biCompression, biSizeImage, ..., biClrUsed at 32 in the
// header. The colour table holds biClrUsed RGBQUADs, or 2^bits when that is 0.
std::optional<DibLayout> InfoLayout(FileFields& f, uint32_t header_size) {
    std::int32_t width = f.I32(18);
    std::int32_t height = f.I32(22);
    uint32_t planes = f.U16(26);
    uint32_t bits = f.U16(28);
    uint32_t compression = f.U32(30);
    uint32_t image_size = f.U32(34);
    uint32_t colours_used = f.U32(46);
    if (!f.complete() || width <= 0 || height == 0 || planes != 1 || !IsInfoBitCount(bits))
        return std::nullopt;
    // The height's magnitude must fit an int as well.
    if (height == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
    const bool top_down = height < 0;
    const uint64_t rows = top_down ? -static_cast<std::int64_t>(height) : height;

    switch (compression) {
        case kBiRgb:
            break;
        case kBiRle8:
        case kBiRle4:
            // Run-length data always runs bottom-up, and only at its own depth.
            if (top_down || bits != (compression == kBiRle8 ? 8u : 4u)) return std::nullopt;
            break;
        case kBiBitfields:
            if (bits != 16 && bits != 32) return std::nullopt;
            break;
        default:
            return std::nullopt;
    }

    DibLayout layout;
    layout.size = {width, static_cast<int>(rows)};
    layout.header_end = kFileHeaderSize + header_size;
    uint64_t palette_entries = colours_used;
    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        if (palette_entries > most) return std::nullopt;
        if (palette_entries == 0) palette_entries = most;
    }
    layout.palette_bytes = palette_entries * 4;
    if (compression == kBiBitfields && header_size == kInfoHeaderSize)
        layout.palette_bytes += kSeparateMasksSize;
    if (compression == kBiRgb || compression == kBiBitfields) {
        layout.pixel_bytes = PixelBytes(static_cast<uint64_t>(width), bits, rows);
    } else {
        // Compressed data has no size of its own but biSizeImage.
        if (image_size == 0) return std::nullopt;
        layout.pixel_bytes = image_size;
    }
    return layout;
}

}  // namespace

std::optional<PictureSize> BitmapFileSize(std::string_view bytes) {
    FileFields f(bytes);
    const uint32_t type = f.U16(0);
    const uint64_t declared_size = f.U32(2);
    const uint64_t pixel_offset = f.U32(10);
    const uint32_t header_size = f.U32(14);
    if (!f.complete() || type != kBitmapType) return std::nullopt;
    // bfSize may stop short of the file (trailing bytes are not read), never beyond it.
    if (declared_size > f.size()) return std::nullopt;

    std::optional<DibLayout> layout;
    if (header_size == kCoreHeaderSize) {
        layout = CoreLayout(f);
    } else if (IsKnownInfoHeaderSize(header_size)) {
        layout = InfoLayout(f, header_size);
    }
    if (!layout) return std::nullopt;

    // Headers, colour table and pixels follow one another inside bfSize, in that order.
    const uint64_t palette_end = layout->header_end + layout->palette_bytes;
    if (palette_end > pixel_offset) return std::nullopt;
    if (pixel_offset > declared_size || layout->pixel_bytes > declared_size - pixel_offset)
        return std::nullopt;
    return layout->size;
}

}  // namespace quom
