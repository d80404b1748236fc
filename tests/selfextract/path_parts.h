// Folder and name of a path as the stub's path routines give them, as strings.
#pragma once

#include <string>

#include "SFXgbls.h"
#include "SFXmisc.h"

inline std::string Folder(const char* path) {
    char out[kTextSize];
    FolderOfPath(path, out, sizeof out);
    return out;
}

inline std::string Name(const char* path) {
    char out[kTextSize];
    NameOfPath(path, out, sizeof out);
    return out;
}
