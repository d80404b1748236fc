// Reading and writing page files: the integer conversion, line splitting, damaged
// files, round trips, Save's naming rule and atomic replacement.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>

#include "int_conversion.h"
#include "line_reader.h"
#include "page.h"
#include "page_file.h"
#include "save_target.h"

namespace {

namespace fs = std::filesystem;
using quom::ItemKind;
using quom::Page;
using quom::PageLineAt;
using quom::PageProperty;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "qmx-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

TEST(IntegerConversion, AcceptsAndRefuses) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"329", 329},
        {"-200", -200},
        {"+7", 7},
        {"   12", 12},          // leading blanks
        {"12 ", std::nullopt},  // trailing blank: the whole line must be used
        {"", std::nullopt},     // empty line
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x10", 16},
        {"-$10", -16},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"-2147483649", std::nullopt},
        {"-2147483633", -2147483633},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", std::nullopt},  // does not fit a signed 32-bit value
        {"-$80000000", INT32_MIN},
        {"99999999999999999999", std::nullopt},
        {"1e3", std::nullopt},
        {"\t5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quom::ParseInteger(c.text), c.value) << '"' << c.text << '"';

    try {
        quom::ConvertInteger("12a");
        FAIL();
    } catch (const quom::QuomError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
}

TEST(LineReader, SplitsAtCrAndStopsAtEndOfFileByte) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;  // then empty lines for ever
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},          // CR alone ends a line
        {"a\nb\nc\n", {"a\nb\nc\n"}},    // lone LF is data
        {"a\r\n\nb\r\n", {"a", "\nb"}},  // only one LF after the CR is skipped
        {"a\r\nb", {"a", "b"}},          // the last line needs no end
        {"a\r\nb\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"\x1A"
         "a\r\n",
         {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        quom::LineReader reader(c.bytes);
        for (const std::string& line : c.lines) EXPECT_EQ(reader.Next(), line);
        EXPECT_EQ(reader.Next(), "");
        EXPECT_EQ(reader.Next(), "");
        EXPECT_TRUE(reader.AtEnd());
    }
}

// The default page's 343 lines, to damage one by one.
std::vector<std::string> DefaultLines() {
    Page page;
    page.Reset();
    std::vector<std::string> lines;
    for (int n = 1; n <= quom::kPageFileLines; ++n)
        lines.push_back(quom::PageLineText(page, PageLineAt(n)));
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const char* end = "\r\n") {
    std::string out;
    for (const std::string& line : lines) out += line + end;
    return out;
}

