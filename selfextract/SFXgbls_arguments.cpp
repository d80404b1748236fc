// The few arguments a person gives a package to look at it before running it, as other
// self-extracting packages on POSIX systems take them. Anything else on the command
// line is let be: a package run with no arguments, or with ones it does not know, runs
// as it always does.
#include <cstring>

#include "SFXgbls.h"
#include "SFXmisc.h"

RunMode Mode = RunMode::Extract;
char TargetFolder[kTextSize];

namespace {

bool Is(const char* argument, const char* option) {
    return std::strcmp(argument, option) == 0;
}

void TakeMode(RunMode mode) {
    if (mode > Mode) Mode = mode;  // --help before --list before --check
}

// folder, made absolute from the current folder, into TargetFolder.
bool TakeTarget(const char* folder) {
    TargetFolder[0] = '\0';
    const bool absolute = IsPathSeparator(folder[0]);
    const char separator[2] = {os::kSeparator, '\0'};
    if ((absolute || (os::CurrentFolder(TargetFolder, kTextSize - 1) &&
                      AppendText(TargetFolder, separator, kTextSize - 1))) &&
        AppendText(TargetFolder, folder, kTextSize - 1)) {
        return true;
    }
    os::ShowMessage(folder, "Error in directory ..", os::kMbIconError);
    return false;
}

}  // namespace

bool ReadArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "--help") || Is(argv[i], "-h")) TakeMode(RunMode::Help);
        if (Is(argv[i], "--list")) TakeMode(RunMode::List);
        if (Is(argv[i], "--check")) TakeMode(RunMode::Check);
        if (!Is(argv[i], "--target")) continue;
        if (i + 1 == argc) {
            os::ShowMessage("--target needs a folder", "Error..", os::kMbIconError);
            return false;
        }
        if (!TakeTarget(argv[++i])) return false;
    }
    return true;
}

void ShowHelp() {
    static const char* const kLines[] = {
        "usage: PACKAGE [--list | --check | --target FOLDER | --help]",
        "A self-extracting package. Run without options, it extracts its files into the",
        "package's folder (or the current folder) and starts the package's command.",
        "  --list           list the files and their sizes; nothing is written",
        "  --check          decode every file and check its CRC; nothing is written",
        "  --target FOLDER  extract into FOLDER instead",
        "  --help           show this text",
    };
    for (const char* line : kLines) os::WriteLine(line);
}
