// Header checks of the four picture file formats. Each returns the picture's size in
// pixels, or nothing when the bytes are not a complete, consistent file of its kind.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quom {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// Windows bitmap: BITMAPFILEHEADER, then a core, info, v4 or v5 header.
std::optional<PictureSize> BitmapFileSize(std::string_view bytes);
// Icon: ICONDIR and its entries; the size is the first entry's.
std::optional<PictureSize> IconFileSize(std::string_view bytes);
// Enhanced metafile: the EMR_HEADER record and the record chain; size from rclBounds.
std::optional<PictureSize> EnhancedMetafileSize(std::string_view bytes);
// Placeable Windows metafile: the Aldus header, then METAHEADER and the records.
std::optional<PictureSize> MetafileSize(std::string_view bytes);

// Little-endian fields of a file held in memory. A read past the end yields zero and
// marks the reader, so a check can read a header's fields and then test complete()
// once instead of guarding each read. Offsets are 64-bit so that offset + length
// taken from a 32-bit field never wraps.
class FileFields {
  public:
    explicit FileFields(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t size() const { return bytes_.size(); }
    bool complete() const { return !overrun_; }

    std::uint8_t U8(std::uint64_t at) { return static_cast<std::uint8_t>(Byte(at)); }
    std::uint16_t U16(std::uint64_t at) {
        return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8);
    }
    std::uint32_t U32(std::uint64_t at) {
        return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }
    std::int16_t I16(std::uint64_t at) { return static_cast<std::int16_t>(U16(at)); }
    std::int32_t I32(std::uint64_t at) { return static_cast<std::int32_t>(U32(at)); }

  private:
    unsigned Byte(std::uint64_t at) {
        if (at >= bytes_.size()) {
            overrun_ = true;
            return 0;
        }
        return static_cast<unsigned char>(bytes_[at]);
    }

    std::string_view bytes_;
    bool overrun_ = false;
};

}  // namespace quom
