#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "quom_error.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quom {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(int err, IoAction action) {
    throw IoError(IoCodeFromErrno(err, action));
}

// A read-only file or a folder under the target's name is refused up front, as a
// plain overwrite would be; renaming over it would otherwise succeed.
void CheckReplaceable(const fs::path& target) {
    std::error_code ec;
    fs::file_status st = fs::status(target, ec);
    if (ec || !fs::exists(st)) return;
    if (fs::is_directory(st)) throw IoError(kIoAccessDenied);
#ifdef _WIN32
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none)
        throw IoError(kIoAccessDenied);
#else
    if (::access(target.c_str(), W_OK) != 0) Fail(errno, IoAction::Open);
#endif
}

}  // namespace

#ifdef _WIN32

void WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    CheckReplaceable(target);
    fs::path temp = target;
    temp += L".tmp";
    std::FILE* f = ::_wfopen(temp.c_str(), L"wb");
    if (!f) Fail(errno, IoAction::Create);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = errno;
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) fs::rename(temp, target, ec);
    if (!ok || ec) {
        fs::remove(temp, ec);
        Fail(ok ? EACCES : err, IoAction::Create);
    }
}

#else

void WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    CheckReplaceable(target);
    fs::path folder = target.parent_path();
    std::string temp =
        (folder.empty() ? fs::path(".") : folder) / ("." + target.filename().string() + ".XXXXXX");
    int fd = ::mkstemp(temp.data());
    if (fd < 0) Fail(errno, IoAction::Create);

    // mkstemp makes the file private; give it the mode a new or the replaced file has.
    struct stat old_st;
    mode_t mode;
    if (::stat(target.c_str(), &old_st) == 0) {
        mode = old_st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    const char* p = bytes.data();
    std::size_t left = bytes.size();
    int err = 0;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        Fail(err, IoAction::Create);
    }
}

#endif

}  // namespace quom
