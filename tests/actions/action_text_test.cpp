// Splitting action texts into statement lines and joining lines back.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "action_text.h"

namespace quom::test {
namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    const char* what;
    std::string text;
    Lines lines;

    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.what; }
};

class SplitActionTextTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitActionTextTest, CutsAfterEverySemicolon) {
    EXPECT_EQ(SplitActionText(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitActionTextTest,
    ::testing::Values(
        SplitCase{"Empty", "", {}}, SplitCase{"OneStatement", "NONE();", {"NONE();"}},
        SplitCase{"ThreeStatements",
                  "NONE();Beep();Message(Hi);",
                  {"NONE();", "Beep();", "Message(Hi);"}},
        SplitCase{"FragmentAfterLastDropped", "Beep();Mess", {"Beep();"}},
        SplitCase{"NoSemicolonGivesNothing", "Wait(100)", {}},
        SplitCase{"SemicolonInsideArgument", "Message(a;b);", {"Message(a;", "b);"}},
        SplitCase{"UnfinishedStatementsRunTogether", "Wait(100)Beep();", {"Wait(100)Beep();"}},
        SplitCase{"BlanksKept", " Beep(); Wait(1) ;", {" Beep();", " Wait(1) ;"}},
        SplitCase{"BareSemicolons", ";;x;", {";", ";", "x;"}},
        SplitCase{"LineBreakAfterLastDropped", "Beep();\r\n", {"Beep();"}}),
    [](const auto& info) { return std::string(info.param.what); });

struct JoinCase {
    const char* what;
    Lines lines;
    std::string text;

    friend void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.what; }
};

class JoinActionTextTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinActionTextTest, ConcatenatesWithoutSeparator) {
    EXPECT_EQ(JoinActionText(GetParam().lines), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, JoinActionTextTest,
    ::testing::Values(
        JoinCase{"NoLines", {}, ""}, JoinCase{"OnlyEmptyLines", {"", ""}, ""},
        JoinCase{"EmptyLinesVanish", {"NONE();", "", "Beep();", ""}, "NONE();Beep();"},
        JoinCase{"LineWithoutSemicolonRunsOn", {"Wait(100)", "Beep();"}, "Wait(100)Beep();"},
        JoinCase{"ChooserLineOfThreeStatements",
                 {"NONE();", "Copy1(a.txt);Copy2(b.txt);CopyDone();"},
                 "NONE();Copy1(a.txt);Copy2(b.txt);CopyDone();"},
        JoinCase{"BlanksKept", {" Beep(); ", " Exit();"}, " Beep();  Exit();"},
        // The page file keeps an action text on one line; a line break left inside a
        // line would shift every line after it.
        JoinCase{"StrayLineBreaksDropped",
                 {"Beep();\r", "Wait(1);\n", "Ex\r\nit();"},
                 "Beep();Wait(1);Exit();"}),
    [](const auto& info) { return std::string(info.param.what); });

// Every text that ends with ";" comes back unchanged through the event editor's
// split and join, also when an argument holds ";".
class SplitJoinRoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SplitJoinRoundTripTest, GivesTheTextBack) {
    EXPECT_EQ(JoinActionText(SplitActionText(GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    TextsEndingInSemicolon, SplitJoinRoundTripTest,
    ::testing::Values("", "NONE();", "NONE();Beep();Message(Hi);", "Message(a;b);", "Message(;;);",
                      R"(Copy1(C:\test\123.txt);Copy2(C:\123.txt);CopyDone();)",
                      " Beep() ; Wait(250);", "Wait(100)Beep();", ";"));

TEST(SplitJoinRoundTripTest, LongInstallScriptSurvives) {
    // An install button of the size met in practice: 8 directories, 70 copies.
    std::string text;
    for (int i = 0; i < 8; ++i) text += "Mkdir(C:\\quom\\dir" + std::to_string(i) + ");";
    for (int i = 0; i < 70; ++i) {
        text += "Copy1(setup\\file" + std::to_string(i) + ".qmx);Copy2(C:\\quom\\dir" +
                std::to_string(i % 8) + "\\file" + std::to_string(i) + ".qmx);CopyDone();";
    }
    ASSERT_GT(text.size(), 4000u);
    Lines lines = SplitActionText(text);
    EXPECT_EQ(lines.size(), 8u + 3u * 70u);
    EXPECT_EQ(JoinActionText(lines), text);
}

}  // namespace
}  // namespace quom::test
