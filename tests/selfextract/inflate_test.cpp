// Decoding real Deflate streams: every zlib and libdeflate setting, the window's
// output pieces, matches that reach across the window's end, and entries in a row.
#include <gtest/gtest.h>
#include <zlib.h>

#include "SFXmisc.h"
#include "deflate_streams.h"
#include "entry_harness.h"

namespace tovo_test {
namespace {

class InflateTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BuildCrcTable()); }

    // Decodes a stream and checks bytes, CRC and that exactly the stream was read.
    static void ExpectDecodes(const Bytes& stream, const Bytes& expected) {
        EntryRun run = RunEntry(Method::Deflated, stream);
        ASSERT_EQ(run.output.size(), expected.size());
        EXPECT_TRUE(run.output == expected);
        EXPECT_EQ(run.crc, ZlibCrc(expected));
        EXPECT_EQ(run.bytesRead, stream.size());
    }
};

struct Sample {
    const char* name;
    Bytes data;
};

const std::vector<Sample>& Samples() {
    static const std::vector<Sample> samples = {
        {"empty", {}},
        {"one byte", {'x'}},
        {"text", TextLike(120000, 1)},
        {"binary", BinaryLike(100000)},
        {"random", RandomBytes(50000, 2)},
        {"runs", Runs(90000, 3)},
        {"text of one window plus one", TextLike(32769, 4)},
    };
    return samples;
}

TEST_F(InflateTest, DecodesZlibAtEveryLevelAndStrategy) {
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (const Sample& sample : Samples()) {
        for (int level = 0; level <= 9; ++level) {
            for (int strategy : strategies) {
                SCOPED_TRACE(testing::Message()
                             << sample.name << ", level " << level << ", strategy " << strategy);
                ExpectDecodes(ZlibDeflate(sample.data, level, strategy), sample.data);
            }
        }
    }
}

TEST_F(InflateTest, DecodesZlibWithEveryWindowAndMemorySize) {
    // Window bits 9..15 as zip tools use them; 8 is turned into 9 by zlib itself.
    for (const Sample& sample : Samples()) {
        for (int windowBits = 9; windowBits <= 15; ++windowBits) {
            for (int memLevel : {1, 9}) {
                SCOPED_TRACE(testing::Message() << sample.name << ", window bits " << windowBits
                                                << ", memory level " << memLevel);
                ExpectDecodes(ZlibDeflate(sample.data, 9, Z_DEFAULT_STRATEGY, windowBits, memLevel),
                              sample.data);
            }
        }
    }
}

TEST_F(InflateTest, DecodesLibdeflateAtEveryLevel) {
    for (const Sample& sample : Samples()) {
        for (int level = 1; level <= 12; ++level) {
            SCOPED_TRACE(testing::Message() << sample.name << ", level " << level);
            ExpectDecodes(LibdeflateDeflate(sample.data, level), sample.data);
        }
    }
}

TEST_F(InflateTest, WritesWholeWindowsAndOneFinalPiece) {
    struct Case {
        std::size_t size;
        std::vector<std::uint32_t> pieces;
    } cases[] = {
        {0, {}},
        {100, {100}},
        {32768, {32768}},  // no empty final piece
        {32769, {32768, 1}},
        {100000, {32768, 32768, 32768, 1696}},
    };
    for (const Case& c : cases) {
        const Bytes data = TextLike(c.size, 5);
        for (int level : {0, 1, 9}) {  // stored, fast and best compression
            SCOPED_TRACE(testing::Message() << c.size << " bytes, level " << level);
            EntryRun run = RunEntry(Method::Deflated, ZlibDeflate(data, level, Z_DEFAULT_STRATEGY));
            EXPECT_EQ(run.pieces, c.pieces);
            EXPECT_TRUE(run.output == data);
        }
    }
}

// Expands literals and (length, distance) pairs the slow way.
struct Token {
    unsigned literalOrLength;
    unsigned distance;  // 0: a literal
};

Bytes Expand(Bytes out, const std::vector<Token>& tokens) {
    for (const Token& t : tokens) {
        if (t.distance == 0) {
            out.push_back(static_cast<std::uint8_t>(t.literalOrLength));
        } else {
            for (unsigned i = 0; i < t.literalOrLength; ++i)
                out.push_back(out[out.size() - t.distance]);
        }
    }
    return out;
}

// Writes tokens as one final fixed-code block.
void WriteFixedTokens(BitWriter& w, const std::vector<Token>& tokens) {
    w.Bits(1, 1).Bits(1, 2);
    for (const Token& t : tokens) {
        if (t.distance == 0) {
            w.FixedLitlen(t.literalOrLength);
            continue;
        }
        // Length: code 257 + c with base and extra bits as RFC 1951, 3.2.5.
        static const unsigned kLengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                               15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                               67, 83, 99, 115, 131, 163, 195, 227, 258};
        unsigned c = 28;
        while (kLengthBase[c] > t.literalOrLength) --c;
        unsigned lengthExtra = (c < 8 || c == 28) ? 0 : (c - 4) / 4;
        w.FixedLitlen(257 + c).Bits(t.literalOrLength - kLengthBase[c], lengthExtra);
        unsigned d = 29;
        auto distBase = [](unsigned code) {
            return code < 4 ? code + 1 : ((2u + (code & 1)) << ((code >> 1) - 1)) + 1;
        };
        while (distBase(d) > t.distance) --d;
        unsigned distExtra = d < 4 ? 0 : (d >> 1) - 1;
        w.FixedDist(d).Bits(t.distance - distBase(d), distExtra);
    }
    w.FixedLitlen(256);
}

