// Path and text routines of the stub.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "SFXgbls.h"
#include "SFXmisc.h"
#include "path_parts.h"

namespace {

TEST(PathRoutines, FolderAndNameOfPath) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/tmp/x", "/tmp", "x"}, {"/x", "/", "x"},    {"a/b/c.txt", "a/b", "c.txt"},
        {"bare", "", "bare"},    {"dir/", "dir", ""}, {"/", "/", ""},
        {"a//b", "a/", "b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Folder(c.path), c.folder) << c.path;
        EXPECT_EQ(Name(c.path), c.name) << c.path;
    }
}

TEST(PathRoutines, NameOfPathKeepsAtMost255Characters) {
    std::string path = "/d/" + std::string(300, 'n');
    EXPECT_EQ(Name(path.c_str()), std::string(255, 'n'));
}

TEST(PathRoutines, EntryNamesThatStayInsideTheFolder) {
    struct Case {
        const char* name;
        bool safe;
    };
    const Case cases[] = {
        {"a.txt", true},
        {"dir/sub/f", true},
        {"dir/", true},
        {"./a", true},
        {"a..b", true},
        {"..a/b..", true},
        {"", false},
        {"/etc/passwd", false},
        {"../x", false},
        {"a/../../x", false},
        {"a/..", false},
        {"..", false},
        {"C:x", false},
        {"c:/x", false},
        {"a:b", false},
        {"\\\\server\\share", false},
        {"a\\..\\..\\x", false},
        {"\\x", false},
    };
    for (const Case& c : cases) {
        char name[kTextSize];
        CopyText(name, c.name, sizeof name);
        NormaliseEntryName(name);
        EXPECT_EQ(IsSafeEntryName(name), c.safe) << c.name;
    }
}

class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tovo-unit-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + root_ + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string root_;
};

TEST_F(ScratchFolder, CreateFolderChainMakesEveryMissingFolder) {
    const std::string deep = root_ + "/a/b/c/";
    CreateFolderChain(deep.c_str());
    EXPECT_TRUE(PathExists((root_ + "/a/b/c/").c_str()));
    EXPECT_TRUE(PathExists((root_ + "/a/b/c").c_str()));
    EXPECT_FALSE(PathExists((root_ + "/a/b/c/d").c_str()));
}

TEST_F(ScratchFolder, PathEndingInSeparatorMustBeAFolder) {
    const std::string file = root_ + "/f";
    FILE* f = std::fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(PathExists(file.c_str()));
    EXPECT_FALSE(PathExists((file + "/").c_str()));
}

TEST_F(ScratchFolder, LinksBelowTheBaseAreFound) {
    ASSERT_EQ(mkdir((root_ + "/real").c_str(), 0777), 0);
    ASSERT_EQ(symlink((root_ + "/real").c_str(), (root_ + "/link").c_str()), 0);
    const char* inside = "real/x/y";
    const char* through = "link/x/y";
    EXPECT_FALSE(HasLinkBelow(root_.c_str(), inside, 6));
    EXPECT_TRUE(HasLinkBelow(root_.c_str(), through, 6));
    EXPECT_TRUE(HasLinkBelow(root_.c_str(), "link", 4));
    EXPECT_FALSE(HasLinkBelow(root_.c_str(), "link", 0));  // the entry itself is replaced
}

TEST(TextRoutines, ReplaceAllDoesNotSearchItsReplacement) {
    // Regression: a folder whose own name holds the placeholder made the replacement
    // repeat without end.
    char text[kTextSize] = "><run.exe|><data";
    EXPECT_TRUE(ReplaceAll(text, sizeof text, "><", "/x><y/"));
    EXPECT_STREQ(text, "/x><y/run.exe|/x><y/data");
}

TEST(TextRoutines, ReplaceAllStopsAtTheBufferSize) {
    char text[16] = "><><><";
    EXPECT_FALSE(ReplaceAll(text, sizeof text, "><", "abcdef"));
    EXPECT_STREQ(text, "abcdefabcdef");
}

TEST(TextRoutines, CommandWords) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {"  a  b\tc ", {"a", "b", "c"}},
        {"\"two words\" x", {"two words", "x"}},
        {"say\\\"hi\\\" a\"b c\"d", {"say\"hi\"", "ab cd"}},
        {"path\\to\\file", {"path\\to\\file"}},
    };
    for (const Case& c : cases) {
        char storage[256];
        char* words[8];
        const int n = SplitCommandWords(c.line, storage, sizeof storage, words, 8);
        ASSERT_EQ(n, static_cast<int>(c.words.size())) << c.line;
        for (int i = 0; i < n; ++i) EXPECT_EQ(words[i], c.words[i]) << c.line;
        EXPECT_EQ(words[n], nullptr);
    }
}

TEST(TextRoutines, CommandWordsWithThePlaceholderPutInAfterSplitting) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"><a.txt", {"/my \"kit\"/a.txt"}},
        {"x ><b \"><c d\"", {"x", "/my \"kit\"/b", "/my \"kit\"/c d"}},
        {"<> >", {"<>", ">"}},
    };
    for (const Case& c : cases) {
        char storage[256];
        char* words[8];
        const int n = SplitCommandWords(c.line, storage, sizeof storage, words, 8, "/my \"kit\"/");
        ASSERT_EQ(n, static_cast<int>(c.words.size())) << c.line;
        for (int i = 0; i < n; ++i) EXPECT_EQ(words[i], c.words[i]) << c.line;
    }
}

TEST(TextRoutines, CommandWordsStayInsideTheirStorage) {
    char storage[8];
    char* words[4];
    const int n = SplitCommandWords("abcdefghijk lmn opq rst", storage, sizeof storage, words, 4);
    EXPECT_LE(n, 3);
    for (int i = 0; i < n; ++i) EXPECT_LT(words[i], storage + sizeof storage);
}

TEST(TextRoutines, DosTimes) {
    os::LocalTime t;
    // 2020-05-06 10:00:58.
    ASSERT_TRUE(DosTimeToLocal((40 << 9) | (5 << 5) | 6, (10 << 11) | 29, &t));
    EXPECT_EQ(t.year, 2020);
    EXPECT_EQ(t.month, 5);
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.hour, 10);
    EXPECT_EQ(t.minute, 0);
    EXPECT_EQ(t.second, 58);
    EXPECT_FALSE(DosTimeToLocal(0, 0, &t));                    // month 0
    EXPECT_FALSE(DosTimeToLocal((13 << 5) | 1, 0, &t));        // month 13
    EXPECT_FALSE(DosTimeToLocal((1 << 5) | 1, 24 << 11, &t));  // hour 24
    EXPECT_FALSE(DosTimeToLocal((1 << 5) | 1, 60 << 5, &t));   // minute 60
}

}  // namespace
