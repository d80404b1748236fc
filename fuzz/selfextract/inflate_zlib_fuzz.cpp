// Differential: zlib compresses the input, the decoder must give it back exactly, with
// zlib's CRC-32. The first two bytes choose zlib's level, strategy, window and memory
// size (window bits 9..15, as zip tools use them).
#include <zlib.h>

#include <cstring>

#include "fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > (1u << 20)) return 0;
    static const int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE,
                                      Z_FIXED};
    const int level = data[0] % 10;
    const int strategy = kStrategies[(data[0] / 10) % 5];
    const int windowBits = 9 + data[1] % 7;
    const int memLevel = 1 + (data[1] / 7) % 9;
    const std::uint8_t* plain = data + 2;
    const std::size_t plainSize = size - 2;

    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (deflateInit2(&z, level, Z_DEFLATED, -windowBits, memLevel, strategy) != Z_OK)
        __builtin_trap();
    std::vector<std::uint8_t> stream(deflateBound(&z, plainSize) + 16);
    z.next_in = const_cast<Bytef*>(plain);
    z.avail_in = static_cast<uInt>(plainSize);
    z.next_out = stream.data();
    z.avail_out = static_cast<uInt>(stream.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) __builtin_trap();
    stream.resize(z.total_out);
    deflateEnd(&z);

    tovo_fuzz::EntrySetup setup;
    setup.remaining = stream.size();
    std::vector<std::uint8_t> output;
    const std::uint32_t crc = tovo_fuzz::RunEntry(stream.data(), stream.size(), setup, &output);
    if (output.size() != plainSize) __builtin_trap();
    if (plainSize > 0 && std::memcmp(output.data(), plain, plainSize) != 0) __builtin_trap();
    if (crc != crc32(0, plain, static_cast<uInt>(plainSize))) __builtin_trap();
    return 0;
}
