// Rules of the Windows stub that are plain text work: the entry names Windows cannot
// take as they stand, and the INF installer's command lines of both platform families.
// They run natively; built with mingw-w64 the same file also checks the Windows path
// routines and the Win32 back end's files.
#include <gtest/gtest.h>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <cstring>
#include <string>

#include "Dialog.h"
#include "SFXgbls.h"
#include "SFXmisc.h"
#include "path_parts.h"

namespace {

TEST(WindowsNames, DevicesReservedCharactersAndTrailingDots) {
    struct Case {
        const char* name;
        bool portable;
    };
    const Case cases[] = {
        {"readme.txt", true},
        {"dir/sub/file", true},
        {"dir\\sub\\file", true},
        {"dir/", true},
        {"./a", true},
        {"console.txt", true},  // only the device names themselves
        {"nullish", true},
        {"com10", true},
        {"lpt0.txt", true},
        {"aux_files/a", true},
        {"caf\xe9.txt", true},  // ANSI letters are fine
        // Device names, in any case, with any extension, in any folder.
        {"CON", false},
        {"con", false},
        {"nul.txt", false},
        {"NUL.tar.gz", false},
        {"dir/aux.c", false},
        {"prn/file", false},
        {"Com1", false},
        {"lpt9.log", false},
        {"COM\xb9", false},  // superscript one
        {"NUL .txt", false},
        {"conin$", false},
        {"CONOUT$.x", false},
        // Characters that no Windows name holds; ? and * would be wildcards.
        {"a?b", false},
        {"a*", false},
        {"x<y>", false},
        {"say\"hi\"", false},
        {"pipe|name", false},
        {"name:stream", false},
        {"tab\there", false},
        // Windows drops a trailing dot or blank.
        {"a.", false},
        {"dir./x", false},
        {"a ", false},
        {".. /x", false},
        {"...", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWindowsPortableName(c.name), c.portable) << c.name;
    }
}

TEST(InfCommand, CommandLineOfEachPlatformFamily) {
    struct Case {
        int family;
        const char* systemFolder;
        const char* parameters;
        const char* command;  // nullptr: nothing is run
    };
    const char* const kInf = "C:\\PK\\SETUP.Inf";
    const Case cases[] = {
        // The Windows 95 family: rundll.exe and setupx.dll; parameters are not used.
        {1, "C:\\WINDOWS\\", "",
         "C:\\WINDOWS\\rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 "
         "C:\\PK\\SETUP.Inf"},
        {1, "C:\\WINDOWS\\", ".ntx86",
         "C:\\WINDOWS\\rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 "
         "C:\\PK\\SETUP.Inf"},
        // The NT family: rundll32.exe and setupapi.dll, with the NT section suffix only
        // for exactly ".ntx86".
        {2, "C:\\WINDOWS\\system32\\", "",
         "C:\\WINDOWS\\system32\\rundll32.exe setupapi.dll,InstallHinfSection DefaultInstall "
         "132 C:\\PK\\SETUP.Inf"},
        {2, "C:\\WINDOWS\\system32\\", ".ntx86",
         "C:\\WINDOWS\\system32\\rundll32.exe setupapi.dll,InstallHinfSection "
         "DefaultInstall.ntx86 132 C:\\PK\\SETUP.Inf"},
        {2, "C:\\WINDOWS\\system32\\", ".NTX86",
         "C:\\WINDOWS\\system32\\rundll32.exe setupapi.dll,InstallHinfSection DefaultInstall "
         "132 C:\\PK\\SETUP.Inf"},
        // A system folder with a blank is quoted.
        {2, "D:\\My Windows\\system32\\", "",
         "\"D:\\My Windows\\system32\\rundll32.exe\" setupapi.dll,InstallHinfSection "
         "DefaultInstall 132 C:\\PK\\SETUP.Inf"},
        // Without a known system folder the installer is found by its name.
        {2, "", "",
         "rundll32.exe setupapi.dll,InstallHinfSection DefaultInstall 132 C:\\PK\\SETUP.Inf"},
        // Any other family starts the INF path itself; an unknown one starts nothing.
        {0, "", "", "C:\\PK\\SETUP.Inf"},
        {-1, "C:\\WINDOWS\\system32\\", "", nullptr},
    };
    for (const Case& c : cases) {
        char command[2 * kTextSize];
        const bool built =
            BuildInfCommand(c.family, c.systemFolder, kInf, c.parameters, command, sizeof command);
        EXPECT_EQ(built, c.command != nullptr) << c.family << " " << c.parameters;
        if (built && c.command != nullptr) {
            EXPECT_STREQ(command, c.command) << c.family << " " << c.parameters;
        }
    }
}

TEST(InfCommand, TooLongACommandIsNotCut) {
    const std::string inf = "C:\\" + std::string(250, 'd') + "\\setup.inf";
    char command[2 * kTextSize];
    EXPECT_TRUE(
        BuildInfCommand(2, "C:\\WINDOWS\\system32\\", inf.c_str(), "", command, sizeof command));
    EXPECT_FALSE(BuildInfCommand(2, "C:\\WINDOWS\\system32\\", inf.c_str(), "", command, 200));
}

#if defined(_WIN32)

// ---- Windows only: drives and backslashes, and the Win32 back end ----------------------

TEST(WindowsPaths, FolderAndNameOfPath) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\x", "C:\\", "x"},
        {"C:\\x\\y", "C:\\x", "y"},
        {"C:x", "C:", "x"},
        {"C:\\", "C:\\", ""},
        {"a/b\\c", "a/b", "c"},
        {"bare", "", "bare"},
        {"C:\\TEMP\\run.exe", "C:\\TEMP", "run.exe"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Folder(c.path), c.folder) << c.path;
        EXPECT_EQ(Name(c.path), c.name) << c.path;
    }
}

