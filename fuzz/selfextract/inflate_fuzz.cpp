// The decoder on arbitrary bytes: it must end, stay inside its buffers and read no
// more than the entry's bytes. The first byte chooses how the entry is set up:
//   bit 0      encrypted with a fixed password
//   bit 1      stored copy instead of Deflate
//   bits 2..7  this many of the remaining bytes lie behind the entry and stay unread
#include "fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    tovo_fuzz::EntrySetup setup;
    setup.encrypted = data[0] & 1;
    setup.stored = data[0] & 2;
    const std::size_t behind = data[0] >> 2;
    setup.remaining = size - 1 > behind ? size - 1 - behind : 0;
    tovo_fuzz::RunEntry(data + 1, size - 1, setup, nullptr);
    return 0;
}
