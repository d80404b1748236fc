// Colour values: signed 32-bit, either RGB as 0x00BBGGRR (red in the low byte) or a
// system colour, 0x80000000 plus the system colour index.
#pragma once

#include <cstdint>

namespace quom {

using Colour = std::int32_t;

// System colour index of the button face (COLOR_BTNFACE).
inline constexpr std::int32_t kSystemColourFlag = INT32_MIN;         // 0x80000000
inline constexpr Colour kButtonFaceColour = kSystemColourFlag | 15;  // -2147483633

inline constexpr bool IsSystemColour(Colour c) {
    return c < 0;
}
inline constexpr int SystemColourIndex(Colour c) {
    return c & 0xFF;
}
inline constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
inline constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
inline constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}
inline constexpr Colour RgbColour(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

static_assert(kButtonFaceColour == -2147483633);

}  // namespace quom
