// The program folder and the sibling programs started from folders below it.
#pragma once

#include <QString>

#include "player_interface.h"

namespace quom {

// The separator the program folder rule works with: "\" on Windows, "/" elsewhere.
QChar PathSeparator();

// The folder part of a program path: everything up to the last separator (or, on
// Windows, ":"), without that separator unless it follows ":" or another separator.
// "/opt/kit/quom" -> "/opt/kit", "/quom" -> "/", "quom" -> "".
QString ProgramFolderOf(const QString& program_path);

// Program folder of the running program, recomputed at every call.
QString ProgramFolder();

// Program folder + separator + name, by plain concatenation (at the root this
// doubles the separator, which the system accepts).
QString SiblingFolder(const QString& program_folder, const QString& name);

// Makes folder the current directory. Throws IoError with the code for the failure.
void ChangeDirectory(const QString& folder);

// Enters folder, then starts program by its bare name without arguments and
// without waiting. The program is looked for in the program folder, then the
// current directory, then the search path; a program that is missing or does not
// start is ignored. Throws IoError only when the folder cannot be entered.
void StartSibling(const QString& program_folder, const QString& folder, const QString& program);

}  // namespace quom
