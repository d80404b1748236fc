#include "action_parser.h"

namespace quom {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsName(std::string_view text) {
    if (text.empty() || !IsNameStart(text.front())) return false;
    for (char c : text) {
        if (!IsNameChar(c)) return false;
    }
    return true;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

// Whether a statement may end right before at: nothing but blanks follows, or the
// next statement's name and "(".
bool AtStatementBoundary(std::string_view text, std::size_t at) {
    at = SkipBlanks(text, at);
    if (at == text.size()) return true;
    if (!IsNameStart(text[at])) return false;
    while (at < text.size() && IsNameChar(text[at])) ++at;
    return at < text.size() && text[at] == '(';
}

// Where the statement whose argument starts at `from` ends.
struct StatementEnd {
    std::size_t close = std::string_view::npos;  // its ")", npos when there is none
    std::size_t next = 0;                        // where reading goes on
    bool has_semicolon = false;
};

bool SemicolonAfter(std::string_view text, std::size_t close) {
    return close + 1 < text.size() && text[close + 1] == ';';
}

// The first ")" that ends the statement where the next one begins (or the text ends);
// when a stray fragment follows, so that none does, the first ")" before a ";", and
// else the first ")" at all.
StatementEnd FindStatementEnd(std::string_view text, std::size_t from) {
    for (std::size_t p = text.find(')', from); p != std::string_view::npos;
         p = text.find(')', p + 1)) {
        if (SemicolonAfter(text, p) && AtStatementBoundary(text, p + 2)) return {p, p + 2, true};
        if (AtStatementBoundary(text, p + 1)) return {p, p + 1, false};
    }
    const std::size_t first = text.find(')', from);
    for (std::size_t p = first; p != std::string_view::npos; p = text.find(')', p + 1)) {
        if (SemicolonAfter(text, p)) return {p, p + 2, true};
    }
    if (first != std::string_view::npos) return {first, first + 1, false};
    return {std::string_view::npos, text.size(), false};
}

}  // namespace

ParsedAction ParseAction(std::string_view text) {
    ParsedAction parsed;
    std::size_t at = SkipBlanks(text, 0);
    while (at < text.size()) {
        const std::size_t open_or_end = text.find_first_of("(;", at);
        if (open_or_end == std::string_view::npos || text[open_or_end] == ';') {
            parsed.problems.push_back({ActionProblemKind::MissingOpenParen, at});
            if (open_or_end == std::string_view::npos) break;
            at = SkipBlanks(text, open_or_end + 1);
            continue;
        }
        const std::string_view name = text.substr(at, open_or_end - at);
        const StatementEnd end = FindStatementEnd(text, open_or_end + 1);
        if (!IsName(name)) {
            parsed.problems.push_back({ActionProblemKind::NotAName, at});
        } else if (end.close == std::string_view::npos) {
            parsed.problems.push_back({ActionProblemKind::MissingCloseParen, at});
        } else if (!end.has_semicolon) {
            parsed.problems.push_back({ActionProblemKind::MissingSemicolon, at});
        } else {
            parsed.statements.push_back(
                {std::string(name),
                 std::string(text.substr(open_or_end + 1, end.close - open_or_end - 1)), at});
        }
        at = SkipBlanks(text, end.next);
    }
    return parsed;
}

std::string_view DescribeActionProblem(ActionProblemKind kind) {
    switch (kind) {
        case ActionProblemKind::NotAName:
            return "no statement name before \"(\"";
        case ActionProblemKind::MissingOpenParen:
            return "missing \"(\"";
        case ActionProblemKind::MissingCloseParen:
            return "missing \")\"";
        case ActionProblemKind::MissingSemicolon:
            return "missing \";\"";
    }
    return "not a statement";
}

}  // namespace quom
