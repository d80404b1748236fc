#include "deflate_streams.h"

#include <libdeflate.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace tovo_test {

Bytes ZlibDeflate(const Bytes& data, int level, int strategy, int windowBits, int memLevel) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -windowBits, memLevel, strategy) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    Bytes out(deflateBound(&z, data.size()) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes LibdeflateDeflate(const Bytes& data, int level) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    if (c == nullptr) throw std::runtime_error("libdeflate_alloc_compressor failed");
    Bytes out(libdeflate_deflate_compress_bound(c, data.size()));
    size_t n = libdeflate_deflate_compress(c, data.data(), data.size(), out.data(), out.size());
    libdeflate_free_compressor(c);
    if (n == 0) throw std::runtime_error("libdeflate_deflate_compress failed");
    out.resize(n);
    return out;
}

std::uint32_t ZlibCrc(const Bytes& data) {
    return static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
}

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

Bytes TextLike(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {
        "the",  "window",  "of",       "deflate", "archive", "entry", "and",   "stub",    "to",
        "a",    "decoder", "reads",    "bits",    "from",    "its",   "input", "buffer",  "table",
        "code", "length",  "distance", "literal", "block",   "is",    "that",  "extract", "file"};
    std::mt19937 rng(seed);
    std::geometric_distribution<int> pick(0.15);
    Bytes out;
    out.reserve(size + 16);
    while (out.size() < size) {
        int w = pick(rng) % static_cast<int>(std::size(kWords));
        for (const char* c = kWords[w]; *c != '\0'; ++c)
            out.push_back(static_cast<std::uint8_t>(*c));
        out.push_back(rng() % 13 == 0 ? '\n' : ' ');
        if (rng() % 50 == 0) {  // a number now and then
            for (int i = 0; i < 5; ++i) out.push_back(static_cast<std::uint8_t>('0' + rng() % 10));
        }
    }
    out.resize(size);
    return out;
}

Bytes BinaryLike(std::size_t size) {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    Bytes all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (all.size() < size) throw std::runtime_error("own program file too small");
    // Skip the ELF header region, take code and data from the middle.
    std::size_t start = (all.size() - size) / 2;
    return Bytes(all.begin() + static_cast<std::ptrdiff_t>(start),
                 all.begin() + static_cast<std::ptrdiff_t>(start + size));
}

Bytes Runs(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < size) {
        std::uint8_t value = static_cast<std::uint8_t>("ab\0\xff"[rng() % 4]);
        out.insert(out.end(), 1 + rng() % 700, value);
    }
    out.resize(size);
    return out;
}

BitWriter& BitWriter::Bits(std::uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) {
        pending_ |= ((value >> i) & 1u) << count_;
        if (++count_ == 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ = 0;
            count_ = 0;
        }
    }
    return *this;
}

BitWriter& BitWriter::Code(std::uint32_t code, unsigned n) {
    for (unsigned i = n; i-- > 0;) Bits((code >> i) & 1u, 1);
    return *this;
}

BitWriter& BitWriter::AlignToByte() {
    if (count_ != 0) Bits(0, 8 - count_);
    return *this;
}

BitWriter& BitWriter::Byte(std::uint8_t b) {
    return Bits(b, 8);
}

BitWriter& BitWriter::FixedLitlen(unsigned symbol) {
    // RFC 1951, 3.2.6.
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + symbol - 144, 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + symbol - 280, 8);
}

BitWriter& BitWriter::FixedDist(unsigned code) {
    return Code(code, 5);
}

Bytes BitWriter::Finish() {
    AlignToByte();
    return bytes_;
}

}  // namespace tovo_test