TEST(WindowsPaths, EntryNamesThatWouldLeaveTheFolderOrNameADevice) {
    const char* const refused[] = {"C:x",       "c:/x",        "\\x", "\\\\server\\share\\x",
                                   "a/../../x", "name:stream", "CON", "dir/nul.txt",
                                   "a.",        "x?"};
    for (const char* name : refused) {
        char copy[kTextSize];
        CopyText(copy, name, sizeof copy);
        NormaliseEntryName(copy);
        EXPECT_FALSE(IsSafeEntryName(copy)) << name;
    }
    char fine[] = "dir/sub/file.txt";
    NormaliseEntryName(fine);
    EXPECT_STREQ(fine, "dir\\sub\\file.txt");
    EXPECT_TRUE(IsSafeEntryName(fine));
}

class Win32Files : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(os::TempFolder(folder_, sizeof folder_));
        ASSERT_TRUE(EndsWith(folder_, '\\'));
    }
    char folder_[kTextSize];
};

TEST_F(Win32Files, UniqueFileMovesOverAnEarlierFileAndKeepsItsTime) {
    char target[kTextSize];
    CopyText(target, folder_, sizeof target);
    ASSERT_TRUE(AppendText(target, "tovo-win32-test.txt", sizeof target));
    os::FileHandle old = os::CreateForWriting(target);
    ASSERT_NE(old, os::kNoFile);
    ASSERT_TRUE(os::WriteFile(old, "old", 3));
    os::CloseFile(old);

    char temp[kTextSize];
    os::FileHandle file = os::CreateUniqueFile(folder_, temp, sizeof temp);
    ASSERT_NE(file, os::kNoFile);
    ASSERT_TRUE(os::WriteFile(file, "new!", 4));
    EXPECT_EQ(os::FileSize(file), 4u);
    const os::LocalTime ten = {2001, 2, 3, 10, 0, 0};
    EXPECT_TRUE(os::SetLastWriteTime(file, ten));
    os::CloseFile(file);
    ASSERT_TRUE(os::MoveIntoPlace(temp, target));
    EXPECT_FALSE(os::ObjectExists(temp));

    os::FileHandle in = os::OpenForReading(target);
    ASSERT_NE(in, os::kNoFile);
    char text[8] = {};
    EXPECT_EQ(os::ReadFile(in, text, sizeof text), 4);
    EXPECT_STREQ(text, "new!");
    os::CloseFile(in);
    EXPECT_TRUE(os::RemoveFile(target));
}

