// Composing chooser entries with scripted answers: cancelled prompts, answers taken
// as typed, both prompts of the copy and rename entries, and entry texts that match
// no row.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "compose_action.h"
#include "scripted_prompt.h"

namespace quom::test {
namespace {

constexpr std::nullopt_t kCancel = std::nullopt;

struct ComposeCase {
    const char* what;
    std::string entry;
    std::vector<std::optional<std::string>> answers;
    std::string expected;
    std::size_t expected_prompts;

    friend void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.what; }
};

class ComposeActionTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeActionTest, WritesTheAnswersIntoTheEntrysStatements) {
    const ComposeCase& c = GetParam();
    ScriptedPrompt prompt(c.answers);
    auto text = ComposeAction(c.entry, prompt);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.expected);
    EXPECT_EQ(prompt.asked().size(), c.expected_prompts);
}

const std::string kLongestBoxAnswer(255, 'x');

INSTANTIATE_TEST_SUITE_P(
    Answers, ComposeActionTest,
    ::testing::Values(
        ComposeCase{"StartPageCancelled", "Start Page", {kCancel}, "StartPage(page1.qmx);", 1},
        ComposeCase{"CopyBothCancelled",
                    "Copy File",
                    {kCancel, kCancel},
                    R"(Copy1(C:\test\123.txt);Copy2(C:\123.txt);CopyDone();)",
                    2},
        // Cancelling the first prompt does not skip the second.
        ComposeCase{"CopyFirstCancelled",
                    "Copy File",
                    {kCancel, "b.txt"},
                    R"(Copy1(C:\test\123.txt);Copy2(b.txt);CopyDone();)",
                    2},
        ComposeCase{"RenameFirstEmptied",
                    "Rename File",
                    {"", kCancel},
                    R"(Copy1();Copy2(C:\test\321.txt);RenameDone();)",
                    2},
        ComposeCase{"RenameAnswered",
                    "Rename File",
                    {"a.txt", "b.txt"},
                    "Copy1(a.txt);Copy2(b.txt);RenameDone();",
                    2},
        ComposeCase{"MessageAnswered", "Show Message", {"Hello"}, "Beep();Message(Hello);", 1},
        ComposeCase{"WaveFieldCleared", "Play Wave", {""}, "Wav();", 1},
        ComposeCase{"WaitGivenAWord", "Wait", {"long"}, "Wait(long);", 1},
        ComposeCase{
            "BlanksAndCaseKept", "Start Program", {"  My Prog.EXE "}, "Shell(  My Prog.EXE );", 1},
        ComposeCase{"SeparatorsNotEscaped",
                    "Show Message",
                    {"a;b) \"c\""},
                    "Beep();Message(a;b) \"c\");",
                    1},
        ComposeCase{"LongestBoxAnswerWhole",
                    "Make Directory",
                    {kLongestBoxAnswer},
                    "Mkdir(" + kLongestBoxAnswer + ");",
                    1},
        ComposeCase{"NoPromptForFixedEntry", "Beep", {}, "Beep();", 0}),
    [](const auto& info) { return std::string(info.param.what); });

// A text that matches no row exactly is not an entry, and nothing may be asked for it:
// the chooser's field can hold any typed text.
class ComposeUnknownEntryTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ComposeUnknownEntryTest, ReportsNotFoundWithoutAsking) {
    ScriptedPrompt prompt;
    EXPECT_EQ(ComposeAction(GetParam(), prompt), std::nullopt);
    EXPECT_TRUE(prompt.asked().empty());
}

INSTANTIATE_TEST_SUITE_P(NotEntries, ComposeUnknownEntryTest,
                         ::testing::Values("", "beep", "Next Song", "START PAGE", "Start Page ",
                                           " Wait", "StartPage", "Copy", "NONE();",
                                           std::string("Beep\0", 5)));

}  // namespace
}  // namespace quom::test
