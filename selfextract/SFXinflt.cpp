// Raw Deflate (RFC 1951) decoder and stored copy for the entries of the archive.
//
// The decoder reads the entry through one input buffer that is refilled from
// ArchiveFile (decrypting as it goes) and writes into an output buffer that is at the
// same time the sliding window: every 32 KiB of new output go to OutputFile and into
// EntryCrc in one piece. The buffer holds several such pieces; when it is full, its
// last 32 KiB (all a distance can reach) move to its front and writing goes on behind
// them. So every match reads from one straight run of memory, and a copy may write a few
// bytes past its end without touching the history. Everything the decoder needs is
// allocated once per entry; nothing is allocated per block or per symbol.
#include "SFXinflt.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// ---- Sizes -----------------------------------------------------------------------------

constexpr std::uint32_t kWindowSize = 32768;  // Deflate's largest distance; one output piece
constexpr std::uint32_t kBufferSize = 4 * kWindowSize;  // output buffer, before its slack
constexpr std::uint32_t kInputSize = 32768;             // largest single read from the archive
constexpr std::uint32_t kMaxMatch = 258;                // longest length/distance copy
constexpr std::uint32_t kMaxCodeBits = 15;              // longest Huffman code of Deflate

// Code counts of a dynamic block header. HLIT can announce 288 and HDIST 32 codes, but
// symbols 286, 287 and distances 30, 31 never occur in valid data; headers that announce
// them are refused, which also bounds the table sizes below.
constexpr unsigned kMaxLitlenCodes = 286;
constexpr unsigned kMaxDistCodes = 30;
constexpr unsigned kPrecodeCodes = 19;
constexpr unsigned kEndOfBlockSymbol = 256;

// First-level table widths: dynamic codes resolve 9 (literal/length) and 6 (distance)
// bits at once, the fixed code 7 and 5; longer codes continue in a second-level table.
constexpr unsigned kLitlenRootBits = 9;
constexpr unsigned kDistRootBits = 6;
constexpr unsigned kFixedLitlenRootBits = 7;
constexpr unsigned kFixedDistRootBits = 5;
constexpr unsigned kPrecodeRootBits = 7;  // precode lengths are at most 7: one level

// Largest tables the builder below can produce for any complete code with the root
// widths above, its second-level tables sized as zlib sizes them (zlib's "enough"
// program: "enough 286 9 15" gives 852, "enough 30 6 15" gives 592). The builder checks
// every second-level table against these sizes as well, so a wrong figure could only
// refuse a valid stream, never write outside a table.
constexpr std::uint32_t kLitlenTableSize = 852;
constexpr std::uint32_t kDistTableSize = 592;
// The fixed code (RFC 1951, 3.2.6): 24 seven-bit codes fill 24 root entries of 128; the
// 152 eight-bit codes need 76 second-level tables of 2 entries and the 112 nine-bit codes
// 28 tables of 4 entries: 128 + 152 + 112. Its 32 five-bit distance codes fill the root.
constexpr std::uint32_t kFixedLitlenTableSize = 392;
constexpr std::uint32_t kFixedDistTableSize = 32;
constexpr std::uint32_t kPrecodeTableSize = 1u << kPrecodeRootBits;

// The match copy writes whole 8-byte words and may run up to 7 bytes past the match (or
// 24 bytes past its start); a symbol starts below kBufferSize, so the buffer needs this
// much room behind it. Bytes written there are moved to the front with the history.
constexpr std::uint32_t kWindowSlack = 272;
static_assert(kWindowSlack >= kMaxMatch + 7 && kWindowSlack >= 24 + 5);

// ---- Decode table entries ------------------------------------------------------------
//
// One 32-bit entry per table slot:
//   bits 0..7    bits to drop: the code's bits at this level plus its extra bits
//                (a second-level link: the root width)
//   bits 8..11   the code's bits at this level, where the extra bits start
//                (a second-level link: the second-level table's width)
//   bits 12..15  kind flags below
//   bits 16..31  literal byte, length or distance base, precode symbol, or the index of
//                the second-level table
// A length is base + extra, where extra = (bits & mask(drop)) >> codeBits, so one shift
// drops a code together with its extra bits.
constexpr std::uint32_t kInvalid = 1u << 12;
constexpr std::uint32_t kEndOfBlock = 1u << 13;
constexpr std::uint32_t kSubtable = 1u << 14;
constexpr std::uint32_t kLiteral = 1u << 15;

