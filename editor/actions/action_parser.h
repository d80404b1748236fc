// Reading an action text as the player carries it out: a list of statements
// Name(argument); and the problems met on the way. The parser knows no statement
// name; whether a name means anything is for whoever runs the statements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quom {

struct ActionStatement {
    std::string name;
    std::string argument;  // exactly as written: untrimmed, no escapes
    std::size_t position;  // offset of the name's first character in the text

    friend bool operator==(const ActionStatement&, const ActionStatement&) = default;
};

enum class ActionProblemKind {
    NotAName,           // the text before "(" is not a name: empty, blanks, punctuation
    MissingOpenParen,   // a name (or fragment) ends without "("
    MissingCloseParen,  // "(" is never closed by ")"
    MissingSemicolon,   // ")" is not followed by ";"
};

struct ActionProblem {
    ActionProblemKind kind;
    std::size_t position;  // offset in the text where the statement starts

    friend bool operator==(const ActionProblem&, const ActionProblem&) = default;
};

struct ParsedAction {
    std::vector<ActionStatement> statements;
    std::vector<ActionProblem> problems;
};

// Reads text statement by statement. A name is letters, digits and "_", not starting
// with a digit. The argument runs from "(" to the first ")" that ends the statement:
// one followed by ";" and then the end of the text or the next statement (a name and
// "("), so ";", "(" and ")" inside an argument are part of it ("Message(a;b);" holds
// "a;b"); when a fragment that is no statement follows, the first ")" before a ";"
// ends it. Blanks and line breaks between statements are passed over. A statement with
// a problem is left out of the statements; reading goes on after its end, or after
// the next ";" when it has no "(".
ParsedAction ParseAction(std::string_view text);

// "missing \")\"" and the like, for messages.
std::string_view DescribeActionProblem(ActionProblemKind kind);

}  // namespace quom
