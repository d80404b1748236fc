// The general error handler: a command that fails ends there, its error is shown in
// the program's error box, and the editor goes on with whatever the command did
// before the failure.
#pragma once

#include <exception>
#include <utility>

#include <QString>

#include "dialogs.h"

namespace quom {

// The box text for an error message: a full stop is added when the message's last
// character sorts after "." ("File not found" -> "File not found.", but a message
// ending in ")" or "." stays as it is).
QString ErrorBoxText(const QString& message);

// Shows the current exception (called inside a catch block).
void ReportCurrentError(Dialogs& dialogs);

// Runs one command; any exception it throws is reported and swallowed.
template <typename Command>
void RunCommand(Dialogs& dialogs, Command&& command) {
    try {
        std::forward<Command>(command)();
    } catch (...) {
        ReportCurrentError(dialogs);
    }
}

}  // namespace quom
