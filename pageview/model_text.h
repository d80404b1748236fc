// The page model holds 8-bit texts in the system's code page; Qt holds Unicode.
// Every conversion between them, and between paths, goes through here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

namespace quom {

inline QString FromModelText(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToModelText(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

inline std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

inline QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

}  // namespace quom
