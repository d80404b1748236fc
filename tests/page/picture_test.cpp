// Picture kinds, the header checks of the four formats, and reading and writing
// picture files.

#include "picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "quom_error.h"

namespace quom {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string Fixture(const std::string& name) {
    std::string bytes = ReadBytes(fs::path(QUOM_TEST_FIXTURES) / name);
    EXPECT_FALSE(bytes.empty()) << name;
    return bytes;
}

// The message of the QuomError that f throws, or "" when it throws none.
std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const QuomError& e) {
        return e.what();
    }
    return "";
}

const char* InvalidMessage(PictureKind kind) {
    switch (kind) {
        case PictureKind::Bitmap:
            return "Bitmap image is not valid";
        case PictureKind::Icon:
            return "Icon image is not valid";
        default:
            return "Metafile is not valid";
    }
}

void Put16(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 2; ++i) b.at(at + i) = static_cast<char>(v >> (8 * i));
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<char>(v >> (8 * i));
}
std::uint32_t Get32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + i));
    return v;
}

// The Aldus placeable header's checksum: XOR of its first ten WORDs.
void FixPlaceableChecksum(std::string& b) {
    std::uint32_t sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= static_cast<unsigned char>(b[2 * i]) | static_cast<unsigned char>(b[2 * i + 1]) << 8;
    Put16(b, 20, sum);
}

TEST(PictureKindForName, ExtensionSelectsKindInAnyCase) {
    const struct {
        const char* name;
        PictureKind kind;
    } cases[] = {
        {"house.bmp", PictureKind::Bitmap},
        {"HOUSE.BMP", PictureKind::Bitmap},
        {"a.Ico", PictureKind::Icon},
        {"drawing.emf", PictureKind::EnhancedMetafile},
        {"drawing.WmF", PictureKind::Metafile},
        {"old.house.bmp", PictureKind::Bitmap},
        {"/pages/v1.2/house.ico", PictureKind::Icon},
        {"C:\\pages\\house.wmf", PictureKind::Metafile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PictureKindForName(c.name), c.kind);
    }
}

TEST(PictureKindForName, OtherExtensionsNameTheExtensionWithoutItsDot) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"house", "Unknown picture file extension (.)"},
        {"house.", "Unknown picture file extension (.)"},
        {"house.png", "Unknown picture file extension (.png)"},
        {"house.bmp.txt", "Unknown picture file extension (.txt)"},
        {"house.bmpx", "Unknown picture file extension (.bmpx)"},
        // A dot in a folder's name is not the file's extension.
        {"pages.v2/house", "Unknown picture file extension (.)"},
        {"", "Unknown picture file extension (.)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf([&] { PictureKindForName(c.name); }), c.message);
    }
}

TEST(CheckBareFileName, RefusesEveryFolderPart) {
    const struct {
        const char* name;
        bool bare;
    } cases[] = {
        {"sun.bmp", true},
        {"two words.ico", true},
        {"..bmp", true},  // a dot file, still beside the page
        {"", true},       // nothing that leads elsewhere; the extension check refuses it
        {"art/sun.bmp", false},
        {"/etc/sun.bmp", false},
        {"../sun.bmp", false},
        {"art\\sun.bmp", false},
        {"..\\sun.bmp", false},
        {"C:sun.bmp", false},
        {"C:\\art\\sun.bmp", false},
        {"..", false},
        {".", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bare) {
            EXPECT_NO_THROW(quom::CheckBareFileName(c.name));
        } else {
            try {
                quom::CheckBareFileName(c.name);
                ADD_FAILURE() << "accepted";
            } catch (const quom::QuomError& e) {
                EXPECT_EQ(std::string(e.what()),
                          "Picture file " + std::string(c.name) + " is not in the page's folder");
            }
        }
    }
}

struct GoodFixture {
    const char* file;
    PictureKind kind;
    int width;
    int height;
};

const GoodFixture kGoodFixtures[] = {
    {"bitmap_1bit.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_4bit.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_8bit.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_8bit_rle.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_24bit.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_24bit_core.bmp", PictureKind::Bitmap, 13, 7},
    {"bitmap_32bit_v5.bmp", PictureKind::Bitmap, 13, 7},
    {"icon_16_32.ico", PictureKind::Icon, 32, 32},           // the first entry's size
    {"icon_256_png.ico", PictureKind::Icon, 256, 256},       // entry size 0 means 256
    {"drawing.emf", PictureKind::EnhancedMetafile, 40, 30},  // bounds are inclusive
    {"drawing.wmf", PictureKind::Metafile, 96, 48},          // 1440x720 at 1440 per inch
};

