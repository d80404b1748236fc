// Corrupt and truncated Deflate streams: each must end, with a short or wrong output.
#include <gtest/gtest.h>
#include <zlib.h>

#include <map>

#include "SFXmisc.h"
#include "deflate_streams.h"
#include "entry_harness.h"

namespace tovo_test {
namespace {

class InflateCorruptTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BuildCrcTable()); }
};

// Canonical Huffman codes for code lengths (RFC 1951, 3.2.2).
std::vector<std::uint32_t> CanonicalCodes(const std::vector<unsigned>& lens) {
    unsigned count[16] = {}, next[16] = {};
    for (unsigned len : lens) ++count[len];
    count[0] = 0;
    for (unsigned bits = 1, code = 0; bits < 16; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    std::vector<std::uint32_t> codes(lens.size());
    for (std::size_t s = 0; s < lens.size(); ++s)
        if (lens[s] != 0) codes[s] = next[lens[s]]++;
    return codes;
}

// A dynamic block header: counts, the precode lengths (symbol -> length), then the
// code length sequence as (precode symbol, extra bits value) pairs.
struct DynamicHeader {
    unsigned litlenCodes = 257;
    unsigned distCodes = 1;
    std::map<unsigned, unsigned> precode;
    std::vector<std::pair<unsigned, unsigned>> lengths;
};

void WriteDynamicHeader(BitWriter& w, const DynamicHeader& h) {
    static const unsigned kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                        11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::vector<unsigned> precodeLens(19, 0);
    for (auto [sym, len] : h.precode) precodeLens[sym] = len;
    unsigned sent = 19;
    while (sent > 4 && precodeLens[kOrder[sent - 1]] == 0) --sent;
    w.Bits(1, 1).Bits(2, 2);
    w.Bits(h.litlenCodes - 257, 5).Bits(h.distCodes - 1, 5).Bits(sent - 4, 4);
    for (unsigned i = 0; i < sent; ++i) w.Bits(precodeLens[kOrder[i]], 3);
    const std::vector<std::uint32_t> codes = CanonicalCodes(precodeLens);
    for (auto [sym, extra] : h.lengths) {
        w.Code(codes[sym], precodeLens[sym]);
        if (sym == 16) w.Bits(extra, 2);
        if (sym == 17) w.Bits(extra, 3);
        if (sym == 18) w.Bits(extra, 7);
    }
}

// Literal/length code: 'A' and end of block, one bit each; no distance code.
DynamicHeader TwoSymbolHeader() {
    DynamicHeader h;
    h.precode = {{0, 2}, {1, 2}, {18, 1}};
    h.lengths = {{18, 65 - 11}, {1, 0}, {18, 138 - 11}, {18, 52 - 11}, {1, 0}, {0, 0}};
    return h;
}

TEST_F(InflateCorruptTest, WellFormedDynamicHeaderDecodes) {
    // The control for the cases below: the same writer with a sound header.
    BitWriter w;
    WriteDynamicHeader(w, TwoSymbolHeader());
    w.Code(0, 1).Code(0, 1).Code(0, 1).Code(1, 1);
    EntryRun run = RunEntry(Method::Deflated, w.Finish());
    EXPECT_EQ(std::string(run.output.begin(), run.output.end()), "AAA");
}

TEST_F(InflateCorruptTest, MalformedBlocksWriteNothing) {
    struct Case {
        const char* name;
        Bytes stream;
    };
    std::vector<Case> cases;
    auto dynamic = [&](const char* name, const DynamicHeader& h) {
        BitWriter w;
        WriteDynamicHeader(w, h);
        w.Code(0, 1).Code(1, 1).Bits(0, 16);  // some symbols, in case it got this far
        cases.push_back({name, w.Finish()});
    };

    cases.push_back({"block type 3", BitWriter().Bits(1, 1).Bits(3, 2).Bits(0, 16).Finish()});
    cases.push_back({"NLEN not the complement of LEN", BitWriter()
                                                           .Bits(1, 1)
                                                           .Bits(0, 2)
                                                           .AlignToByte()
                                                           .Bits(5, 16)
                                                           .Bits(0xFFFB, 16)
                                                           .Bits(0x41414141, 32)
                                                           .Bits(0x41, 8)
                                                           .Finish()});
    cases.push_back({"stored block longer than the data", BitWriter()
                                                              .Bits(1, 1)
                                                              .Bits(0, 2)
                                                              .AlignToByte()
                                                              .Bits(10, 16)
                                                              .Bits(0xFFF5, 16)
                                                              .Bits(0x41414141, 32)
                                                              .Finish()});
    cases.push_back({"fixed literal/length symbol 286",
                     BitWriter().Bits(1, 1).Bits(1, 2).FixedLitlen('a').FixedLitlen(286).Finish()});
    cases.push_back({"fixed distance code 30", BitWriter()
                                                   .Bits(1, 1)
                                                   .Bits(1, 2)
                                                   .FixedLitlen('a')
                                                   .FixedLitlen(257)
                                                   .FixedDist(30)
                                                   .Finish()});
    cases.push_back({"final block missing",
                     BitWriter().Bits(0, 1).Bits(1, 2).FixedLitlen('a').FixedLitlen(256).Finish()});

    DynamicHeader h = TwoSymbolHeader();
    h.litlenCodes = 287;
    dynamic("HLIT announces 287 codes", h);
    h = TwoSymbolHeader();
    h.distCodes = 31;
    dynamic("HDIST announces 31 codes", h);

    h = TwoSymbolHeader();
    h.precode = {{0, 1}, {1, 1}, {18, 1}};
    dynamic("over-full precode", h);
    h = TwoSymbolHeader();
    h.precode = {{1, 1}};
    h.lengths = {{1, 0}};
    dynamic("incomplete precode", h);

    h = DynamicHeader();
    h.precode = {{1, 1}, {18, 1}};
    h.lengths = {{18, 127}, {18, 127}};  // 276 lengths where 258 were announced
    dynamic("repeat past the announced count", h);
    h = DynamicHeader();
    h.precode = {{1, 1}, {18, 1}};
    h.lengths = {{18, 127}, {18, 119}};  // 268 where 258 were announced
    dynamic("repeat past the count by ten", h);
    h = DynamicHeader();
    h.precode = {{16, 1}, {1, 1}};
    h.lengths = {{16, 0}};
    dynamic("repeat with nothing to repeat", h);

    h = DynamicHeader();
    h.precode = {{1, 1}, {18, 1}};
    h.lengths = {{1, 0}, {1, 0}, {18, 127}, {18, 105}, {1, 0}, {1, 0}};
    dynamic("over-full literal/length code", h);
    h = DynamicHeader();
    h.precode = {{0, 2}, {2, 2}, {18, 1}};
    h.lengths = {{2, 0}, {18, 127}, {18, 106}, {2, 0}, {0, 0}};
    dynamic("incomplete literal/length code", h);
    h = DynamicHeader();
    h.precode = {{0, 2}, {1, 2}, {18, 1}};
    h.lengths = {{1, 0}, {1, 0}, {18, 127}, {18, 106}, {0, 0}};
    dynamic("no end-of-block code", h);
    h = TwoSymbolHeader();
    h.distCodes = 3;
    h.lengths = {{18, 54}, {1, 0}, {18, 127}, {18, 41}, {1, 0}, {1, 0}, {1, 0}, {1, 0}};
    dynamic("over-full distance code", h);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryRun run = RunEntry(Method::Deflated, c.stream);
        EXPECT_TRUE(run.output.empty());
        EXPECT_LE(run.bytesRead, c.stream.size());
    }
}

