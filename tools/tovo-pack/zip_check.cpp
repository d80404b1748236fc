#include "zip_check.h"

namespace tovo_pack {

namespace {

// Zip application note: end of central directory record (22 bytes and a comment),
// central directory header (46 bytes), local file header (30 bytes).
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;
constexpr std::size_t kLargestComment = 0xFFFF;

// General-purpose flags: bit 0 encrypted, bit 3 sizes in a data descriptor, bit 6
// strong encryption.
constexpr std::uint16_t kFlagEncrypted = 0x0001, kFlagDescriptor = 0x0008, kFlagStrong = 0x0040;
constexpr std::uint16_t kMethodStored = 0, kMethodDeflated = 8, kMethodAes = 99;

// The stub's name buffer holds 257 characters; it seeks with signed 32-bit offsets.
constexpr std::size_t kLongestName = 257;
constexpr std::uint64_t kLargestArchive = 0x7FFFFFFF - 0x20000;

std::uint16_t Get16(const std::vector<std::uint8_t>& z, std::size_t at) {
    return static_cast<std::uint16_t>(z[at] | z[at + 1] << 8);
}
std::uint32_t Get32(const std::vector<std::uint8_t>& z, std::size_t at) {
    return Get16(z, at) | static_cast<std::uint32_t>(Get16(z, at + 2)) << 16;
}

// The end record the stub finds: the first one from the start of the last 64 KiB whose
// comment ends exactly at the end of the archive.
bool FindEndRecord(const std::vector<std::uint8_t>& zip, std::size_t* at) {
    if (zip.size() < kEndSize) return false;
    const std::size_t window = kEndSize + kLargestComment;
    for (std::size_t i = zip.size() > window ? zip.size() - window : 0; i + kEndSize <= zip.size();
         ++i) {
        if (Get32(zip, i) == kEndSignature && i + kEndSize + Get16(zip, i + 20) == zip.size()) {
            *at = i;
            return true;
        }
    }
    return false;
}

struct CentralEntry {
    std::uint16_t flags, method;
    std::uint32_t crc, compressedSize, size, offset;
    std::string name;
};

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

// Why the stub cannot extract an entry, judged from its central directory header alone;
// empty when it can.
std::string EntryProblem(const CentralEntry& e) {
    if (const char* reason = RefusedNameReason(e.name)) {
        return "the entry " + Quoted(e.name) + " has a name the stub refuses: " + reason;
    }
    if (e.method == kMethodAes || (e.flags & kFlagStrong) != 0) {
        return "the entry " + Quoted(e.name) +
               " uses AES or strong encryption, which the stub cannot decrypt (use "
               "traditional zip encryption)";
    }
    if (e.method != kMethodStored && e.method != kMethodDeflated) {
        return "the entry " + Quoted(e.name) + " uses compression method " +
               std::to_string(e.method) + "; the stub extracts only stored (0) and deflated (8)";
    }
    if (e.compressedSize == 0xFFFFFFFF || e.size == 0xFFFFFFFF || e.offset == 0xFFFFFFFF) {
        return "the entry " + Quoted(e.name) + " needs ZIP64, which the stub does not read";
    }
    return "";
}

// Why the local header of e does not agree with its central directory header; empty
// when it does. *dataEnd receives where the entry's data ends.
std::string LocalProblem(const std::vector<std::uint8_t>& zip, const CentralEntry& e,
                         std::uint64_t limit, std::uint64_t* dataEnd) {
    const std::string damaged = "the archive is damaged: the local header of " + Quoted(e.name);
    if (e.offset + kLocalSize > limit || Get32(zip, e.offset) != kLocalSignature) {
        return damaged + " is missing";
    }
    const std::uint16_t flags = Get16(zip, e.offset + 6);
    const std::uint16_t nameLength = Get16(zip, e.offset + 26);
    const std::uint64_t dataStart = e.offset + kLocalSize + nameLength + Get16(zip, e.offset + 28);
    if (dataStart > limit ||
        std::string(zip.begin() + e.offset + kLocalSize,
                    zip.begin() + e.offset + kLocalSize + nameLength) != e.name) {
        return damaged + " names another entry";
    }
    if (Get16(zip, e.offset + 8) != e.method ||
        ((flags ^ e.flags) & (kFlagEncrypted | kFlagDescriptor)) != 0) {
        return damaged + " gives another method or flags";
    }
    const std::uint32_t local[3] = {Get32(zip, e.offset + 14), Get32(zip, e.offset + 18),
                                    Get32(zip, e.offset + 22)};
    const std::uint32_t central[3] = {e.crc, e.compressedSize, e.size};
    // With flag bit 3 the local header may leave them to the data descriptor (as zero);
    // the stub takes them from the central directory.
    for (int i = 0; i < 3; ++i) {
        if (local[i] != central[i] && !((flags & kFlagDescriptor) != 0 && local[i] == 0)) {
            return damaged + " gives another CRC or size than the central directory";
        }
    }
    *dataEnd = dataStart + e.compressedSize;
    if (*dataEnd > limit) return damaged + " has data beyond the central directory";
    return "";
}

}  // namespace

const char* RefusedNameReason(const std::string& name) {
    if (name.empty()) return "it is empty";
    if (name.size() > kLongestName) return "it is longer than 257 bytes";
    if (name.find('\0') != std::string::npos) return "it holds a NUL byte";
    if (name[0] == '/' || name[0] == '\\') return "it is absolute";
    if (name.find(':') != std::string::npos) return "it holds a \":\" (a drive or a stream)";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find_first_of("/\\", start);
        const std::string part = name.substr(start, end - start);
        if (part == "..") return "it climbs out of the extraction folder with \"..\"";
        if (end == std::string::npos) return nullptr;
        start = end + 1;
    }
}

