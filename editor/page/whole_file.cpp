#include "whole_file.h"

#include <cerrno>
#include <cstdio>

#include "quom_error.h"

namespace quom {

std::string ReadWholeFile(const std::filesystem::path& file) {
#ifdef _WIN32
    std::FILE* f = ::_wfopen(file.c_str(), L"rb");
#else
    std::FILE* f = std::fopen(file.c_str(), "rb");
#endif
    if (!f) throw IoError(IoCodeFromErrno(errno, IoAction::Open));
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    // fopen succeeds on a folder on POSIX; the first read then fails with EISDIR.
    int err = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (err != 0) throw IoError(IoCodeFromErrno(err, IoAction::Open));
    return bytes;
}

}  // namespace quom