enum class CodeKind { Litlen, Dist, Precode };

// Decode result of one symbol before the code length is added.
std::uint32_t SymbolResult(CodeKind kind, unsigned sym) {
    if (kind == CodeKind::Precode) return sym << 16;
    if (kind == CodeKind::Dist) {
        // Distance codes 0..3 are 1..4; then two codes per extra bit (RFC 1951, 3.2.5).
        if (sym >= 30) return kInvalid;
        if (sym < 4) return (sym + 1) << 16;
        unsigned extra = (sym >> 1) - 1;
        return ((((2u + (sym & 1)) << extra) + 1) << 16) | extra;
    }
    if (sym < 256) return kLiteral | (sym << 16);
    if (sym == kEndOfBlockSymbol) return kEndOfBlock;
    // Length codes 257..264 are 3..10; then four codes per extra bit; 285 is 258.
    unsigned code = sym - 257;
    if (code > 28) return kInvalid;
    if (code == 28) return 258u << 16;
    if (code < 8) return (code + 3) << 16;
    unsigned extra = (code - 4) >> 2;
    return ((((4u + (code & 3)) << extra) + 3) << 16) | extra;
}

// Builds the decode table of the canonical Huffman code whose code lengths are
// lens[0..count). Refuses over-full codes and incomplete ones, except a code without
// any symbol and a code of a single one-bit symbol (a distance code may be either);
// their unused slots decode as kInvalid. Returns false when the table cannot be built.
bool BuildTable(std::uint32_t* table, std::uint32_t capacity, unsigned rootBits,
                const std::uint8_t* lens, unsigned count, CodeKind kind) {
    std::uint16_t lengthCount[kMaxCodeBits + 1] = {};
    for (unsigned s = 0; s < count; ++s) ++lengthCount[lens[s]];
    lengthCount[0] = 0;

    int unused = 1;  // code space left, in units of the current length
    unsigned maxLen = 0, codes = 0;
    for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
        unused = unused * 2 - lengthCount[len];
        if (unused < 0) return false;  // over-full
        if (lengthCount[len] != 0) maxLen = len;
        codes += lengthCount[len];
    }
    if (unused > 0) {
        bool allowed =
            kind != CodeKind::Precode && (codes == 0 || (codes == 1 && lengthCount[1] == 1));
        if (!allowed) return false;
    }

    const std::uint32_t rootSize = 1u << rootBits;
    for (std::uint32_t i = 0; i < rootSize; ++i) table[i] = kInvalid | 1;

    // Symbols in canonical order: by code length, then by symbol value.
    std::uint16_t offset[kMaxCodeBits + 2] = {};
    for (unsigned len = 1; len <= kMaxCodeBits; ++len)
        offset[len + 1] = offset[len] + lengthCount[len];
    std::uint16_t sorted[kMaxLitlenCodes + 2];
    for (unsigned s = 0; s < count; ++s)
        if (lens[s] != 0) sorted[offset[lens[s]]++] = static_cast<std::uint16_t>(s);

    // huff is the current code with its bits reversed: Deflate sends codes starting
    // from their most significant bit, and the bit buffer is read from its lowest bit.
    std::uint32_t huff = 0;
    std::uint32_t next = rootSize;  // first free slot behind the root table
    std::uint32_t subLow = ~0u, subBase = 0, subBits = 0;
    const std::uint32_t rootMask = rootSize - 1;
    for (unsigned i = 0; i < codes; ++i) {
        const unsigned sym = sorted[i];
        const unsigned len = lens[sym];
        const std::uint32_t result = SymbolResult(kind, sym);
        if (len <= rootBits) {
            const std::uint32_t entry = result + (len << 8) + len;
            for (std::uint32_t j = huff; j < rootSize; j += 1u << len) table[j] = entry;
        } else {
            if ((huff & rootMask) != subLow) {
                // A new second-level table, just wide enough for the codes that share
                // this root prefix (the remaining codes fill it completely).
                subBits = len - rootBits;
                int room = 1 << subBits;
                while (subBits + rootBits < maxLen) {
                    room -= lengthCount[subBits + rootBits];
                    if (room <= 0) break;
                    ++subBits;
                    room <<= 1;
                }
                if (next + (1u << subBits) > capacity) return false;
                subLow = huff & rootMask;
                subBase = next;
                next += 1u << subBits;
                table[subLow] = kSubtable | (subBase << 16) | (subBits << 8) | rootBits;
            }
            const unsigned drop = len - rootBits;
            const std::uint32_t entry = result + (drop << 8) + drop;
            for (std::uint32_t j = huff >> rootBits; j < (1u << subBits); j += 1u << drop)
                table[subBase + j] = entry;
        }
        --lengthCount[len];
        // Next code of the same or a greater length, reversed: add 1 from the top.
        std::uint32_t step = 1u << (len - 1);
        while (huff & step) step >>= 1;
        huff = step != 0 ? (huff & (step - 1)) + step : 0;
    }
    return true;
}

