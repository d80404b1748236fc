// Tovo: extracts the zip archive appended to its own file and starts the package's
// command. It reads no arguments.
#include <csignal>

#include "SFXgbls.h"

int main() {
    // A write past the file size limit then fails like one on a full disk, and the run
    // reports it and removes its temporary file, instead of ending in the middle.
    std::signal(SIGXFSZ, SIG_IGN);
    return RunStub();
}
