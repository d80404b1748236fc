// Raw Deflate streams for the decoder's tests: made by zlib and libdeflate, or written
// bit by bit, and sample data to compress.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovo_test {

using Bytes = std::vector<std::uint8_t>;

// zlib's deflate with the given settings; windowBits is given positive and used raw.
Bytes ZlibDeflate(const Bytes& data, int level, int strategy, int windowBits = 15,
                  int memLevel = 8);

// libdeflate at level 1..12.
Bytes LibdeflateDeflate(const Bytes& data, int level);

// zlib's crc32 of the whole buffer.
std::uint32_t ZlibCrc(const Bytes& data);

// Sample inputs, all deterministic.
Bytes RandomBytes(std::size_t size, std::uint32_t seed);
Bytes TextLike(std::size_t size, std::uint32_t seed);  // words, spaces and line breaks
Bytes BinaryLike(std::size_t size);                    // a slice of this program's file
Bytes Runs(std::size_t size, std::uint32_t seed);      // long runs of few byte values

// Writes a Deflate stream field by field, least significant bit first.
class BitWriter {
  public:
    // value's low n bits, in order from bit 0 (header fields, extra bits).
    BitWriter& Bits(std::uint32_t value, unsigned n);
    // A Huffman code of n bits, most significant bit first as RFC 1951 sends them.
    BitWriter& Code(std::uint32_t code, unsigned n);
    BitWriter& AlignToByte();
    BitWriter& Byte(std::uint8_t b);
    // Fixed-code literal or end of block (0..287), and a fixed-code distance code.
    BitWriter& FixedLitlen(unsigned symbol);
    BitWriter& FixedDist(unsigned code);
    Bytes Finish();

  private:
    Bytes bytes_;
    std::uint32_t pending_ = 0;
    unsigned count_ = 0;
};

}  // namespace tovo_test