// ---- Decoder state -------------------------------------------------------------------
//
// Bit reader: bitBuffer holds bitCount valid bits, the next one in its lowest bit. The
// bits above them may hold copies of the bytes at `in` (the word-wise refill loads a
// whole word but only counts the bytes it took), which is harmless as the same bytes
// are ORed in at the same places when they are taken. Past the end of the entry's data
// the reader takes zero bytes from a pad behind the data, so `in` may pass inEnd there
// (only once the entry has no more data). Data that needs more than kMaxOverread of
// them is refused, and a decode that consumed any of them (more bytes past inEnd than
// the bit buffer still holds) is truncated data.
constexpr unsigned kMaxOverread = 8;
// The word-wise refill may run while `in` is up to kMaxOverread bytes past inEnd, and
// loads 8 bytes there.
constexpr unsigned kInputPad = kMaxOverread + 8;

enum class Stop { EndOfBlock, NeedInput, WindowFull, BadData };

struct Decoder {
    std::uint64_t bitBuffer;
    unsigned bitCount;
    const std::uint8_t* in;     // next input byte
    const std::uint8_t* inEnd;  // end of the bytes read so far
    std::uint32_t pos;          // next write position in the buffer
    std::uint32_t flushed;      // output before this is written; history may start at 0
    bool fixedBuilt;
    std::uint8_t input[kInputSize + kInputPad];
    std::uint8_t window[kBufferSize + kWindowSlack];
    std::uint32_t litlen[kLitlenTableSize];
    std::uint32_t dist[kDistTableSize];
    std::uint32_t fixedLitlen[kFixedLitlenTableSize];
    std::uint32_t fixedDist[kFixedDistTableSize];
    std::uint32_t precode[kPrecodeTableSize];
    std::uint8_t lens[kMaxLitlenCodes + kMaxDistCodes];
};

std::uint64_t LoadLe64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

void Store64(std::uint8_t* p, std::uint64_t v) {
    std::memcpy(p, &v, sizeof v);
}
void Copy8(std::uint8_t* dst, const std::uint8_t* src) {
    std::memcpy(dst, src, 8);
}

// Hands n bytes of output to OutputFile and the CRC. False, with nothing written, when
// they would carry the entry past its declared size or the write fails.
bool PutOutput(const std::uint8_t* p, std::uint32_t n) {
    if (n > EntrySize - OutputWritten) {
        OutputTooLong = true;
        return false;
    }
    if (OutputFile != os::kNoFile && !os::WriteFile(OutputFile, p, n)) {
        WriteFailed = true;
        return false;
    }
    EntryCrc = CrcUpdate(p, n, EntryCrc);
    OutputWritten += n;
    return true;
}

void StartOutput() {
    OutputWritten = 0;
    OutputTooLong = WriteFailed = false;
}

// Moves the unread input to the front of the buffer and reads more behind it, at most
// Remaining bytes, then zeroes the pad behind it. Returns false when nothing could be
// read; Remaining is then 0. (`in` never passes inEnd while Remaining > 0.)
bool TopUp(Decoder& d) {
    if (Remaining <= 0) return false;
    const std::uint32_t left = static_cast<std::uint32_t>(d.inEnd - d.in);
    std::memmove(d.input, d.in, left);
    d.in = d.input;
    d.inEnd = d.input + left;
    std::uint32_t want = kInputSize - left;
    if (static_cast<std::uint32_t>(Remaining) < want) want = static_cast<std::uint32_t>(Remaining);
    const std::int32_t got = os::ReadFile(ArchiveFile, d.input + left, want);
    if (got <= 0) {
        Remaining = 0;
        std::memset(d.input + left, 0, kInputPad);
        return false;
    }
    if (EntryEncrypted) DecryptBuffer(d.input + left, static_cast<std::uint32_t>(got));
    Remaining -= got;
    d.inEnd += got;
    std::memset(d.input + left + got, 0, kInputPad);
    return true;
}

