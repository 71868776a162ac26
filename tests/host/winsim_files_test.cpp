// winsim's mapped file system against the platform's rules it stands in for (each seen
// under Wine): how paths resolve, file attributes, deleting, moving, making folders,
// disk space, module file names and the Windows directories.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

class WinsimFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        drive = winsim::MapScratchDrive('C');
    }

    // Calls a function and returns GetLastError's value after it, with the result.
    template <typename F> DWORD ErrorAfter(F call)
    {
        SetLastError(0);
        call();
        return GetLastError();
    }

    std::string drive;
};

TEST_F(WinsimFilesTest, NamesMatchWithoutRegardToCaseAtEveryComponent)
{
    winsim::PutFile("C:\\WINDOWS\\SYSTEM.INI", "x");
    for (const char *name : {"c:\\windows\\system.ini", "C:/Windows/System.Ini", "C:\\WINDOWS\\\\SYSTEM.INI"})
        EXPECT_TRUE(winsim::FileExists(name)) << name;
    // A new file takes the case given; existing folders keep theirs.
    winsim::PutFile("c:\\windows\\New.Txt", "y");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(drive) / "WINDOWS" / "New.Txt"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(drive) / "windows"));
    EXPECT_EQ(winsim::HostPath("c:\\windows\\system.ini"),
              (std::filesystem::path(drive) / "WINDOWS" / "SYSTEM.INI").string());
}

