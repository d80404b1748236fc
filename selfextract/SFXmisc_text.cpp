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

int SplitCommandWords(const char* line, char* storage, std::uint32_t size, char** words, int max) {
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
            if (out + 2 > size) {
                full = true;
                break;
            }
            storage[out++] = *p;
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
