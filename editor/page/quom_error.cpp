#include "quom_error.h"

#include <cerrno>

namespace quom {

IoError::IoError(int code) : QuomError(MessageForIoCode(code)), code_(code) {}

std::string MessageForIoCode(int code) {
    switch (code) {
        case kIoFileNotFound:
            return "File not found";
        case kIoInvalidFilename:
            return "Invalid filename";
        case kIoTooManyOpenFiles:
            return "Too many open files";
        case kIoAccessDenied:
            return "File access denied";
        case kIoReadBeyondEnd:
            return "Read beyond end of file";
        case kIoDiskFull:
            return "Disk full";
        case kIoInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

int IoCodeFromErrno(int err, IoAction action) {
    switch (err) {
        case ENOENT:
            // Creating a file fails this way only when a folder on its path is missing.
            return action == IoAction::Create ? kIoInvalidFilename : kIoFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return kIoInvalidFilename;
        case EMFILE:
        case ENFILE:
            return kIoTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return kIoAccessDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kIoDiskFull;
        default:
            return err;
    }
}

std::string FormatMessage(const std::string& pattern, const std::string& arg) {
    std::string::size_type at = pattern.find("%s");
    if (at == std::string::npos) at = pattern.find("%d");
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + arg + pattern.substr(at + 2);
}

}  // namespace quom
