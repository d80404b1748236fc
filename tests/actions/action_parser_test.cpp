// Reading action texts into statements, as the player does.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "action_parser.h"
#include "action_table.h"
#include "action_vocabulary.h"
#include "compose_action.h"
#include "scripted_prompt.h"

namespace quom::test {
namespace {

using Kind = ActionProblemKind;
using Statements = std::vector<ActionStatement>;
using Problems = std::vector<ActionProblem>;

struct ParseCase {
    const char* what;
    std::string text;
    Statements statements;
    Problems problems;

    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.what; }
};

class ParseActionTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseActionTest, GivesStatementsAndProblems) {
    const ParsedAction parsed = ParseAction(GetParam().text);
    EXPECT_EQ(parsed.statements, GetParam().statements);
    EXPECT_EQ(parsed.problems, GetParam().problems);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, ParseActionTest,
    ::testing::Values(
        ParseCase{"Empty", "", {}, {}}, ParseCase{"OnlyBlanks", " \r\n", {}, {}},
        ParseCase{"None", "NONE();", {{"NONE", "", 0}}, {}},
        ParseCase{"BackToBack",
                  "Beep();Message(Hello);StartPage(exit.qmx);",
                  {{"Beep", "", 0}, {"Message", "Hello", 7}, {"StartPage", "exit.qmx", 22}},
                  {}},
        ParseCase{"ArgumentKeptAsWritten",
                  "Copy1( C:\\test\\123.txt );",
                  {{"Copy1", " C:\\test\\123.txt ", 0}},
                  {}},
        ParseCase{"SemicolonInsideArgument", "Message(a;b);", {{"Message", "a;b", 0}}, {}},
        ParseCase{"SemicolonParenInsideArgument",
                  "Message(wink ;) ok);Beep();",
                  {{"Message", "wink ;) ok", 0}, {"Beep", "", 20}},
                  {}},
        ParseCase{"ParenthesesInsideArgument",
                  "Message(f(x));Exit();",
                  {{"Message", "f(x)", 0}, {"Exit", "", 14}},
                  {}},
        // ");" not followed by a statement belongs to the argument.
        ParseCase{"StatementEndInsideArgument", "Message(a);b);", {{"Message", "a);b", 0}}, {}},
        ParseCase{"UnknownNamesAreStillStatements",
                  "beep();Foo(1);",
                  {{"beep", "", 0}, {"Foo", "1", 7}},
                  {}},
        ParseCase{"BlanksBetweenStatements",
                  " Beep();  Wait(5); ",
                  {{"Beep", "", 1}, {"Wait", "5", 10}},
                  {}},
        ParseCase{"LongText",
                  std::string("Mkdir(d);") + std::string(3000, 'x') + "(y);",
                  {{"Mkdir", "d", 0}, {std::string(3000, 'x'), "y", 9}},
                  {}}),
    [](const auto& info) { return std::string(info.param.what); });

INSTANTIATE_TEST_SUITE_P(
    Malformed, ParseActionTest,
    ::testing::Values(
        ParseCase{
            "FragmentAfterLast", "Beep();Mess", {{"Beep", "", 0}}, {{Kind::MissingOpenParen, 7}}},
        ParseCase{"NameWithoutParentheses",
                  "Beep;Exit();",
                  {{"Exit", "", 5}},
                  {{Kind::MissingOpenParen, 0}}},
        ParseCase{"MissingCloseParen",
                  "Beep();Message(Hi;",
                  {{"Beep", "", 0}},
                  {{Kind::MissingCloseParen, 7}}},
        ParseCase{"MissingSemicolonAtEnd", "Wait(100)", {}, {{Kind::MissingSemicolon, 0}}},
        ParseCase{"MissingSemicolonBetween",
                  "Wait(100)Beep();",
                  {{"Beep", "", 9}},
                  {{Kind::MissingSemicolon, 0}}},
        ParseCase{"MissingSemicolonBeforeBlank",
                  "Wait(1) Beep();",
                  {{"Beep", "", 8}},
                  {{Kind::MissingSemicolon, 0}}},
        ParseCase{"NoName", "(x);Beep();", {{"Beep", "", 4}}, {{Kind::NotAName, 0}}},
        ParseCase{"BlankInsideName", "Start Page(a.qmx);", {}, {{Kind::NotAName, 0}}},
        ParseCase{"NameStartsWithDigit", "1Beep();", {}, {{Kind::NotAName, 0}}},
        ParseCase{"EightBitName",
                  "B\xE9"
                  "ep();",
                  {},
                  {{Kind::NotAName, 0}}},
        ParseCase{"BareSemicolons",
                  ";;Beep();",
                  {{"Beep", "", 2}},
                  {{Kind::MissingOpenParen, 0}, {Kind::MissingOpenParen, 1}}},
        ParseCase{"OnlyOpenParen", "(", {}, {{Kind::NotAName, 0}}},
        ParseCase{"OnlyCloseParen", ")", {}, {{Kind::MissingOpenParen, 0}}},
        // With no statement after it, the first ");" ends the statement.
        ParseCase{"FragmentAfterArgumentPunctuation",
                  "Message(a);b);Mess",
                  {{"Message", "a", 0}},
                  {{Kind::MissingOpenParen, 11}, {Kind::MissingOpenParen, 14}}},
        ParseCase{"NulInsideArgument",
                  std::string("Message(a\0b);", 13),
                  {{"Message", std::string("a\0b", 3), 0}},
                  {}}),
    [](const auto& info) { return std::string(info.param.what); });

// Every text a chooser entry writes reads back as statements of the vocabulary with
// the answers as arguments, also answers holding the language's own punctuation.
TEST(ParseActionTest, ReadsWhatEveryChooserEntryWrites) {
    for (const std::string answer : {"a.txt", "x);y", "(1;2)", ":-) ok;"}) {
        for (const ActionEntry& row : ActionTable) {
            ScriptedPrompt prompt({answer, answer});
            const std::optional<std::string> text = ComposeAction(row.entry, prompt);
            ASSERT_TRUE(text.has_value());
            const ParsedAction parsed = ParseAction(*text);
            EXPECT_TRUE(parsed.problems.empty()) << row.entry << ": " << *text;
            std::size_t answered = 0;
            for (const ActionStatement& s : parsed.statements) {
                const ActionWord* word = FindActionWord(s.name);
                ASSERT_NE(word, nullptr) << s.name;
                if (word->argument != ArgumentKind::None) {
                    EXPECT_EQ(s.argument, answer) << *text;
                    ++answered;
                }
            }
            EXPECT_EQ(answered, row.arguments().size()) << *text;
        }
    }
}

}  // namespace
}  // namespace quom::test
