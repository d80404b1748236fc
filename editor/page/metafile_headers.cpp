// Enhanced metafiles (EMF) and placeable Windows metafiles (WMF). Both are chains of
// records; the checks walk the chain so that a file cut short or a header whose
// counts disagree with the records is refused before anything tries to play it.

#include <cstdint>
#include <limits>

#include "picture_headers.h"

namespace quom {

namespace {

using std::uint32_t;
using std::uint64_t;

std::optional<int> AsPixelCount(std::int64_t value) {
    if (value < 0 || value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

// --- EMF ---------------------------------------------------------------------
// Every record starts with iType and nSize (bytes, a multiple of 4). The first is
// EMR_HEADER (ENHMETAHEADER): rclBounds at 8 (left, top, right, bottom, inclusive
// device pixels), rclFrame at 24, dSignature at 40, nVersion at 44, nBytes (whole
// metafile) at 48, nRecords at 52, nHandles at 56, nDescription (UTF-16 units) at
// 60, offDescription at 64, ... szlMillimeters ending at 88. The last is EMR_EOF.
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF" in file byte order
constexpr uint64_t kEnhMetaHeaderSize = 88;
constexpr uint64_t kEmfRecordPrefixSize = 8;  // iType, nSize

// Walks the records that fill the first nBytes bytes: each has a sane size, the
// count matches nRecords, and the chain ends with EMR_EOF exactly at nBytes.
bool EmfRecordsMatch(FileFields& f, uint64_t total_bytes, uint64_t declared_records) {
    uint64_t at = 0;
    uint64_t records = 0;
    uint32_t last_type = 0;
    while (at < total_bytes) {
        last_type = f.U32(at);
        const uint64_t size = f.U32(at + 4);
        if (size < kEmfRecordPrefixSize || size % 4 != 0 || size > total_bytes - at) return false;
        at += size;
        ++records;
    }
    return f.complete() && records == declared_records && last_type == kEmrEof;
}

// --- WMF ---------------------------------------------------------------------
// The Aldus placeable header (22 bytes): Key, HWmf, BoundingBox (left, top, right,
// bottom as signed WORDs, in logical units), Inch (logical units per inch),
// Reserved, Checksum (XOR of the ten WORDs before it). Then METAHEADER (18 bytes):
// mtType, mtHeaderSize (in WORDs), mtVersion, mtSize (whole metafile in WORDs),
// mtNoObjects, mtMaxRecord (WORDs), mtNoParameters. Records follow: rdSize (WORDs),
// rdFunction, parameters; META_EOF (function 0) ends the chain.
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint64_t kPlaceableHeaderSize = 22;
constexpr int kChecksummedWords = 10;
constexpr uint32_t kMemoryMetafile = 1;
constexpr uint32_t kDiskMetafile = 2;
constexpr uint32_t kMetaHeaderWords = 9;
constexpr uint32_t kMetaVersion100 = 0x0100;  // without device-independent bitmaps
constexpr uint32_t kMetaVersion300 = 0x0300;  // with them
constexpr uint32_t kMetaEof = 0x0000;
constexpr uint64_t kMinRecordWords = 3;  // rdSize and rdFunction alone
// The editor's screen resolution: metafile extents are shown at 96 pixels per inch.
constexpr std::int64_t kPixelsPerInch = 96;

bool PlaceableChecksumMatches(FileFields& f) {
    uint32_t sum = 0;
    for (int i = 0; i < kChecksummedWords; ++i) sum ^= f.U16(2 * i);
    return sum == f.U16(2 * kChecksummedWords);
}

// The records from just after METAHEADER up to mtSize: each fits, and META_EOF comes
// before the end. mtMaxRecord only sizes a player's buffer; it is held against
// mtSize, not against each record.
bool WmfRecordsEndWithEof(FileFields& f, uint64_t start, uint64_t end) {
    uint64_t at = start;
    while (end - at >= kMinRecordWords * 2) {
        const uint64_t words = f.U32(at);
        const uint32_t function = f.U16(at + 4);
        if (words < kMinRecordWords || words * 2 > end - at) return false;
        if (function == kMetaEof) return f.complete();
        at += words * 2;
    }
    return false;
}

}  // namespace

std::optional<PictureSize> EnhancedMetafileSize(std::string_view bytes) {
    FileFields f(bytes);
    const uint32_t type = f.U32(0);
    const uint64_t header_size = f.U32(4);
    const std::int64_t left = f.I32(8);
    const std::int64_t top = f.I32(12);
    const std::int64_t right = f.I32(16);
    const std::int64_t bottom = f.I32(20);
    const uint32_t signature = f.U32(40);
    const uint64_t total_bytes = f.U32(48);
    const uint64_t records = f.U32(52);
    const uint64_t description_units = f.U32(60);
    const uint64_t description_offset = f.U32(64);
    if (!f.complete() || type != kEmrHeader || signature != kEmfSignature) return std::nullopt;
    if (header_size < kEnhMetaHeaderSize || header_size % 4 != 0 || header_size > total_bytes ||
        total_bytes > f.size())
        return std::nullopt;
    // The description, when there is one, lies inside the header record.
    if (description_units != 0 &&
        (description_offset < kEnhMetaHeaderSize || description_offset > header_size ||
         description_units * 2 > header_size - description_offset))
        return std::nullopt;
    if (!EmfRecordsMatch(f, total_bytes, records)) return std::nullopt;

    // An empty picture has bounds (0, 0, -1, -1); anything further inverted is wrong.
    const std::optional<int> width = AsPixelCount(right - left + 1);
    const std::optional<int> height = AsPixelCount(bottom - top + 1);
    if (!width || !height) return std::nullopt;
    return PictureSize{*width, *height};
}

std::optional<PictureSize> MetafileSize(std::string_view bytes) {
    FileFields f(bytes);
    const uint32_t key = f.U32(0);
    const std::int64_t left = f.I16(6);
    const std::int64_t top = f.I16(8);
    const std::int64_t right = f.I16(10);
    const std::int64_t bottom = f.I16(12);
    const std::int64_t inch = f.U16(14);
    const uint64_t h = kPlaceableHeaderSize;
    const uint32_t type = f.U16(h);
    const uint32_t header_words = f.U16(h + 2);
    const uint32_t version = f.U16(h + 4);
    const uint64_t size_words = f.U32(h + 6);
    const uint64_t max_record_words = f.U32(h + 12);
    if (!f.complete() || key != kPlaceableKey || !PlaceableChecksumMatches(f) || inch == 0)
        return std::nullopt;
    if ((type != kMemoryMetafile && type != kDiskMetafile) || header_words != kMetaHeaderWords ||
        (version != kMetaVersion100 && version != kMetaVersion300))
        return std::nullopt;
    // mtSize covers METAHEADER and the records; it must lie inside the file.
    if (size_words < kMetaHeaderWords || size_words * 2 > f.size() - h ||
        max_record_words > size_words)
        return std::nullopt;
    if (!WmfRecordsEndWithEof(f, h + kMetaHeaderWords * 2, h + size_words * 2)) return std::nullopt;

    if (right < left || bottom < top) return std::nullopt;
    const std::optional<int> width = AsPixelCount((right - left) * kPixelsPerInch / inch);
    const std::optional<int> height = AsPixelCount((bottom - top) * kPixelsPerInch / inch);
    if (!width || !height) return std::nullopt;
    return PictureSize{*width, *height};
}

}  // namespace quom