bool CheckArchive(const std::vector<std::uint8_t>& zip, std::string* error) {
    if (zip.size() > kLargestArchive) {
        *error = "the archive is larger than the stub reads (2 GiB)";
        return false;
    }
    std::size_t end = 0;
    if (!FindEndRecord(zip, &end)) {
        *error = "the archive does not end with a zip end record (and its comment)";
        return false;
    }
    const std::uint16_t entries = Get16(zip, end + 10);
    const std::uint32_t centralSize = Get32(zip, end + 12);
    const std::uint32_t centralStart = Get32(zip, end + 16);
    if (Get16(zip, end + 4) != 0 || Get16(zip, end + 6) != 0 || Get16(zip, end + 8) != entries) {
        *error = "the archive spans several disks, which the stub does not read";
        return false;
    }
    if (static_cast<std::uint64_t>(centralStart) + centralSize != end) {
        *error =
            "the archive is damaged: its central directory is not where its end record "
            "says (or it needs ZIP64, which the stub does not read)";
        return false;
    }
    if (entries == 0) {
        *error = "the archive holds no entries";
        return false;
    }
    std::size_t at = centralStart;
    std::uint64_t previousEnd = 0;
    for (unsigned i = 0; i < entries; ++i) {
        if (at + kCentralSize > end || Get32(zip, at) != kCentralSignature) {
            *error = "the archive is damaged: its central directory ends early";
            return false;
        }
        CentralEntry e;
        e.flags = Get16(zip, at + 8);
        e.method = Get16(zip, at + 10);
        e.crc = Get32(zip, at + 16);
        e.compressedSize = Get32(zip, at + 20);
        e.size = Get32(zip, at + 24);
        e.offset = Get32(zip, at + 42);
        const std::size_t nameLength = Get16(zip, at + 28);
        const std::size_t next =
            at + kCentralSize + nameLength + Get16(zip, at + 30) + Get16(zip, at + 32);
        if (next > end) {
            *error = "the archive is damaged: its central directory ends early";
            return false;
        }
        e.name.assign(zip.begin() + at + kCentralSize,
                      zip.begin() + at + kCentralSize + nameLength);
        *error = EntryProblem(e);
        if (error->empty() && e.offset < previousEnd) {
            *error = "the archive is damaged: the entry " + Quoted(e.name) +
                     " overlaps the one before it or stands before it";
        }
        std::uint64_t dataEnd = 0;
        if (error->empty()) *error = LocalProblem(zip, e, centralStart, &dataEnd);
        if (!error->empty()) return false;
        previousEnd = dataEnd;
        at = next;
    }
    if (at != end) {
        *error =
            "the archive is damaged: its central directory holds more than its end record "
            "counts";
        return false;
    }
    return true;
}

}  // namespace tovo_pack