// Bytes taken from the zero pad.
std::uint32_t Overread(const Decoder& d) {
    return d.in > d.inEnd ? static_cast<std::uint32_t>(d.in - d.inEnd) : 0;
}

// Makes at least n (<= 57) bits valid, byte by byte. False on too much overread.
bool NeedBits(Decoder& d, unsigned n) {
    while (d.bitCount < n) {
        if (d.in >= d.inEnd && !TopUp(d) && Overread(d) >= kMaxOverread) return false;
        d.bitBuffer |= static_cast<std::uint64_t>(*d.in++) << d.bitCount;
        d.bitCount += 8;
    }
    return true;
}

std::uint32_t TakeBits(Decoder& d, unsigned n) {
    const std::uint32_t v = static_cast<std::uint32_t>(d.bitBuffer & ((1u << n) - 1));
    d.bitBuffer >>= n;
    d.bitCount -= n;
    return v;
}

bool Truncated(const Decoder& d) {
    return Overread(d) * 8 > d.bitCount;
}

// Writes the next 32 KiB piece of output. When the buffer is used up, its last 32 KiB
// and whatever was written past it move to the front.
bool FlushWindow(Decoder& d) {
    if (Truncated(d) || !PutOutput(d.window + d.flushed, kWindowSize)) return false;
    d.flushed += kWindowSize;
    if (d.flushed == kBufferSize) {
        constexpr std::uint32_t kKeep = kBufferSize - kWindowSize;
        static_assert(kWindowSize + kWindowSlack <= kKeep);  // the move does not overlap
        std::memcpy(d.window, d.window + kKeep, d.pos - kKeep);
        d.pos -= kKeep;
        d.flushed = kWindowSize;
    }
    return true;
}

// ---- Huffman blocks ------------------------------------------------------------------

// Copies a match of len bytes from dist bytes back, where dist <= the write position.
// Overlapping copies repeat the pattern byte for byte, as Deflate requires.
inline void CopyMatch(std::uint8_t* dst, std::uint32_t dist, std::uint32_t len) {
    const std::uint8_t* src = dst - dist;
    std::uint8_t* const end = dst + len;
    if (dist >= 8) {
        // Each word read lies wholly before the word being written, so it already holds
        // its final bytes.
        Copy8(dst, src);
        Copy8(dst + 8, src + 8);
        Copy8(dst + 16, src + 16);
        if (len <= 24) return;
        dst += 24;
        src += 24;
        do {
            Copy8(dst, src);
            dst += 8;
            src += 8;
        } while (dst < end);
    } else if (dist == 1) {
        const std::uint64_t run = 0x0101010101010101ull * *src;
        do {
            Store64(dst, run);
            dst += 8;
        } while (dst < end);
    } else {
        // Periods 2..7: lay down the pattern byte by byte up to a multiple of the period
        // that is at least 8 bytes long; from there whole words repeat it.
        static constexpr std::uint8_t kStride[8] = {0, 0, 8, 9, 8, 10, 12, 14};
        const std::uint32_t stride = kStride[dist];
        std::uint8_t* const seeded = dst + (len < stride ? len : stride);
        do *dst++ = *src++;
        while (dst < seeded);
        for (; dst < end; dst += 8) Copy8(dst, dst - stride);
    }
}

