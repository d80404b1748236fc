// The archive walk on arbitrary bytes: listing and extracting every entry through the
// main dialog into a scratch folder. It must end, stay inside its buffers, and write
// nothing outside the extraction folder. Questions find no input (standard input is
// /dev/null), so passwords fail and nothing waits.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// The extraction folder lies six folders below the scratch folder, so that names with up
// to seven ".." components that escaped would land in a folder that is watched.
char scratch[256];
char inside[300];
constexpr int kDepth = 6;
char startFolder[4096];  // a failed run's Close makes the extraction folder current

int RemoveOne(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

void Setup() {
    std::strcpy(scratch, "/tmp/tovo-fuzz-walk-XXXXXX");
    if (mkdtemp(scratch) == nullptr) std::abort();
    std::snprintf(inside, sizeof inside, "%s/1/2/3/4/5/6/inside", scratch);
    char level[300];
    for (int i = 1; i <= kDepth; ++i) {
        std::snprintf(level, sizeof level, "%s", scratch);
        for (int j = 1; j <= i; ++j) {
            std::snprintf(level + std::strlen(level), sizeof level - std::strlen(level), "/%d", j);
        }
        mkdir(level, 0777);
    }
    int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    close(devnull);
    if (!BuildCrcTable() || getcwd(startFolder, sizeof startFolder) == nullptr) std::abort();
    std::atexit([] { nftw(scratch, RemoveOne, 16, FTW_DEPTH | FTW_PHYS); });
}

// Each watched folder holds only the next one; anything else was written outside the
// extraction folder.
void CheckFolderHoldsOnly(const char* folder, const char* only) {
    DIR* dir = opendir(folder);
    if (dir == nullptr) std::abort();
    while (const dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0 &&
            std::strcmp(e->d_name, only) != 0) {
            std::abort();
        }
    }
    closedir(dir);
}

void CheckNothingEscaped() {
    char level[300];
    std::snprintf(level, sizeof level, "%s", scratch);
    for (int i = 1; i <= kDepth + 1; ++i) {
        char next[8];
        std::snprintf(next, sizeof next, i <= kDepth ? "%d" : "inside", i);
        CheckFolderHoldsOnly(level, next);
        std::snprintf(level + std::strlen(level), sizeof level - std::strlen(level), "/%s", next);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        Setup();
        ready = true;
    }
    if (size > 1 << 20) return 0;
    int fd = memfd_create("archive", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    nftw(inside, RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
    mkdir(inside, 0777);

    ArchiveFile = fd;
    ArchiveStart = 0;
    HasDefaultFolder = true;
    CopyText(DefaultFolder, inside, kTextSize);
    HasCommand = false;
    ShowFinishedMessage = false;
    UserSelectsFiles = (size & 1) != 0;  // both lists now and then
    OverwriteModeId = 501;               // overwrite without asking
    Password[0] = '\0';
    RunMainDialog();
    if (chdir(startFolder) != 0) std::abort();

    close(fd);
    ArchiveFile = os::kNoFile;
    CheckNothingEscaped();
    return 0;
}
