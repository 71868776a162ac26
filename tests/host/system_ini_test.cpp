// "system.ini" is never lost or left half-written: every failure on the way leaves the
// old file in place and no "system.new" behind. (The rewrite rules themselves run in
// the shared scenarios.)
#include "setup_fixture.h"

#include <optional>

namespace {

const std::string ORIGINAL = "[386Enh]\r\nmouse=old\r\nkeyboard=*vkd\r\n";
const std::string REWRITTEN = "[386Enh]\r\nmouse=*vmouse\r\nkeyboard=*vkd\r\n";

class SystemIniTest : public SetupTest {
protected:
    void SetUp() override
    {
        SetupTest::SetUp();
        CreateDirectoryA("C:\\WINDOWS", nullptr);
        CreateDirectoryA("C:\\WINDOWS\\SYSTEM", nullptr);
    }

    static std::string Bytes(const char *path) { return winsim::FileBytes(path).value_or("<none>"); }
};

TEST_F(SystemIniTest, AMissingSystemIniLeavesNothingBehind)
{
    winsim::PutFile("C:\\WINDOWS\\system.bak", "older");
    UpdateSystemIni();
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.new"));
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.ini"));
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.bak"), "older");
}

TEST_F(SystemIniTest, AFullDiskLeavesSystemIniAsItWas)
{
    for (std::size_t room : {std::size_t{0}, std::size_t{5}, std::size_t{20}, REWRITTEN.size() - 1}) {
        winsim::PutFile("C:\\WINDOWS\\system.ini", ORIGINAL);
        winsim::PutFile("C:\\WINDOWS\\system.bak", "older");
        winsim::FailWritesAfter("C:\\WINDOWS\\system.new", room);
        UpdateSystemIni();
        EXPECT_EQ(Bytes("C:\\WINDOWS\\system.ini"), ORIGINAL) << room;
        EXPECT_EQ(Bytes("C:\\WINDOWS\\system.bak"), "older") << room;
        EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.new")) << room;
    }
}

TEST_F(SystemIniTest, ABackupThatCannotBeReplacedLeavesSystemIniAsItWas)
{
    winsim::PutFile("C:\\WINDOWS\\system.ini", ORIGINAL);
    winsim::PutFile("C:\\WINDOWS\\system.bak", "older");
    winsim::SetReadOnly("C:\\WINDOWS\\system.bak", true);
    UpdateSystemIni();
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.ini"), ORIGINAL);
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.bak"), "older");
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.new"));
}

TEST_F(SystemIniTest, ANewFileThatCannotBeCreatedChangesNothing)
{
    winsim::PutFile("C:\\WINDOWS\\system.ini", ORIGINAL);
    winsim::PutFile("C:\\WINDOWS\\system.new", "someone else's");
    winsim::SetReadOnly("C:\\WINDOWS\\system.new", true);
    UpdateSystemIni();
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.ini"), ORIGINAL);
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.bak"));
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.new"), "someone else's");
}

TEST_F(SystemIniTest, ANewFileThatCannotTakeTheNameGivesTheOldOneBack)
{
    winsim::PutFile("C:\\WINDOWS\\system.ini", ORIGINAL);
    // The new file vanishes just before it is to become system.ini.
    winsim::SetCallObserver([](const winsim::Call &call) {
        if (call.api == "rename" && call.text == "C:\\WINDOWS\\system.new")
            DeleteFileA("C:\\WINDOWS\\system.new");
    });
    UpdateSystemIni();
    winsim::SetCallObserver({});
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.ini"), ORIGINAL);
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\system.new"));
}

TEST_F(SystemIniTest, TheRewriteReadsAndWritesThroughTheTextStreams)
{
    winsim::PutFile("C:\\WINDOWS\\system.ini", ORIGINAL);
    winsim::ClearCalls();
    UpdateSystemIni();
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.ini"), REWRITTEN);
    EXPECT_EQ(Bytes("C:\\WINDOWS\\system.bak"), ORIGINAL);
    EXPECT_EQ(winsim::CallsTo("fopen").size(), 3u) << "two readers and the writer";
    EXPECT_EQ(winsim::CallsTo("fclose").size(), 3u);
}

}  // namespace