// Decodes literal/length and distance symbols until the end of the block, until a piece
// of output is complete, or until the input buffer runs low while the entry has more
// data.
// The hot state lives in locals here: the window stores could otherwise alias it.
Stop DecodeSymbols(Decoder& d, const std::uint32_t* litlenTable, unsigned litlenBits,
                   const std::uint32_t* distTable, unsigned distBits) {
    std::uint64_t bits = d.bitBuffer;
    unsigned count = d.bitCount;
    const std::uint8_t* in = d.in;
    std::uint8_t* const window = d.window;
    std::uint32_t pos = d.pos;
    // While the entry has more data, stop where a refill could need bytes behind inEnd;
    // at its end, read on into the zero pad until kMaxOverread bytes are gone.
    // (Compared as addresses: inEnd - 8 may lie before the buffer.)
    const bool moreInput = Remaining > 0;
    const std::uintptr_t inLimit =
        reinterpret_cast<std::uintptr_t>(d.inEnd) - 8 + (moreInput ? 0 : 8 + kMaxOverread);
    const std::uint32_t pieceEnd = d.flushed + kWindowSize;
    const std::uint64_t litlenMask = (1u << litlenBits) - 1;
    const std::uint64_t distMask = (1u << distBits) - 1;

    // Refill to at least 56 bits, enough for a whole length/distance pair
    // (15 + 5 + 15 + 13 = 48 bits) or for a run of literals. The refill leaves the low
    // bits as they are, so a table entry looked up before it stays valid.
#define TOVO_REFILL_OR_STOP()                                   \
    do {                                                        \
        if (reinterpret_cast<std::uintptr_t>(in) > inLimit) {   \
            stop = moreInput ? Stop::NeedInput : Stop::BadData; \
            goto done;                                          \
        }                                                       \
        bits |= LoadLe64(in) << count;                          \
        in += (63 - count) >> 3;                                \
        count |= 56;                                            \
    } while (false)

    // After a refill all 64 bits of the buffer are stream bits (or zero pad), though
    // count says 56..63: the word load fills the buffer to its top. A look-up may peek at
    // those bits before the next refill, as long as the peeked bits lie below bit 64.
    Stop stop;
    // The first-level entry of the next symbol, looked up while the buffer still held
    // the bits since the last refill.
    std::uint32_t entry;
    TOVO_REFILL_OR_STOP();
    entry = litlenTable[bits & litlenMask];
    for (;;) {
        if (entry & kSubtable) {
            bits >>= entry & 0xFF;
            count -= entry & 0xFF;
            entry = litlenTable[(entry >> 16) + (bits & ((1u << ((entry >> 8) & 0xF)) - 1))];
        }
        std::uint64_t saved = bits;
        bits >>= entry & 0xFF;
        count -= entry & 0xFF;
        if (entry & kLiteral) {
            window[pos++] = static_cast<std::uint8_t>(entry >> 16);
            // Up to four more literals that the first level resolves (9 bits each), and
            // the look-up of the symbol after them: 15 + 4 * 9 + 9 = 60 bits, all of
            // them in the buffer since the refill.
            entry = litlenTable[bits & litlenMask];
            auto take_literal = [&] {
                if (!(entry & kLiteral)) return false;
                bits >>= entry & 0xFF;
                count -= entry & 0xFF;
                window[pos++] = static_cast<std::uint8_t>(entry >> 16);
                entry = litlenTable[bits & litlenMask];
                return true;
            };
            take_literal() && take_literal() && take_literal() && take_literal();
            if (__builtin_expect(pos >= pieceEnd, 0)) {
                stop = Stop::WindowFull;
                break;
            }
            TOVO_REFILL_OR_STOP();
            continue;
        }
        if (__builtin_expect(entry & (kEndOfBlock | kInvalid), 0)) {
            stop = (entry & kEndOfBlock) ? Stop::EndOfBlock : Stop::BadData;
            break;
        }
        const std::uint32_t length =
            (entry >> 16) + static_cast<std::uint32_t>((saved & ((1ull << (entry & 0xFF)) - 1)) >>
                                                       ((entry >> 8) & 0xF));

        entry = distTable[bits & distMask];
        if (entry & kSubtable) {
            bits >>= entry & 0xFF;
            count -= entry & 0xFF;
            entry = distTable[(entry >> 16) + (bits & ((1u << ((entry >> 8) & 0xF)) - 1))];
        }
        saved = bits;
        bits >>= entry & 0xFF;
        count -= entry & 0xFF;
        if (__builtin_expect(entry & kInvalid, 0)) {
            stop = Stop::BadData;
            break;
        }
        const std::uint32_t dist =
            (entry >> 16) + static_cast<std::uint32_t>((saved & ((1ull << (entry & 0xFF)) - 1)) >>
                                                       ((entry >> 8) & 0xF));
        if (__builtin_expect(dist > pos, 0)) {
            stop = Stop::BadData;  // reaches before the entry's first byte
            break;
        }
        // Look up the next symbol before the copy, so the two overlap: the pair took at
        // most 20 + 28 = 48 bits since the refill, and 48 + 9 <= 64.
        entry = litlenTable[bits & litlenMask];
        CopyMatch(window + pos, dist, length);
        pos += length;
        if (__builtin_expect(pos >= pieceEnd, 0)) {
            stop = Stop::WindowFull;
            break;
        }
        TOVO_REFILL_OR_STOP();
    }
#undef TOVO_REFILL_OR_STOP
done:
    d.bitBuffer = bits;
    d.bitCount = count;
    d.in = in;
    d.pos = pos;
    return stop;
}

