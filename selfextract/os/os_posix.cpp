// POSIX back end of the operating-system boundary.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os.h"

namespace os {

// ---- Files -----------------------------------------------------------------------

FileHandle OpenForReading(const char* path) {
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    return fd < 0 ? kNoFile : fd;
}

FileHandle CreateForWriting(const char* path) {
    int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    return fd < 0 ? kNoFile : fd;
}

std::int32_t ReadFile(FileHandle file, void* buffer, std::uint32_t size) {
    std::uint8_t* out = static_cast<std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    while (done < size) {
        ssize_t n = ::read(static_cast<int>(file), out + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return done > 0 ? static_cast<std::int32_t>(done) : -1;
        if (n == 0) break;
        done += static_cast<std::uint32_t>(n);
    }
    return static_cast<std::int32_t>(done);
}

bool WriteFile(FileHandle file, const void* buffer, std::uint32_t size) {
    const std::uint8_t* in = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t done = 0;
    while (done < size) {
        ssize_t n = ::write(static_cast<int>(file), in + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::uint32_t>(n);
    }
    return true;
}

std::uint32_t SeekFile(FileHandle file, std::int32_t offset, SeekOrigin origin) {
    int whence = origin == SeekOrigin::Begin     ? SEEK_SET
                 : origin == SeekOrigin::Current ? SEEK_CUR
                                                 : SEEK_END;
    off_t pos = ::lseek(static_cast<int>(file), offset, whence);
    if (pos < 0 || pos > 0xFFFFFFFE) return 0xFFFFFFFF;
    return static_cast<std::uint32_t>(pos);
}

std::uint32_t FileSize(FileHandle file) {
    struct stat st;
    if (::fstat(static_cast<int>(file), &st) != 0 || st.st_size > 0xFFFFFFFE) return 0xFFFFFFFF;
    return static_cast<std::uint32_t>(st.st_size);
}

bool CloseFile(FileHandle file) {
    // On Linux an interrupted close has closed the file all the same.
    return file == kNoFile || ::close(static_cast<int>(file)) == 0 || errno == EINTR;
}

}  // namespace os

// ---- Folders, names, times, programs, questions and the main dialog ------------------

#include <dirent.h>
#include <signal.h>
#include <strings.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The command-line splitting rule is shared with the other back end's callers; it is
// plain text work, so it lives with the stub's text routines.
#include "../SFXmisc.h"

namespace os {

namespace {

bool CopyOut(char* buffer, std::uint32_t size, const char* text) {
    if (std::strlen(text) + 1 > size) return false;
    std::strcpy(buffer, text);
    return true;
}

}  // namespace

bool OwnProgramPath(char* buffer, std::uint32_t size) {
    if (size == 0) return false;
    ssize_t n = ::readlink("/proc/self/exe", buffer, size - 1);
    if (n <= 0 || static_cast<std::uint32_t>(n) >= size - 1) return false;
    buffer[n] = '\0';
    return true;
}

bool ObjectExists(const char* path) {
    struct stat st;
    return ::lstat(path, &st) == 0;
}

bool FolderExists(const char* path) {
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsSymbolicLink(const char* path) {
    struct stat st;
    return ::lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}

bool CreateFolder(const char* path) {
    return ::mkdir(path, 0777) == 0;
}

FileHandle CreateUniqueFile(const char* folder, char* path, std::uint32_t size) {
    static const char kPattern[] = ".tovo-XXXXXX";
    if (std::strlen(folder) + sizeof kPattern > size) return kNoFile;
    std::strcpy(path, folder);
    std::strcat(path, kPattern);
    int fd = ::mkostemp(path, O_CLOEXEC);
    if (fd < 0) return kNoFile;
    // mkostemp makes the file private; an extracted file gets the usual permissions.
    static const mode_t mask = [] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    ::fchmod(fd, 0666 & ~mask);
    return fd;
}

bool MoveIntoPlace(const char* source, const char* target) {
    return ::rename(source, target) == 0;
}

bool RemoveFile(const char* path) {
    return ::unlink(path) == 0;
}

// ---- An interrupted run ---------------------------------------------------------------
//
// Ctrl-C, a closed terminal or a kill must not leave the terminal without echo (while
// the password is read) or a hidden temporary file behind (while an entry is written):
// the handler undoes both, then ends the process by the signal as it would have ended.

namespace {

// The folder made for this run inside the shared temporary folder; empty before.
char privateTemp[261];  // 260 characters and a NUL, as every path of the stub

volatile sig_atomic_t echoOff = 0;
struct termios savedTerminal;
volatile sig_atomic_t tempPending = 0;
int tempFolder = -1;
char tempName[16];

void OnInterrupt(int signal) {
    if (echoOff) ::tcsetattr(0, TCSANOW, &savedTerminal);
    if (tempPending) ::unlinkat(tempFolder, tempName, 0);
    if (privateTemp[0] != '\0') ::rmdir(privateTemp);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void WatchInterrupts() {
    static bool watching = false;
    if (watching) return;
    watching = true;
    static const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    for (int signal : kSignals) {
        struct sigaction action = {};
        struct sigaction before;
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        // A signal the caller ignores (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
            ::sigaction(signal, &action, nullptr);
        }
    }
}

void ForgetTemp(FolderHandle folder, const char* name) {
    if (tempFolder == folder && std::strcmp(tempName, name) == 0) tempPending = 0;
}

}  // namespace

FolderHandle OpenFolder(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? kNoFolder : fd;
}

FolderHandle OpenFolderIn(FolderHandle folder, const char* name, bool create) {
    const int parent = static_cast<int>(folder);
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(parent, name, kFlags);
    if (fd < 0 && errno == ENOENT && create && ::mkdirat(parent, name, 0777) == 0) {
        fd = ::openat(parent, name, kFlags);
    }
    return fd < 0 ? kNoFolder : fd;
}

void CloseFolder(FolderHandle folder) {
    if (folder != kNoFolder) ::close(static_cast<int>(folder));
}

ObjectKind KindIn(FolderHandle folder, const char* name) {
    struct stat st;
    if (::fstatat(static_cast<int>(folder), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return ObjectKind::None;
    }
    if (S_ISLNK(st.st_mode)) return ObjectKind::Link;
    return S_ISDIR(st.st_mode) ? ObjectKind::Folder : ObjectKind::File;
}

FileHandle CreateUniqueFileIn(FolderHandle folder, char* name, std::uint32_t size) {
    static const char kPrefix[] = ".tovo-";
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (size < sizeof kPrefix + 6) return kNoFile;
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    static std::uint64_t seed =
        static_cast<std::uint64_t>(now.tv_nsec) ^ static_cast<std::uint64_t>(::getpid()) << 32;
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        std::memcpy(name, kPrefix, sizeof kPrefix - 1);
        std::uint64_t bits = seed >> 16;
        for (int i = 0; i < 6; ++i, bits /= 62) name[sizeof kPrefix - 1 + i] = kDigits[bits % 62];
        name[sizeof kPrefix - 1 + 6] = '\0';
        // Exclusive creation never opens or replaces what is there, link or file; the
        // umask gives the file the usual permissions.
        WatchInterrupts();
        const int fd = ::openat(static_cast<int>(folder), name,
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPending = 0;
            tempFolder = static_cast<int>(folder);
            CopyText(tempName, name, sizeof tempName);
            tempPending = 1;
            return fd;
        }
        if (errno != EEXIST) break;
    }
    name[0] = '\0';
    return kNoFile;
}

bool MoveIntoPlaceIn(FolderHandle folder, const char* source, const char* target) {
    const int fd = static_cast<int>(folder);
    const bool moved = ::renameat(fd, source, fd, target) == 0;
    if (moved) ForgetTemp(folder, source);
    return moved;
}

bool RemoveFileIn(FolderHandle folder, const char* name) {
    ForgetTemp(folder, name);
    return ::unlinkat(static_cast<int>(folder), name, 0) == 0;
}

bool SetLastWriteTime(FileHandle file, const LocalTime& time) {
    struct tm local = {};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    time_t when = ::mktime(&local);
    if (when == static_cast<time_t>(-1)) return false;
    struct timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
    return ::futimens(static_cast<int>(file), times) == 0;
}

bool CurrentFolder(char* buffer, std::uint32_t size) {
    return size > 0 && ::getcwd(buffer, size) != nullptr;
}

bool SetCurrentFolder(const char* path) {
    return ::chdir(path) == 0;
}

namespace {

void RemovePrivateTempWhenEmpty() {
    ::rmdir(privateTemp);  // fails, and keeps it, when anything was put in it
}

}  // namespace

bool TempFolder(char* buffer, std::uint32_t size) {
    if (privateTemp[0] == '\0') {
        const char* dir = std::getenv("TMPDIR");
        if (dir == nullptr || dir[0] == '\0') dir = "/tmp";
        char folder[sizeof privateTemp];
        if (!CopyOut(folder, sizeof folder, dir)) return false;
        if (!EndsWith(folder, '/') && !AppendText(folder, "/", sizeof folder)) return false;
        if (!AppendText(folder, "tovo-XXXXXX", sizeof folder) || ::mkdtemp(folder) == nullptr) {
            return false;
        }
        AppendText(folder, "/", sizeof folder);
        CopyText(privateTemp, folder, sizeof privateTemp);
        std::atexit(RemovePrivateTempWhenEmpty);
    }
    return CopyOut(buffer, size, privateTemp);
}

bool SystemFolder(char*, std::uint32_t) {
    return false;
}

bool WindowsFolder(char*, std::uint32_t) {
    return false;
}

bool ShortPath(char*, std::uint32_t) {
    return true;
}

// ---- Registry stand-in ---------------------------------------------------------------
//
// There is no registry here. Values come from a text file of lines
// ROOT\Subkey\Value=data, ROOT one of HKEY_CURRENT_USER (HKCU), HKEY_LOCAL_MACHINE (HKLM),
// HKEY_USERS (HKU); key and value names compare without regard to case, as the registry
// does. The file is $TOVO_REGISTRY, else $XDG_CONFIG_HOME/tovo/registry, else
// ~/.config/tovo/registry.

namespace {

bool RegistryFilePath(char* path, std::uint32_t size) {
    const char* named = std::getenv("TOVO_REGISTRY");
    if (named != nullptr && named[0] != '\0') return CopyOut(path, size, named);
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] != '\0') {
        return CopyOut(path, size, config) && AppendText(path, "/tovo/registry", size);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return false;
    return CopyOut(path, size, home) && AppendText(path, "/.config/tovo/registry", size);
}

RegistryRoot RootOfLine(const char* name, std::size_t length, bool* known) {
    struct Spelling {
        const char* text;
        RegistryRoot root;
    };
    static const Spelling kSpellings[] = {{"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
                                          {"HKCU", RegistryRoot::CurrentUser},
                                          {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
                                          {"HKLM", RegistryRoot::LocalMachine},
                                          {"HKEY_USERS", RegistryRoot::Users},
                                          {"HKU", RegistryRoot::Users}};
    for (const Spelling& s : kSpellings) {
        if (std::strlen(s.text) == length && ::strncasecmp(s.text, name, length) == 0) {
            *known = true;
            return s.root;
        }
    }
    *known = false;
    return RegistryRoot::Users;
}

}  // namespace

std::uint32_t ReadRegistryValue(RegistryRoot root, const char* subkey, const char* name,
                                char* buffer, std::uint32_t size) {
    char path[4096];
    if (!RegistryFilePath(path, sizeof path)) return 0;
    std::FILE* file = std::fopen(path, "re");
    if (file == nullptr) return 0;
    const std::size_t subkeyLength = std::strlen(subkey);
    const std::size_t nameLength = std::strlen(name);
    std::uint32_t found = 0;
    char line[2048];
    while (found == 0 && std::fgets(line, sizeof line, file) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        char* equals = std::strchr(line, '=');
        char* firstSlash = std::strchr(line, '\\');
        if (equals == nullptr || firstSlash == nullptr || firstSlash > equals) continue;
        char* lastSlash = equals;
        while (*lastSlash != '\\') --lastSlash;
        bool known = false;
        RegistryRoot lineRoot = RootOfLine(line, firstSlash - line, &known);
        if (!known || lineRoot != root) continue;
        const char* lineSubkey = firstSlash + 1;
        const std::size_t lineSubkeyLength = lastSlash > firstSlash ? lastSlash - lineSubkey : 0;
        const char* lineName = lastSlash + 1;
        if (lineSubkeyLength != subkeyLength || equals - lineName != static_cast<long>(nameLength))
            continue;
        if (::strncasecmp(lineSubkey, subkey, subkeyLength) != 0) continue;
        if (::strncasecmp(lineName, name, nameLength) != 0) continue;
        CopyText(buffer, equals + 1, size);
        found = static_cast<std::uint32_t>(std::strlen(equals + 1) + 1);
    }
    std::fclose(file);
    return found;
}

// ---- Programs ------------------------------------------------------------------------

int PlatformFamily() {
    return 0;
}

namespace {

// Starts argv[0] (searched on PATH when it holds no "/") in folder without waiting for
// it. A close-on-exec pipe tells whether the exec itself succeeded.
bool Spawn(char* const argv[], const char* folder) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        int error = 0;
        if (folder != nullptr && folder[0] != '\0' && ::chdir(folder) != 0) {
            error = errno;
        } else {
            ::execvp(argv[0], argv);
            error = errno;
        }
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(report[1]);
    int error = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n > 0) {
        ::waitpid(child, nullptr, 0);
        return false;
    }
    return true;
}

bool IsExecutableFile(const char* path) {
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, X_OK) == 0;
}

bool InFolder(const char* path, const char* folder) {
    const std::size_t length = std::strlen(folder);
    return length > 0 && std::strncmp(path, folder, length) == 0 &&
           (folder[length - 1] == '/' || path[length] == '/');
}

// The first bytes of an ELF file: the programs of this system.
constexpr char kElfMagic[4] = {0x7F, 'E', 'L', 'F'};

// A program comes out of a zip archive without its permission bits (archives made on
// Windows carry none), so the command could not run the program its own package
// brought. An ELF file the package put in its extraction folder is made runnable by
// whoever may read it, as unzip does for programs; a link is not followed.
bool MakeExtractedProgramRunnable(const char* program, const char* folder) {
    if (folder == nullptr || !InFolder(program, folder)) return false;
    const int fd = ::open(program, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    char magic[sizeof kElfMagic];
    const bool elf = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                     ::read(fd, magic, sizeof magic) == static_cast<ssize_t>(sizeof magic) &&
                     std::memcmp(magic, kElfMagic, sizeof magic) == 0;
    const mode_t mode = st.st_mode & 0777;
    const bool made = elf && ::fchmod(fd, mode | ((mode & 0444) >> 2)) == 0;
    ::close(fd);
    return made && IsExecutableFile(program);
}

}  // namespace

bool OpenProgram(const char* program, const char* parameters, const char* folder) {
    // A named file that cannot run by itself is handed to the desktop's opener.
    if (std::strchr(program, '/') != nullptr && ObjectExists(program) &&
        !IsExecutableFile(program) && !MakeExtractedProgramRunnable(program, folder)) {
        char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(program), nullptr};
        return Spawn(argv, folder);
    }
    char storage[2048];
    char* argv[64];
    argv[0] = const_cast<char*>(program);
    SplitCommandWords(parameters, storage, sizeof storage, argv + 1, 63, folder);
    return Spawn(argv, folder);
}

bool RunCommandLine(const char* commandLine) {
    char storage[2048];
    char* argv[64];
    if (SplitCommandWords(commandLine, storage, sizeof storage, argv, 64) == 0) return false;
    return Spawn(argv, nullptr);
}

// ---- Messages and questions: standard error and standard input ------------------------

namespace {

bool progressShown = false;

void ClearProgressLine() {
    if (!progressShown) return;
    std::fputs("\r\033[K", stderr);
    progressShown = false;
}

// Reads one line of standard input without its line end. False at the end of input.
bool ReadAnswer(char* buffer, std::uint32_t size) {
    std::fflush(stderr);
    if (std::fgets(buffer, static_cast<int>(size), stdin) == nullptr) {
        std::fputc('\n', stderr);  // end the prompt's line
        return false;
    }
    std::size_t n = std::strcspn(buffer, "\r\n");
    if (buffer[n] == '\0') {  // longer than the buffer: drop the rest of the line
        int c;
        while ((c = std::getchar()) != EOF && c != '\n') {
        }
    }
    buffer[n] = '\0';
    return true;
}

bool IsAnyOf(const char* answer, const char* const* words) {
    for (; *words != nullptr; ++words) {
        if (::strcasecmp(answer, *words) == 0) return true;
    }
    return false;
}

}  // namespace

int ShowMessage(const char* text, const char* title, unsigned type) {
    ClearProgressLine();
    const unsigned buttons = type & 0x0F;
    if (buttons != kMbOkCancel && buttons != kMbYesNo) {
        std::fprintf(stderr, "%s: %s\n", title, text);
        return kIdOk;
    }
    const bool okCancel = buttons == kMbOkCancel;
    std::fprintf(stderr, "%s: %s %s ", title, text, okCancel ? "[OK/Cancel]" : "[Yes/No]");
    // An empty line takes the default button, the first one.
    static const char* const kOk[] = {"", "o", "ok", "y", "yes", nullptr};
    static const char* const kYes[] = {"", "y", "yes", nullptr};
    char answer[64];
    const bool agreed = ReadAnswer(answer, sizeof answer) && IsAnyOf(answer, okCancel ? kOk : kYes);
    if (okCancel) return agreed ? kIdOk : kIdCancel;
    return agreed ? kIdYes : kIdNo;
}

void WriteLine(const char* text) {
    ClearProgressLine();
    std::puts(text);
}

int ShowMessageAndWait(const char* text, const char* title, unsigned type) {
    const unsigned buttons = type & 0x0F;
    if (buttons == kMbOkCancel || buttons == kMbYesNo || !::isatty(0)) {
        return ShowMessage(text, title, type);
    }
    ClearProgressLine();
    std::fprintf(stderr, "%s: %s [Enter] ", title, text);
    char answer[64];
    ReadAnswer(answer, sizeof answer);
    return kIdOk;
}

std::uint32_t AskPassword(char* buffer, std::uint32_t size) {
    ClearProgressLine();
    std::fputs("Enter password...: ", stderr);
    const bool terminal = ::isatty(0) && ::tcgetattr(0, &savedTerminal) == 0;
    if (terminal) {
        WatchInterrupts();
        struct termios quiet = savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        echoOff = 1;
        ::tcsetattr(0, TCSAFLUSH, &quiet);
    }
    const bool got = ReadAnswer(buffer, size);
    if (terminal) {
        ::tcsetattr(0, TCSAFLUSH, &savedTerminal);
        echoOff = 0;
        std::fputc('\n', stderr);
    }
    if (!got) buffer[0] = '\0';
    return static_cast<std::uint32_t>(std::strlen(buffer));
}

bool AskOverwrite(const char* text, bool* dontAskAgain) {
    ClearProgressLine();
    std::fprintf(stderr, "Confirm overwrite of...: %s [y]es, [n]o, [A]ll, [N]one: ", text);
    char answer[64];
    *dontAskAgain = false;
    if (!ReadAnswer(answer, sizeof answer)) return false;
    // Single letters as unzip asks: upper-case A and N hold for the later files too.
    if (std::strcmp(answer, "A") == 0 || ::strcasecmp(answer, "all") == 0) {
        *dontAskAgain = true;
        return true;
    }
    if (std::strcmp(answer, "N") == 0 || ::strcasecmp(answer, "none") == 0) {
        *dontAskAgain = true;
        return false;
    }
    static const char* const kYes[] = {"", "y", "yes", nullptr};
    return IsAnyOf(answer, kYes);
}

void HandlePendingMessage() {}

namespace {

double Seconds() {
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

}  // namespace

void ShowProgress(std::uint32_t entries, std::uint64_t bytes) {
    static double started = -1, lastShown = 0;
    static const bool terminal = ::isatty(2);
    if (!terminal) return;
    const double now = Seconds();
    if (started < 0) started = now;
    // Only an extraction that takes a while gets a progress line.
    if (now - started < 1.0 || now - lastShown < 0.2) return;
    lastShown = now;
    std::fprintf(stderr, "\r\033[K%u entries, %llu bytes", entries,
                 static_cast<unsigned long long>(bytes));
    progressShown = true;
}

void EndProgress() {
    ClearProgressLine();
}

// ---- The main dialog: an in-memory table of MAINDIALOG's controls ---------------------

namespace {

// Item texts of a list live one after the other in one block (names), so that a list
// of many thousand archive entries costs little more than their names.
struct ListItem {
    std::uint32_t text;  // offset in the control's names
    bool selected;
};

struct Control {
    int id;
    bool isStatic;
    bool exists, visible, enabled, checked;
    char text[261];
    ListItem* items;  // list boxes only
    int count, capacity;
    char* names;
    std::uint32_t namesUsed, namesCapacity;
};

class MemoryDialog final : public DialogHost {
  public:
    MemoryDialog() {
        static const struct {
            int id;
            bool isStatic;
            const char* text;
        } kTemplate[] = {{102, true, ""},
                         {100, true, "&Extract to :"},
                         {101, false, ""},
                         {775, false, "..."},
                         {301, false, ""},
                         {509, true, "Existing files :"},
                         {302, false, ""},
                         {503, false, "&Confirm overwrite"},
                         {502, false, "&Don't overwrite"},
                         {501, false, "&Overwrite"},
                         {1007, false, "run"},
                         {103, false, "About..."},
                         {1, false, "&Start"},
                         {2, false, "C&lose"}};
        count_ = 0;
        for (const auto& t : kTemplate) {
            Control& c = controls_[count_++];
            c = Control{};
            c.id = t.id;
            c.isStatic = t.isStatic;
            c.exists = c.visible = c.enabled = true;
            CopyText(c.text, t.text, sizeof c.text);
        }
        CopyText(title_, "KAPSELSFX32", sizeof title_);
    }

    ~MemoryDialog() {
        for (int i = 0; i < count_; ++i) ListReset(controls_[i].id);
    }

    void SetText(int id, const char* text) override {
        if (Control* c = Find(id)) CopyText(c->text, text, sizeof c->text);
    }
    void GetText(int id, char* buffer, std::uint32_t size) override {
        Control* c = Find(id);
        CopyText(buffer, c != nullptr ? c->text : "", size);
    }
    void SelectText(int) override {}
    void SetTitle(const char* text) override { CopyText(title_, text, sizeof title_); }
    void SetIcon() override {}
    void Center() override {}
    void SetCheck(int id, bool checked) override {
        if (Control* c = Find(id)) c->checked = checked;
    }
    bool IsChecked(int id) override {
        Control* c = Find(id);
        return c != nullptr && c->checked;
    }
    void CheckRadio(int first, int last, int id) override {
        for (int i = 0; i < count_; ++i) {
            Control& c = controls_[i];
            if (c.id >= first && c.id <= last) c.checked = c.id == id;
        }
    }
    void Show(int id, bool visible) override {
        if (Control* c = Find(id)) c->visible = visible;
    }
    void Destroy(int id) override {
        if (Control* c = Find(id)) c->exists = false;
    }
    void EnableControls(bool enabled) override {
        for (int i = 0; i < count_; ++i) {
            Control& c = controls_[i];
            if (c.exists && c.visible && !c.isStatic) c.enabled = enabled;
        }
    }

    void ListReset(int id) override {
        Control* c = Find(id);
        if (c == nullptr) return;
        std::free(c->items);
        std::free(c->names);
        c->items = nullptr;
        c->names = nullptr;
        c->count = c->capacity = 0;
        c->namesUsed = c->namesCapacity = 0;
    }
    void ListAdd(int id, const char* text) override {
        Control* c = Find(id);
        if (c == nullptr) return;
        if (c->count == c->capacity) {
            int capacity = c->capacity == 0 ? 64 : c->capacity * 2;
            void* grown = std::realloc(c->items, sizeof(ListItem) * capacity);
            if (grown == nullptr) return;
            c->items = static_cast<ListItem*>(grown);
            c->capacity = capacity;
        }
        const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(text)) + 1;
        if (c->namesUsed + length > c->namesCapacity) {
            std::uint32_t capacity = c->namesCapacity == 0 ? 4096 : c->namesCapacity * 2;
            while (capacity < c->namesUsed + length) capacity *= 2;
            void* grown = std::realloc(c->names, capacity);
            if (grown == nullptr) return;
            c->names = static_cast<char*>(grown);
            c->namesCapacity = capacity;
        }
        std::memcpy(c->names + c->namesUsed, text, length);
        // A sorted list box places a new item after the items that sort equal to it.
        const int at = UpperBound(*c, text);
        std::memmove(c->items + at + 1, c->items + at, sizeof(ListItem) * (c->count - at));
        c->items[at] = ListItem{c->namesUsed, false};
        c->namesUsed += length;
        ++c->count;
    }
    int ListFindExact(int id, int after, const char* text) override {
        Control* c = Find(id);
        if (c == nullptr) return -1;
        // File names here differ by case, so the search matches case and all: among the
        // items that sort equal (they stand together in [first, end)), the first exact
        // one after `after`, else the first exact one.
        const int first = LowerBound(*c, text), end = UpperBound(*c, text);
        int firstExact = -1;
        for (int i = first; i < end; ++i) {
            if (std::strcmp(c->names + c->items[i].text, text) != 0) continue;
            if (i > after) return i;
            if (firstExact < 0) firstExact = i;
        }
        return firstExact;
    }
    int ListSelected(int id, int index) override {
        Control* c = Find(id);
        if (c == nullptr || index < 0 || index >= c->count) return -1;
        return c->items[index].selected ? 1 : 0;
    }
    void ListSelect(int id, int index, bool selected) override {
        Control* c = Find(id);
        if (c == nullptr) return;
        for (int i = 0; i < c->count; ++i) {
            if (index == -1 || i == index) c->items[i].selected = selected;
        }
    }
    int ListSelectedCount(int id) override {
        Control* c = Find(id);
        int n = 0;
        for (int i = 0; c != nullptr && i < c->count; ++i) n += c->items[i].selected ? 1 : 0;
        return n;
    }
    int ListCount(int id) override {
        Control* c = Find(id);
        return c != nullptr ? c->count : 0;
    }

    void End(int result) override {
        if (!ended_) result_ = result;
        ended_ = true;
    }
    int Result() const { return ended_ ? result_ : -1; }

  private:
    // First item that sorts after text (upper) or not before it (lower), by binary search.
    static int Bound(const Control& c, const char* text, bool upper) {
        int low = 0, high = c.count;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const int order = ::strcasecmp(c.names + c.items[middle].text, text);
            if (order < 0 || (upper && order == 0)) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return low;
    }
    static int LowerBound(const Control& c, const char* text) { return Bound(c, text, false); }
    static int UpperBound(const Control& c, const char* text) { return Bound(c, text, true); }

    Control* Find(int id) {
        for (int i = 0; i < count_; ++i) {
            if (controls_[i].id == id && controls_[i].exists) return &controls_[i];
        }
        return nullptr;
    }

    Control controls_[16];
    int count_ = 0;
    char title_[261];
    bool ended_ = false;
    int result_ = -1;
};

}  // namespace

int RunMainDialog(const MainDialogProcedure& procedure) {
    MemoryDialog dialog;
    procedure.initialise(dialog);
    return dialog.Result();
}

}  // namespace os
