// The configuration record behind the stub, and the check that the archive ends the
// file.
#include <cstdlib>
#include <cstring>

#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// Record layout: "MPV", Flags, Spare (16 bits), RecordSize (16 bits), then four texts
// of a length byte each followed by that many bytes.
constexpr std::uint32_t kFixedPartSize = 8;
constexpr std::uint32_t kLargestRecordRead = kFixedPartSize + 4 * 256;

constexpr std::uint8_t kShowRunCheckBox = 0x01;
constexpr std::uint8_t kUserSelectsFiles = 0x02;
constexpr std::uint8_t kHideOverwriteChoice = 0x04;
constexpr std::uint8_t kOverwriteModeBits = 0x18, kOverwriteBits = 0x08, kDontOverwriteBits = 0x10;
constexpr std::uint8_t kSkipSizeCheck = 0x20;
constexpr std::uint8_t kNoFinishedMessage = 0x80;

// The comment of the zip end record is at most 65,535 bytes.
constexpr std::uint32_t kLargestTail = kEndRecordSize + 0xFFFF + 1;

// The end record's signature "PK\5\6" is tested byte by byte against values formed at
// run time, so that the stub's own file does not hold it.
volatile std::uint8_t endMarkMinusOne[2] = {4, 5};

// Reads one counted text at *pos into buffer (when given); false when the record ends
// inside it.
bool TakeText(const std::uint8_t* record, std::uint32_t size, std::uint32_t* pos, char* buffer,
              std::uint32_t* length) {
    if (*pos >= size) return false;
    *length = record[*pos];
    if (*pos + 1 + *length > size) return false;
    if (buffer != nullptr) {
        std::memcpy(buffer, record + *pos + 1, *length);
        buffer[*length] = '\0';
    }
    *pos += 1 + *length;
    return true;
}

}  // namespace

bool ApplyConfigRecord(const std::uint8_t* record, std::uint32_t size) {
    if (size < kFixedPartSize || record[0] != 'M' || record[1] != 'P' || record[2] != 'V') {
        return false;
    }
    const std::uint8_t flags = record[3];
    ShowRunCheckBox = (flags & kShowRunCheckBox) != 0;
    UserSelectsFiles = (flags & kUserSelectsFiles) != 0;
    HideOverwriteChoice = (flags & kHideOverwriteChoice) != 0;
    if ((flags & kOverwriteModeBits) == kOverwriteBits) OverwriteModeId = 501;
    if ((flags & kOverwriteModeBits) == kDontOverwriteBits) OverwriteModeId = 502;
    SizeCheckEnabled = (flags & kSkipSizeCheck) == 0;
    ShowFinishedMessage = (flags & kNoFinishedMessage) == 0;
    const std::uint32_t recordSize = record[6] | record[7] << 8;
    ArchiveStart = StubSize + recordSize;

    std::uint32_t pos = kFixedPartSize, length = 0;
    char caption[kTextSize];
    if (!TakeText(record, size, &pos, caption, &length)) return false;
    if (length != 0) std::memcpy(Caption, caption, length + 1);
    char folder[kTextSize];
    if (!TakeText(record, size, &pos, folder, &length)) return false;
    HasDefaultFolder = length != 0;
    if (HasDefaultFolder) std::memcpy(DefaultFolder, folder, length + 1);
    if (!TakeText(record, size, &pos, Command, &length)) return false;
    HasCommand = length != 0;
    if (!TakeText(record, size, &pos, StartupMessage, &length)) return false;
    HasStartupMessage = length != 0;
    // A record that claims to end before its own texts is no record.
    return recordSize >= pos;
}

ConfigResult ReadConfig() {
    ArchiveStart = StubSize;
    std::uint8_t record[kLargestRecordRead];
    std::int32_t got = -1;
    if (Seek(StubSize, os::SeekOrigin::Begin) != 0xFFFFFFFF) {
        got = os::ReadFile(ArchiveFile, record, sizeof record);
    }
    if (got < 0 || !ApplyConfigRecord(record, static_cast<std::uint32_t>(got))) {
        ReportBadPayload();
        return ConfigResult::BadPayload;
    }
    if (HasDefaultFolder) ResolveDefaultFolder();
    if (SizeCheckEnabled && !VerifyArchiveTail()) {
        ReportBadPayload();
        return ConfigResult::BadPayload;
    }
    if (HasStartupMessage && Mode == RunMode::Extract && !ShowStartupMessage()) {
        return ConfigResult::Declined;
    }
    return ConfigResult::Ok;
}

bool FindEndRecord(bool exact, std::uint32_t* position, std::uint8_t record[kEndRecordSize]) {
    const std::uint32_t fileSize = os::FileSize(ArchiveFile);
    if (fileSize == 0xFFFFFFFF || fileSize < ArchiveStart) return false;
    std::uint32_t tail = fileSize - ArchiveStart;
    if (tail > kLargestTail) tail = kLargestTail;
    if (tail <= kEndRecordSize) return false;

    const std::uint32_t resume = Seek(0, os::SeekOrigin::Current);
    const std::uint32_t windowStart = Seek(-static_cast<std::int64_t>(tail), os::SeekOrigin::End);
    std::uint8_t* window = static_cast<std::uint8_t*>(std::malloc(tail));
    if (window == nullptr) return false;
    const std::int32_t got =
        windowStart == 0xFFFFFFFF ? -1 : os::ReadFile(ArchiveFile, window, tail);
    Seek(resume, os::SeekOrigin::Begin);

    // The first record whose comment ends exactly at the end of the file; failing that,
    // unless exact, the last one whose comment ends inside it (bytes were appended).
    std::uint32_t found = 0xFFFFFFFF;
    if (got == static_cast<std::int32_t>(tail)) {
        for (std::uint32_t i = 0; i <= tail - kEndRecordSize; ++i) {
            const std::uint8_t* p = window + i;
            if (p[0] != 'P' || p[1] != 'K' || p[2] != endMarkMinusOne[0] + 1 ||
                p[3] != endMarkMinusOne[1] + 1) {
                continue;
            }
            const std::uint64_t end =
                static_cast<std::uint64_t>(windowStart) + i + kEndRecordSize + (p[20] | p[21] << 8);
            if (end == fileSize) {
                found = i;
                break;
            }
            if (!exact && end < fileSize) found = i;
        }
    }
    if (found != 0xFFFFFFFF) {
        *position = windowStart + found;
        std::memcpy(record, window + found, kEndRecordSize);
    }
    std::free(window);
    return found != 0xFFFFFFFF;
}

bool VerifyArchiveTail() {
    std::uint32_t position;
    std::uint8_t record[kEndRecordSize];
    return FindEndRecord(true, &position, record);
}
