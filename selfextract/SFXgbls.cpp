#include "SFXgbls.h"

os::FileHandle ArchiveFile = os::kNoFile;
os::FileHandle OutputFile = os::kNoFile;
std::int32_t Remaining = 0;
bool EntryEncrypted = false;
std::uint32_t EntrySize = 0xFFFFFFFF;
std::uint32_t OutputWritten = 0;
bool OutputTooLong = false, WriteFailed = false;

std::uint32_t* CrcTable = nullptr;
std::uint32_t EntryCrc = 0xFFFFFFFF;
std::uint32_t Key0 = 0, Key1 = 0, Key2 = 0;

std::uint32_t ArchiveStart = StubSize;
std::uint32_t LastSeekPos = 0;

char Caption[kTextSize];  // "PROGRAM" from start-up on
char DefaultFolder[kTextSize];
char Command[kTextSize];
char StartupMessage[kTextSize];
char ExtractDir[kTextSize];

bool HasDefaultFolder = false, HasCommand = false, HasStartupMessage = false;
bool ShowRunCheckBox = true, UserSelectsFiles = true, HideOverwriteChoice = false;
bool SizeCheckEnabled = true, ShowFinishedMessage = true;
std::int32_t OverwriteModeId = 503;
std::int32_t OverwriteMode = Confirm;
bool CommandFailed = false;