TEST(PictureFromBytes, ToolMadeFilesGiveTheirSize) {
    for (const GoodFixture& f : kGoodFixtures) {
        SCOPED_TRACE(f.file);
        const std::string bytes = Fixture(f.file);
        const Picture picture = PictureFromBytes(f.kind, bytes);
        EXPECT_EQ(picture.kind, f.kind);
        EXPECT_EQ(picture.width, f.width);
        EXPECT_EQ(picture.height, f.height);
        EXPECT_EQ(picture.bytes, bytes);
    }
}

// Every format places something needed at the very end (pixels, an image, EMR_EOF,
// META_EOF), so a file cut anywhere is refused rather than read past its end.
TEST(PictureFromBytes, FileCutAtAnyLengthIsRefused) {
    for (const GoodFixture& f : kGoodFixtures) {
        SCOPED_TRACE(f.file);
        const std::string bytes = Fixture(f.file);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            const std::string message =
                ErrorOf([&] { PictureFromBytes(f.kind, bytes.substr(0, length)); });
            if (message != InvalidMessage(f.kind)) {
                ADD_FAILURE() << "cut at " << length << ": \"" << message << "\"";
                break;
            }
        }
    }
}

TEST(PictureFromBytes, FileOfAnotherKindIsRefusedWithTheKindsMessage) {
    const std::string bitmap = Fixture("bitmap_24bit.bmp");
    const std::string icon = Fixture("icon_16_32.ico");
    EXPECT_EQ(ErrorOf([&] { PictureFromBytes(PictureKind::Icon, bitmap); }),
              "Icon image is not valid");
    EXPECT_EQ(ErrorOf([&] { PictureFromBytes(PictureKind::EnhancedMetafile, bitmap); }),
              "Metafile is not valid");
    EXPECT_EQ(ErrorOf([&] { PictureFromBytes(PictureKind::Metafile, icon); }),
              "Metafile is not valid");
    EXPECT_EQ(ErrorOf([&] { PictureFromBytes(PictureKind::Bitmap, icon); }),
              "Bitmap image is not valid");
}

struct Variant {
    const char* what;
    const char* fixture;
    PictureKind kind;
    std::function<void(std::string&)> change;
};

