// Feeds one archive entry to the decoder from memory, as the extraction loop would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovo_fuzz {

struct EntrySetup {
    bool stored = false;     // CopyStoredEntry instead of InflateEntry
    bool encrypted = false;  // decrypt with the keys of a fixed password
    std::size_t remaining;   // Remaining at the call; the bytes after it must stay unread
};

// Runs the entry over data[0..size); returns EntryCrc ^ 0xFFFFFFFF and fills output when
// given. Traps when the decoder read more than `remaining` bytes.
std::uint32_t RunEntry(const std::uint8_t* data, std::size_t size, const EntrySetup& setup,
                       std::vector<std::uint8_t>* output);

}  // namespace tovo_fuzz
