// Started by a package's command in the end-to-end tests under Wine: writes its working
// folder and then its arguments, one a line, to the file that TOVO_PROBE_RESULT names.
// The lines go to a temporary file first, which is then renamed, so that a test that
// waits for the file never reads half of it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char result[MAX_PATH];
    const DWORD n = ::GetEnvironmentVariableA("TOVO_PROBE_RESULT", result, sizeof result);
    if (n == 0 || n >= sizeof result) return 2;
    char folder[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return 2;

    std::string lines = std::string(folder) + "\n";
    for (int i = 1; i < __argc; ++i) lines += std::string(__argv[i]) + "\n";
    const std::string temporary = std::string(result) + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return 2;
    const bool written = std::fwrite(lines.data(), 1, lines.size(), out) == lines.size();
    if (std::fclose(out) != 0 || !written) return 2;
    return ::MoveFileExA(temporary.c_str(), result, MOVEFILE_REPLACE_EXISTING) ? 0 : 2;
}