// A stored block (not final) holding data.
void WriteStored(BitWriter& w, const Bytes& data) {
    for (std::size_t at = 0; at < data.size() || at == 0; at += 65535) {
        std::size_t n = std::min<std::size_t>(65535, data.size() - at);
        w.Bits(0, 1).Bits(0, 2).AlignToByte().Bits(static_cast<std::uint32_t>(n), 16);
        w.Bits(static_cast<std::uint32_t>(~n & 0xFFFF), 16);
        for (std::size_t i = 0; i < n; ++i) w.Byte(data[at + i]);
        if (data.empty()) break;
    }
}

TEST_F(InflateTest, CopiesMatchesAsRfc1951Defines) {
    struct Case {
        const char* name;
        std::size_t before;  // random bytes sent first in stored blocks
        std::vector<Token> tokens;
    } cases[] = {
        {"distance equal to the output so far",
         0,
         {{'a', 0}, {'b', 0}, {'c', 0}, {'d', 0}, {4, 4}, {258, 8}}},
        {"distance 1 runs", 0, {{'x', 0}, {258, 1}, {258, 1}, {3, 1}, {'y', 0}, {17, 1}}},
        {"short periods", 0, {{'a', 0}, {'b', 0}, {'c', 0}, {100, 3}, {7, 2}, {30, 7}}},
        {"the whole window back", 32768, {{258, 32768}, {258, 32768}}},
        {"across the window's end",
         40000,
         {{258, 32768}, {258, 7300}, {200, 7232}, {258, 32000}, {3, 9}}},
        {"long copies near the flush", 32768 - 100, {{258, 20000}, {258, 258}, {258, 300}}},
        // The word-wise copy writes past a short match: the oldest history must survive.
        {"the whole window back after a short copy", 40000, {{10, 100}, {20, 32768}, {3, 32767}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes prefix = RandomBytes(c.before, 7);
        BitWriter w;
        if (!prefix.empty()) WriteStored(w, prefix);
        WriteFixedTokens(w, c.tokens);
        ExpectDecodes(w.Finish(), Expand(prefix, c.tokens));
    }
}

TEST_F(InflateTest, DistanceBeforeTheEntrysStartIsBadData) {
    for (unsigned distance : {5u, 100u, 32768u}) {
        SCOPED_TRACE(distance);
        BitWriter w;
        WriteFixedTokens(w, {{'a', 0}, {'b', 0}, {'c', 0}, {'d', 0}, {3, distance}});
        EntryRun run = RunEntry(Method::Deflated, w.Finish());
        EXPECT_TRUE(run.output.empty());
    }
}

TEST_F(InflateTest, EntriesInARowDecodeIndependently) {
    // The second entry copies from before its start: it must not see the first's window.
    BitWriter first;
    WriteFixedTokens(first, {{'q', 0}, {'r', 0}, {'s', 0}, {50, 3}});
    BitWriter second;
    WriteFixedTokens(second, {{10, 1}});
    const Bytes firstStream = first.Finish();
    const Bytes expected = Expand({}, {{'q', 0}, {'r', 0}, {'s', 0}, {50, 3}});

    EXPECT_TRUE(RunEntry(Method::Deflated, firstStream).output == expected);
    EXPECT_TRUE(RunEntry(Method::Deflated, second.Finish()).output.empty());
    EXPECT_TRUE(RunEntry(Method::Deflated, firstStream).output == expected);
    // Fixed blocks after dynamic ones and the other way round, entry after entry.
    const Bytes text = TextLike(70000, 8);
    const Bytes mixed = ZlibDeflate(text, 6, Z_FIXED);
    const Bytes dynamic = ZlibDeflate(text, 6, Z_DEFAULT_STRATEGY);
    for (const Bytes* stream : {&mixed, &dynamic, &mixed}) ExpectDecodes(*stream, text);
}

TEST_F(InflateTest, ReadsOnlyRemainingBytes) {
    const Bytes text = TextLike(80000, 9);
    const Bytes stream = ZlibDeflate(text, 6, Z_DEFAULT_STRATEGY);
    const std::int32_t size = static_cast<std::int32_t>(stream.size());
    for (std::int32_t remaining : {0, 1, 100, size / 2, size - 1}) {
        SCOPED_TRACE(remaining);
        EntryOptions options;
        options.remaining = remaining;
        options.trailing = 4096;
        EntryRun run = RunEntry(Method::Deflated, stream, options);
        EXPECT_EQ(run.bytesRead, static_cast<std::uint32_t>(remaining));
        EXPECT_NE(run.crc, ZlibCrc(text));
        EXPECT_LT(run.output.size(), text.size());
    }
}

TEST_F(InflateTest, StoredEntryIsCopiedAsItStands) {
    for (std::size_t size : {0u, 1u, 32768u, 70000u}) {
        SCOPED_TRACE(size);
        const Bytes data = RandomBytes(size, 10);
        EntryRun run = RunEntry(Method::Stored, data);
        EXPECT_TRUE(run.output == data);
        EXPECT_EQ(run.crc, ZlibCrc(data));  // 0 for the empty entry
        EXPECT_EQ(run.bytesRead, size);
    }
}

TEST_F(InflateTest, StoredEntryEndsWhenTheArchiveDoes) {
    EntryOptions options;
    options.remaining = 5000;  // more than the file holds
    options.trailing = 0;
    EntryRun run = RunEntry(Method::Stored, RandomBytes(1000, 11), options);
    EXPECT_EQ(run.output.size(), 1000u);
}

}  // namespace
}  // namespace tovo_test
