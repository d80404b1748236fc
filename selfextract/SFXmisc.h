// Small routines shared by the stub's units: checksums and decryption, paths and text.
#pragma once

#include <cstdint>

#include "os/os.h"

// ---- CRC-32 and traditional zip decryption (SFXmisc_crc.cpp) -------------------------
// CRC-32 is the reflected zip checksum (polynomial 0xEDB88320); a running value starts
// at 0xFFFFFFFF and the final checksum is the running value XOR 0xFFFFFFFF. The keys
// are the three 32-bit keys Key0..Key2 of the traditional PKWARE stream cipher.

// Allocates and fills CrcTable (and the wider tables CrcUpdate uses). Returns false
// when the memory could not be allocated; CrcTable is then null. Call once at start-up.
bool BuildCrcTable();

// Frees what BuildCrcTable allocated; CrcTable becomes null.
void ReleaseCrcTable();

// One byte into a running CRC value.
std::uint32_t CrcByte(std::uint8_t b, std::uint32_t crc);

// n bytes into a running CRC value, in order; same result as CrcByte over each byte.
std::uint32_t CrcUpdate(const std::uint8_t* p, std::uint32_t n, std::uint32_t crc);

// Sets the keys from a NUL-terminated password, one character after the other.
void InitKeys(const char* password);

// Advances the keys by one plain (decrypted) byte.
void UpdateKeys(std::uint8_t plain);

// The next key-stream byte; XOR it with a cipher byte to get the plain byte.
std::uint8_t DecryptByte();

// Decrypts n bytes in place, advancing the keys by each plain byte.
void DecryptBuffer(std::uint8_t* p, std::uint32_t n);

// ---- Text routines (SFXmisc_text.cpp) -------------------------------------------------

// Copies src into dst of size bytes, cut to size - 1 characters; returns dst's length.
std::uint32_t CopyText(char* dst, const char* src, std::uint32_t size);

// Appends src to dst (size bytes in all); false (dst unchanged) when it does not fit.
bool AppendText(char* dst, const char* src, std::uint32_t size);

// True when text ends with the character c.
bool EndsWith(const char* text, char c);

// Replaces every "from" in text by "to", left to right; the replacement itself is not
// searched again. False (text cut at the last whole piece) when the result does not fit
// size bytes.
bool ReplaceAll(char* text, std::uint32_t size, const char* from, const char* to);

// Splits a command line into words: blanks separate words, double quotes group them,
// a backslash before a quote makes it literal. The words are written into storage
// (size bytes) and pointed to by words[0..max-2], followed by a null pointer. Returns
// the word count. With a placeholder text, each "><" in the line stands for it, put in
// after the splitting, so that its blanks and quotes stay part of their word.
int SplitCommandWords(const char* line, char* storage, std::uint32_t size, char** words, int max,
                      const char* placeholder = nullptr);

// True when text is well-formed UTF-8 (ASCII is).
bool IsUtf8(const char* text);

// The UTF-8 form of a name written in code page 437, into name (size bytes; a character
// that does not fit is left off with all after it).
void Utf8FromCodePage437(const char* raw, char* name, std::uint32_t size);

// text as it may be shown to a person: control characters (and, on POSIX, where a
// terminal reads UTF-8, C1 controls and bytes that form no character) written as \xNN,
// so that a name cannot move the cursor, change colours or fake a line of its own.
// shown holds size bytes, at most 4 per byte of text.
void ShowableText(const char* text, char* shown, std::uint32_t size);

// Local time of a zip entry's DOS date and time; false when the fields are no date.
bool DosTimeToLocal(std::uint16_t dosDate, std::uint16_t dosTime, os::LocalTime* time);

// ---- Path routines (SFXmisc_path.cpp) -------------------------------------------------

// True for a character that separates path components on this system.
bool IsPathSeparator(char c);

// True when something exists under path; a path ending with a separator must be a
// folder.
bool PathExists(const char* path);

// The folder part of path into folder: the text before the last separator, which is
// kept only as a root ("/x" gives "/"; on Windows "C:\x" gives "C:\", "C:x" gives "C:");
// a bare name gives the empty text.
void FolderOfPath(const char* path, char* folder, std::uint32_t size);

// The text after the last separator of path, at most 255 characters.
void NameOfPath(const char* path, char* name, std::uint32_t size);

// Creates folder and every missing folder above it; failures show in the caller's
// later test.
void CreateFolderChain(const char* folder);

// Turns both separators of an archive entry name into this system's separator.
void NormaliseEntryName(char* name);

// True when a normalised entry name stays inside the folder it is extracted to: not
// empty, not absolute, no ":" (drive or stream), no ".." component.
bool IsSafeEntryName(const char* name);

// True when every part of an entry name (split at either separator) is a name Windows
// holds as it stands: no device name (CON, PRN, AUX, NUL, COM1..9, LPT1..9, CONIN$,
// CONOUT$, also with an extension), no character Windows refuses or reads as a wildcard,
// no trailing dot or blank. IsSafeEntryName applies it on Windows.
bool IsWindowsPortableName(const char* name);

// True when base joined with any leading folder of relative[0..length) (ending at a
// separator or at length) is a symbolic link. base itself is not examined.
bool HasLinkBelow(const char* base, const char* relative, std::uint32_t length);
