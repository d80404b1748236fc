// Start-up of the stub, the start-up message and the clean-up on the way out.
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"

std::uint32_t Seek(std::int64_t position, os::SeekOrigin origin) {
    if (position < INT32_MIN || position > INT32_MAX) {
        LastSeekPos = 0xFFFFFFFF;
    } else {
        LastSeekPos = os::SeekFile(ArchiveFile, static_cast<std::int32_t>(position), origin);
    }
    return LastSeekPos;
}

void ReportBadPayload() {
    os::ShowMessage("Incorrect file size, please try to download this file again.", "Error..",
                    os::kMbIconError);
}

bool ShowStartupMessage() {
    // The first character picks the box: 1 OK/Cancel, 2 Yes/No, anything else a plain
    // box. Codes 1 to 6 are markers and are not shown.
    const std::uint8_t code = static_cast<std::uint8_t>(StartupMessage[0]);
    unsigned type = os::kMbOk;
    if (code == 1) type = os::kMbOkCancel | os::kMbIconInfo;
    if (code == 2) type = os::kMbYesNo | os::kMbIconQuestion;
    if (code >= 1 && code < 7) {
        std::memmove(StartupMessage, StartupMessage + 1, std::strlen(StartupMessage));
    }
    // A message that scrolled past unread would be no message at all.
    const int answer = os::ShowMessageAndWait(StartupMessage, Caption, type);
    return type == os::kMbOk || (answer != os::kIdCancel && answer != os::kIdNo);
}

void ExitCleanup() {
    if (!os::CloseFile(ArchiveFile)) {
        os::ShowMessage("Cannot close the file", "Error..", os::kMbIconError);
    }
    ArchiveFile = os::kNoFile;
    ReleaseCrcTable();
}

int RunStub() {
    // Set here rather than in the program's data, where it would take file space the
    // stub's fixed length cannot spare.
    CopyText(Caption, "PROGRAM", kTextSize);
    if (Mode == RunMode::Help) {
        ShowHelp();
        return kExitSuccess;
    }
    char ownPath[1024] = "";
    if (os::OwnProgramPath(ownPath, sizeof ownPath)) ArchiveFile = os::OpenForReading(ownPath);
    if (ArchiveFile == os::kNoFile) {
        os::ShowMessage(ownPath, "Error reading archive.", os::kMbIconError);
        ExitCleanup();
        return kExitFailure;
    }
    if (!BuildCrcTable()) {
        ExitCleanup();
        return kExitFailure;
    }
    const ConfigResult config = ReadConfig();
    int status = config == ConfigResult::Declined ? kExitDeclined : kExitFailure;
    if (TargetFolder[0] != '\0') {
        CopyText(DefaultFolder, TargetFolder, kTextSize);
        HasDefaultFolder = true;
    }
    if (config == ConfigResult::Ok && Mode == RunMode::List) {
        if (ListArchive()) status = kExitSuccess;
    } else if (config == ConfigResult::Ok && RunMainDialog() == 1) {
        status = CommandFailed ? kExitNoCommand : kExitSuccess;
    }
    ExitCleanup();
    return status;
}