TEST_F(Win32Files, FileTimeReadsBackAsTheSameLocalTimeInSummerAndWinter) {
    char path[kTextSize];
    CopyText(path, folder_, sizeof path);
    ASSERT_TRUE(AppendText(path, "tovo-win32-time.txt", sizeof path));
    for (int month : {1, 7}) {
        os::FileHandle file = os::CreateForWriting(path);
        ASSERT_NE(file, os::kNoFile);
        ASSERT_TRUE(os::SetLastWriteTime(file, os::LocalTime{2001, month, 3, 10, 0, 0}));
        FILETIME written;
        SYSTEMTIME universal, local;
        ASSERT_TRUE(::GetFileTime(reinterpret_cast<HANDLE>(file), nullptr, nullptr, &written));
        os::CloseFile(file);
        ASSERT_TRUE(::FileTimeToSystemTime(&written, &universal));
        ASSERT_TRUE(::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local));
        EXPECT_EQ(local.wHour, 10) << "month " << month;
        EXPECT_EQ(local.wDay, 3) << "month " << month;
    }
    EXPECT_TRUE(os::RemoveFile(path));
}

TEST_F(Win32Files, FoldersAreOpenedByNameAndFilesReplacedInThem) {
    const os::FolderHandle base = os::OpenFolder(folder_);
    ASSERT_NE(base, os::kNoFolder);
    const os::FolderHandle sub = os::OpenFolderIn(base, "tovo-win32-folder", true);
    ASSERT_NE(sub, os::kNoFolder);
    EXPECT_EQ(os::KindIn(base, "tovo-win32-folder"), os::ObjectKind::Folder);
    EXPECT_EQ(os::OpenFolderIn(base, "tovo-win32-missing", false), os::kNoFolder);
    for (const char* text : {"old", "new!"}) {
        char temp[16];
        os::FileHandle file = os::CreateUniqueFileIn(sub, temp, sizeof temp);
        ASSERT_NE(file, os::kNoFile);
        ASSERT_TRUE(os::WriteFile(file, text, static_cast<std::uint32_t>(std::strlen(text))));
        os::CloseFile(file);
        ASSERT_TRUE(os::MoveIntoPlaceIn(sub, temp, "f.txt"));
        EXPECT_EQ(os::KindIn(sub, temp), os::ObjectKind::None);
    }
    EXPECT_EQ(os::KindIn(sub, "f.txt"), os::ObjectKind::File);
    EXPECT_EQ(os::OpenFolderIn(sub, "f.txt", true), os::kNoFolder);  // a file is no folder
    EXPECT_TRUE(os::RemoveFileIn(sub, "f.txt"));
    os::CloseFolder(sub);
    char path[kTextSize];
    CopyText(path, folder_, sizeof path);
    ASSERT_TRUE(AppendText(path, "tovo-win32-folder", sizeof path));
    EXPECT_TRUE(::RemoveDirectoryA(path));
    os::CloseFolder(base);
}

TEST_F(Win32Files, WildcardsNeverMatchAnotherFile) {
    char pattern[kTextSize];
    CopyText(pattern, folder_, sizeof pattern);
    ASSERT_TRUE(AppendText(pattern, "*", sizeof pattern));
    EXPECT_FALSE(os::ObjectExists(pattern));
    EXPECT_TRUE(PathExists(folder_));
}

#endif  // _WIN32

}  // namespace