// Offsets in the 24-bit fixture: BITMAPFILEHEADER bfSize 2, bfOffBits 10; the info
// header at 14: biWidth 18, biHeight 22, biPlanes 26, biBitCount 28,
// biCompression 30, biSizeImage 34, biClrUsed 46. Its pixels start at 54.
const Variant kDamagedBitmaps[] = {
    {"type is not BM", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { b[1] = 'A'; }},
    {"bfSize beyond the file", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 2, b.size() + 1); }},
    {"bfSize cuts the pixels", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 2, b.size() - 1); }},
    {"bfOffBits inside the header", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 10, 50); }},
    {"bfOffBits leaves too few pixels", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 10, 58); }},
    {"bfOffBits beyond the file", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 10, 0xFFFFFFF0); }},
    {"unknown header size", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 14, 64); }},
    {"width 0", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put32(b, 18, 0); }},
    {"negative width", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put32(b, 18, -13); }},
    {"height 0", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put32(b, 22, 0); }},
    // Its magnitude does not fit an int.
    {"height -2^31", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 22, 0x80000000); }},
    {"more rows than the file holds", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 22, 8); }},
    {"wider rows than the file holds", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 18, 14); }},
    // 2^31-1 columns of 32 bits by 2^31-1 rows: the byte count overflows 64 bits.
    {"pixel count overflows", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) {
         Put32(b, 18, 0x7FFFFFFF);
         Put32(b, 22, 0x7FFFFFFF);
         Put16(b, 28, 32);
     }},
    {"two planes", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put16(b, 26, 2); }},
    {"bit count 7", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put16(b, 28, 7); }},
    {"BI_JPEG", "bitmap_24bit.bmp", PictureKind::Bitmap, [](auto& b) { Put32(b, 30, 4); }},
    {"BI_RLE8 at 24 bits", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 30, 1); }},
    {"BI_BITFIELDS at 24 bits", "bitmap_24bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 30, 3); }},
    // The 8-bit file's 256-entry colour table runs from 54 to 1078.
    {"bfOffBits inside the colour table", "bitmap_8bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 10, 1077); }},
    {"more colours than 8 bits index", "bitmap_8bit.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 46, 257); }},
    {"RLE data without biSizeImage", "bitmap_8bit_rle.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 34, 0); }},
    {"RLE data beyond the file", "bitmap_8bit_rle.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 34, Get32(b, 34) + 1); }},
    {"top-down RLE data", "bitmap_8bit_rle.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 22, -7); }},
    {"BI_RLE4 at 8 bits", "bitmap_8bit_rle.bmp", PictureKind::Bitmap,
     [](auto& b) { Put32(b, 30, 2); }},
    // BITMAPCOREHEADER: bcWidth 18, bcHeight 20, bcPlanes 22, bcBitCount 24 (WORDs).
    {"core header with 32 bits", "bitmap_24bit_core.bmp", PictureKind::Bitmap,
     [](auto& b) { Put16(b, 24, 32); }},
    {"core header with height 0", "bitmap_24bit_core.bmp", PictureKind::Bitmap,
     [](auto& b) { Put16(b, 20, 0); }},
};

// ICONDIR: idReserved 0, idType 2, idCount 4; entries of 16 bytes from 6 with
// dwBytesInRes at +8 and dwImageOffset at +12. The first image's DIB header sits at
// the first entry's offset.
std::size_t FirstImage(const std::string& b) {
    return Get32(b, 6 + 12);
}

const Variant kDamagedIcons[] = {
    {"idReserved 1", "icon_16_32.ico", PictureKind::Icon, [](auto& b) { Put16(b, 0, 1); }},
    {"a cursor", "icon_16_32.ico", PictureKind::Icon, [](auto& b) { Put16(b, 2, 2); }},
    {"no images", "icon_16_32.ico", PictureKind::Icon, [](auto& b) { Put16(b, 4, 0); }},
    {"directory beyond the file", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put16(b, 4, 400); }},
    {"image inside the directory", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, 6 + 12, 6); }},
    {"image size beyond the file", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, 6 + 8, b.size()); }},
    {"second image offset beyond the file", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, 22 + 12, b.size()); }},
    {"offset and size wrap past 2^32", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, 22 + 8, 0xFFFFFFFF); }},
    {"image is a core header", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, FirstImage(b), 12); }},
    {"image taller than its bytes", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put32(b, FirstImage(b) + 8, 128); }},
    {"image with bit count 3", "icon_16_32.ico", PictureKind::Icon,
     [](auto& b) { Put16(b, FirstImage(b) + 14, 3); }},
    {"PNG signature damaged", "icon_256_png.ico", PictureKind::Icon,
     [](auto& b) { b[FirstImage(b) + 1] = 'Q'; }},
};

// ENHMETAHEADER: iType 0, nSize 4, rclBounds 8..24, dSignature 40, nBytes 48,
// nRecords 52, nDescription 60, offDescription 64. The fixture's header record is
// 116 bytes long, followed by records of 24, 12, 24, 12 and 20 (EMR_EOF) bytes.
constexpr std::size_t kEmfEof = 116 + 24 + 12 + 24 + 12;

const Variant kDamagedEnhancedMetafiles[] = {
    {"first record is not EMR_HEADER", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 0, 2); }},
    {"no EMF signature", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { b[41] = 'e'; }},
    {"header shorter than ENHMETAHEADER", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 4, 84); }},
    {"header size not a multiple of 4", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 4, 118); }},
    {"nBytes beyond the file", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 48, b.size() + 4); }},
    {"nBytes stops before EMR_EOF", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 48, kEmfEof); }},
    {"nRecords one too many", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 52, Get32(b, 52) + 1); }},
    {"nRecords one too few", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 52, Get32(b, 52) - 1); }},
    {"record of size 0", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 116 + 4, 0); }},
    {"record running past nBytes", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 116 + 4, 0xFFFFFFF0); }},
    {"last record is not EMR_EOF", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, kEmfEof, 40); }},
    {"description outside the header", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 64, 100); }},
    {"bounds inverted", "drawing.emf", PictureKind::EnhancedMetafile,
     [](auto& b) { Put32(b, 16, -5); }},
};

