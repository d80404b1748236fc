// What the archive holds: the central directory that the end record locates, each of
// its records checked against the local header it points to. The central directory is
// the reference for the entries, their order and their sizes and CRCs, so that an entry
// whose local header leaves its sizes to a data descriptor is read right, and a walk
// that cannot reach an entry the directory lists reports the archive as damaged instead
// of stopping early as if the archive had ended.
#include <cstdlib>
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// Zip format: a local header is 30 bytes, a central directory header 46 bytes before
// its name, extra field and comment.
constexpr std::uint32_t kLocalHeaderSize = 30;
constexpr std::uint32_t kCentralHeaderSize = 46;
// Flag bits a local header must share with its central directory header: encryption
// and sizes in a data descriptor.
constexpr std::uint16_t kSharedFlags = 0x0001 | 0x0008;
constexpr std::uint16_t kFlagDescriptor = 0x0008;

// Signatures "PK\3\4" and "PK\1\2" are formed at run time (one more than the value,
// minus one, through a volatile) so that the stub's own file holds neither; a reader
// scanning a package for them finds only the archive's records.
volatile std::uint32_t localSignaturePlusOne = 0x04034B51;
volatile std::uint32_t centralSignaturePlusOne = 0x02014B51;

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(Get16(p)) | static_cast<std::uint32_t>(Get16(p + 2)) << 16;
}

bool ReadAt(std::uint64_t position, void* buffer, std::uint32_t size) {
    return position <= 0x7FFFFFFF &&
           Seek(static_cast<std::int64_t>(position), os::SeekOrigin::Begin) != 0xFFFFFFFF &&
           os::ReadFile(ArchiveFile, buffer, size) == static_cast<std::int32_t>(size);
}

// Length of the central directory record at p (size bytes left), 0 when it is no whole
// record.
std::uint32_t RecordLength(const std::uint8_t* p, std::uint32_t size) {
    if (size < kCentralHeaderSize || Get32(p) != centralSignaturePlusOne - 1) return 0;
    const std::uint32_t length = kCentralHeaderSize + Get16(p + 28) + Get16(p + 30) + Get16(p + 32);
    return length <= size ? length : 0;
}

// A local header field agrees with the central directory when it is equal, or, with
// flag bit 3, zero (left to the data descriptor).
bool Agrees(std::uint32_t local, std::uint32_t central, std::uint16_t flags) {
    return local == central || ((flags & kFlagDescriptor) != 0 && local == 0);
}

}  // namespace

bool OpenDirectory(ArchiveDirectory* directory) {
    *directory = ArchiveDirectory{};
    std::uint32_t endPosition;
    std::uint8_t end[kEndRecordSize];
    // With the size check switched off, bytes after the end record are let be.
    if (!FindEndRecord(SizeCheckEnabled, &endPosition, end)) return false;
    const std::uint16_t entries = Get16(end + 10);
    const std::uint32_t size = Get32(end + 12);
    const std::uint32_t start = Get32(end + 16);
    // One disk, and the directory right before the end record: a gap or an offset that
    // points elsewhere means the archive is not what its end record says.
    if (Get16(end + 4) != 0 || Get16(end + 6) != 0 || Get16(end + 8) != entries ||
        static_cast<std::uint64_t>(ArchiveStart) + start + size != endPosition) {
        return false;
    }
    directory->records = static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1));
    if (directory->records == nullptr || !ReadAt(ArchiveStart + start, directory->records, size)) {
        CloseDirectory(directory);
        return false;
    }
    directory->size = size;
    directory->entries = entries;
    directory->start = start;
    // The records must fill the directory exactly, as many as the end record counts.
    std::uint32_t at = 0;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint32_t length = RecordLength(directory->records + at, size - at);
        if (length == 0) break;
        at += length;
        directory->next = i + 1;
    }
    if (directory->next != entries || at != size) {
        CloseDirectory(directory);
        return false;
    }
    directory->next = 0;
    return true;
}

void CloseDirectory(ArchiveDirectory* directory) {
    std::free(directory->records);
    directory->records = nullptr;
}

