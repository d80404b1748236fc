// Turns the stored bytes of the current archive entry into the extracted file.
//
// Before either call: OutputFile is open (or kNoFile to only check the data), EntryCrc
// is 0xFFFFFFFF, Remaining holds the entry's data length (less the 12-byte encryption
// header when EntryEncrypted), EntrySize its declared uncompressed size, and ArchiveFile
// stands at the first data byte; for an encrypted entry the keys are in the state the
// password check left them in. Neither call reports anything: afterwards the caller
// compares EntryCrc ^ 0xFFFFFFFF with the header's CRC and OutputWritten with
// EntrySize. Both read at most Remaining bytes from ArchiveFile and lower Remaining by
// what they read; both stop at the first write that fails (WriteFailed) and before
// output that would pass EntrySize (OutputTooLong), so a small entry that claims a
// small size never fills a disk.
#pragma once

// Decodes a raw Deflate stream (compression method 8). Corrupt or truncated data ends
// the entry quietly with a short or wrong output.
void InflateEntry();

// Copies the data as it stands (compression method 0), decrypting when needed.
void CopyStoredEntry();
