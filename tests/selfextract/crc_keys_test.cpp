// CRC-32 against zlib, and decryption of entries made by Info-ZIP and 7-Zip.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "SFXgbls.h"
#include "SFXmisc.h"
#include "deflate_streams.h"
#include "entry_harness.h"

#ifndef TOVO_FIXTURES
#error "TOVO_FIXTURES must name the fixtures folder"
#endif

namespace tovo_test {
namespace {

class CrcKeysTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BuildCrcTable()); }
};

TEST_F(CrcKeysTest, CrcUpdateMatchesZlibAtEveryLengthAndAlignment) {
    const Bytes data = RandomBytes(4096 + 64, 20);
    for (std::size_t start = 0; start < 9; ++start) {
        for (std::size_t n :
             {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 63u, 64u, 65u, 80u, 127u, 128u, 1000u, 4096u}) {
            SCOPED_TRACE(testing::Message() << "start " << start << ", length " << n);
            Bytes slice(data.begin() + start, data.begin() + start + n);
            EXPECT_EQ(CrcUpdate(slice.data(), n, 0xFFFFFFFF) ^ 0xFFFFFFFF, ZlibCrc(slice));
        }
    }
}

TEST_F(CrcKeysTest, CrcByteAndCrcUpdateAgreeAndChain) {
    const Bytes data = TextLike(5000, 21);
    std::uint32_t bytewise = 0xFFFFFFFF;
    for (std::uint8_t b : data) bytewise = CrcByte(b, bytewise);
    // In two uneven parts, as the window flushes feed it.
    std::uint32_t chained = CrcUpdate(data.data(), 1234, 0xFFFFFFFF);
    chained =
        CrcUpdate(data.data() + 1234, static_cast<std::uint32_t>(data.size()) - 1234, chained);
    EXPECT_EQ(bytewise, chained);
    EXPECT_EQ(bytewise ^ 0xFFFFFFFF, ZlibCrc(data));
    EXPECT_EQ(CrcTable[1], 0x77073096u);  // first entry of the standard table
}

struct LocalEntry {
    std::string name;
    std::uint16_t flags, method, time;
    std::uint32_t crc, compressedSize, size;
    Bytes data;  // encryption header and data
};

std::uint16_t Le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return Le16(b, at) | std::uint32_t(Le16(b, at + 2)) << 16;
}

// The entries of a zip file, read from its local headers as the stub reads them.
std::vector<LocalEntry> ReadEntries(const std::string& file) {
    std::ifstream in(std::string(TOVO_FIXTURES) + "/" + file, std::ios::binary);
    Bytes zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<LocalEntry> entries;
    std::size_t at = 0;
    while (at + 30 <= zip.size()) {
        const std::uint32_t signature = Le32(zip, at);
        if (signature == 0x08074B50) {  // data descriptor
            at += 16;
            continue;
        }
        if (signature != 0x04034B50) break;
        LocalEntry e;
        e.flags = Le16(zip, at + 6);
        e.method = Le16(zip, at + 8);
        e.time = Le16(zip, at + 10);
        e.crc = Le32(zip, at + 14);
        e.compressedSize = Le32(zip, at + 18);
        e.size = Le32(zip, at + 22);
        const std::size_t nameLength = Le16(zip, at + 26), extraLength = Le16(zip, at + 28);
        e.name.assign(zip.begin() + at + 30, zip.begin() + at + 30 + nameLength);
        const std::size_t dataStart = at + 30 + nameLength + extraLength;
        e.data.assign(zip.begin() + dataStart, zip.begin() + dataStart + e.compressedSize);
        entries.push_back(e);
        at = dataStart + e.compressedSize;
    }
    return entries;
}

// The password check of the extraction loop: decrypts the 12-byte header, leaving the
// keys ready for the data, and compares its last byte with the check byte.
bool CheckPassword(const LocalEntry& e, const char* password) {
    InitKeys(password);
    std::uint8_t last = 0;
    for (int i = 0; i < 12; ++i) {
        last = e.data[i] ^ DecryptByte();
        UpdateKeys(last);
    }
    const std::uint8_t check = (e.flags & 8) ? e.time >> 8 : e.crc >> 24;
    return last == check;
}

TEST_F(CrcKeysTest, DecryptsEntriesOfInfoZipAnd7Zip) {
    for (const char* file : {"infozip.zip", "sevenzip.zip"}) {
        const std::vector<LocalEntry> entries = ReadEntries(file);
        ASSERT_EQ(entries.size(), 2u) << file;
        for (const LocalEntry& e : entries) {
            SCOPED_TRACE(testing::Message() << file << ": " << e.name);
            ASSERT_TRUE(e.flags & 1);
            ASSERT_TRUE(CheckPassword(e, "tovo-secret"));
            EntryOptions options;
            options.encrypted = true;
            EntryRun run = RunEntry(e.method == 8 ? Method::Deflated : Method::Stored,
                                    Bytes(e.data.begin() + 12, e.data.end()), options);
            EXPECT_EQ(run.output.size(), e.size);  // stored: exactly compressed size - 12
            EXPECT_EQ(run.crc, e.crc);
        }
    }
}

// Encrypts as a zip tool does: each cipher byte is the plain byte XOR the key stream,
// and the plain byte advances the keys.
Bytes Encrypt(const Bytes& plain, const char* password) {
    InitKeys(password);
    Bytes cipher(plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        cipher[i] = plain[i] ^ DecryptByte();
        UpdateKeys(plain[i]);
    }
    return cipher;
}

TEST_F(CrcKeysTest, DecryptsEntriesLongerThanOneRead) {
    // The key stream must run on unbroken across the 32 KiB reads of the entry.
    const Bytes text = TextLike(400000, 22);
    struct Case {
        Method method;
        Bytes plainData;
    } cases[] = {
        {Method::Deflated, ZlibDeflate(text, 1, Z_DEFAULT_STRATEGY)},
        {Method::Stored, text},
    };
    for (const Case& c : cases) {
        ASSERT_GT(c.plainData.size(), 3u * 32768);
        const Bytes cipher = Encrypt(c.plainData, "long entry");
        InitKeys("long entry");
        EntryOptions options;
        options.encrypted = true;
        EntryRun run = RunEntry(c.method, cipher, options);
        EXPECT_TRUE(run.output == text);
        EXPECT_EQ(run.crc, ZlibCrc(text));
    }
}

TEST_F(CrcKeysTest, WrongPasswordFailsTheCheckOrTheCrc) {
    for (const LocalEntry& e : ReadEntries("sevenzip.zip")) {
        SCOPED_TRACE(e.name);
        const bool checkPassed = CheckPassword(e, "tovo-secreT");
        EntryOptions options;
        options.encrypted = true;
        EntryRun run = RunEntry(e.method == 8 ? Method::Deflated : Method::Stored,
                                Bytes(e.data.begin() + 12, e.data.end()), options);
        EXPECT_FALSE(checkPassed && run.crc == e.crc);
        EXPECT_NE(run.crc, e.crc);
    }
}

}  // namespace
}  // namespace tovo_test
