// Reading "SETUP.INF": defaults, disks and file lines, the field parser, the text ring,
// the prior-setting records, and input that does not fit its fields.
#include "setup_fixture.h"

#include <cstring>

namespace {

using ScriptTest = SetupTest;

TEST_F(ScriptTest, AMissingScriptGivesEveryDefault)
{
    CopyWindowsDir("D:\\WIN");
    winsim::SetModuleFileName(nullptr, "A:\\SETUP.EXE");
    ASSERT_TRUE(ReadSetupScript());
    EXPECT_STREQ(config.sourceDir, "A:");
    EXPECT_STREQ(config.destDir, "D:\\VELMO");
    EXPECT_STREQ(config.productName, "Velmo");
    EXPECT_STREQ(config.setupCaption, "Velmo Setup Program");
    EXPECT_EQ(config.minimumSpaceKB, 1024);
    EXPECT_EQ(config.oemMode, 0);
    EXPECT_EQ(config.diskCount, 0);
    EXPECT_EQ(config.totalFileCount, 0);
    EXPECT_NE(config.fileTable, nullptr) << "an empty table is a table all the same";
    EXPECT_EQ(config.fileLists[0], config.fileTable);
    EXPECT_STREQ(config.productTitle, "");
    EXPECT_STREQ(config.serialName, "");
    EXPECT_STREQ(config.directoryNames[3], "");
}

TEST_F(ScriptTest, DisksAndFileLinesFillTheTable)
{
    WriteScript(
        "[Main]\n"
        "DefaultPath=D:\\Velmo\n"
        "ProductName=Velmo Wheel\n"
        "MinimumSpace=2048\n"
        "OEM=1\n"
        "[DiskLabel]\n"
        "Disk1=Velmo Disk 1\n"
        "Disk3=Velmo Disk 2\n"
        "[FileCounts]\n"
        "Disk1=3\n"
        "Disk2=1\n"
        "[DirectoryName]\n"
        "RootDir=\n"
        "SubDir2=DRIVERS\n"
        "WinSystemDir=SYS\n"
        "[Disk1]\n"
        "1=  KXMAIN.EX_ ,  KXMAIN.EXE , The resident  program  , rootdir \n"
        "2=VELMO.VX_,VELMO.VXD,Mouse driver,winsystemdir\n"
        "[Disk2]\n"
        "1=VELMO.IN_,VELMO.INF,Setup information,WinInfDir\n"
        "2=EXTRA.TXT,EXTRA.TXT,never read,RootDir\n"
        "[Startup]\n"
        "Title=Velmo Wheel Mouse\n"
        "SeialName=Velmo Serial Mouse\n");
    ASSERT_TRUE(ReadSetupScript());
    EXPECT_STREQ(config.sourceDir, "C:\\DISK");
    EXPECT_STREQ(config.destDir, "C:\\Velmo") << "the default destination lies on the Windows drive";
    EXPECT_STREQ(config.setupCaption, "Velmo Wheel Setup Program");
    EXPECT_EQ(config.minimumSpaceKB, 2048);
    EXPECT_EQ(config.oemMode, 1);
    EXPECT_EQ(config.diskCount, 2) << "labels count wherever they stand";
    EXPECT_EQ(config.totalFileCount, 4);
    EXPECT_EQ(config.fileLists[1] - config.fileLists[0], 3);
    EXPECT_EQ(config.fileLists[2] - config.fileLists[1], 1);
    EXPECT_STREQ(config.productTitle, "Velmo Wheel Mouse");
    EXPECT_STREQ(config.serialName, "Velmo Serial Mouse");

    const FileEntry &main = config.fileLists[0][0];
    EXPECT_STREQ(main.sourceName, "KXMAIN.EX_");
    EXPECT_STREQ(main.targetName, "KXMAIN.EXE");
    EXPECT_STREQ(main.description, "The resident  program");
    EXPECT_STREQ(main.sourceSubdir, "");
    EXPECT_STREQ(main.targetDir, "");
    EXPECT_EQ(main.targetIsAbsolute, 0);

    const FileEntry &driver = config.fileLists[0][1];
    EXPECT_STREQ(driver.sourceSubdir, "SYS");
    EXPECT_STREQ(driver.targetDir, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(driver.targetIsAbsolute, 1);

    const FileEntry &missing = config.fileLists[0][2];  // a count larger than the lines
    EXPECT_STREQ(missing.sourceName, "");
    EXPECT_STREQ(missing.description, "");

    const FileEntry &inf = config.fileLists[1][0];  // the second counted disk reads [Disk2]
    EXPECT_STREQ(inf.sourceName, "VELMO.IN_");
    EXPECT_STREQ(inf.targetDir, "C:\\WINDOWS\\INF");
}

TEST_F(ScriptTest, FileLinesWithFewFieldsOrUnknownKeywordsHaveNoDirectories)
{
    WriteScript(
        "[DiskLabel]\nDisk1=1\n"
        "[FileCounts]\nDisk1=3\n"
        "[DirectoryName]\nSubDir6=LAST\n"
        "[Disk1]\n"
        "1=A.DLL,B.DLL\n"
        "2=C.DLL,D.DLL,desc,Elsewhere\n"
        "3=E.DLL,F.DLL,desc,subdir6\n");
    ASSERT_TRUE(ReadSetupScript());
    const FileEntry *entries = config.fileLists[0];
    EXPECT_STREQ(entries[0].targetName, "B.DLL");
    EXPECT_STREQ(entries[0].description, "");
    EXPECT_STREQ(entries[0].targetDir, "");
    EXPECT_STREQ(entries[1].description, "desc");
    EXPECT_STREQ(entries[1].sourceSubdir, "");
    EXPECT_STREQ(entries[2].sourceSubdir, "LAST");
    EXPECT_STREQ(entries[2].targetDir, "LAST");
    EXPECT_EQ(entries[2].targetIsAbsolute, 0);
}

TEST_F(ScriptTest, FieldsThatDoNotFitLeaveTheEntryEmptyAndDescriptionsAreCut)
{
    const std::string longName(15, 'N');        // one more than a file name holds
    const std::string longDir(40, 'D');         // one more than an entry directory holds
    const std::string longDescription(80, 'd');
    CopyWindowsDir("C:\\WINDOWS\\A_WINDOWS_DIRECTORY_OF_33");  // 36 characters: with "\SYSTEM" too long
    WriteScript(
        "[DiskLabel]\nDisk1=1\n"
        "[FileCounts]\nDisk1=6\n"
        "[DirectoryName]\nSubDir1=" + longDir + "\n"
        "[Disk1]\n"
        "1=" + longName + ",OK.DLL,d,RootDir\n"
        "2=OK.DLL," + longName + ",d,RootDir\n"
        "3=OK.DLL,OK.DLL,d,SubDir1\n"
        "4=OK.DLL,OK.DLL," + longDescription + ",RootDir\n"
        "5=OK.DLL,OK.DLL,d,WinSystemDir\n"
        "6=OK.DLL,OK.DLL,d,WinDir\n");
    ASSERT_TRUE(ReadSetupScript());
    const FileEntry *entries = config.fileLists[0];
    for (int i : {0, 1, 2, 4}) {
        EXPECT_STREQ(entries[i].sourceName, "") << "line " << i + 1;
        EXPECT_STREQ(entries[i].targetName, "") << "line " << i + 1;
        EXPECT_STREQ(entries[i].targetDir, "") << "line " << i + 1;
    }
    EXPECT_EQ(std::string(entries[3].description), longDescription.substr(0, DESCRIPTION_CHARS - 1));
    EXPECT_STREQ(entries[3].sourceName, "OK.DLL");
    EXPECT_STREQ(entries[5].targetDir, config.windowsDir);
}

TEST_F(ScriptTest, FileCountsNeverPlaceEntriesOutsideTheTable)
{
    WriteScript("[DiskLabel]\nDisk1=1\nDisk2=2\n[FileCounts]\nDisk1=-5\nDisk2=2\n[Disk2]\n1=A,B,c,RootDir\n");
    ASSERT_TRUE(ReadSetupScript());
    EXPECT_EQ(config.fileCounts[0], 0);
    EXPECT_EQ(config.totalFileCount, 2);
    EXPECT_STREQ(config.fileLists[1][0].sourceName, "A");
    FreeFileTable();

    // Counts whose total does not fit 16 bits: the script cannot be read.
    WriteScript("[DiskLabel]\nDisk1=1\nDisk2=2\n[FileCounts]\nDisk1=30000\nDisk2=30000\n");
    EXPECT_FALSE(ReadSetupScript());
    WriteScript("[DiskLabel]\nDisk1=1\n[FileCounts]\nDisk1=70000\n");
    EXPECT_FALSE(ReadSetupScript());
}

TEST_F(ScriptTest, ATableThatCannotBeHadFailsTheRead)
{
    winsim::FailNextGlobalAlloc();
    EXPECT_FALSE(ReadSetupScript());
}

TEST_F(ScriptTest, AProgramPathTooLongForItsDirectoryFindsNoScript)
{
    WriteScript("[Main]\nProductName=Found\n");
    const std::string deep = "C:\\" + std::string(90, 'p');
    winsim::PutFile((deep + "\\SETUP.INF").c_str(), "[Main]\r\nProductName=Found\r\n");
    winsim::SetModuleFileName(nullptr, (deep + "\\SETUP.EXE").c_str());
    ASSERT_TRUE(ReadSetupScript());
    EXPECT_STREQ(config.sourceDir, "");
    EXPECT_STREQ(config.productName, "Velmo");
}

TEST_F(ScriptTest, NextFieldTrimsBlanksAndStopsAtCommas)
{
    const struct {
        const char *text;
        const char *field;
        const char *rest;
    } cases[] = {
        {"  a b  ,c", "a b", "c"},
        {"abc", "abc", ""},
        {"", "", ""},
        {" , x", "", " x"},
        {"\ta\t,b", "\ta\t", "b"},  // tabs are ordinary characters
        {"a,,b", "a", ",b"},
        {"   ", "", ""},
    };
    for (const auto &c : cases) {
        char field[TEXT_CHARS] = "poison";
        const char *rest = NextField(c.text, field);
        EXPECT_STREQ(field, c.field) << "\"" << c.text << "\"";
        EXPECT_STREQ(rest, c.rest) << "\"" << c.text << "\"";
    }
    // At the end of the text every further call gives an empty field.
    char field[TEXT_CHARS];
    const char *end = NextField("last", field);
    EXPECT_EQ(NextField(end, field), end);
    EXPECT_STREQ(field, "");
    // A field longer than the buffer is cut, never overrun.
    const std::string huge(300, 'h');
    char guarded[TEXT_CHARS + 8];
    std::memset(guarded, '#', sizeof guarded);
    NextField(huge.c_str(), guarded);
    EXPECT_EQ(std::strlen(guarded), static_cast<std::size_t>(TEXT_CHARS - 1));
    EXPECT_EQ(guarded[TEXT_CHARS], '#');
}

TEST_F(ScriptTest, LoadTextCyclesThroughFourBuffers)
{
    const char *first = LoadText(1);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "DiskLabel");
    const char *second = LoadText(44);
    EXPECT_STREQ(second, "This  Mouse Setup Program is for Windows 95/98 only !");
    LoadText(2);
    LoadText(3);
    const char *fifth = LoadText(32);
    EXPECT_EQ(fifth, first) << "the fifth call reuses the first buffer";
    EXPECT_STREQ(fifth, "The specified directory is already exist !\nDo you still want to install into this directory ?");
    EXPECT_EQ(LoadText(21), nullptr) << "no such entry";
}

TEST_F(ScriptTest, PriorSettingsAreRecordedOnce)
{
    std::snprintf(config.destDir, sizeof config.destDir, "C:\\DEST");
    CreateDirectoryA("C:\\DEST", nullptr);
    RecordPriorSetting("PS2", "DeviceDesc", "");
    RecordPriorSetting("PS2", "DeviceDesc", "first");
    RecordPriorSetting("PS2", "DeviceDesc", "second");
    RecordPriorSetting("Serial", "DeviceDesc", "serial");
    EXPECT_STREQ(ReadInstalledSetting("PS2", "DeviceDesc", "-"), "first");
    EXPECT_STREQ(ReadInstalledSetting("ps2", "devicedesc", "-"), "first");
    EXPECT_STREQ(ReadInstalledSetting("Serial", "DeviceDesc", "-"), "serial");
    EXPECT_STREQ(ReadInstalledSetting("PS2", "Mfg", "-"), "-");
}

}  // namespace