TEST(PageReader, StopsAtTheFirstBadLineWithEverythingBeforeItApplied) {
    struct Check {
        int line;
        std::string text;  // what the page holds for that line after the read
    };
    struct Case {
        const char* what;
        std::function<std::string(std::vector<std::string>)> make;
        int failing_line;  // 0: reads cleanly
        std::string message;
        std::vector<Check> checks;
    };
    const Case cases[] = {
        {"bad number",
         [](auto l) {
             l[0] = "Go";
             l[20] = "abc";
             return Join(l);
         },
         21,
         "'abc' is not a valid integer value",
         {{1, "Go"}, {21, "320"}}},
        {"empty number line",
         [](auto l) {
             l[119] = "Label19";
             l[120] = "";
             return Join(l);
         },
         121,
         "'' is not a valid integer value",
         {{120, "Label19"}, {121, "329"}}},
        {"trailing blank",
         [](auto l) {
             l[121] = "241 ";
             return Join(l);
         },
         122,
         "'241 ' is not a valid integer value",
         {}},
        {"out of range",
         [](auto l) {
             l[152] = "2147483648";
             return Join(l);
         },
         153,
         "'2147483648' is not a valid integer value",
         {}},
        {"leading blanks and hex forms convert",
         [](auto l) {
             l[120] = "  400";
             l[121] = "$100";
             l[152] = "-$7FFFFFF1";
             return Join(l);
         },
         0,
         "",
         {{121, "400"}, {122, "256"}, {153, "-2147483633"}, {143, "-2147483633"}}},
        {"LF-only line ends: the whole file is Button1's caption",
         [](auto l) {
             l[0] = "Go";
             return Join(l, "\n");
         },
         21,
         "'' is not a valid integer value",
         {{2, ""}, {20, ""}}},
        {"short file: empty lines after the end",
         [](auto l) {
             l.resize(10);
             l[9] = "Last";
             return Join(l);
         },
         21,
         "'' is not a valid integer value",
         {{10, "Last"}, {11, ""}, {20, ""}, {21, "320"}}},
        {"end-of-file byte inside a line",
         [](auto l) {
             l[24] =
                 "3\x1A"
                 "20";
             return Join(l);
         },
         26,
         "'' is not a valid integer value",
         {{25, "3"}, {26, "392"}}},
        {"slot without extension",
         [](auto l) {
             l[110] = "house";
             return Join(l);
         },
         111,
         "Unknown picture file extension (.)",
         {{110, "NONE();"}, {111, "Label10"}}},
        {"slot naming a missing picture",
         [](auto l) {
             l[313] = "gone.bmp";
             return Join(l);
         },
         314,
         "Cannot open file gone.bmp",
         {{313, "NONE();"}, {314, "Label20"}}},
        {"slot with a folder part",
         [](auto l) {
             l[110] = "../up.bmp";
             return Join(l);
         },
         111,
         "Picture file ../up.bmp is not in the page's folder",
         {{110, "NONE();"}, {111, "Label10"}}},
        {"page size below zero is taken as zero",
         [](auto l) {
             l[120] = "-5";
             l[121] = "-2147483648";
             return Join(l);
         },
         0,
         "",
         {{121, "0"}, {122, "0"}}},
        {"second-bank colour after the page colour",
         [](auto l) {
             l[152] = "255";
             l[274] = "255";
             return Join(l);
         },
         0,
         "",
         {{143, "255"}, {274, "-2147483633"}, {275, "255"}}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page page;
        page.Reset();
        std::string bytes = c.make(DefaultLines());
        if (c.failing_line == 0) {
            EXPECT_NO_THROW(quom::ReadPageBytes(page, bytes, folder.path()));
        } else {
            try {
                quom::ReadPageBytes(page, bytes, folder.path());
                ADD_FAILURE() << "read succeeded";
            } catch (const quom::PageReadError& e) {
                EXPECT_EQ(e.line_number(), c.failing_line);
                EXPECT_EQ(std::string(e.what()), c.message);
            }
        }
        for (const Check& check : c.checks)
            EXPECT_EQ(quom::PageLineText(page, PageLineAt(check.line)), check.text)
                << "line " << check.line;
    }
}

TEST(PageReader, LfOnlyFileBecomesTheFirstCaption) {
    Page page;
    std::string bytes = "Go\nLabel1\n320\n";
    EXPECT_THROW(quom::ReadPageBytes(page, bytes, "."), quom::PageReadError);
    EXPECT_EQ(page.Item(ItemKind::Button, 1).caption, bytes);
}

TEST(PageReader, MissingFileIsFileNotFound) {
    TempFolder folder;
    Page page;
    try {
        quom::ReadPageFile(page, folder.path() / "page", folder.path());
        FAIL();
    } catch (const quom::IoError& e) {
        EXPECT_EQ(e.code(), quom::kIoFileNotFound);
        EXPECT_STREQ(e.what(), "File not found");
    }
}

// A page with every stored property set at random, texts included.
Page RandomPage(std::mt19937& rng) {
    std::uniform_int_distribution<std::int32_t> any_int(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<int> small(-1000, 1000);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> byte(1, 255);
    auto text = [&] {
        std::string s;
        for (int n = length(rng); n > 0; --n) {
            char c = static_cast<char>(byte(rng));
            if (c != '\r' && c != '\n' && c != '\x1A') s += c;
        }
        return s;
    };
    Page page;
    page.width = quom::PageExtent(small(rng));
    page.height = quom::PageExtent(any_int(rng));
    for (quom::PageItem& item : page.pool()) {
        item.left = any_int(rng);
        item.top = small(rng);
        item.action = text();
        if (item.kind == ItemKind::Picture) continue;
        item.caption = text();
        item.font_size = small(rng);
        item.width = any_int(rng);
        item.height = small(rng);
        if (item.kind == ItemKind::Label && rng() % 3 != 0) item.SetColour(any_int(rng));
    }
    page.SetColour(rng() % 2 ? any_int(rng) : quom::kButtonFaceColour);
    return page;
}

TEST(PageFile, SaveOpenSaveKeepsEveryLine) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 50; ++round) {
        Page original = RandomPage(rng);
        std::string first = quom::FormatPageFile(original);

        Page reopened;  // as the editor holds it right after start
        reopened.Reset();
        quom::ReadPageBytes(reopened, first, ".");
        std::string second = quom::FormatPageFile(reopened);

        // The one difference the colour rule allows: a first-bank label stored with
        // the colour it already has keeps following and takes the page colour.
        for (int n = 1; n <= quom::kPageFileLines; ++n) {
            quom::PageLine line = PageLineAt(n);
            std::string expected = quom::PageLineText(original, line);
            if (line.property == PageProperty::Colour && line.id <= quom::kBankSize &&
                expected == std::to_string(quom::kButtonFaceColour))
                expected = std::to_string(original.colour());
            ASSERT_EQ(quom::PageLineText(reopened, line), expected)
                << "round " << round << " line " << n;
        }
        ASSERT_EQ(quom::FormatPageFile(reopened), second);
    }
}

