// File names written in actions, as the system can use them. Pages are often written
// on Windows, so on other systems "\" separates folders too, and names the system
// cannot have (a drive such as "C:", a network share "\\server\share") are refused
// rather than guessed at.
#pragma once

#include <QString>

namespace quom {

struct ActionPath {
    QString path;   // absolute and clean when error is empty
    QString error;  // why the name cannot be used here
};

// The argument as a path: relative names are taken from page_folder.
ActionPath ResolveActionPath(const QString& argument, const QString& page_folder);

}  // namespace quom