// Placeable header: Key 0, BoundingBox 6..14 (left, top, right, bottom), Inch 14,
// Checksum 20. METAHEADER at 22: mtType 22, mtHeaderSize 24, mtVersion 26,
// mtSize 28, mtMaxRecord 34. Records from 40; META_EOF is the last 6 bytes.
const Variant kDamagedMetafiles[] = {
    {"wrong key", "drawing.wmf", PictureKind::Metafile, [](auto& b) { b[3] = 0; }},
    {"checksum wrong", "drawing.wmf", PictureKind::Metafile, [](auto& b) { Put16(b, 10, 1441); }},
    {"inch 0", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) {
         Put16(b, 14, 0);
         FixPlaceableChecksum(b);
     }},
    {"box inverted", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) {
         Put16(b, 6, 1441);
         FixPlaceableChecksum(b);
     }},
    {"mtType 3", "drawing.wmf", PictureKind::Metafile, [](auto& b) { Put16(b, 22, 3); }},
    {"mtHeaderSize 10", "drawing.wmf", PictureKind::Metafile, [](auto& b) { Put16(b, 24, 10); }},
    {"mtVersion 0x0200", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put16(b, 26, 0x0200); }},
    {"mtSize beyond the file", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put32(b, 28, Get32(b, 28) + 1); }},
    {"mtSize stops before META_EOF", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put32(b, 28, Get32(b, 28) - 3); }},
    {"mtSize smaller than METAHEADER", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put32(b, 28, 8); }},
    {"mtMaxRecord larger than the metafile", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put32(b, 34, Get32(b, 28) + 1); }},
    {"record of size 0", "drawing.wmf", PictureKind::Metafile, [](auto& b) { Put32(b, 40, 0); }},
    {"record running past mtSize", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put32(b, 40, 0x7FFFFFFF); }},
    {"no META_EOF", "drawing.wmf", PictureKind::Metafile,
     [](auto& b) { Put16(b, b.size() - 2, 0x0001); }},
};

void ExpectAllRefused(const Variant* begin, const Variant* end) {
    for (const Variant* v = begin; v != end; ++v) {
        SCOPED_TRACE(v->what);
        std::string bytes = Fixture(v->fixture);
        v->change(bytes);
        EXPECT_EQ(ErrorOf([&] { PictureFromBytes(v->kind, bytes); }), InvalidMessage(v->kind));
    }
}

TEST(PictureFromBytes, InconsistentBitmapHeadersAreRefused) {
    ExpectAllRefused(std::begin(kDamagedBitmaps), std::end(kDamagedBitmaps));
}
TEST(PictureFromBytes, InconsistentIconHeadersAreRefused) {
    ExpectAllRefused(std::begin(kDamagedIcons), std::end(kDamagedIcons));
}
TEST(PictureFromBytes, InconsistentEnhancedMetafileHeadersAreRefused) {
    ExpectAllRefused(std::begin(kDamagedEnhancedMetafiles), std::end(kDamagedEnhancedMetafiles));
}
TEST(PictureFromBytes, InconsistentMetafileHeadersAreRefused) {
    ExpectAllRefused(std::begin(kDamagedMetafiles), std::end(kDamagedMetafiles));
}

// Variants that are still sound files, and the size each gives.
TEST(PictureFromBytes, SoundVariantsAreAccepted) {
    const struct {
        Variant variant;
        int width;
        int height;
    } cases[] = {
        {{"top-down rows", "bitmap_24bit.bmp", PictureKind::Bitmap,
          [](auto& b) { Put32(b, 22, -7); }},
         13,
         7},
        {{"bytes after bfSize", "bitmap_24bit.bmp", PictureKind::Bitmap,
          [](auto& b) { b += "junk"; }},
         13,
         7},
        {{"colour table shortened by biClrUsed", "bitmap_8bit.bmp", PictureKind::Bitmap,
          [](auto& b) { Put32(b, 46, 200); }},
         13,
         7},
        {{"empty bounds", "drawing.emf", PictureKind::EnhancedMetafile,
          [](auto& b) {
              Put32(b, 16, -1);
              Put32(b, 20, -1);
          }},
         0,
         0},
        {{"bounds away from the origin", "drawing.emf", PictureKind::EnhancedMetafile,
          [](auto& b) {
              Put32(b, 8, -10);
              Put32(b, 12, 5);
          }},
         50,
         25},
        {{"720 units per inch", "drawing.wmf", PictureKind::Metafile,
          [](auto& b) {
              Put16(b, 14, 720);
              FixPlaceableChecksum(b);
          }},
         192,
         96},
        {{"disk metafile, version 1", "drawing.wmf", PictureKind::Metafile,
          [](auto& b) {
              Put16(b, 22, 2);
              Put16(b, 26, 0x0100);
          }},
         96,
         48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant.what);
        std::string bytes = Fixture(c.variant.fixture);
        c.variant.change(bytes);
        const Picture picture = PictureFromBytes(c.variant.kind, bytes);
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
    }
}

