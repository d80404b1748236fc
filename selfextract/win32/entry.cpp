// Entry point of the Windows stub. The program starts here, without the C run-time's
// start-up code: the stub reads no arguments and needs no static constructors, and the
// run-time's own DLL (msvcrt) initialises itself when it is loaded.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "SFXgbls.h"

namespace {

// A package usually runs from a downloads folder, where someone may have put a DLL
// named like one the system loads on demand. From here on only the system folder is
// searched. SetDefaultDllDirectories exists from Windows 8 (and Windows 7 with
// KB2533623); older systems get SetDllDirectoryA(""), which takes the current folder
// out of the search; the oldest have neither.
void RestrictDllSearch() {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return;
    using SetDefault = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCSTR);
    if (auto setDefault = reinterpret_cast<SetDefault>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))) {
        if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    }
    if (auto setDirectory = reinterpret_cast<SetDirectory>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDllDirectoryA")))) {
        setDirectory("");
    }
}

}  // namespace

// The process's first instruction runs here; the stack is only 4-byte aligned.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void TovoEntry() {
    RestrictDllSearch();
    ::ExitProcess(static_cast<UINT>(RunStub()));
}
