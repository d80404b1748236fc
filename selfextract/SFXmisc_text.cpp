// Text routines of the stub: bounded copies, placeholder replacement, command-line
// words and DOS times.
#include <cstring>

#include "SFXmisc.h"

std::uint32_t CopyText(char* dst, const char* src, std::uint32_t size) {
    if (size == 0) return 0;
    std::uint32_t n = 0;
    while (n + 1 < size && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
    return n;
}

bool AppendText(char* dst, const char* src, std::uint32_t size) {
    std::size_t have = std::strlen(dst);
    std::size_t add = std::strlen(src);
    if (have + add + 1 > size) return false;
    std::memcpy(dst + have, src, add + 1);
    return true;
}

bool EndsWith(const char* text, char c) {
    std::size_t n = std::strlen(text);
    return n > 0 && text[n - 1] == c;
}

bool ReplaceAll(char* text, std::uint32_t size, const char* from, const char* to) {
    const std::size_t fromLength = std::strlen(from);
    const std::size_t toLength = std::strlen(to);
    if (fromLength == 0) return true;
    char result[1024];
    if (size > sizeof result) size = sizeof result;
    std::size_t out = 0;
    bool fits = true;
    for (const char* p = text; *p != '\0';) {
        const bool match = std::strncmp(p, from, fromLength) == 0;
        const char* piece = match ? to : p;
        const std::size_t pieceLength = match ? toLength : 1;
        if (out + pieceLength + 1 > size) {
            fits = false;
            break;
        }
        std::memcpy(result + out, piece, pieceLength);
        out += pieceLength;
        p += match ? fromLength : 1;
    }
    result[out] = '\0';
    std::memcpy(text, result, out + 1);
    return fits;
}

int SplitCommandWords(const char* line, char* storage, std::uint32_t size, char** words, int max,
                      const char* placeholder) {
    int count = 0;
    std::uint32_t out = 0;
    const char* p = line;
    while (count + 1 < max) {
        while (*p == ' ' || *p == '\t') ++p;
        if (*p == '\0') break;
        words[count++] = storage + out;
        bool quoted = false, full = false;
        for (; *p != '\0' && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"') {
                quoted = !quoted;
                continue;
            }
            if (*p == '\\' && p[1] == '"') ++p;
            const bool stands = placeholder != nullptr && p[0] == '>' && p[1] == '<';
            const char* piece = stands ? placeholder : p;
            const std::uint32_t n = stands ? static_cast<std::uint32_t>(std::strlen(piece)) : 1;
            if (out + n + 1 > size) {
                full = true;
                break;
            }
            std::memcpy(storage + out, piece, n);
            out += n;
            if (stands) ++p;
        }
        storage[out++] = '\0';
        if (full || out + 1 > size) break;
    }
    words[count] = nullptr;
    return count;
}

bool DosTimeToLocal(std::uint16_t dosDate, std::uint16_t dosTime, os::LocalTime* time) {
    // DOS date: bits 9-15 years since 1980, 5-8 month, 0-4 day. DOS time: bits 11-15
    // hour, 5-10 minute, 0-4 seconds divided by two.
    time->year = 1980 + (dosDate >> 9);
    time->month = (dosDate >> 5) & 0x0F;
    time->day = dosDate & 0x1F;
    time->hour = dosTime >> 11;
    time->minute = (dosTime >> 5) & 0x3F;
    time->second = (dosTime & 0x1F) * 2;
    return time->month >= 1 && time->month <= 12 && time->day >= 1 && time->hour < 24 &&
           time->minute < 60 && time->second < 60;
}

namespace {

// Code page 437, the IBM PC's character set that the zip format names for entry names
// without flag bit 11: the characters of bytes 0x80..0xFF (bytes below are ASCII).
// Generated with Python: [ord(c) for c in bytes(range(128, 256)).decode("cp437")].
constexpr std::uint16_t kCodePage437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Length of the UTF-8 sequence that starts at p (a well-formed one: no overlong form,
// no surrogate, nothing above U+10FFFF), 0 when there is none.
std::uint32_t Utf8SequenceLength(const unsigned char* p) {
    const unsigned c = p[0];
    if (c < 0x80) return 1;
    auto follows = [&](int i) { return (p[i] & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF) return follows(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        const bool second =
            (c == 0xE0 && p[1] >= 0xA0) || (c == 0xED && p[1] < 0xA0) || (c != 0xE0 && c != 0xED);
        return follows(1) && second && follows(2) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        const bool second =
            (c == 0xF0 && p[1] >= 0x90) || (c == 0xF4 && p[1] < 0x90) || (c != 0xF0 && c != 0xF4);
        return follows(1) && second && follows(2) && follows(3) ? 4 : 0;
    }
    return 0;
}

}  // namespace

bool IsUtf8(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        const std::uint32_t n = Utf8SequenceLength(p);
        if (n == 0) return false;
        p += n;
    }
    return true;
}

void Utf8FromCodePage437(const char* raw, char* name, std::uint32_t size) {
    std::uint32_t out = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(raw); *p != 0; ++p) {
        const unsigned c = *p < 0x80 ? *p : kCodePage437[*p - 0x80];
        char bytes[3];
        std::uint32_t n = 1;
        if (c < 0x80) {
            bytes[0] = static_cast<char>(c);
        } else if (c < 0x800) {
            bytes[0] = static_cast<char>(0xC0 | c >> 6);
            bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
            n = 2;
        } else {
            bytes[0] = static_cast<char>(0xE0 | c >> 12);
            bytes[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
            bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
            n = 3;
        }
        if (out + n + 1 > size) break;
        std::memcpy(name + out, bytes, n);
        out += n;
    }
    name[out] = '\0';
}

void ShowableText(const char* text, char* shown, std::uint32_t size) {
    static const char kHex[] = "0123456789abcdef";
    std::uint32_t out = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        std::uint32_t n = 1;
        bool escape = *p < 0x20 || *p == 0x7F;
#if !defined(_WIN32)
        // A terminal reads UTF-8: C1 controls (U+0080..U+009F) act as controls too, and
        // bytes that form no character may be read as them.
        if (*p >= 0x80) {
            n = Utf8SequenceLength(p);
            escape = n == 0 || (p[0] == 0xC2 && p[1] < 0xA0);
            if (n == 0) n = 1;
        }
#endif
        if (escape) n = 1;
        if (out + (escape ? 4 : n) + 1 > size) break;
        if (escape) {
            shown[out++] = '\\';
            shown[out++] = 'x';
            shown[out++] = kHex[*p >> 4];
            shown[out++] = kHex[*p & 0x0F];
        } else {
            std::memcpy(shown + out, p, n);
            out += n;
        }
        p += n;
    }
    shown[out] = '\0';
}
