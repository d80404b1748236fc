// The page model holds 8-bit texts in the Windows ANSI code page 1252, the code page
// the kit's page files are written in; Qt holds Unicode. Every conversion between
// them, and between paths, goes through here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

namespace quom {

// Every byte decodes to one character: the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number,
// so a text read and written again keeps its bytes.
QString FromModelText(std::string_view text);

// Each character becomes its byte of the code page; a character the code page lacks
// becomes "?".
std::string ToModelText(const QString& text);

inline std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

inline QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

}  // namespace quom