bool NextEntry(ArchiveDirectory* directory, DirectoryEntry* entry, char* name,
               std::uint32_t nameSize) {
    const std::uint8_t* record = directory->records + directory->next;
    const std::uint32_t offset = Get32(record + 42);
    const std::uint16_t nameLength = Get16(record + 28);
    entry->madeBy = Get16(record + 4);
    entry->flags = Get16(record + 8);
    entry->extra = record + kCentralHeaderSize + nameLength;
    entry->extraLength = Get16(record + 30);
    entry->nameLength = nameLength;
    directory->next += RecordLength(record, directory->size - directory->next);

    // Entries follow each other in the order the directory lists them and never
    // overlap, so that no data is extracted twice.
    if (offset < directory->dataEnd) return false;
    const std::uint32_t nameRead = nameLength < nameSize - 1 ? nameLength : nameSize - 1;
    std::uint8_t local[kLocalHeaderSize];
    if (!ReadAt(static_cast<std::uint64_t>(ArchiveStart) + offset, local, sizeof local) ||
        os::ReadFile(ArchiveFile, name, nameRead) != static_cast<std::int32_t>(nameRead)) {
        return false;
    }
    name[nameRead] = '\0';
    LocalHeader.signature = Get32(local);
    LocalHeader.versionNeeded = Get16(local + 4);
    LocalHeader.flags = Get16(local + 6);
    LocalHeader.method = Get16(local + 8);
    LocalHeader.dosTime = Get16(local + 10);
    LocalHeader.dosDate = Get16(local + 12);
    LocalHeader.nameLength = Get16(local + 26);
    LocalHeader.extraLength = Get16(local + 28);
    const std::uint32_t crc = Get32(record + 16);
    const std::uint32_t compressedSize = Get32(record + 20);
    const std::uint32_t size = Get32(record + 24);
    if (LocalHeader.signature != localSignaturePlusOne - 1 ||
        LocalHeader.nameLength != nameLength ||
        std::memcmp(name, record + kCentralHeaderSize, nameRead) != 0 ||
        LocalHeader.method != Get16(record + 10) ||
        ((LocalHeader.flags ^ entry->flags) & kSharedFlags) != 0 ||
        !Agrees(Get32(local + 14), crc, LocalHeader.flags) ||
        !Agrees(Get32(local + 18), compressedSize, LocalHeader.flags) ||
        !Agrees(Get32(local + 22), size, LocalHeader.flags)) {
        return false;
    }
    LocalHeader.crc = crc;
    LocalHeader.compressedSize = compressedSize;
    LocalHeader.uncompressedSize = size;
    entry->dataStart = static_cast<std::uint64_t>(ArchiveStart) + offset + kLocalHeaderSize +
                       nameLength + LocalHeader.extraLength;
    // The data lies before the central directory.
    directory->dataEnd = entry->dataStart - ArchiveStart + compressedSize;
    return directory->dataEnd <= directory->start;
}

#if !defined(_WIN32)
namespace {

// General-purpose flag bit 11: the name (and comment) are UTF-8.
constexpr std::uint16_t kFlagUtf8 = 0x0800;
// Info-ZIP's Unicode path extra field: version 1, the CRC-32 of the name it stands for,
// then that name in UTF-8.
constexpr std::uint16_t kUnicodePathField = 0x7075;

// Host systems ("version made by", high byte) whose names are in an OEM code page:
// MS-DOS and FAT (0), OS/2 HPFS (6), Windows NTFS (11), VFAT (14).
bool NamesInCodePage(std::uint16_t madeBy) {
    const unsigned host = madeBy >> 8;
    return host == 0 || host == 6 || host == 11 || host == 14;
}

// The UTF-8 name of the entry's Unicode path field into name, when there is one that
// belongs to raw (its CRC matches) and fits.
bool UnicodePath(const DirectoryEntry& entry, const char* raw, char* name, std::uint32_t size) {
    const std::uint32_t rawLength = static_cast<std::uint32_t>(std::strlen(raw));
    if (rawLength != entry.nameLength) return false;
    const std::uint32_t rawCrc =
        CrcUpdate(reinterpret_cast<const std::uint8_t*>(raw), rawLength, 0xFFFFFFFF) ^ 0xFFFFFFFF;
    for (std::uint32_t at = 0; at + 4 <= entry.extraLength;) {
        const std::uint8_t* field = entry.extra + at;
        const std::uint32_t length = Get16(field + 2);
        if (at + 4 + length > entry.extraLength) return false;
        if (Get16(field) == kUnicodePathField && length > 5 && field[4] == 1 &&
            Get32(field + 5) == rawCrc && length - 5 < size &&
            std::memchr(field + 9, 0, length - 5) == nullptr) {
            std::memcpy(name, field + 9, length - 5);
            name[length - 5] = '\0';
            return IsUtf8(name);
        }
        at += 4 + length;
    }
    return false;
}

}  // namespace
#endif

void FileNameOfEntry(const DirectoryEntry& entry, const char* raw, char* name, std::uint32_t size) {
#if defined(_WIN32)
    (void)entry;
    CopyText(name, raw, size);
#else
    if ((entry.flags & kFlagUtf8) != 0) {
        CopyText(name, raw, size);
    } else if (!UnicodePath(entry, raw, name, size)) {
        if (IsUtf8(raw) && !NamesInCodePage(entry.madeBy)) {
            CopyText(name, raw, size);
        } else {
            Utf8FromCodePage437(raw, name, size);
        }
    }
#endif
}

bool ListArchive() {
    ArchiveDirectory directory;
    bool whole = OpenDirectory(&directory);
    for (std::uint32_t i = 0; whole && i < directory.entries; ++i) {
        DirectoryEntry entry;
        char raw[258], name[3 * 257 + 1];
        whole = NextEntry(&directory, &entry, raw, sizeof raw);
        if (!whole) break;
        FileNameOfEntry(entry, raw, name, sizeof name);
        // The size right-aligned in ten places, two blanks, the name as it may be shown.
        char line[10 + 2 + 4 * sizeof name] = "            ";
        char* digit = line + 10;
        std::uint32_t size = LocalHeader.uncompressedSize;
        do {
            *--digit = static_cast<char>('0' + size % 10);
            size /= 10;
        } while (size != 0);
        ShowableText(name, line + 12, sizeof line - 12);
        os::WriteLine(line);
    }
    CloseDirectory(&directory);
    if (!whole) os::ShowMessage("Error reading archive.", "Error..", os::kMbIconError);
    return whole;
}
