// What Tovo needs from an operating system. Each back end (os_posix.cpp,
// os_win32.cpp) holds only calls into its system; every algorithm lives above this
// header. Failure values are given per function.
#pragma once

#include <cstdint>

namespace os {

// ---- Files -----------------------------------------------------------------------

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class SeekOrigin { Begin, Current, End };

// Opens an existing file for reading, sharing it with other readers. kNoFile on failure.
FileHandle OpenForReading(const char* path);

// Creates a file for writing, truncating an existing one. kNoFile on failure.
FileHandle CreateForWriting(const char* path);

// Reads up to size bytes. Returns the count read (0 at the end of the file), or -1
// on failure.
std::int32_t ReadFile(FileHandle file, void* buffer, std::uint32_t size);

// Writes size bytes. Returns false when not all of them were written.
bool WriteFile(FileHandle file, const void* buffer, std::uint32_t size);

// Moves the file position. Returns the new position from the start of the file, or
// 0xFFFFFFFF on failure.
std::uint32_t SeekFile(FileHandle file, std::int32_t offset, SeekOrigin origin);

// Size of an open file, or 0xFFFFFFFF on failure.
std::uint32_t FileSize(FileHandle file);

// Closes a handle; kNoFile is ignored. False when the system reports an error, which
// for a file written may mean that its data did not all reach the disk.
bool CloseFile(FileHandle file);

}  // namespace os

// ---- Folders, names and times (self-extractor) -------------------------------------