TEST_F(WinsimFilesTest, RelativePathsStartFromTheCurrentDirectory)
{
    winsim::PutFile("C:\\SETUP\\A.TXT", "a");
    winsim::SetCurrentDirectoryForTest("C:\\SETUP");
    for (const char *name : {"a.txt", ".\\a.txt", "..\\setup\\a.txt", "\\SETUP\\A.TXT", "C:a.txt", "sub\\..\\a.txt",
                             "C:\\..\\..\\SETUP\\A.TXT", "a.txt.", "a.txt  "})
        EXPECT_EQ(GetFileAttributesA(name), FILE_ATTRIBUTE_ARCHIVE) << name;
    winsim::SetCurrentDirectoryForTest("D:\\");
    EXPECT_EQ(GetFileAttributesA("C:a.txt"), INVALID_FILE_ATTRIBUTES)
        << "a relative path on another drive starts at its root";
    EXPECT_EQ(GetFileAttributesA("C:SETUP\\a.txt"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(WinsimFilesTest, AttributesOfFilesFoldersAndMissingNames)
{
    winsim::PutFile("C:\\DIR\\FILE.TXT", "x");
    winsim::PutFile("C:\\DIR\\LOCKED.TXT", "x");
    winsim::SetReadOnly("C:\\DIR\\LOCKED.TXT", true);
    struct Case {
        const char *path;
        DWORD attributes;
        DWORD error;
    } cases[] = {
        {"C:\\DIR\\FILE.TXT", FILE_ATTRIBUTE_ARCHIVE, 0},
        {"C:\\DIR\\LOCKED.TXT", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0},
        {"C:\\DIR", FILE_ATTRIBUTE_DIRECTORY, 0},
        {"C:\\DIR\\", FILE_ATTRIBUTE_DIRECTORY, 0},
        {"C:\\", FILE_ATTRIBUTE_DIRECTORY, 0},
        {"C:\\DIR\\NONE.TXT", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {"C:\\NODIR\\NONE.TXT", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"C:\\DIR\\FILE.TXT\\", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"C:\\DIR\\FILE.TXT\\X", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {"Q:\\X", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {"", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        DWORD attributes = 0;
        EXPECT_EQ(ErrorAfter([&] { attributes = GetFileAttributesA(c.path); }), c.error) << c.path;
        EXPECT_EQ(attributes, c.attributes) << c.path;
    }
}

TEST_F(WinsimFilesTest, DeleteFileRefusesFoldersReadOnlyFilesAndMissingNames)
{
    winsim::PutFile("C:\\DIR\\LOCKED.TXT", "x");
    winsim::SetReadOnly("C:\\DIR\\LOCKED.TXT", true);
    struct Case {
        const char *path;
        DWORD error;
    } cases[] = {
        {"C:\\DIR\\LOCKED.TXT", ERROR_ACCESS_DENIED},
        {"C:\\DIR", ERROR_ACCESS_DENIED},
        {"C:\\DIR\\NONE.TXT", ERROR_FILE_NOT_FOUND},
        {"C:\\NODIR\\NONE.TXT", ERROR_PATH_NOT_FOUND},
        {"C:\\DIR\\LOCKED.TXT\\", ERROR_INVALID_NAME},
    };
    for (const Case &c : cases) {
        BOOL deleted = TRUE;
        EXPECT_EQ(ErrorAfter([&] { deleted = DeleteFileA(c.path); }), c.error) << c.path;
        EXPECT_FALSE(deleted) << c.path;
    }
    EXPECT_TRUE(winsim::FileExists("C:\\DIR\\LOCKED.TXT"));

    winsim::SetReadOnly("C:\\DIR\\LOCKED.TXT", false);
    EXPECT_TRUE(DeleteFileA("c:\\dir\\locked.txt"));
    EXPECT_FALSE(winsim::FileExists("C:\\DIR\\LOCKED.TXT"));
}

TEST_F(WinsimFilesTest, MoveFileNeverReplacesAnExistingFile)
{
    winsim::PutFile("C:\\A.TXT", "a");
    winsim::PutFile("C:\\B.TXT", "b");
    BOOL moved = TRUE;
    EXPECT_EQ(ErrorAfter([&] { moved = MoveFileA("C:\\A.TXT", "c:\\b.txt"); }), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(moved);
    EXPECT_EQ(winsim::FileBytes("C:\\A.TXT"), "a");
    EXPECT_EQ(winsim::FileBytes("C:\\B.TXT"), "b");

    EXPECT_EQ(ErrorAfter([&] { MoveFileA("C:\\NONE.TXT", "C:\\X.TXT"); }), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorAfter([&] { MoveFileA("C:\\A.TXT", "C:\\NODIR\\X.TXT"); }), ERROR_PATH_NOT_FOUND);

    EXPECT_TRUE(MoveFileA("C:\\A.TXT", "C:\\C.TXT"));
    EXPECT_FALSE(winsim::FileExists("C:\\A.TXT"));
    EXPECT_EQ(winsim::FileBytes("C:\\C.TXT"), "a");
}

TEST_F(WinsimFilesTest, MoveFileRenamesReadOnlyFilesFoldersAndTheCaseOfAName)
{
    winsim::PutFile("C:\\LOCKED.TXT", "x");
    winsim::SetReadOnly("C:\\LOCKED.TXT", true);
    EXPECT_TRUE(MoveFileA("C:\\LOCKED.TXT", "C:\\MOVED.TXT")) << "read-only files can be renamed";
    EXPECT_EQ(GetFileAttributesA("C:\\MOVED.TXT"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(CreateDirectoryA("C:\\OLD", nullptr));
    winsim::PutFile("C:\\OLD\\IN.TXT", "in");
    EXPECT_TRUE(MoveFileA("C:\\OLD", "C:\\NEW"));
    EXPECT_EQ(winsim::FileBytes("C:\\NEW\\IN.TXT"), "in");

    EXPECT_TRUE(MoveFileA("C:\\NEW\\IN.TXT", "C:\\NEW\\In.Txt"));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(drive) / "NEW" / "In.Txt"));
}

TEST_F(WinsimFilesTest, CreateDirectoryMakesOneLevel)
{
    winsim::PutFile("C:\\FILE", "x");
    EXPECT_TRUE(CreateDirectoryA("C:\\One", nullptr));
    EXPECT_TRUE(winsim::DirectoryExists("C:\\ONE"));
    EXPECT_TRUE(CreateDirectoryA("C:\\ONE\\Two\\", nullptr));
    struct Case {
        const char *path;
        DWORD error;
    } cases[] = {
        {"c:\\one", ERROR_ALREADY_EXISTS},
        {"C:\\FILE", ERROR_ALREADY_EXISTS},
        {"C:\\MISSING\\DEEPER", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        BOOL made = TRUE;
        EXPECT_EQ(ErrorAfter([&] { made = CreateDirectoryA(c.path, nullptr); }), c.error) << c.path;
        EXPECT_FALSE(made) << c.path;
    }
    EXPECT_FALSE(winsim::DirectoryExists("C:\\MISSING"));
}

TEST_F(WinsimFilesTest, DiskFreeSpaceCarriesMoreThanFourGibibytes)
{
    winsim::MapScratchDrive('D');
    winsim::SetDiskSpace('D', 6ull << 30, 40ull << 40);
    CreateDirectoryA("D:\\DATA", nullptr);
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    for (const char *root : {"D:\\", "d:", "D:\\DATA\\"}) {
        ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &totalClusters)) << root;
        EXPECT_EQ(std::uint64_t{sectors} * bytes * freeClusters, 6ull << 30) << root;
        EXPECT_EQ(std::uint64_t{sectors} * bytes * totalClusters, 40ull << 40) << root;
    }
    EXPECT_EQ(bytes, 512u);

    winsim::SetDiskSpace('C', 1 << 20, 1 << 24);
    ASSERT_TRUE(GetDiskFreeSpaceA(nullptr, &sectors, &bytes, &freeClusters, &totalClusters)) << "current drive";
    EXPECT_EQ(std::uint64_t{sectors} * bytes * freeClusters, 1u << 20);

    BOOL got = TRUE;
    EXPECT_EQ(ErrorAfter([&] { got = GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &freeClusters, &totalClusters); }),
              ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(got);
}

TEST_F(WinsimFilesTest, ModuleFileNameIsCutUnterminatedWhenTheBufferIsTooSmall)
{
    winsim::SetModuleFileName(nullptr, "A:\\SETUP.EXE");  // 12 characters
    struct Case {
        DWORD size;
        DWORD result;
        const char *copied;
        DWORD error;
    } cases[] = {
        {MAX_PATH, 12, "A:\\SETUP.EXE", 0},
        {13, 12, "A:\\SETUP.EXE", 0},
        {12, 12, "A:\\SETUP.EXE#", ERROR_INSUFFICIENT_BUFFER},
        {5, 5, "A:\\SE#", ERROR_INSUFFICIENT_BUFFER},
        {0, 0, "#", ERROR_INSUFFICIENT_BUFFER},
    };
    for (const Case &c : cases) {
        char buffer[MAX_PATH + 1];
        std::memset(buffer, '#', sizeof buffer);
        buffer[MAX_PATH] = '\0';
        DWORD result = 99;
        EXPECT_EQ(ErrorAfter([&] { result = GetModuleFileNameA(nullptr, buffer, c.size); }), c.error) << c.size;
        EXPECT_EQ(result, c.result) << c.size;
        EXPECT_EQ(std::string(buffer, std::strlen(c.copied)), c.copied) << c.size;
    }

    char buffer[MAX_PATH];
    HMODULE other = reinterpret_cast<HMODULE>(0x5000);
    EXPECT_EQ(ErrorAfter([&] { EXPECT_EQ(GetModuleFileNameA(other, buffer, MAX_PATH), 0u); }), ERROR_MOD_NOT_FOUND);
    winsim::SetModuleFileName(other, "C:\\WINDOWS\\SYSTEM\\OTHER.DLL");
    EXPECT_EQ(GetModuleFileNameA(other, buffer, MAX_PATH), 27u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM\\OTHER.DLL");
}

TEST_F(WinsimFilesTest, WindowsDirectoriesReportTheSizeNeededWhenTheBufferIsTooSmall)
{
    char buffer[MAX_PATH];
    EXPECT_EQ(GetWindowsDirectoryA(buffer, MAX_PATH), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
    EXPECT_EQ(GetSystemDirectoryA(buffer, MAX_PATH), 17u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM");

    winsim::SetSystemDirectory("D:\\WIN95\\SYSTEM");  // 15 characters
    for (UINT size : {0u, 1u, 15u}) {
        std::strcpy(buffer, "untouched");
        EXPECT_EQ(GetSystemDirectoryA(buffer, size), 16u) << size;
        EXPECT_STREQ(buffer, "untouched") << size;
    }
    EXPECT_EQ(GetSystemDirectoryA(buffer, 16), 15u);
    EXPECT_STREQ(buffer, "D:\\WIN95\\SYSTEM");
}

TEST_F(WinsimFilesTest, ControlsPutAndReadFilesAndScratchDrivesGoAtReset)
{
    winsim::PutFile("C:\\A\\B\\C.BIN", std::string("\0\r\n\x1a", 4));
    EXPECT_EQ(winsim::FileBytes("c:\\a\\b\\c.bin"), std::string("\0\r\n\x1a", 4));
    EXPECT_FALSE(winsim::FileBytes("C:\\A\\B"));
    EXPECT_FALSE(winsim::FileBytes("C:\\NONE"));
    EXPECT_TRUE(winsim::DirectoryExists("C:\\A\\B"));

    winsim::SetReadOnly("C:\\A\\B\\C.BIN", true);
    winsim::PutFile("C:\\A\\B\\C.BIN", "new");
    EXPECT_EQ(winsim::FileBytes("C:\\A\\B\\C.BIN"), "new");
    EXPECT_EQ(GetFileAttributesA("C:\\A\\B\\C.BIN"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);

    EXPECT_THROW(winsim::PutFile("Q:\\X", "x"), std::logic_error);
    winsim::Reset();
    EXPECT_FALSE(std::filesystem::exists(drive));
    EXPECT_EQ(GetFileAttributesA("C:\\"), INVALID_FILE_ATTRIBUTES) << "no drive after a reset";
}

TEST_F(WinsimFilesTest, FileCallsAreLoggedWithTheirPath)
{
    winsim::ClearCalls();
    DeleteFileA("C:\\GONE.TXT");
    GetFileAttributesA("C:\\WHAT.TXT");
    ASSERT_EQ(winsim::CallsTo("DeleteFileA").size(), 1u);
    EXPECT_EQ(winsim::CallsTo("DeleteFileA")[0].text, "C:\\GONE.TXT");
    EXPECT_EQ(winsim::CallsTo("GetFileAttributesA")[0].text, "C:\\WHAT.TXT");
}

}  // namespace
