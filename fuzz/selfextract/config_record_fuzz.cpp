// The configuration record and the archive tail check on arbitrary bytes: the record
// is applied, the default folder resolved (no registry stand-in file exists), and the
// same bytes checked as a package tail. Every text must stay inside its buffer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "SFXgbls.h"
#include "SFXmisc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        setenv("TOVO_REGISTRY", "/nonexistent/tovo-registry", 1);
        ready = true;
    }
    if (size > 1 << 17) return 0;
    if (ApplyConfigRecord(data, static_cast<std::uint32_t>(size))) {
        if (HasDefaultFolder) ResolveDefaultFolder();
        for (const char* text : {Caption, DefaultFolder, Command, StartupMessage}) {
            if (strnlen(text, kTextSize) >= kTextSize) std::abort();
        }
    }
    int fd = memfd_create("package", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    ArchiveFile = fd;
    ArchiveStart = size > 0 ? data[0] : 0;
    VerifyArchiveTail();
    close(fd);
    ArchiveFile = os::kNoFile;
    return 0;
}