bool HuffmanBlock(Decoder& d, const std::uint32_t* litlenTable, unsigned litlenBits,
                  const std::uint32_t* distTable, unsigned distBits) {
    for (;;) {
        switch (DecodeSymbols(d, litlenTable, litlenBits, distTable, distBits)) {
            case Stop::EndOfBlock:
                return true;
            case Stop::NeedInput:
                TopUp(d);
                break;
            case Stop::WindowFull:
                if (!FlushWindow(d)) return false;
                break;
            case Stop::BadData:
                return false;
        }
    }
}

bool FixedBlock(Decoder& d) {
    if (!d.fixedBuilt) {
        // RFC 1951, 3.2.6.
        std::uint8_t lens[288];
        std::memset(lens, 8, 144);
        std::memset(lens + 144, 9, 112);
        std::memset(lens + 256, 7, 24);
        std::memset(lens + 280, 8, 8);
        std::uint8_t distLens[32];
        std::memset(distLens, 5, sizeof distLens);
        if (!BuildTable(d.fixedLitlen, kFixedLitlenTableSize, kFixedLitlenRootBits, lens, 288,
                        CodeKind::Litlen) ||
            !BuildTable(d.fixedDist, kFixedDistTableSize, kFixedDistRootBits, distLens, 32,
                        CodeKind::Dist))
            return false;
        d.fixedBuilt = true;
    }
    return HuffmanBlock(d, d.fixedLitlen, kFixedLitlenRootBits, d.fixedDist, kFixedDistRootBits);
}