TEST(PlaceholderPicture, IsOneTrueColourBitmapOf28By28) {
    const Picture& placeholder = PlaceholderPicture();
    EXPECT_EQ(&placeholder, &PlaceholderPicture());
    EXPECT_EQ(placeholder.kind, PictureKind::Bitmap);
    EXPECT_EQ(placeholder.width, 28);
    EXPECT_EQ(placeholder.height, 28);
    ASSERT_GE(placeholder.bytes.size(), 30u);
    EXPECT_EQ(placeholder.bytes[28], 24);  // biBitCount
    EXPECT_EQ(PictureFromBytes(PictureKind::Bitmap, placeholder.bytes), placeholder);
}

class PictureFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quom_picture_test_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::vector<std::string> FolderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

TEST_F(PictureFileTest, LoadsEachKindByItsExtension) {
    for (const GoodFixture& f : kGoodFixtures) {
        SCOPED_TRACE(f.file);
        const Picture picture = LoadPictureFile(fs::path(QUOM_TEST_FIXTURES) / f.file, f.file);
        EXPECT_EQ(picture.kind, f.kind);
        EXPECT_EQ(picture.width, f.width);
        EXPECT_EQ(picture.height, f.height);
    }
}

TEST_F(PictureFileTest, LoadFailuresSayWhatWentWrong) {
    WriteBytes(folder_ / "bitmap.ico", Fixture("bitmap_24bit.bmp"));
    WriteBytes(folder_ / "house", Fixture("bitmap_24bit.bmp"));
    fs::create_directory(folder_ / "folder.bmp");
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"missing.bmp", "Cannot open file missing.bmp"},
        // The extension is judged before the file is looked for.
        {"missing.gif", "Unknown picture file extension (.gif)"},
        {"house", "Unknown picture file extension (.)"},
        {"folder.bmp", "Cannot open file folder.bmp"},
        // The extension, not the content, decides the kind.
        {"bitmap.ico", "Icon image is not valid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorOf([&] { LoadPictureFile(folder_ / c.name, c.name); }), c.message);
    }
}

TEST_F(PictureFileTest, WrittenPictureReadsBackUnchanged) {
    const Picture& placeholder = PlaceholderPicture();
    WritePictureFile(placeholder, folder_ / "placeholder.bmp");
    EXPECT_EQ(LoadPictureFile(folder_ / "placeholder.bmp", "placeholder.bmp"), placeholder);
}

TEST_F(PictureFileTest, WriteReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    const Picture icon = PictureFromBytes(PictureKind::Icon, Fixture("icon_16_32.ico"));
    WriteBytes(folder_ / "same.bmp", std::string(10000, 'x'));
    // Written in the format of its kind, whatever the name says.
    WritePictureFile(icon, folder_ / "same.bmp");
    EXPECT_EQ(ReadBytes(folder_ / "same.bmp"), icon.bytes);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"same.bmp"});
}

TEST_F(PictureFileTest, WriteFailureNamesTheFullPath) {
    const fs::path in_missing_folder = folder_ / "missing" / "house.bmp";
    EXPECT_EQ(ErrorOf([&] { WritePictureFile(PlaceholderPicture(), in_missing_folder); }),
              "Cannot create file " + in_missing_folder.string());
}

// A folder standing where the file should go must not be replaced, and the attempt
// must not leave a temporary file behind.
TEST_F(PictureFileTest, FailedWriteLeavesTheFolderAsItWas) {
    fs::create_directory(folder_ / "house.bmp");
    WriteBytes(folder_ / "house.bmp" / "inside.txt", "kept");
    EXPECT_EQ(ErrorOf([&] { WritePictureFile(PlaceholderPicture(), folder_ / "house.bmp"); }),
              "Cannot create file " + (folder_ / "house.bmp").string());
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"house.bmp"});
    EXPECT_EQ(ReadBytes(folder_ / "house.bmp" / "inside.txt"), "kept");
}

}  // namespace
}  // namespace quom
