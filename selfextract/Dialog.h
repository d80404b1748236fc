// The main dialog, the archive walk and extraction, and the command run afterwards.
#pragma once

#include <cstdint>

#include "os/os.h"

// Control ids of the main dialog's template.
enum MainDialogControl : int {
    IdStart = 1,
    IdClose = 2,
    IdFolderEdit = 101,
    IdFileList = 301,
    IdDisplayList = 302,
    IdOverwrite = 501,
    IdDontOverwrite = 502,
    IdConfirm = 503,
    IdExistingLabel = 509,
    IdRunCheckBox = 1007,
};

// ---- The archive walk (Dialog_extract.cpp) ---------------------------------------------

// The local header of the current entry, 30 bytes as the zip format lays them out.
struct LocalHeaderRecord {
    std::uint32_t signature;
    std::uint16_t versionNeeded;
    std::uint16_t flags;
    std::uint16_t method;
    std::uint16_t dosTime;
    std::uint16_t dosDate;
    std::uint32_t crc;
    std::uint32_t compressedSize;
    std::uint32_t uncompressedSize;
    std::uint16_t nameLength;
    std::uint16_t extraLength;
};
extern LocalHeaderRecord LocalHeader;

// Index in the list of the current entry's name; -1 before the first search of a run.
extern std::int32_t CurrentIndex;

// Lists the archive's entries into the list listId (listMode) or extracts the entries
// selected there into ExtractDir. In extract mode true when every selected entry was
// extracted or skipped by choice.
bool ExtractArchive(os::DialogHost& dialog, int listId, bool listMode);

// ---- The folders of the entries (Dialog_folders.cpp) -----------------------------------

// A name of at most 257 characters holds at most this many folders.
inline constexpr int kMaxFolderDepth = 130;

// The extraction folder and the folders of the last entry below it, held open.
struct EntryFolders {
    os::FolderHandle base = os::kNoFolder;   // ExtractDir
    os::FolderHandle open[kMaxFolderDepth];  // open[i]: the folder i + 1 levels down
    std::uint32_t ends[kMaxFolderDepth];     // where each folder's name ends in text
    int depth = 0;                           // folders open below base
    char text[261];                          // their names, each ended by a NUL
};

enum class FolderResult { Open, Link, Failed };

// Opens the folders of relative[0..length) (a path below ExtractDir, separated by
// either separator) one below the other, making those that are missing; ExtractDir and
// its missing folders are made first. Folders the last entry opened are used as they
// are. *folder receives the innermost. Link: one of them is a link (which is never
// followed); Failed: one cannot be made or opened.
FolderResult OpenEntryFolders(EntryFolders* folders, const char* relative, std::uint32_t length,
                              os::FolderHandle* folder);
void CloseEntryFolders(EntryFolders* folders);

// ---- What the archive holds (Dialog_archive.cpp) ---------------------------------------

// The archive's central directory, read whole, and the walk through its records.
struct ArchiveDirectory {
    std::uint8_t* records;  // the central directory's bytes
    std::uint32_t size;     // their count
    std::uint32_t entries;  // records, as the end record counts them
    std::uint32_t start;    // the directory's offset in the archive
    std::uint32_t next;     // offset in records of the next record to read
    std::uint64_t dataEnd;  // archive offset where the last entry read ends
};

// What the central directory says of an entry beyond its local header.
struct DirectoryEntry {
    std::uint16_t madeBy;       // "version made by": host system and zip version
    std::uint16_t flags;        // general-purpose flags of the directory record
    std::uint16_t nameLength;   // the name's length as stored
    const std::uint8_t* extra;  // the record's extra field
    std::uint16_t extraLength;
    std::uint64_t dataStart;  // file position of the entry's data
};

// Reads the central directory that the end record locates (which must end exactly at
// the end of the file unless the size check is switched off) and checks that its
// records fill it, as many as the end record counts. False when the archive is damaged.
bool OpenDirectory(ArchiveDirectory* directory);
void CloseDirectory(ArchiveDirectory* directory);

// Reads the entry of the next record (call it once per record): LocalHeader, with the
// directory's CRC and sizes, and the raw name (at most nameSize - 1 bytes, cut at a
// NUL). False when the local header disagrees with the record, or the entry overlaps
// the one before it or the central directory: the archive is damaged.
bool NextEntry(ArchiveDirectory* directory, DirectoryEntry* entry, char* name,
               std::uint32_t nameSize);

// Writes every entry's size and name to the program's output, one per line. False,
// after "Error reading archive.", when the archive is damaged.
bool ListArchive();

// The name the entry's file gets, from its raw name (size bytes). On POSIX that is
// UTF-8: a name marked as UTF-8 (flag bit 11) is taken as it is, so is the UTF-8 name of
// Info-ZIP's Unicode path field (0x7075) when it belongs to the raw name, and a name
// from a Unix system that is UTF-8; any other is read as code page 437, as the zip
// format says. Windows takes the raw name in its ANSI code page.
void FileNameOfEntry(const DirectoryEntry& entry, const char* raw, char* name, std::uint32_t size);

// True when name is selected in the list; advances CurrentIndex.
bool IsSelected(os::DialogHost& dialog, int listId, const char* name);

// ---- Passwords (Dialog_password.cpp) ---------------------------------------------------

// The last password typed in; kept for the following encrypted entries.
extern char Password[80];

// Tries password on an entry's 12-byte encryption header; on success the keys stand
// ready for the entry's data.
bool CheckPassword(const std::uint8_t header[12], std::uint16_t flags, const char* password,
                   std::uint16_t dosTime, std::uint32_t crc);

// Reads the encryption header at the current position and finds a password that passes
// its check: the remembered one (unless askFirst), else one typed in while fewer than
// three password dialogs have been shown for the entry (*asked counts them). False when
// none fits.
bool PasswordProcedure(std::uint16_t flags, std::uint16_t dosTime, std::uint32_t crc, int* asked,
                       bool askFirst);

// ---- The command run after extraction (Dialog_command.cpp) -----------------------------

// Program part (1) or parameter part (2) of Command with "><" replaced by ExtractDir.
void GetCommandPart(int part, char* text, std::uint32_t size);

// Caption of the run check box.
void BuildRunCaption(char* caption, std::uint32_t size);

// True when text ends with ".INF" without regard to the extension's case.
bool IsInfFile(const char* text);

// Runs the command when runChecked and there is one. False when a command was due but
// could not be started.
bool RunAfterExtraction(bool runChecked);

// The command line that installs the INF file path on a platform family (1 the Windows
// 95 family, 2 the NT family, 0 any other system, which starts the INF path itself).
// systemFolder is where the installer lives, with its trailing separator, or empty.
// False for an unknown family (-1) or when the line does not fit size bytes.
bool BuildInfCommand(int family, const char* systemFolder, const char* path, const char* parameters,
                     char* command, std::uint32_t size);

// Starts the system's INF installer for path; false when nothing was started.
bool InstallInf(const char* path, const char* parameters);

// ---- The main dialog (Dialog_main.cpp) -------------------------------------------------

void MainDialogInitialise(os::DialogHost& dialog);
void MainDialogCommand(os::DialogHost& dialog, int id);

// Runs the main dialog; returns 1 after a successful extraction, otherwise 2.
int RunMainDialog();
