// The command run after a successful extraction.
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

namespace {

// Part 1 or 2 of Command as it stands, and ExtractDir with its trailing separator,
// which the placeholder stands for and which ExtractDir keeps from here on.
void CommandPartText(int part, char* text, std::uint32_t size) {
    if (!EndsWith(ExtractDir, os::kSeparator) && std::strlen(ExtractDir) < kTextSize - 1) {
        const char separator[2] = {os::kSeparator, '\0'};
        AppendText(ExtractDir, separator, kTextSize);
    }
    const char* bar = std::strchr(Command, '|');
    if (part == 1) {
        std::uint32_t length = bar != nullptr ? static_cast<std::uint32_t>(bar - Command)
                                              : static_cast<std::uint32_t>(std::strlen(Command));
        CopyText(text, Command, length + 1 < size ? length + 1 : size);
    } else {
        CopyText(text, bar != nullptr ? bar + 1 : "", size);
    }
}

}  // namespace

void GetCommandPart(int part, char* text, std::uint32_t size) {
    CommandPartText(part, text, size);
    ReplaceAll(text, size, "><", ExtractDir);
    os::ShortPath(text, size);
}

bool IsInfFile(const char* text) {
    const std::size_t n = std::strlen(text);
    if (n < 4 || text[n - 4] != '.') return false;
    const char upper[3] = {static_cast<char>(text[n - 3] & ~0x20),
                           static_cast<char>(text[n - 2] & ~0x20),
                           static_cast<char>(text[n - 1] & ~0x20)};
    return upper[0] == 'I' && upper[1] == 'N' && upper[2] == 'F';
}

void BuildRunCaption(char* caption, std::uint32_t size) {
    char part[kTextSize], program[kTextSize], parameters[kTextSize];
    GetCommandPart(1, part, sizeof part);
    NameOfPath(part, program, sizeof program);
    GetCommandPart(2, part, sizeof part);
    NameOfPath(part, parameters, sizeof parameters);
    CopyText(caption, "After extraction, >< : ", size);
    AppendText(caption, program, size);
    AppendText(caption, " ", size);
    AppendText(caption, parameters, size);
    ReplaceAll(caption, size, "><", IsInfFile(program) ? "install" : "run");
}

bool BuildInfCommand(int family, const char* systemFolder, const char* path, const char* parameters,
                     char* command, std::uint32_t size) {
    if (size == 0 || family == -1) return false;
    command[0] = '\0';
    if (family != 1 && family != 2) return AppendText(command, path, size);
    const char* installer = family == 1 ? "rundll.exe" : "rundll32.exe";
    const char* section = family == 1 ? " setupx.dll,InstallHinfSection DefaultInstall 132 "
                          : std::strcmp(parameters, ".ntx86") == 0
                              ? " setupapi.dll,InstallHinfSection DefaultInstall.ntx86 132 "
                              : " setupapi.dll,InstallHinfSection DefaultInstall 132 ";
    // The installer is named with its folder so that a program of the same name beside
    // the package (a downloads folder is searched first) is not the one started.
    const bool quoted = std::strchr(systemFolder, ' ') != nullptr;
    return (!quoted || AppendText(command, "\"", size)) &&
           AppendText(command, systemFolder, size) && AppendText(command, installer, size) &&
           (!quoted || AppendText(command, "\"", size)) && AppendText(command, section, size) &&
           AppendText(command, path, size);
}

bool InstallInf(const char* path, const char* parameters) {
    const int family = os::PlatformFamily();
    // rundll.exe of the Windows 95 family lives in the Windows folder, rundll32.exe of
    // the NT family in the system folder.
    char folder[kTextSize];
    const bool known = family == 1 ? os::WindowsFolder(folder, sizeof folder)
                                   : os::SystemFolder(folder, sizeof folder);
    if (!known) folder[0] = '\0';
    char command[2 * kTextSize];
    if (!BuildInfCommand(family, folder, path, parameters, command, sizeof command)) return false;
    return os::RunCommandLine(command);
}

bool RunAfterExtraction(bool runChecked) {
    if (!runChecked || !HasCommand) return true;
    char program[kTextSize], parameters[kTextSize];
    GetCommandPart(1, program, sizeof program);
#if defined(_WIN32)
    GetCommandPart(2, parameters, sizeof parameters);
#else
    // The program splits its parameters into words itself, after "><" is put in, so
    // that a folder name with blanks stays one word.
    CommandPartText(2, parameters, sizeof parameters);
#endif
    if (std::strlen(program) <= 4) return false;
    if (IsInfFile(program)) return InstallInf(program, parameters);
    return os::OpenProgram(program, parameters, ExtractDir);
}
