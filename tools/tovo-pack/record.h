// The configuration record a package carries between the stub and the archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovo_pack {

// Flag bits of the record.
inline constexpr std::uint8_t kShowRunCheckBox = 0x01;
inline constexpr std::uint8_t kUserSelectsFiles = 0x02;
inline constexpr std::uint8_t kHideOverwriteChoice = 0x04;
inline constexpr std::uint8_t kOverwriteAlways = 0x08;
inline constexpr std::uint8_t kOverwriteNever = 0x10;
inline constexpr std::uint8_t kSkipSizeCheck = 0x20;
inline constexpr std::uint8_t kNoFinishedMessage = 0x80;

struct Record {
    std::uint8_t flags = 0;
    std::uint16_t spare = 0x0100;
    std::string caption, defaultFolder, command, startupMessage;
    std::uint32_t padding = 0;  // zero bytes after the texts
};

// The record's bytes; false with a message in error when a text is longer than its
// length byte can count or the record longer than its 16-bit size.
bool EncodeRecord(const Record& record, std::vector<std::uint8_t>* out, std::string* error);

}  // namespace tovo_pack
