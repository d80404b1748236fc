// Runs the decoder's entry points the way the extraction loop does: the entry's data in
// a file behind ArchiveFile, the output captured piece by piece from OutputFile.
#pragma once

#include <cstdint>
#include <vector>

namespace tovo_test {

enum class Method { Stored, Deflated };

struct EntryRun {
    std::vector<std::uint8_t> output;   // every byte written, in order
    std::vector<std::uint32_t> pieces;  // the size of every single write
    std::uint32_t crc = 0;              // EntryCrc ^ 0xFFFFFFFF afterwards
    std::uint32_t bytesRead = 0;        // how far ArchiveFile moved
    bool tooLong = false;               // OutputTooLong afterwards
};

struct EntryOptions {
    std::int32_t remaining = -1;      // Remaining at the call; -1: the data's size
    bool encrypted = false;           // sets EntryEncrypted; the keys are used as they stand
    std::uint32_t trailing = 64;      // junk bytes after the data that must stay unread
    std::uint32_t size = 0xFFFFFFFF;  // EntrySize, the declared uncompressed size
};

// Needs the CRC table (BuildCrcTable) to exist.
EntryRun RunEntry(Method method, const std::vector<std::uint8_t>& data,
                  const EntryOptions& options = {});

}  // namespace tovo_test
