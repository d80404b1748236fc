// Errors raised by the page library. Every command of the editor lets them travel
// up to one general error handler, which shows what() to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace quom {

// Base of every error the editor reports to the user; what() is the message text.
class QuomError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An input/output error with the run-time's code. The message comes from one table
// (MessageForIoCode) so every command words the same failure the same way.
class IoError : public QuomError {
  public:
    explicit IoError(int code);
    int code() const { return code_; }

  private:
    int code_;
};

// Run-time codes of input/output errors.
inline constexpr int kIoFileNotFound = 2;
inline constexpr int kIoInvalidFilename = 3;  // also: a folder on the path is missing
inline constexpr int kIoTooManyOpenFiles = 4;
inline constexpr int kIoAccessDenied = 5;
inline constexpr int kIoReadBeyondEnd = 100;
inline constexpr int kIoDiskFull = 101;
inline constexpr int kIoInvalidNumericInput = 106;

// "File not found", "Invalid filename", ... or "I/O error %d" for any other code.
std::string MessageForIoCode(int code);

// What the caller was doing when errno was set: the same errno means different
// codes (a missing name is "File not found" when opening, but a missing folder
// while creating a file is "Invalid filename").
enum class IoAction { Open, Create, ChangeDirectory };

// Maps an errno value to the run-time code.
int IoCodeFromErrno(int err, IoAction action);

// Formats a message with one "%s" (or "%d") replaced by arg.
std::string FormatMessage(const std::string& pattern, const std::string& arg);

}  // namespace quom
