// The archive walk: lists the entries, or extracts the selected ones. The list box is
// both the selection and the record of what is still to do: an entry dealt with is
// deselected, and whatever stays selected has failed.
#include <cstring>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXinflt.h"
#include "SFXmisc.h"

LocalHeaderRecord LocalHeader;
std::int32_t CurrentIndex = -1;

namespace {

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kMethodStored = 0, kMethodDeflated = 8;
constexpr std::uint32_t kEncryptionHeaderSize = 12;

// The name buffer holds 257 characters and a NUL; longer names are refused. A name
// turned into UTF-8 takes at most three bytes for each of them.
constexpr std::uint32_t kNameBufferSize = 258;
constexpr std::uint32_t kFileNameSize = 3 * (kNameBufferSize - 1) + 1;

char LastFileName[256];

void ReportError(const char* text, const char* title) {
    os::ShowMessage(text, title, os::kMbIconError);
}

// Reports a message about a name or path from the archive, which is shown with its
// control characters escaped.
void ReportAbout(const char* title, const char* lead, const char* name,
                 unsigned type = os::kMbIconError) {
    char text[4 * kFileNameSize + 40];
    CopyText(text, lead, sizeof text);
    const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(text));
    ShowableText(name, text + length, sizeof text - length);
    os::ShowMessage(text, title, type);
}

void ReportInvalidName(const char* name) {
    ReportAbout("Error..", "Invalid filename. ", name);
}

// Moves to an absolute position given as a 64-bit sum; false when it cannot be reached.
bool SeekTo(std::uint64_t position) {
    if (position > 0x7FFFFFFF) return false;
    return Seek(static_cast<std::int64_t>(position), os::SeekOrigin::Begin) != 0xFFFFFFFF;
}

enum class Step { Next, StopRun, Abort };

struct Walk {
    os::DialogHost& dialog;
    int listId;
    bool anySelected = false;
    bool passwordFailed = false;
    std::uint32_t entriesDone = 0;
    std::uint64_t bytesDone = 0;
    EntryFolders folders;
};

void Deselect(Walk& walk) {
    walk.dialog.ListSelect(walk.listId, CurrentIndex, false);
}

// Asks whether to overwrite LastFileName; the answer may change OverwriteMode.
bool AskOverwrite() {
    char text[4 * sizeof LastFileName + 40];
    ShowableText(LastFileName, text, sizeof text - 40);
    AppendText(text, "...already exists, overwrite ?", sizeof text);
    bool dontAskAgain = false;
    const bool yes = os::AskOverwrite(text, &dontAskAgain);
    if (dontAskAgain) OverwriteMode = yes ? Overwrite : DontOverwrite;
    return yes;
}

// What became of an entry's data.
enum class Outcome { Extracted, BadData, NotWritten };

// Decodes the entry at the current position into a new file in folder, and puts it in
// place as leaf only when its CRC matches, so that a failed entry leaves neither a
// broken file nor a destroyed earlier one. fullPath names the entry in messages. Without
// a folder (a check) the data is decoded and checked, and nothing is written.
Outcome WriteEntry(Walk& walk, os::FolderHandle folder, const char* leaf, const char* fullPath) {
    char tempName[16];
    OutputFile = os::kNoFile;
    if (folder != os::kNoFolder) {
        OutputFile = os::CreateUniqueFileIn(folder, tempName, sizeof tempName);
        if (OutputFile == os::kNoFile) {
            ReportAbout("Cannot open file ..", "", fullPath);
            return Outcome::NotWritten;
        }
    }
    os::HandlePendingMessage();
    EntryEncrypted = (LocalHeader.flags & kFlagEncrypted) != 0;
    const std::uint32_t overhead = EntryEncrypted ? kEncryptionHeaderSize : 0;
    const std::int64_t dataSize = static_cast<std::int64_t>(LocalHeader.compressedSize) - overhead;
    Remaining = dataSize > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<std::int32_t>(dataSize);
    EntrySize = LocalHeader.uncompressedSize;
    EntryCrc = 0xFFFFFFFF;
    if (LocalHeader.method == kMethodStored) {
        CopyStoredEntry();
    } else {
        InflateEntry();
    }
    // What reached the file must be all the archive declares, with its CRC: the CRC
    // alone would pass a file cut short by a full disk.
    bool ok = (EntryCrc ^ 0xFFFFFFFF) == LocalHeader.crc && OutputWritten == EntrySize &&
              !OutputTooLong && !WriteFailed;
    // A deflated entry has at least one byte of data; none means the sizes were left
    // for a data descriptor, which this walk cannot read.
    if (LocalHeader.method == kMethodDeflated && dataSize <= 0) ok = false;
    // An encrypted entry shorter than its 12-byte header holds no data at all: it
    // must not pass as an empty file whose CRC happens to be 0.
    if (dataSize < 0) ok = false;
    if (folder == os::kNoFolder && !ok) return Outcome::BadData;
    if (folder != os::kNoFolder) {
        os::LocalTime time;
        if (ok && DosTimeToLocal(LocalHeader.dosDate, LocalHeader.dosTime, &time)) {
            os::SetLastWriteTime(OutputFile, time);
        }
        // A file whose close failed may not hold what was written: it is not put in place.
        const bool closed = os::CloseFile(OutputFile);
        OutputFile = os::kNoFile;
        if (!closed) ReportAbout("Cannot close the file", "", fullPath);
        if (!ok || !closed) {
            os::RemoveFileIn(folder, tempName);
            return WriteFailed || !closed ? Outcome::NotWritten : Outcome::BadData;
        }
        if (!os::MoveIntoPlaceIn(folder, tempName, leaf)) {
            ReportAbout("Cannot open file ..", "", fullPath);
            os::RemoveFileIn(folder, tempName);
            return Outcome::NotWritten;
        }
    }
    Deselect(walk);
    walk.entriesDone += 1;
    walk.bytesDone += LocalHeader.uncompressedSize;
    os::ShowProgress(walk.entriesDone, walk.bytesDone);
    return Outcome::Extracted;
}

