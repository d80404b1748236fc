#include "int_conversion.h"

#include <string>

#include "quom_error.h"

namespace quom {

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && text[i + 1] == 'x') {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;

    // The magnitude may reach 2^31 only for a negative number.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0) return std::nullopt;
        value = value * base + d;
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t ConvertInteger(std::string_view text) {
    if (auto value = ParseInteger(text)) return *value;
    throw QuomError(FormatMessage("'%s' is not a valid integer value", std::string(text)));
}

}  // namespace quom
