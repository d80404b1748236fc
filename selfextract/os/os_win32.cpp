// Win32 back end of the operating-system boundary: the A functions of kernel32, user32,
// shell32 and advapi32, with the dialogs of the stub's resource script.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstring>

#include "../SFXmisc.h"
#include "os.h"

namespace os {

namespace {

HANDLE Native(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle Portable(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(handle);
}

}  // namespace

// ---- Files -----------------------------------------------------------------------

FileHandle OpenForReading(const char* path) {
    return Portable(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

FileHandle CreateForWriting(const char* path) {
    // Reading the attributes lets the caller ask the size of what it wrote.
    return Portable(::CreateFileA(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_WRITE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int32_t ReadFile(FileHandle file, void* buffer, std::uint32_t size) {
    BYTE* out = static_cast<BYTE*>(buffer);
    std::uint32_t done = 0;
    while (done < size) {
        DWORD n = 0;
        if (!::ReadFile(Native(file), out + done, size - done, &n, nullptr)) {
            return done > 0 ? static_cast<std::int32_t>(done) : -1;
        }
        if (n == 0) break;
        done += n;
    }
    return static_cast<std::int32_t>(done);
}

bool WriteFile(FileHandle file, const void* buffer, std::uint32_t size) {
    const BYTE* in = static_cast<const BYTE*>(buffer);
    std::uint32_t done = 0;
    while (done < size) {
        DWORD n = 0;
        if (!::WriteFile(Native(file), in + done, size - done, &n, nullptr) || n == 0) return false;
        done += n;
    }
    return true;
}

std::uint32_t SeekFile(FileHandle file, std::int32_t offset, SeekOrigin origin) {
    const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                         : origin == SeekOrigin::Current ? FILE_CURRENT
                                                         : FILE_END;
    // Without the high part the offset is a signed 32-bit distance; 0xFFFFFFFF is the
    // failure value (INVALID_SET_FILE_POINTER).
    return ::SetFilePointer(Native(file), offset, nullptr, method);
}

std::uint32_t FileSize(FileHandle file) {
    return ::GetFileSize(Native(file), nullptr);  // INVALID_FILE_SIZE on failure
}

bool CloseFile(FileHandle file) {
    return file == kNoFile || ::CloseHandle(Native(file)) != 0;
}

// ---- Folders, names and times -------------------------------------------------------

bool OwnProgramPath(char* buffer, std::uint32_t size) {
    if (size == 0) return false;
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, size);
    return n > 0 && n < size;  // n == size: the path was cut
}

bool ObjectExists(const char* path) {
    // Find-first-file reads the folder's entry itself: a link is not followed. Wildcards
    // would match other names, and a name holding one cannot exist.
    if (std::strpbrk(path, "*?") != nullptr) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
}

bool FolderExists(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsSymbolicLink(const char* path) {
    // Symbolic links and junctions are both reparse points.
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool CreateFolder(const char* path) {
    return ::CreateDirectoryA(path, nullptr) != 0;
}

FileHandle CreateUniqueFile(const char* folder, char* path, std::uint32_t size) {
    static const char kPrefix[] = ".tovo-";
    static const char kDigits[] = "0123456789abcdef";
    const std::size_t length = std::strlen(folder);
    if (length + sizeof kPrefix + 6 > size) return kNoFile;
    static DWORD counter = 0;
    for (int attempt = 0; attempt < 64; ++attempt) {
        DWORD seed = (::GetTickCount() ^ (::GetCurrentProcessId() << 12)) + ++counter * 0x9E3779B1u;
        std::memcpy(path, folder, length);
        std::memcpy(path + length, kPrefix, sizeof kPrefix - 1);
        char* digits = path + length + sizeof kPrefix - 1;
        for (int i = 0; i < 6; ++i, seed >>= 4) digits[i] = kDigits[seed & 0x0F];
        digits[6] = '\0';
        // Create-new never opens or replaces what is there, link or file.
        HANDLE file = ::CreateFileA(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_WRITE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return Portable(file);
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    path[0] = '\0';
    return kNoFile;
}

bool MoveIntoPlace(const char* source, const char* target) {
    if (::MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING)) return true;
    // The Windows 95 family has no MoveFileExA: remove the old file, then rename.
    if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    const DWORD attributes = ::GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !::DeleteFileA(target)) return false;
    }
    return ::MoveFileA(source, target) != 0;
}

bool RemoveFile(const char* path) {
    return ::DeleteFileA(path) != 0;
}

// ---- Folders reached without following links -----------------------------------------
// A folder handle is the folder's path with its trailing backslash, on the heap: the
// ANSI functions open nothing relative to a folder, so each folder is checked for a
// reparse point as it is opened.

namespace {

struct FolderPath {
    char text[MAX_PATH + 1];
};

// folder's path followed by name into path; false when it does not fit.
bool PathIn(FolderHandle folder, const char* name, char* path) {
    path[0] = '\0';
    return AppendText(path, reinterpret_cast<FolderPath*>(folder)->text, MAX_PATH + 1) &&
           AppendText(path, name, MAX_PATH + 1);
}

FolderHandle NewFolder(const char* path) {
    FolderPath* folder =
        static_cast<FolderPath*>(::HeapAlloc(::GetProcessHeap(), 0, sizeof(FolderPath)));
    if (folder == nullptr) return kNoFolder;
    CopyText(folder->text, path, sizeof folder->text);
    if (!EndsWith(folder->text, '\\') && !AppendText(folder->text, "\\", sizeof folder->text)) {
        ::HeapFree(::GetProcessHeap(), 0, folder);
        return kNoFolder;
    }
    return reinterpret_cast<FolderHandle>(folder);
}

}  // namespace

FolderHandle OpenFolder(const char* path) {
    return FolderExists(path) ? NewFolder(path) : kNoFolder;
}

FolderHandle OpenFolderIn(FolderHandle folder, const char* name, bool create) {
    char path[MAX_PATH + 1];
    if (!PathIn(folder, name, path)) return kNoFolder;
    if (create && ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) CreateFolder(path);
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return kNoFolder;
    }
    return NewFolder(path);
}

void CloseFolder(FolderHandle folder) {
    if (folder != kNoFolder) ::HeapFree(::GetProcessHeap(), 0, reinterpret_cast<void*>(folder));
}

ObjectKind KindIn(FolderHandle folder, const char* name) {
    char path[MAX_PATH + 1];
    const DWORD attributes =
        PathIn(folder, name, path) ? ::GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES) return ObjectKind::None;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return ObjectKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ObjectKind::Folder : ObjectKind::File;
}

FileHandle CreateUniqueFileIn(FolderHandle folder, char* name, std::uint32_t size) {
    const char* base = reinterpret_cast<FolderPath*>(folder)->text;
    char path[MAX_PATH + 1];
    const FileHandle file = CreateUniqueFile(base, path, sizeof path);
    if (file != kNoFile) CopyText(name, path + std::strlen(base), size);
    return file;
}

bool MoveIntoPlaceIn(FolderHandle folder, const char* source, const char* target) {
    char from[MAX_PATH + 1], to[MAX_PATH + 1];
    return PathIn(folder, source, from) && PathIn(folder, target, to) && MoveIntoPlace(from, to);
}

bool RemoveFileIn(FolderHandle folder, const char* name) {
    char path[MAX_PATH + 1];
    return PathIn(folder, name, path) && RemoveFile(path);
}

namespace {

// LocalFileTimeToFileTime applies today's daylight-saving bias, which is an hour off for
// a file dated in the other half of the year. Where the system has it (Windows XP on),
// the time zone's rule for the file's own date is used instead.
bool LocalToUniversalOnItsDate(const FILETIME& local, FILETIME* universal) {
    using Convert = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        kernel != nullptr ? ::GetProcAddress(kernel, "TzSpecificLocalTimeToSystemTime") : nullptr));
    SYSTEMTIME localTime, universalTime;
    return convert != nullptr && ::FileTimeToSystemTime(&local, &localTime) &&
           convert(nullptr, &localTime, &universalTime) &&
           ::SystemTimeToFileTime(&universalTime, universal);
}

}  // namespace

bool SetLastWriteTime(FileHandle file, const LocalTime& time) {
    if (time.year < 1980 || time.year > 2107) return false;
    const WORD dosDate = static_cast<WORD>((time.year - 1980) << 9 | time.month << 5 | time.day);
    const WORD dosTime = static_cast<WORD>(time.hour << 11 | time.minute << 5 | time.second / 2);
    FILETIME local, universal;
    if (!::DosDateTimeToFileTime(dosDate, dosTime, &local)) return false;
    if (!LocalToUniversalOnItsDate(local, &universal) &&
        !::LocalFileTimeToFileTime(&local, &universal)) {
        return false;
    }
    return ::SetFileTime(Native(file), nullptr, nullptr, &universal) != 0;
}

bool CurrentFolder(char* buffer, std::uint32_t size) {
    const DWORD n = ::GetCurrentDirectoryA(size, buffer);
    return n > 0 && n < size;  // too small a buffer: n is the size needed
}

bool SetCurrentFolder(const char* path) {
    return ::SetCurrentDirectoryA(path) != 0;
}

namespace {

// A folder the system reports into buffer, with a trailing backslash.
bool WithSeparator(UINT length, char* buffer, std::uint32_t size) {
    if (length == 0 || length >= size) return false;
    return EndsWith(buffer, '\\') || AppendText(buffer, "\\", size);
}

}  // namespace

bool TempFolder(char* buffer, std::uint32_t size) {
    return WithSeparator(::GetTempPathA(size, buffer), buffer, size);
}

bool SystemFolder(char* buffer, std::uint32_t size) {
    return WithSeparator(::GetSystemDirectoryA(buffer, size), buffer, size);
}

bool WindowsFolder(char* buffer, std::uint32_t size) {
    return WithSeparator(::GetWindowsDirectoryA(buffer, size), buffer, size);
}

bool ShortPath(char* path, std::uint32_t size) {
    char shortPath[MAX_PATH + 1];
    const DWORD n = ::GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (n == 0 || n >= sizeof shortPath || n >= size) return false;
    std::memcpy(path, shortPath, n + 1);
    return true;
}

// ---- Registry ----------------------------------------------------------------------

std::uint32_t ReadRegistryValue(RegistryRoot root, const char* subkey, const char* name,
                                char* buffer, std::uint32_t size) {
    HKEY rootKey = root == RegistryRoot::CurrentUser    ? HKEY_CURRENT_USER
                   : root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE
                                                        : HKEY_USERS;
    HKEY key;
    if (::RegOpenKeyExA(rootKey, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD valueSize = 0;
    std::uint32_t reported = 0;
    if (::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &valueSize) == ERROR_SUCCESS &&
        valueSize > 0) {
        // The whole value is read, whatever its length, so that the first folder of a
        // long list is found; its type is not examined. A stored text need not end
        // with a NUL, hence the extra byte.
        HANDLE heap = ::GetProcessHeap();
        char* value = static_cast<char*>(::HeapAlloc(heap, HEAP_ZERO_MEMORY, valueSize + 1));
        DWORD got = valueSize;
        if (value != nullptr &&
            ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &got) ==
                ERROR_SUCCESS) {
            CopyText(buffer, value, size);
            reported = valueSize;
        }
        if (value != nullptr) ::HeapFree(heap, 0, value);
    }
    ::RegCloseKey(key);
    return reported;
}

// ---- Programs ----------------------------------------------------------------------

int PlatformFamily() {
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;  // the 148-byte structure
    if (!::GetVersionExA(&version)) return -1;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return 1;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return 2;
    return 0;
}

bool OpenProgram(const char* program, const char* parameters, const char* folder) {
    // ShellExecuteA reports success with a value above 32.
    const HINSTANCE started =
        ::ShellExecuteA(nullptr, "open", program, parameters, folder, SW_SHOW);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

bool RunCommandLine(const char* commandLine) {
    return ::WinExec(commandLine, SW_SHOW) > 31;
}

// ---- Windows of the stub -------------------------------------------------------------

namespace {

HINSTANCE Instance() {
    return ::GetModuleHandleA(nullptr);
}

// Moves a window to the centre of the screen, keeping its size and stacking order.
void CenterWindow(HWND window) {
    RECT r;
    if (!::GetWindowRect(window, &r)) return;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK EnableIfNotStatic(HWND child, LPARAM enable) {
    char className[16];
    if (::IsWindowVisible(child) && ::GetClassNameA(child, className, sizeof className) > 0 &&
        ::lstrcmpiA(className, "Static") != 0) {
        ::EnableWindow(child, enable != 0);
    }
    return TRUE;
}

// Enables or disables every visible control of a dialog that is not a static text.
void EnableDialogControls(HWND dialog, bool enable) {
    ::EnumChildWindows(dialog, EnableIfNotStatic, enable ? 1 : 0);
}

}  // namespace

// ---- Messages and questions ---------------------------------------------------------

int ShowMessage(const char* text, const char* title, unsigned type) {
    const int answer = ::MessageBoxA(nullptr, text, title, type);
    if (answer != 0) return answer;
    // No box could be shown: take the safe answer.
    const unsigned buttons = type & 0x0F;
    if (buttons == kMbOkCancel) return kIdCancel;
    if (buttons == kMbYesNo) return kIdNo;
    return kIdOk;
}

void WriteLine(const char*) {}

int ShowMessageAndWait(const char* text, const char* title, unsigned type) {
    return ShowMessage(text, title, type);
}

namespace {

// Control ids of the PASSWD and FILEEXIST templates.
constexpr int kIdAnswerEdit = 101;
constexpr int kIdDontAskAgain = 401;

struct PasswordRequest {
    char* buffer;
    std::uint32_t size;
    std::uint32_t length;
};

INT_PTR CALLBACK PasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        CenterWindow(dialog);
        ::SetFocus(::GetDlgItem(dialog, kIdAnswerEdit));
        return FALSE;  // the focus is set
    }
    // Only "&Ok" (and Enter) closes the dialog; there is no Cancel and Escape does
    // nothing.
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        auto* request = reinterpret_cast<PasswordRequest*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        request->length = ::GetDlgItemTextA(dialog, kIdAnswerEdit, request->buffer,
                                            static_cast<int>(request->size));
        ::EndDialog(dialog, IDOK);
        return TRUE;
    }
    return message == WM_COMMAND && LOWORD(wParam) == IDCANCEL;
}

struct OverwriteRequest {
    const char* text;
    bool dontAskAgain;
};

INT_PTR CALLBACK OverwriteProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        CenterWindow(dialog);
        ::SetDlgItemTextA(dialog, kIdAnswerEdit, reinterpret_cast<OverwriteRequest*>(lParam)->text);
        return TRUE;
    }
    // "&Yes" is IDOK; "&No", Escape and the close box are IDCANCEL.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        auto* request = reinterpret_cast<OverwriteRequest*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        request->dontAskAgain = ::IsDlgButtonChecked(dialog, kIdDontAskAgain) == BST_CHECKED;
        ::EndDialog(dialog, LOWORD(wParam) == IDOK ? IDYES : IDNO);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::uint32_t AskPassword(char* buffer, std::uint32_t size) {
    if (size == 0) return 0;
    buffer[0] = '\0';
    PasswordRequest request{buffer, size, 0};
    if (::DialogBoxParamA(Instance(), "PASSWD", nullptr, PasswordProc,
                          reinterpret_cast<LPARAM>(&request)) != IDOK) {
        buffer[0] = '\0';
        return 0;
    }
    return request.length;
}

bool AskOverwrite(const char* text, bool* dontAskAgain) {
    OverwriteRequest request{text, false};
    const INT_PTR answer = ::DialogBoxParamA(Instance(), "FILEEXIST", nullptr, OverwriteProc,
                                             reinterpret_cast<LPARAM>(&request));
    // A dialog that could not be shown gives No, and asks again next time.
    *dontAskAgain = (answer == IDYES || answer == IDNO) && request.dontAskAgain;
    return answer == IDYES;
}

void HandlePendingMessage() {
    MSG message;
    if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

// The dialogs show what is going on; there is no separate progress display.
void ShowProgress(std::uint32_t, std::uint64_t) {}
void EndProgress() {}

// ---- The main dialog: the real MAINDIALOG with its list boxes ---------------------------

namespace {

class Win32Dialog final : public DialogHost {
  public:
    explicit Win32Dialog(HWND dialog) : dialog_(dialog) {}

    void SetText(int id, const char* text) override { ::SetDlgItemTextA(dialog_, id, text); }
    void GetText(int id, char* buffer, std::uint32_t size) override {
        if (size == 0) return;
        buffer[0] = '\0';
        ::GetDlgItemTextA(dialog_, id, buffer, static_cast<int>(size));
    }
    void SelectText(int id) override { Send(id, EM_SETSEL, 0, 32767); }
    void SetTitle(const char* text) override { ::SetWindowTextA(dialog_, text); }
    void SetIcon() override {
        HICON icon = ::LoadIconA(Instance(), "MnIcon");
        // SetClassLongPtrA is SetClassLongA in a 32-bit build.
        ::SetClassLongPtrA(dialog_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    }
    void Center() override { CenterWindow(dialog_); }
    void SetCheck(int id, bool checked) override {
        Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    bool IsChecked(int id) override { return Send(id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void CheckRadio(int first, int last, int id) override {
        ::CheckRadioButton(dialog_, first, last, id);
    }
    void Show(int id, bool visible) override {
        if (HWND control = ::GetDlgItem(dialog_, id))
            ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    }
    void Destroy(int id) override {
        if (HWND control = ::GetDlgItem(dialog_, id)) ::DestroyWindow(control);
    }
    void EnableControls(bool enabled) override { EnableDialogControls(dialog_, enabled); }

    void ListReset(int id) override { Send(id, LB_RESETCONTENT, 0, 0); }
    void ListAdd(int id, const char* text) override {
        Send(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    int ListFindExact(int id, int after, const char* text) override {
        // The list box's search ignores case: of names that differ in case only it may
        // stop at one the walk has already dealt with. The item wanted has the same text,
        // case and all. The search starts after `after` (at the top for -1) and wraps;
        // LB_ERR is -1.
        const int first = FindIgnoringCase(id, after, text);
        for (int index = first; index >= 0;) {
            if (HasText(id, index, text)) return index;
            index = FindIgnoringCase(id, index, text);
            if (index == first) break;
        }
        return -1;
    }
    int ListSelected(int id, int index) override {
        return static_cast<int>(Send(id, LB_GETSEL, static_cast<WPARAM>(index), 0));
    }
    void ListSelect(int id, int index, bool selected) override {
        Send(id, LB_SETSEL, selected ? TRUE : FALSE, index);
    }
    int ListSelectedCount(int id) override {
        return static_cast<int>(Send(id, LB_GETSELCOUNT, 0, 0));
    }
    int ListCount(int id) override { return static_cast<int>(Send(id, LB_GETCOUNT, 0, 0)); }

    void End(int result) override { ::EndDialog(dialog_, result); }

  private:
    int FindIgnoringCase(int id, int after, const char* text) {
        return static_cast<int>(Send(id, LB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                                     reinterpret_cast<LPARAM>(text)));
    }
    bool HasText(int id, int index, const char* text) {
        char item[MAX_PATH + 1];  // entry names are shorter
        const LRESULT length = Send(id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        return length >= 0 && length < static_cast<LRESULT>(sizeof item) &&
               Send(id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)) ==
                   length &&
               std::strcmp(item, text) == 0;
    }

    // Sends to a control; a destroyed control answers LB_ERR (-1).
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
        HWND control = ::GetDlgItem(dialog_, id);
        return control != nullptr ? ::SendMessageA(control, message, wParam, lParam) : LB_ERR;
    }

    HWND dialog_;
};

const MainDialogProcedure* mainProcedure = nullptr;

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    Win32Dialog host(dialog);
    // The initialisation ends with Start, which ends the dialog: it is over before it
    // is first shown.
    if (message == WM_INITDIALOG) {
        mainProcedure->initialise(host);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        mainProcedure->command(host, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunMainDialog(const MainDialogProcedure& procedure) {
    mainProcedure = &procedure;
    const INT_PTR result = ::DialogBoxParamA(Instance(), "MainDialog", nullptr, MainDialogProc, 0);
    mainProcedure = nullptr;
    return static_cast<int>(result);
}

}  // namespace os
