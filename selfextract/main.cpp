// Tovo: extracts the zip archive appended to its own file and starts the package's
// command. It reads no arguments.
#include "SFXgbls.h"

int main() {
    return RunStub();
}
