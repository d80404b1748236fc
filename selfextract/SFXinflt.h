// Turns the stored bytes of the current archive entry into the extracted file.
//
// Before either call: OutputFile is open, EntryCrc is 0xFFFFFFFF, Remaining holds the
// entry's data length (less the 12-byte encryption header when EntryEncrypted), and
// ArchiveFile stands at the first data byte; for an encrypted entry the keys are in the
// state the password check left them in. Neither call reports anything: afterwards the
// caller compares EntryCrc ^ 0xFFFFFFFF with the header's CRC. Both read at most
// Remaining bytes from ArchiveFile and lower Remaining by what they read.
#pragma once

// Decodes a raw Deflate stream (compression method 8). Corrupt or truncated data ends
// the entry quietly with a short or wrong output.
void InflateEntry();

// Copies the data as it stands (compression method 0), decrypting when needed.
void CopyStoredEntry();
