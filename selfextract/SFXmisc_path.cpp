// Path routines of the stub. Windows paths know drives ("C:") and both separators;
// POSIX paths have "/" only and a root instead of drives.
#include <cstring>

#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

#if defined(_WIN32)
constexpr bool kHasDrives = true;
#else
constexpr bool kHasDrives = false;
#endif

bool IsFolderMark(char c) {
    return IsPathSeparator(c) || (kHasDrives && c == ':');
}

}  // namespace

bool IsPathSeparator(char c) {
    return c == '/' || c == os::kSeparator;
}

bool PathExists(const char* path) {
    char native[kTextSize];
    CopyText(native, path, sizeof native);
    for (char* p = native; *p != '\0'; ++p) {
        if (*p == '/') *p = os::kSeparator;
    }
    if (EndsWith(native, os::kSeparator)) return os::FolderExists(native);
    return os::ObjectExists(native);
}

void FolderOfPath(const char* path, char* folder, std::uint32_t size) {
    const std::size_t length = std::strlen(path);
    // A three-character path holding a drive mark is its own folder ("C:\"), except a
    // name relative to a drive's current folder: "C:x" lies in "C:".
    const bool driveRelative = length == 3 && path[1] == ':' && !IsFolderMark(path[2]);
    if (kHasDrives && length == 3 && std::strchr(path, ':') != nullptr && !driveRelative) {
        CopyText(folder, path, size);
        return;
    }
    std::size_t cut = 0;  // characters kept
    for (std::size_t i = length; i-- > 0;) {
        if (!IsFolderMark(path[i])) continue;
        cut = i;
        if (path[i] == ':') cut = i + 1;                          // C:x gives C:
        if (kHasDrives && i == 2 && path[1] == ':') cut = i + 1;  // C:\x gives C:\ .
        if (!kHasDrives && i == 0) cut = 1;                       // /x gives /
        break;
    }
    if (cut + 1 > size) cut = size - 1;
    std::memcpy(folder, path, cut);
    folder[cut] = '\0';
}

void NameOfPath(const char* path, char* name, std::uint32_t size) {
    const char* start = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsFolderMark(*p)) start = p + 1;
    }
    CopyText(name, start, size < 256 ? size : 256);
}

void CreateFolderChain(const char* folder) {
    char path[kTextSize];
    CopyText(path, folder, sizeof path);
    std::size_t length = std::strlen(path);
    if (length > 1 && IsPathSeparator(path[length - 1])) path[--length] = '\0';
    if (length < (kHasDrives ? 3u : 1u) || os::FolderExists(path)) return;
    char parent[kTextSize];
    FolderOfPath(path, parent, sizeof parent);
    if (std::strlen(parent) < length) CreateFolderChain(parent);
    os::CreateFolder(path);
}

void NormaliseEntryName(char* name) {
    for (char* p = name; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/') *p = os::kSeparator;
    }
}

bool IsSafeEntryName(const char* name) {
    if (name[0] == '\0' || IsPathSeparator(name[0])) return false;
    // A colon names a drive or a stream on Windows; refuse it everywhere so that a
    // package extracts the same tree on every system.
    if (std::strchr(name, ':') != nullptr) return false;
    if (kHasDrives && !IsWindowsPortableName(name)) return false;
    const char* component = name;
    for (const char* p = name;; ++p) {
        if (*p != '\0' && !IsPathSeparator(*p)) continue;
        if (p - component == 2 && component[0] == '.' && component[1] == '.') return false;
        if (*p == '\0') return true;
        component = p + 1;
    }
}

namespace {

// Windows takes these names for devices in every folder, whatever follows a dot
// ("nul.txt" is NUL) and however they are written; the digit of COM and LPT may also
// be a superscript 1, 2 or 3 of the ANSI code page.
bool IsDeviceName(const char* component, std::size_t length) {
    std::size_t base = 0;
    while (base < length && component[base] != '.') ++base;
    while (base > 0 && component[base - 1] == ' ') --base;  // "NUL .txt" is NUL too
    char upper[8];
    if (base < 3 || base > 7) return false;
    for (std::size_t i = 0; i < base; ++i) {
        const char c = component[i];
        upper[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    upper[base] = '\0';
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (std::strcmp(upper, device) == 0) return true;
    }
    if (base != 4 || (std::memcmp(upper, "COM", 3) != 0 && std::memcmp(upper, "LPT", 3) != 0)) {
        return false;
    }
    const unsigned char digit = static_cast<unsigned char>(upper[3]);
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

// Characters no Windows file name holds; "?" and "*" would also act as wildcards when
// the stub looks for an existing file.
bool IsRefusedByWindows(char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*", c) != nullptr;
}

}  // namespace

bool IsWindowsPortableName(const char* name) {
    const char* component = name;
    for (const char* p = name;; ++p) {
        const bool end = *p == '\0';
        if (!end && *p != '/' && *p != '\\') {
            if (IsRefusedByWindows(*p)) return false;
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(p - component);
        // Windows drops a trailing dot or blank, so "a." would overwrite "a" and ".. "
        // would climb a folder; only "." itself is left alone.
        if (length > 0 && (component[length - 1] == '.' || component[length - 1] == ' ') &&
            !(length == 1 && component[0] == '.')) {
            return false;
        }
        if (IsDeviceName(component, length)) return false;
        if (end) return true;
        component = p + 1;
    }
}

bool HasLinkBelow(const char* base, const char* relative, std::uint32_t length) {
    char path[kTextSize];
    CopyText(path, base, sizeof path);
    std::size_t start = std::strlen(path);
    if (start > 0 && !IsPathSeparator(path[start - 1])) {
        if (!AppendText(path, "/", sizeof path)) return true;
        path[start++] = os::kSeparator;
    }
    for (std::uint32_t i = 0; i <= length; ++i) {
        if (i < length && !IsPathSeparator(relative[i])) continue;
        if (start + i + 1 > sizeof path) return true;
        std::memcpy(path + start, relative, i);
        path[start + i] = '\0';
        if (i > 0 && os::IsSymbolicLink(path)) return true;
    }
    return false;
}