// Reads a dynamic block's code lengths (RFC 1951, 3.2.7) and builds its tables.
bool DynamicBlock(Decoder& d) {
    if (!NeedBits(d, 14)) return false;
    const unsigned litlenCodes = TakeBits(d, 5) + 257;
    const unsigned distCodes = TakeBits(d, 5) + 1;
    const unsigned precodeCodes = TakeBits(d, 4) + 4;
    if (litlenCodes > kMaxLitlenCodes || distCodes > kMaxDistCodes) return false;

    // Order in which the precode's code lengths are sent.
    static constexpr std::uint8_t kPrecodeOrder[kPrecodeCodes] = {
        16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::uint8_t precodeLens[kPrecodeCodes] = {};
    for (unsigned i = 0; i < precodeCodes; ++i) {
        if (!NeedBits(d, 3)) return false;
        precodeLens[kPrecodeOrder[i]] = static_cast<std::uint8_t>(TakeBits(d, 3));
    }
    if (!BuildTable(d.precode, kPrecodeTableSize, kPrecodeRootBits, precodeLens, kPrecodeCodes,
                    CodeKind::Precode))
        return false;

    // Literal/length and distance lengths form one sequence; a repeat may run from one
    // into the other but never past the announced total.
    const unsigned total = litlenCodes + distCodes;
    for (unsigned i = 0; i < total;) {
        if (!NeedBits(d, kPrecodeRootBits + 7)) return false;
        const std::uint32_t entry = d.precode[d.bitBuffer & (kPrecodeTableSize - 1)];
        TakeBits(d, entry & 0xFF);
        const unsigned sym = entry >> 16;
        if (sym < 16) {
            d.lens[i++] = static_cast<std::uint8_t>(sym);
            continue;
        }
        std::uint8_t value = 0;
        unsigned repeat;
        if (sym == 16) {
            if (i == 0) return false;  // nothing to repeat
            value = d.lens[i - 1];
            repeat = 3 + TakeBits(d, 2);
        } else if (sym == 17) {
            repeat = 3 + TakeBits(d, 3);
        } else {
            repeat = 11 + TakeBits(d, 7);
        }
        if (repeat > total - i) return false;
        std::memset(d.lens + i, value, repeat);
        i += repeat;
    }
    if (d.lens[kEndOfBlockSymbol] == 0) return false;  // a block could never end

    if (!BuildTable(d.litlen, kLitlenTableSize, kLitlenRootBits, d.lens, litlenCodes,
                    CodeKind::Litlen) ||
        !BuildTable(d.dist, kDistTableSize, kDistRootBits, d.lens + litlenCodes, distCodes,
                    CodeKind::Dist))
        return false;
    return HuffmanBlock(d, d.litlen, kLitlenRootBits, d.dist, kDistRootBits);
}

// A stored block: LEN and NLEN from the next byte boundary, then LEN bytes as they are.
bool StoredBlock(Decoder& d) {
    TakeBits(d, d.bitCount & 7);
    if (!NeedBits(d, 32)) return false;
    std::uint32_t len = TakeBits(d, 16);
    const std::uint32_t nlen = TakeBits(d, 16);
    if (len != (~nlen & 0xFFFF)) return false;

    // Whole bytes still in the bit buffer come first.
    for (; len > 0 && d.bitCount >= 8; --len) {
        d.window[d.pos++] = static_cast<std::uint8_t>(TakeBits(d, 8));
        if (d.pos == d.flushed + kWindowSize && !FlushWindow(d)) return false;
    }
    if (len == 0) return true;
    d.bitBuffer = 0;  // drop the copies of bytes that are now taken straight from `in`
    while (len > 0) {
        if (d.in >= d.inEnd && !TopUp(d)) return false;  // the data ends inside the block
        std::uint32_t n = static_cast<std::uint32_t>(d.inEnd - d.in);
        if (n > len) n = len;
        if (n > d.flushed + kWindowSize - d.pos) n = d.flushed + kWindowSize - d.pos;
        std::memcpy(d.window + d.pos, d.in, n);
        d.in += n;
        d.pos += n;
        len -= n;
        if (d.pos == d.flushed + kWindowSize && !FlushWindow(d)) return false;
    }
    return true;
}

bool DecodeEntry(Decoder& d) {
    for (bool last = false; !last;) {
        if (!NeedBits(d, 3)) return false;
        last = TakeBits(d, 1) != 0;
        bool ok = false;
        switch (TakeBits(d, 2)) {
            case 0:
                ok = StoredBlock(d);
                break;
            case 1:
                ok = FixedBlock(d);
                break;
            case 2:
                ok = DynamicBlock(d);
                break;
            default:
                break;  // block type 3 is reserved
        }
        if (!ok || Truncated(d)) return false;
    }
    return true;
}

}  // namespace

void InflateEntry() {
    StartOutput();
    // calloc: the buffer starts zeroed, so not even the word copies read unwritten memory.
    Decoder* d = static_cast<Decoder*>(std::calloc(1, sizeof(Decoder)));
    if (d == nullptr) return;
    d->in = d->inEnd = d->input;
    if (DecodeEntry(*d) && d->pos > d->flushed)
        PutOutput(d->window + d->flushed, d->pos - d->flushed);
    std::free(d);
}

void CopyStoredEntry() {
    StartOutput();
    if (Remaining <= 0) return;
    const std::uint32_t size =
        Remaining < static_cast<std::int32_t>(kInputSize) ? Remaining : kInputSize;
    std::uint8_t* buffer = static_cast<std::uint8_t*>(std::malloc(size));
    if (buffer == nullptr) return;
    while (Remaining > 0) {
        const std::uint32_t want = Remaining < static_cast<std::int32_t>(size) ? Remaining : size;
        const std::int32_t got = os::ReadFile(ArchiveFile, buffer, want);
        if (got <= 0) {
            Remaining = 0;  // the archive ends early: the CRC will not match
            break;
        }
        Remaining -= got;
        const std::uint32_t n = static_cast<std::uint32_t>(got);
        if (EntryEncrypted) DecryptBuffer(buffer, n);
        if (!PutOutput(buffer, n)) break;
    }
    std::free(buffer);
}