// Makes ready where the entry goes: its folders, and the overwrite question when it
// exists. *folder is the folder to write leaf in, or stays kNoFolder when the entry has
// been dealt with (a folder entry, skipped, or refused).
Step PrepareTarget(Walk& walk, char* name, const char* fullPath, os::FolderHandle* folder,
                   const char** leafOut) {
    // A folder entry ("a/b/") is its last folder; a file entry is a name in a folder.
    const bool folderEntry = EndsWith(name, os::kSeparator);
    std::uint32_t length = static_cast<std::uint32_t>(std::strlen(name));
    while (length > 0 && name[length - 1] == os::kSeparator) name[--length] = '\0';
    const char* lastSeparator = std::strrchr(name, os::kSeparator);
    const char* leaf = lastSeparator != nullptr ? lastSeparator + 1 : name;
    *leafOut = leaf;
    // Never write through a link that the package did not make (it makes none).
    os::FolderHandle parent = os::kNoFolder;
    const FolderResult opened =
        OpenEntryFolders(&walk.folders, name, static_cast<std::uint32_t>(leaf - name), &parent);
    if (opened == FolderResult::Link) {
        ReportAbout("Cannot open file ..", "", fullPath);
        return Step::Next;
    }
    if (opened == FolderResult::Failed) {
        char folderPath[kTextSize];
        FolderOfPath(fullPath, folderPath, sizeof folderPath);
        ReportAbout("Error in directory ..", "", folderPath);
        return Step::StopRun;
    }
    const os::ObjectKind kind = os::KindIn(parent, leaf);
    if (folderEntry ? kind == os::ObjectKind::Folder : kind != os::ObjectKind::None) {
        if (OverwriteMode == DontOverwrite) {
            Deselect(walk);
            return Step::Next;
        }
        if (OverwriteMode == Confirm) {
            NameOfPath(fullPath, LastFileName, sizeof LastFileName);
            if (!AskOverwrite()) {
                Deselect(walk);
                return Step::Next;
            }
        }
    }
    if (!folderEntry) {
        *folder = parent;
    } else {
        const os::FolderHandle made = os::OpenFolderIn(parent, leaf, true);
        if (made != os::kNoFolder) {
            os::CloseFolder(made);
            Deselect(walk);
        } else {
            ReportAbout("Cannot open file ..", "", fullPath);
        }
    }
    return Step::Next;
}

