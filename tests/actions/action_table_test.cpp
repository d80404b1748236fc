// The chooser table checked row by row against a listing written out by hand: entry
// texts in order, every prompt's caption, line and default, and what each entry
// writes when its prompts are cancelled and when they are answered.

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "action_table.h"
#include "compose_action.h"
#include "scripted_prompt.h"

namespace quom::test {
namespace {

struct ExpectedEntry {
    std::string entry;
    std::vector<AskedPrompt> prompts;
    std::string with_defaults;  // every prompt cancelled
    std::string with_answers;   // prompts answered "A", then "B"

    friend void PrintTo(const ExpectedEntry& c, std::ostream* os) { *os << c.entry; }
};

const std::vector<ExpectedEntry>& Listing() {
    static const std::vector<ExpectedEntry> listing = {
        {"NONE", {}, "NONE();", "NONE();"},
        {"Start Page",
         {{"FILENAME", "Enter the filename of the page.", "page1.qmx"}},
         "StartPage(page1.qmx);",
         "StartPage(A);"},
        {"Play Wave",
         {{"FILENAME", "Enter the sound filename.", "sound1.wav"}},
         "Wav(sound1.wav);",
         "Wav(A);"},
        {"Wait Wave",
         {{"FILENAME", "Enter the sound filename.", "sound1.wav"}},
         "WaitWav(sound1.wav);",
         "WaitWav(A);"},
        {"Play Midi",
         {{"FILENAME", "Enter the midi filename.", "midi1.mid"}},
         "Midi(midi1.mid);",
         "Midi(A);"},
        {"Pause Midi", {}, "PauseMidi();", "PauseMidi();"},
        {"Stop Midi", {}, "StopMidi();", "StopMidi();"},
        {"Start Program",
         {{"FILENAME", "Enter the filename of the program.", "calc.exe"}},
         "Shell(calc.exe);",
         "Shell(A);"},
        {"Eject CD", {}, "CDEject();", "CDEject();"},
        {"Play CD", {}, "PlayCD();", "PlayCD();"},
        {"Stop CD", {}, "StopCD();", "StopCD();"},
        {"Next song", {}, "NextCD();", "NextCD();"},
        {"Previous song", {}, "PrevCD();", "PrevCD();"},
        {"Minimize Window", {}, "Minimize();", "Minimize();"},
        {"Show Message",
         {{"Message:", "Type the message to show.", "Hi. there"}},
         "Beep();Message(Hi. there);",
         "Beep();Message(A);"},
        {"Copy File",
         {{"File to copy:", "Type here the filename to copy", R"(C:\test\123.txt)"},
          {"File to copy:", "Type here the filename with the new directory", R"(C:\123.txt)"}},
         R"(Copy1(C:\test\123.txt);Copy2(C:\123.txt);CopyDone();)",
         "Copy1(A);Copy2(B);CopyDone();"},
        {"Rename File",
         {{"File to rename:", "Type here the filename to rename", R"(C:\test\123.txt)"},
          {"File to rename:", "Type here the new filename", R"(C:\test\321.txt)"}},
         R"(Copy1(C:\test\123.txt);Copy2(C:\test\321.txt);RenameDone();)",
         "Copy1(A);Copy2(B);RenameDone();"},
        {"Delete File",
         {{"Filename:", "Type the filename to delete.", R"(C:\temp.qev)"}},
         R"(Delete(C:\temp.qev);)",
         "Delete(A);"},
        {"Make Directory",
         {{"Directory:", "Type the name of the directory to create.", R"(C:\quom)"}},
         R"(Mkdir(C:\quom);)",
         "Mkdir(A);"},
        {"Beep", {}, "Beep();", "Beep();"},
        {"Wait",
         {{"Time", "Enter the time of waiting in ms. 1 sec. = 1000ms. ", "250"}},
         "Wait(250);",
         "Wait(A);"},
        {"Exit", {}, "Exit();", "Exit();"},
    };
    return listing;
}

TEST(ActionTableTest, ListsTheEntriesInChooserOrder) {
    const auto& listing = Listing();
    ASSERT_EQ(ActionTable.size(), listing.size());
    for (std::size_t i = 0; i < listing.size(); ++i) {
        EXPECT_EQ(ActionTable[i].entry, listing[i].entry) << "row " << i;
    }
}

class ActionTableRowTest : public ::testing::TestWithParam<ExpectedEntry> {};

TEST_P(ActionTableRowTest, CancelledPromptsWriteTheDefaults) {
    const ExpectedEntry& expected = GetParam();
    ScriptedPrompt prompt;  // an empty script cancels every prompt
    auto text = ComposeAction(expected.entry, prompt);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, expected.with_defaults);
    EXPECT_EQ(prompt.asked(), expected.prompts);
}

TEST_P(ActionTableRowTest, AnswersStandWhereTheDefaultsWould) {
    const ExpectedEntry& expected = GetParam();
    ScriptedPrompt prompt({"A", "B"});
    auto text = ComposeAction(expected.entry, prompt);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, expected.with_answers);
    EXPECT_EQ(prompt.asked(), expected.prompts);
}

std::string RowName(const ::testing::TestParamInfo<ExpectedEntry>& info) {
    std::string name;
    for (char c : info.param.entry) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryEntry, ActionTableRowTest, ::testing::ValuesIn(Listing()), RowName);

}  // namespace
}  // namespace quom::test
