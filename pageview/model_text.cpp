#include "model_text.h"

#include <array>

#include <QList>

namespace quom {

namespace {

// Code page 1252 agrees with ISO 8859-1 (and so with Unicode) except at 0x80..0x9F,
// where it holds typographic characters. The table gives those 32 code points, from
// the code page's published mapping; the undefined bytes keep their own number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};
constexpr unsigned kTableFirst = 0x80;
constexpr unsigned kTableEnd = 0xA0;

char16_t Decode(unsigned char byte) {
    if (byte >= kTableFirst && byte < kTableEnd) return kHighControls[byte - kTableFirst];
    return byte;
}

// The byte of code point c, or '?' when the code page has none.
char Encode(uint c) {
    for (unsigned i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<char>(kTableFirst + i);
    }
    const bool same_number = c < kTableFirst || (c >= kTableEnd && c <= 0xFF);
    return same_number ? static_cast<char>(c) : '?';
}

}  // namespace

QString FromModelText(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char byte : text) result.append(QChar(Decode(static_cast<unsigned char>(byte))));
    return result;
}

std::string ToModelText(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    // Code points, not UTF-16 units: a character outside the basic plane is one "?".
    for (const uint c : text.toUcs4()) result.push_back(Encode(c));
    return result;
}

}  // namespace quom