Step ExtractEntry(Walk& walk, char* name, bool nameTooLong, std::uint64_t dataStart) {
    if (!IsSelected(walk.dialog, walk.listId, name)) return Step::Next;
    walk.anySelected = true;
    walk.passwordFailed = false;
    NormaliseEntryName(name);
    if (nameTooLong || !IsSafeEntryName(name)) {
        ReportInvalidName(name);
        return Step::Next;
    }
    // Before any password is asked: AES-encrypted entries (method 99) cannot be
    // extracted with any.
    if (LocalHeader.method != kMethodStored && LocalHeader.method != kMethodDeflated) {
        ReportError("Unknown compression type", "Error..");
        return Step::Abort;
    }
    if (!SeekTo(dataStart)) return Step::StopRun;
    const bool encrypted = (LocalHeader.flags & kFlagEncrypted) != 0;
    int asked = 0;  // password dialogs shown for this entry
    if (encrypted && !PasswordProcedure(LocalHeader.flags, LocalHeader.dosTime, LocalHeader.crc,
                                        &asked, false)) {
        walk.passwordFailed = true;
        return Step::StopRun;
    }
    char fullPath[kTextSize];
    const char separator[2] = {os::kSeparator, '\0'};
    CopyText(fullPath, ExtractDir, sizeof fullPath);
    if (!AppendText(fullPath, separator, sizeof fullPath) ||
        !AppendText(fullPath, name, sizeof fullPath)) {
        ReportInvalidName(name);
        return Step::Next;
    }
    os::FolderHandle folder = os::kNoFolder;
    const char* leaf = name;
    if (Mode == RunMode::Check) {
        CopyText(fullPath, name, sizeof fullPath);  // messages name the entry
        if (EndsWith(name, os::kSeparator)) {
            Deselect(walk);
            return Step::Next;
        }
    } else {
        const Step step = PrepareTarget(walk, name, fullPath, &folder, &leaf);
        if (step != Step::Next || folder == os::kNoFolder) return step;
    }
    for (;;) {
        const Outcome outcome = WriteEntry(walk, folder, leaf, fullPath);
        if (outcome != Outcome::BadData) return Step::Next;
        if (!encrypted) break;
        // A wrong password passes the one-byte check about once in 256 tries; the entry
        // then fails to decode, and that counts as a wrong password.
        char tried[sizeof Password];
        CopyText(tried, Password, sizeof tried);
        if (!SeekTo(dataStart)) return Step::StopRun;
        if (!PasswordProcedure(LocalHeader.flags, LocalHeader.dosTime, LocalHeader.crc, &asked,
                               true)) {
            walk.passwordFailed = true;
            return Step::StopRun;
        }
        // The same password again: the entry's data is damaged, not the password.
        if (std::strcmp(tried, Password) == 0) break;
    }
    if (Mode == RunMode::Check) ReportAbout("Error..", "Damaged file. ", fullPath);
    return Step::Next;
}

void ReportOutcome(Walk& walk, bool* result) {
    os::EndProgress();
    if (!walk.anySelected || walk.passwordFailed) return;
    if (walk.dialog.ListSelectedCount(walk.listId) == 0) {
        if (Mode == RunMode::Check) {
            os::ShowMessage("All files are intact.", "Finished.", os::kMbOk);
        } else if (ShowFinishedMessage) {
#if defined(_WIN32)
            os::ShowMessage("All files have been extracted.", "Finished.", os::kMbOk);
#else
            // Where the files went, as a terminal user cannot see it in a dialog.
            ReportAbout("Finished.", "All files have been extracted into ", ExtractDir, os::kMbOk);
#endif
        }
        *result = true;
    } else {
        ReportError("The selected file(s) couldn't get extracted.", "Error..");
    }
}

}  // namespace

bool IsSelected(os::DialogHost& dialog, int listId, const char* name) {
    CurrentIndex = dialog.ListFindExact(listId, CurrentIndex, name);
    return dialog.ListSelected(listId, CurrentIndex) > 0;
}

bool ExtractArchive(os::DialogHost& dialog, int listId, bool listMode) {
    bool result = false;
    if (Seek(ArchiveStart, os::SeekOrigin::Begin) == 0xFFFFFFFF) {
        ReportError("Error reading archive.", "Error..");
        return false;
    }
    Walk walk{dialog, listId, false, false, 0, 0, EntryFolders{}};
    CurrentIndex = -1;
    if (listMode) dialog.ListReset(listId);
    // Nothing selected (a damaged archive lists nothing): no message, nothing to do.
    if (!listMode && dialog.ListSelectedCount(listId) == 0) return false;
    ArchiveDirectory directory;
    bool damaged = !OpenDirectory(&directory);
    Step step = Step::Next;
    char raw[kNameBufferSize], name[kFileNameSize];
    for (std::uint32_t i = 0; !damaged && step == Step::Next && i < directory.entries; ++i) {
        DirectoryEntry entry;
        if (!NextEntry(&directory, &entry, raw, sizeof raw)) {
            damaged = true;
            break;
        }
        FileNameOfEntry(entry, raw, name, sizeof name);
        if (name[0] == '\0') {
            ReportError("Invalid filename.", "Error..");
            step = Step::Abort;
        } else if (listMode) {
            dialog.ListAdd(listId, name);
        } else {
            step =
                ExtractEntry(walk, name, entry.nameLength > kNameBufferSize - 1, entry.dataStart);
        }
    }
    CloseDirectory(&directory);
    CloseEntryFolders(&walk.folders);
    if (step == Step::Abort) return false;
    if (listMode) {
        // A damaged archive lists nothing, so nothing of it is extracted.
        if (damaged) dialog.ListReset(listId);
        if (dialog.ListCount(listId) == 0) ReportError("Error reading archive.", "Error..");
        return false;
    }
    if (damaged) {
        os::EndProgress();
        ReportError("Error reading archive.", "Error..");
        return false;
    }
    ReportOutcome(walk, &result);
    return result;
}