TEST(PageFile, PicturesAreWrittenUnderTheirSlotsAndReadBack) {
    TempFolder folder;
    Page page;
    page.Reset();
    page.Item(ItemKind::Picture, 1).slot_text = "house.bmp";
    page.Item(ItemKind::Picture, 20).slot_text = "tree.bmp";  // hidden, still written
    quom::WritePagePictures(page, folder.path());
    quom::WritePageFile(page, folder.path() / "page.qmx");

    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        written.insert(entry.path().filename());
    EXPECT_EQ(written, (std::set<std::string>{"house.bmp", "tree.bmp", "page.qmx"}));

    Page reopened;
    reopened.Reset();
    quom::ReadPageFile(reopened, folder.path() / "page.qmx", folder.path());
    EXPECT_EQ(reopened.Item(ItemKind::Picture, 20).slot_text, "tree.bmp");
    EXPECT_EQ(reopened.Item(ItemKind::Picture, 20).picture, quom::PlaceholderPicture());
}

// A page from elsewhere can name a picture outside its folder; such a page must not
// make Save or Test write there, nor write some of its pictures before refusing.
TEST(PageFile, SlotOutsideTheFolderWritesNoPictureAnywhere) {
    TempFolder folder;
    const fs::path page_folder = folder.path() / "page";
    fs::create_directories(page_folder);
    WriteBytes(folder.path() / "victim.bmp", "keep me");
    Page page;
    page.Reset();
    page.Item(ItemKind::Picture, 1).slot_text = "fine.bmp";
    page.Item(ItemKind::Picture, 2).slot_text = "../victim.bmp";
    try {
        quom::WritePagePictures(page, page_folder);
        FAIL() << "pictures written";
    } catch (const quom::QuomError& e) {
        EXPECT_STREQ(e.what(), "Picture file ../victim.bmp is not in the page's folder");
    }
    EXPECT_EQ(ReadBytes(folder.path() / "victim.bmp"), "keep me");
    EXPECT_TRUE(fs::is_empty(page_folder));
}

TEST(SaveTarget, AddsTheExtensionUnlessTheTypedNameExists) {
    struct Case {
        const char* typed;
        std::set<std::string> existing;
        const char* file;
        bool confirm;
    };
    const Case cases[] = {
        {"page", {}, "page.qmx", false},
        {"page.qmx", {}, "page.qmx.qmx", false},
        {"page.qmx", {"page.qmx"}, "page.qmx", true},
        {"page", {"page"}, "page", true},
        // Typing page while page.qmx exists asks before replacing page.qmx.
        {"page", {"page.qmx"}, "page.qmx", true},
    };
    for (const Case& c : cases) {
        quom::SaveTarget target = quom::ResolveSaveTarget(
            c.typed, [&](const std::string& f) { return c.existing.count(f) > 0; });
        EXPECT_EQ(target.file, c.file) << c.typed;
        EXPECT_EQ(target.confirm, c.confirm) << c.typed;
    }
}

TEST(AtomicSave, AFailedWriteLeavesTheEarlierFileUntouched) {
    TempFolder folder;
    fs::path target = folder.path() / "page.qmx";
    WriteBytes(target, "the earlier page\r\n");

    // A file size limit makes the write fail part-way, as a full disk would.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);

    Page page;
    page.Reset();
    bool failed = false;
    try {
        quom::WritePageFile(page, target);
    } catch (const quom::IoError& e) {
        failed = true;
        EXPECT_EQ(e.code(), quom::kIoDiskFull);
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadBytes(target), "the earlier page\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}

TEST(AtomicSave, RefusalsCarryTheirIoErrors) {
    TempFolder folder;
    fs::create_directory(folder.path() / "dir.qmx");
    struct Case {
        fs::path target;
        int code;
    };
    const Case cases[] = {
        {folder.path() / "missing" / "page.qmx", quom::kIoInvalidFilename},
        {folder.path() / "dir.qmx", quom::kIoAccessDenied},
    };
    Page page;
    for (const Case& c : cases) {
        try {
            quom::WritePageFile(page, c.target);
            ADD_FAILURE() << c.target;
        } catch (const quom::IoError& e) {
            EXPECT_EQ(e.code(), c.code) << c.target;
        }
    }
    if (::geteuid() != 0) {  // root may write anything
        fs::path locked = folder.path() / "locked.qmx";
        WriteBytes(locked, "old");
        fs::permissions(locked, fs::perms::owner_read);
        EXPECT_THROW(quom::WritePageFile(page, locked), quom::IoError);
        EXPECT_EQ(ReadBytes(locked), "old");
    }
}

}  // namespace