TEST_F(InflateCorruptTest, TruncationAtEveryByteEndsShort) {
    const Bytes text = TextLike(1500, 12);
    const Bytes streams[] = {
        ZlibDeflate(text, 0, Z_DEFAULT_STRATEGY),
        ZlibDeflate(text, 6, Z_FIXED),
        ZlibDeflate(text, 9, Z_DEFAULT_STRATEGY),
        LibdeflateDeflate(text, 12),
    };
    const std::uint32_t crc = ZlibCrc(text);
    for (const Bytes& stream : streams) {
        for (std::size_t cut = 0; cut < stream.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << stream.size());
            // Once as a short file, once as a short Remaining inside the whole file.
            EntryRun shortFile =
                RunEntry(Method::Deflated, Bytes(stream.begin(), stream.begin() + cut));
            EXPECT_TRUE(shortFile.output.size() < text.size() || shortFile.crc != crc);
            EntryOptions options;
            options.remaining = static_cast<std::int32_t>(cut);
            EntryRun shortEntry = RunEntry(Method::Deflated, stream, options);
            EXPECT_TRUE(shortEntry.output.size() < text.size() || shortEntry.crc != crc);
            EXPECT_EQ(shortEntry.bytesRead, cut);
        }
    }
}

TEST_F(InflateCorruptTest, OutputStopsAtTheDeclaredSize) {
    // Regression: 1 MB of data that declared 10 bytes wrote about 1 GiB before its CRC
    // failed. The decoder now writes nothing that would pass the declared size and
    // stops reading there.
    const Bytes bomb = ZlibDeflate(Bytes(64 << 20, 0), 1, Z_DEFAULT_STRATEGY);
    struct Case {
        const char* label;
        Method method;
        Bytes data;
        std::uint32_t declared;
    };
    const Case cases[] = {
        {"deflated, claims 10 bytes", Method::Deflated, bomb, 10},
        {"deflated, claims one piece", Method::Deflated, bomb, 32768},
        {"stored, claims less than it holds", Method::Stored, Bytes(1 << 20, 7), 50000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EntryOptions options;
        options.size = c.declared;
        const EntryRun run = RunEntry(c.method, c.data, options);
        EXPECT_TRUE(run.tooLong);
        EXPECT_LE(run.output.size(), c.declared);
        // At most two reads of 32 KiB.
        EXPECT_LE(run.bytesRead, 65536u);
        ASSERT_GT(c.data.size(), 4 * 65536u);
    }
    // The declared size itself passes.
    EntryOptions exact;
    exact.size = 1 << 20;
    const EntryRun run =
        RunEntry(Method::Deflated, ZlibDeflate(Bytes(1 << 20, 0), 9, Z_DEFAULT_STRATEGY), exact);
    EXPECT_FALSE(run.tooLong);
    EXPECT_EQ(run.output.size(), 1u << 20);
}

TEST_F(InflateCorruptTest, FlippedBitsEndWithoutReadingPastTheEntry) {
    // Not a proof, but a cheap sweep: every single-bit change of a small stream.
    const Bytes text = TextLike(1200, 13);
    const Bytes stream = ZlibDeflate(text, 9, Z_DEFAULT_STRATEGY);
    for (std::size_t bit = 0; bit < stream.size() * 8; ++bit) {
        Bytes changed = stream;
        changed[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        EntryRun run = RunEntry(Method::Deflated, changed);
        EXPECT_LE(run.bytesRead, stream.size());
    }
}

}  // namespace
}  // namespace tovo_test
