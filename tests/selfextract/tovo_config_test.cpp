// The configuration record and the command texts built from it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

std::vector<std::uint8_t> Record(std::uint8_t flags, const std::string& caption,
                                 const std::string& folder, const std::string& command,
                                 const std::string& message, int padding = 0) {
    std::vector<std::uint8_t> r = {'M', 'P', 'V', flags, 0x00, 0x01, 0, 0};
    for (const std::string* t : {&caption, &folder, &command, &message}) {
        r.push_back(static_cast<std::uint8_t>(t->size()));
        r.insert(r.end(), t->begin(), t->end());
    }
    r.insert(r.end(), padding, 0);
    r[6] = static_cast<std::uint8_t>(r.size());
    r[7] = static_cast<std::uint8_t>(r.size() >> 8);
    return r;
}

void ResetSettings() {
    std::strcpy(Caption, "PROGRAM");
    std::memset(DefaultFolder, 'x', sizeof DefaultFolder - 1);
    OverwriteModeId = 503;
}

TEST(ConfigRecord, TheShippedRecord) {
    ResetSettings();
    const auto r = Record(0xCC, "PROGRAM", "><", "><run.exe", "", 2);
    ASSERT_EQ(r.size(), 32u);
    ASSERT_TRUE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
    EXPECT_EQ(ArchiveStart, StubSize + 32);
    EXPECT_STREQ(DefaultFolder, "><");
    EXPECT_STREQ(Command, "><run.exe");
    EXPECT_TRUE(HasDefaultFolder);
    EXPECT_TRUE(HasCommand);
    EXPECT_FALSE(HasStartupMessage);
    EXPECT_FALSE(ShowRunCheckBox);
    EXPECT_FALSE(UserSelectsFiles);
    EXPECT_TRUE(HideOverwriteChoice);
    EXPECT_EQ(OverwriteModeId, 501);
    EXPECT_TRUE(SizeCheckEnabled);
    EXPECT_FALSE(ShowFinishedMessage);
}

TEST(ConfigRecord, FlagBits) {
    struct Case {
        std::uint8_t flags;
        int overwriteModeId;
        bool runBox, selects, hide, sizeCheck, finished;
    };
    const Case cases[] = {
        {0x00, 503, false, false, false, true, true}, {0x01, 503, true, false, false, true, true},
        {0x02, 503, false, true, false, true, true},  {0x04, 503, false, false, true, true, true},
        {0x08, 501, false, false, false, true, true}, {0x10, 502, false, false, false, true, true},
        {0x18, 503, false, false, false, true, true}, {0x20, 503, false, false, false, false, true},
        {0x40, 503, false, false, false, true, true}, {0x80, 503, false, false, false, true, false},
    };
    for (const Case& c : cases) {
        ResetSettings();
        const auto r = Record(c.flags, "", "", "", "");
        ASSERT_TRUE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
        EXPECT_EQ(OverwriteModeId, c.overwriteModeId) << int(c.flags);
        EXPECT_EQ(ShowRunCheckBox, c.runBox) << int(c.flags);
        EXPECT_EQ(UserSelectsFiles, c.selects) << int(c.flags);
        EXPECT_EQ(HideOverwriteChoice, c.hide) << int(c.flags);
        EXPECT_EQ(SizeCheckEnabled, c.sizeCheck) << int(c.flags);
        EXPECT_EQ(ShowFinishedMessage, c.finished) << int(c.flags);
    }
}

TEST(ConfigRecord, EmptyTexts) {
    ResetSettings();
    std::strcpy(Command, "stale");
    const auto r = Record(0, "", "", "", "");
    ASSERT_TRUE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
    EXPECT_STREQ(Caption, "PROGRAM");  // left as it was
    EXPECT_FALSE(HasDefaultFolder);
    EXPECT_STREQ(Command, "");  // terminated even when empty
    EXPECT_FALSE(HasCommand);
}

TEST(ConfigRecord, EveryCutInsideTheRecordIsRefused) {
    // Regression: a payload cut inside the record was read as settings.
    const auto r = Record(0, "Caption", "/folder", "cmd|args", "\x02Sure?");
    for (std::uint32_t size = 0; size < r.size(); ++size) {
        EXPECT_FALSE(ApplyConfigRecord(r.data(), size)) << size;
    }
    EXPECT_TRUE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
}

TEST(ConfigRecord, WrongMagicOrSizeTooSmallIsRefused) {
    auto r = Record(0, "a", "b", "c", "d");
    r[6] = static_cast<std::uint8_t>(r.size() - 1);
    EXPECT_FALSE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
    r = Record(0, "a", "b", "c", "d");
    r[2] = 'X';
    EXPECT_FALSE(ApplyConfigRecord(r.data(), static_cast<std::uint32_t>(r.size())));
}

TEST(Command, PartsAndRunCaption) {
    struct Case {
        const char* command;
        const char* extractDir;
        const char* program;
        const char* parameters;
        const char* caption;
    };
    const Case cases[] = {
        {"><run.exe", "/tmp", "/tmp/run.exe", "", "After extraction, run : run.exe "},
        {"><run.exe", "/tmp/", "/tmp/run.exe", "", "After extraction, run : run.exe "},
        {"/bin/sh|><setup.sh -q", "/pk", "/bin/sh", "/pk/setup.sh -q",
         "After extraction, run : sh setup.sh -q"},
        {"><SETUP.Inf|.ntx86", "/pk", "/pk/SETUP.Inf", ".ntx86",
         "After extraction, install : SETUP.Inf .ntx86"},
        {"a|b|c", "/pk", "a", "b|c", "After extraction, run : a b|c"},
    };
    for (const Case& c : cases) {
        std::strcpy(Command, c.command);
        std::strcpy(ExtractDir, c.extractDir);
        char text[2 * kTextSize];
        GetCommandPart(1, text, kTextSize);
        EXPECT_STREQ(text, c.program) << c.command;
        GetCommandPart(2, text, kTextSize);
        EXPECT_STREQ(text, c.parameters) << c.command;
        BuildRunCaption(text, sizeof text);
        EXPECT_STREQ(text, c.caption) << c.command;
        EXPECT_TRUE(EndsWith(ExtractDir, '/'));  // kept from here on
    }
}

TEST(Command, InfFiles) {
    EXPECT_TRUE(IsInfFile("setup.inf"));
    EXPECT_TRUE(IsInfFile("/x/SETUP.Inf"));
    EXPECT_TRUE(IsInfFile(".INF"));
    EXPECT_FALSE(IsInfFile("setup.ini"));
    EXPECT_FALSE(IsInfFile("inf"));
    EXPECT_FALSE(IsInfFile("setupxinf"));
}

TEST(Command, ShortProgramPartStartsNothing) {
    HasCommand = true;
    std::strcpy(Command, "a.ex");
    std::strcpy(ExtractDir, "/tmp");
    EXPECT_FALSE(RunAfterExtraction(true));
    EXPECT_TRUE(RunAfterExtraction(false));  // not asked to run
    HasCommand = false;
    EXPECT_TRUE(RunAfterExtraction(true));
}

}  // namespace
