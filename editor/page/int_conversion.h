// The integer conversion the page reader uses for number and colour lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quom {

// Leading blanks, an optional "+" or "-", then decimal digits, or hexadecimal digits
// after "$", "x", "X" or "0x". The whole text must be used and the value must fit a
// signed 32-bit integer. Returns nothing when the text does not convert.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Like ParseInteger, but throws QuomError "'%s' is not a valid integer value".
std::int32_t ConvertInteger(std::string_view text);

}  // namespace quom
