// Tovo: extracts the zip archive appended to its own file and starts the package's
// command. Of its arguments it reads only those a person gives to look at a package
// before running it (--help, --list, --check, --target FOLDER).
#include <csignal>

#include "SFXgbls.h"

int main(int argc, char** argv) {
    // A write past the file size limit then fails like one on a full disk, and the run
    // reports it and removes its temporary file, instead of ending in the middle.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!ReadArguments(argc, argv)) return kExitFailure;
    return RunStub();
}
