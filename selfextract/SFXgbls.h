// Global state of the stub: one set for the whole process, as the stub runs one
// entry at a time on one thread.
#pragma once

#include <cstdint>

#include "os/os.h"

// ---- Archive and current entry ----------------------------------------------------

extern os::FileHandle ArchiveFile;  // the stub's own file, open for the whole run
extern os::FileHandle OutputFile;   // the file the current entry is written to

// Compressed bytes of the current entry not yet consumed (an encrypted entry's
// 12-byte header already subtracted).
extern std::int32_t Remaining;

// True when the current entry's local header has general-purpose flag bit 0 set.
extern bool EntryEncrypted;

// Uncompressed size the archive declares for the current entry: the decoder writes no
// more than this. Bytes of output handed to OutputFile so far, and why the decoder
// stopped early: output that would pass EntrySize, or a write that failed.
extern std::uint32_t EntrySize;
extern std::uint32_t OutputWritten;
extern bool OutputTooLong, WriteFailed;

// ---- Checksum and decryption state --------------------------------------------------

extern std::uint32_t* CrcTable;  // 256 entries, built at start-up
extern std::uint32_t EntryCrc;   // running CRC of the current entry's output
extern std::uint32_t Key0, Key1, Key2;

// ---- Package layout and settings of the configuration record -----------------------

// Length of the stub's program file; the configuration record starts here. A stub
// built to another length carries its own value (TOVO_STUB_SIZE).
#ifndef TOVO_STUB_SIZE
#define TOVO_STUB_SIZE 39424
#endif
inline constexpr std::uint32_t StubSize = TOVO_STUB_SIZE;

// Every path and configuration text lives in a buffer of this size (260 characters
// and a NUL).
inline constexpr std::uint32_t kTextSize = 261;

extern std::uint32_t ArchiveStart;  // offset of the first local header
extern std::uint32_t LastSeekPos;   // result of the last Seek

extern char Caption[kTextSize];
extern char DefaultFolder[kTextSize];
extern char Command[kTextSize];
extern char StartupMessage[kTextSize];
extern char ExtractDir[kTextSize];

extern bool HasDefaultFolder, HasCommand, HasStartupMessage;
extern bool ShowRunCheckBox, UserSelectsFiles, HideOverwriteChoice;
extern bool SizeCheckEnabled, ShowFinishedMessage;
extern std::int32_t OverwriteModeId;  // 501 overwrite, 502 don't, 503 confirm

// Run-time overwrite policy, OverwriteModeId - 501.
enum OverwriteModes : std::int32_t { Overwrite = 0, DontOverwrite = 1, Confirm = 2 };
extern std::int32_t OverwriteMode;

// Set when a command was due after extraction but could not be started.
extern bool CommandFailed;

// Exit statuses of the stub.
inline constexpr int kExitSuccess = 0;    // extracted; the command, if any, started
inline constexpr int kExitFailure = 1;    // bad package, unreadable file, incomplete run
inline constexpr int kExitDeclined = 2;   // the start-up message was declined
inline constexpr int kExitNoCommand = 3;  // extracted, but the command did not start

// ---- Arguments (SFXgbls_arguments.cpp) -------------------------------------------------

// What a run does: extract (and start the command), or, as a person asks on POSIX,
// show the options, list the archive or check it; nothing is written but by Extract.
// Ordered by precedence when several are asked for.
enum class RunMode { Extract, Check, List, Help };
extern RunMode Mode;

// The folder --target gives, made absolute; empty when none was given.
extern char TargetFolder[kTextSize];

// Reads --help (-h), --list, --check and --target FOLDER; anything else is let be. False,
// after a message, when --target lacks its folder or the folder's path does not fit.
bool ReadArguments(int argc, char** argv);

// Writes the options to the program's output.
void ShowHelp();

// ---- Start-up ------------------------------------------------------------------------

// Moves in ArchiveFile; stores and returns the new position (0xFFFFFFFF on failure).
std::uint32_t Seek(std::int64_t position, os::SeekOrigin origin);

// Outcome of reading the configuration record.
enum class ConfigResult { Ok, BadPayload, Declined };

// Applies a configuration record held in record[0..size) to the settings (without
// resolving the default folder). False when the bytes are no complete record.
bool ApplyConfigRecord(const std::uint8_t* record, std::uint32_t size);

// Reads the record at StubSize of ArchiveFile, resolves the default folder, checks the
// archive tail and shows the start-up message.
ConfigResult ReadConfig();

// True when ArchiveFile ends exactly with a zip end record (and its comment).
bool VerifyArchiveTail();

// The zip end record (end of central directory record) is 22 bytes and a comment.
inline constexpr std::uint32_t kEndRecordSize = 22;

// Finds the archive's end record in the last 64 KiB of ArchiveFile: the first whose
// comment ends exactly at the end of the file, or, unless exact, the last whose comment
// ends before it. Writes its file position and its 22 bytes; false when there is none.
bool FindEndRecord(bool exact, std::uint32_t* position, std::uint8_t record[kEndRecordSize]);

// Resolves DefaultFolder in place: registry form, "><", or left as it is.
void ResolveDefaultFolder();

// Shows StartupMessage; false when the user declined it.
bool ShowStartupMessage();

// The whole run of the stub; returns the exit status.
int RunStub();

// Releases what start-up took; shows an error when the archive cannot be closed.
void ExitCleanup();

// Shows the bad-payload message.
void ReportBadPayload();