namespace os {

// Separator of path components on this system.
#if defined(_WIN32)
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// Path of the running program's own file into buffer (NUL-terminated, cut to size - 1).
// False on failure.
bool OwnProgramPath(char* buffer, std::uint32_t size);

// True when something (file, folder, link) exists under path; a link is not followed.
bool ObjectExists(const char* path);

// True when path names a folder (a link to a folder counts).
bool FolderExists(const char* path);

// True when path names a symbolic link (or, on Windows, a reparse point).
bool IsSymbolicLink(const char* path);

// Creates one folder. False when it could not be created (also when it exists).
bool CreateFolder(const char* path);

// Creates a new, empty file with a unique name in folder (which ends with a separator or
// is empty) and writes its path into path (size bytes). kNoFile on failure.
FileHandle CreateUniqueFile(const char* folder, char* path, std::uint32_t size);

// Replaces target by source in one step (an existing target file or link is replaced,
// never written through). False on failure; source is then left in place.
bool MoveIntoPlace(const char* source, const char* target);

// Removes a file. False on failure.
bool RemoveFile(const char* path);

// ---- Folders reached without following links ----------------------------------------
//
// Below the extraction folder every folder is opened from the one above it by name and
// never through a symbolic link (Windows: a reparse point), and files are made,
// replaced and removed by name inside an open folder. A folder swapped for a link while
// a run goes on (during a question, or between entries) is thus never written through:
// the run goes on in the folder it had opened. (Windows has no opening relative to a
// folder in its ANSI functions; there each folder is checked as it is opened.)

using FolderHandle = std::intptr_t;
inline constexpr FolderHandle kNoFolder = -1;

// Opens the folder path, following links in it (the user or the package named it).
// kNoFolder on failure.
FolderHandle OpenFolder(const char* path);

// Opens the folder name inside folder, making it first when create and it is missing.
// kNoFolder when it cannot be made or opened, or is no folder (a link is none).
FolderHandle OpenFolderIn(FolderHandle folder, const char* name, bool create);

// Closes a folder; kNoFolder is ignored.
void CloseFolder(FolderHandle folder);

// What name is inside folder; a link is not followed.
enum class ObjectKind { None, File, Folder, Link };
ObjectKind KindIn(FolderHandle folder, const char* name);

// Creates a new, empty file with a unique name in folder and writes that name (without
// the folder) into name (size bytes). kNoFile on failure.
FileHandle CreateUniqueFileIn(FolderHandle folder, char* name, std::uint32_t size);

// Replaces target by source, both names in folder, in one step (a file or link in
// target's place is replaced, never written through). False on failure; source is then
// left in place.
bool MoveIntoPlaceIn(FolderHandle folder, const char* source, const char* target);

// Removes the file name from folder. False on failure.
bool RemoveFileIn(FolderHandle folder, const char* name);

// Local calendar time of a file time, as a person reads it off a clock.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

// Sets the last-write time of an open file from a local time; creation and access
// times stay. False on failure.
bool SetLastWriteTime(FileHandle file, const LocalTime& time);

// Current folder into buffer (at most size - 1 characters). False on failure.
bool CurrentFolder(char* buffer, std::uint32_t size);

// Makes path the current folder. False on failure.
bool SetCurrentFolder(const char* path);

// The temporary folder with a trailing separator, at most size - 1 characters.
// False on failure. Where it is shared by every user (POSIX), a folder of its own made
// inside it for this run (the same one for every call), so that nothing another user
// placed there is taken for the package's files; it is removed at exit when it is
// still empty.
bool TempFolder(char* buffer, std::uint32_t size);

// The system folder (Windows: where rundll32.exe lives) and the Windows folder (where
// the Windows 95 family keeps rundll.exe), with a trailing separator, at most size - 1
// characters. False on failure and on systems that have no such folder.
bool SystemFolder(char* buffer, std::uint32_t size);
bool WindowsFolder(char* buffer, std::uint32_t size);

// Short form of path written over it (size bytes). False (path unchanged) on failure.
bool ShortPath(char* path, std::uint32_t size);

// ---- Registry ----------------------------------------------------------------------

enum class RegistryRoot { CurrentUser, LocalMachine, Users };

// Reads a value's data into buffer (at most size - 1 bytes, NUL-terminated). Returns
// the value's size in bytes as the registry reports it, terminating NUL included, or 0
// when the key or the value cannot be read.
std::uint32_t ReadRegistryValue(RegistryRoot root, const char* subkey, const char* name,
                                char* buffer, std::uint32_t size);

// ---- Programs ----------------------------------------------------------------------

// Platform family as the system version reports it: 1 the Windows 95 family, 2 the
// NT family, 0 any other system, -1 when the version cannot be determined.
int PlatformFamily();

// Opens program with parameters the way the desktop opens a file, in folder, without
// waiting for it. False when nothing could be started. On POSIX the parameters are split
// into words as a command line is, and "><" in a word stands for folder.
bool OpenProgram(const char* program, const char* parameters, const char* folder);

// Runs a command line (program and its arguments) without waiting. False when nothing
// could be started.
bool RunCommandLine(const char* commandLine);

// ---- Messages and questions ---------------------------------------------------------

// Message box types and answers as the window system numbers them.
inline constexpr unsigned kMbOk = 0x00, kMbOkCancel = 0x01, kMbYesNo = 0x04;
inline constexpr unsigned kMbIconError = 0x10, kMbIconQuestion = 0x20, kMbIconInfo = 0x40;
inline constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;

// Shows a message without owner; returns the button chosen (kIdOk for a plain box).
// When no answer can be had the answer is Cancel or No.
int ShowMessage(const char* text, const char* title, unsigned type);

// Like ShowMessage, but a plain message too waits until the user has read it: a message
// box does so anyway; on a terminal the user presses Enter. Without a terminal it does
// not wait.
int ShowMessageAndWait(const char* text, const char* title, unsigned type);

// Asks for a password (at most size - 1 characters). Returns its length; 0 when none
// was given.
std::uint32_t AskPassword(char* buffer, std::uint32_t size);

// Asks whether to overwrite; text names the file and the question. dontAskAgain tells
// whether the answer holds for later files. Returns true for Yes; No when no answer
// can be had.
bool AskOverwrite(const char* text, bool* dontAskAgain);

// Writes a line of the program's output, for a person or a script that asked for it
// (POSIX: standard output). Windows programs of the stub's kind have none: nothing.
void WriteLine(const char* text);

// Handles one pending window message, if any.
void HandlePendingMessage();

// Progress of a long extraction: entries and bytes done so far; EndProgress clears it.
void ShowProgress(std::uint32_t entries, std::uint64_t bytes);
void EndProgress();

// ---- The main dialog -----------------------------------------------------------------

// The controls of the main dialog as its procedure sees them. Control ids are those of
// the dialog's template. List indexes count from 0; -1 means "none".
class DialogHost {
  public:
    virtual void SetText(int id, const char* text) = 0;
    // Text of a control, at most size - 1 characters.
    virtual void GetText(int id, char* buffer, std::uint32_t size) = 0;
    virtual void SelectText(int id) = 0;
    virtual void SetTitle(const char* text) = 0;
    virtual void SetIcon() = 0;
    virtual void Center() = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) = 0;
    // Checks radio button id and clears the others of first..last.
    virtual void CheckRadio(int first, int last, int id) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void Destroy(int id) = 0;
    // Enables or disables every visible control that is not a static text.
    virtual void EnableControls(bool enabled) = 0;
    virtual void ListReset(int id) = 0;
    // Adds a text at its sorted place.
    virtual void ListAdd(int id, const char* text) = 0;
    // Index of the first item after `after` whose text equals text, case and all,
    // continuing from the top; -1 when there is none. (Each entry finds its own item even
    // where the system takes names that differ in case for one file.)
    virtual int ListFindExact(int id, int after, const char* text) = 0;
    // Selection state of an item: > 0 selected, 0 not, < 0 no such item.
    virtual int ListSelected(int id, int index) = 0;
    // Sets the selection of one item, or of every item when index is -1.
    virtual void ListSelect(int id, int index, bool selected) = 0;
    virtual int ListSelectedCount(int id) = 0;
    virtual int ListCount(int id) = 0;
    // Ends the dialog with result.
    virtual void End(int result) = 0;

  protected:
    ~DialogHost() = default;
};

// The main dialog's procedure: initialisation and the push-button commands.
struct MainDialogProcedure {
    void (*initialise)(DialogHost& host);
    void (*command)(DialogHost& host, int id);
};

// Runs the main dialog modally; returns the result it ended with (-1 when it could not
// be created).
int RunMainDialog(const MainDialogProcedure& procedure);

}  // namespace os
