// The installer's driver on winsim: the command line, the version test, the page
// sequence with Next, Back and Cancel, the update mode, and the exit code.
#include "wizard_fixture.h"

#include <map>
#include <string>
#include <vector>

namespace {

constexpr char RUN_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char *const PAGE_CLASSES[] = {"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_INSTALL", "SETUP_END"};

class DriverTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        config = InstallConfig{};
        WriteScript("[Main]\nDefaultPath=C:\\VELMO\nProductName=Velmo\n[DiskLabel]\nDisk1=1\n[FileCounts]\nDisk1=1\n"
                    "[Disk1]\n1=KXHOOK32.DLL,KXHOOK32.DLL,library,RootDir\n[Startup]\nTitle=Velmo Wheel Mouse\n");
        winsim::PutFile("C:\\DISK\\KXHOOK32.DLL", "library");
        winsim::PutFile("C:\\WINDOWS\\system.ini", "[386Enh]\r\nmouse=old\r\n");
        CreateDirectoryA("C:\\WINDOWS\\SYSTEM", nullptr);
    }

    // The user: on each page visited, in order, the action named for it: "next",
    // "back", "cancel", "finish", "later" (restart later, then Finish), "ps2".
    void Script(std::vector<std::string> actions)
    {
        auto remaining = std::make_shared<std::vector<std::string>>(std::move(actions));
        auto seen = std::make_shared<HWND>(nullptr);
        visits.clear();
        winsim::SetIdleResponder([this, remaining, seen] {
            HWND page = nullptr;
            const char *name = nullptr;
            for (const char *candidate : PAGE_CLASSES) {
                if (HWND found = FindWindowA(candidate, nullptr)) {
                    page = found;
                    name = candidate;
                }
            }
            if (!page || page == *seen || remaining->empty())
                return;
            *seen = page;
            visits.push_back(name);
            const std::string action = remaining->front();
            remaining->erase(remaining->begin());
            if (action == "ps2")
                winsim::ClickDialogButton(page, IDC_PS2_MOUSE);
            if (action == "later")
                winsim::ClickDialogButton(page, IDC_RESTART_LATER);
            const int id = action == "back" ? IDC_BACK : action == "cancel" ? IDC_CANCEL : IDC_NEXT;
            winsim::ClickDialogButton(page, id);
        });
    }

    int Run(const char *commandLine) { return WinMain(programInstance, nullptr, const_cast<LPSTR>(commandLine), 1); }

    static bool Restarted() { return !winsim::CallsTo("ExitWindowsEx").empty(); }
    static bool SystemIniUpdated() { return winsim::FileExists("C:\\WINDOWS\\system.bak"); }

    std::vector<std::string> visits;
};

TEST_F(DriverTest, OnlyAHyphenAndALowerCaseUSelectTheUpdateMode)
{
    const std::map<std::string, bool> cases = {
        {"-u", true}, {"-uX", true}, {"-u more", true}, {"-U", false}, {"/u", false}, {" -u", false},
        {"x -u", false}, {"-", false}, {"", false},
    };
    for (const auto &[line, update] : cases)
        EXPECT_EQ(IsUpdateCommand(line.c_str()), update) << "\"" << line << "\"";
    EXPECT_FALSE(IsUpdateCommand(nullptr));
}

TEST_F(DriverTest, TheWizardWalksItsPagesAndRestartsAtTheEnd)
{
    HWND resident = winsim::CreateTopLevelWindow("ResidentClass", "Tarvik");
    Script({"next", "next", "next", "finish"});
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(visits, (std::vector<std::string>{"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_END"}))
        << "the install page runs by itself";
    EXPECT_EQ(*winsim::FileBytes("C:\\VELMO\\KXHOOK32.DLL"), "library");
    EXPECT_TRUE(SystemIniUpdated());
    EXPECT_TRUE(Restarted());
    EXPECT_EQ(winsim::CallsTo("ExitWindowsEx")[0].args[0], static_cast<std::uintptr_t>(EWX_REBOOT));
    EXPECT_FALSE(IsWindow(backgroundWindow));
    EXPECT_EQ(winsim::GlobalBlocksInUse(), 0u) << "the file table is freed";

    // The resident application was asked to close before the first file was opened.
    std::size_t closed = 0, opened = 0, index = 0;
    for (const winsim::Call &call : winsim::Calls()) {
        ++index;
        if (call.api == "SendMessageA" && call.args[0] == winsim::Arg(resident) && call.args[1] == WM_CLOSE && !closed)
            closed = index;
        if (call.api == "LZOpenFileA" && !opened)
            opened = index;
    }
    EXPECT_GT(closed, 0u);
    EXPECT_LT(closed, opened);
}

TEST_F(DriverTest, BackAndNextWalkThroughFreshPages)
{
    Script({"next", "back", "next", "ps2", "back", "next", "next", "later"});
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(visits, (std::vector<std::string>{"SETUP_BEGIN", "SETUP_SELMOUSE", "SETUP_BEGIN", "SETUP_SELMOUSE",
                                                "SETUP_SELDIR", "SETUP_SELMOUSE", "SETUP_SELDIR", "SETUP_END"}));
    EXPECT_EQ(serialMouse, 0);
    EXPECT_FALSE(Restarted()) << "restart declined";
    EXPECT_TRUE(SystemIniUpdated());
}

TEST_F(DriverTest, CancelOnAnyPageEndsTheProgramWithoutChanges)
{
    const std::vector<std::vector<std::string>> scripts = {
        {"cancel"}, {"next", "cancel"}, {"next", "next", "cancel"}};
    for (const auto &script : scripts) {
        winsim::PutFile("C:\\WINDOWS\\system.ini", "[386Enh]\r\nmouse=old\r\n");
        DeleteFileA("C:\\WINDOWS\\system.bak");
        winsim::ClearCalls();
        Script(script);
        EXPECT_EQ(Run(""), 0);
        EXPECT_FALSE(SystemIniUpdated()) << script.size();
        EXPECT_FALSE(Restarted()) << script.size();
        EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, RUN_KEY)) << script.size();
        EXPECT_EQ(winsim::GlobalBlocksInUse(), 0u) << script.size();
    }
}

TEST_F(DriverTest, ACancelledCopyQuitsWithoutTheEndPageOrSystemIni)
{
    Script({"next", "next", "next"});
    winsim::SetCallObserver([](const winsim::Call &call) {
        if (call.api == "LZOpenFileA")
            PostMessageA(FindWindowA("SETUP_INSTALL", nullptr), WM_COMMAND, IDC_INSTALL_CANCEL, 0);
    });
    EXPECT_EQ(Run(""), 0);
    winsim::SetCallObserver({});
    EXPECT_EQ(visits.back(), "SETUP_SELDIR");
    EXPECT_FALSE(SystemIniUpdated());
    EXPECT_FALSE(Restarted());
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, RUN_KEY));
}

TEST_F(DriverTest, OutsideTheWindows95FamilyOnlyTheUpdateModeRuns)
{
    winsim::SetVersion(0x0A280105);  // bit 31 clear
    EXPECT_EQ(Run(""), 0);
    ASSERT_EQ(winsim::MessageBoxesShown().size(), 1u);
    const winsim::MessageBoxRequest &box = winsim::MessageBoxesShown()[0];
    EXPECT_EQ(box.text, "This  Mouse Setup Program is for Windows 95/98 only !");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_TRUE(winsim::CallsTo("CreateWindowExA").empty());

    Script({"next"});
    EXPECT_EQ(Run("-u"), 0);
    EXPECT_TRUE(Restarted()) << "the update mode runs there all the same";
}

TEST_F(DriverTest, TheUpdateModeAsksTheMouseTypeAndWritesOnlyTheDevicePart)
{
    winsim::SetIdleResponder([this] {
        HWND page = FindWindowA("SETUP_SELMOUSE", nullptr);
        ASSERT_NE(page, nullptr) << "only the mouse-type page";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        EXPECT_EQ(GetParent(page), nullptr) << "no background window owns it";
        visits.push_back("SETUP_SELMOUSE");
        winsim::ClickDialogButton(page, IDC_NEXT);
    });
    EXPECT_EQ(Run("-u"), 0);
    EXPECT_EQ(visits.size(), 1u);
    EXPECT_STREQ(config.destDir, config.sourceDir) << "records go beside the program";
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, RUN_KEY));
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\VelmoMouse\\0000"));
    ASSERT_EQ(winsim::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxesShown()[0].text, LoadText(IDS_RESTART_NOW));
    EXPECT_EQ(winsim::MessageBoxesShown()[0].style, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(Restarted());
    EXPECT_FALSE(SystemIniUpdated());

    // Cancel there changes nothing and restarts nothing.
    winsim::Reset();
    winsim::MapScratchDrive('C');
    programInstance = winsim::LoadModule(SETUP_RES_PATH);
    SetUp();
    Script({"cancel"});
    EXPECT_EQ(Run("-u"), 0);
    EXPECT_FALSE(Restarted());
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "Enum\\Root\\VelmoMouse\\0000"));
}

TEST_F(DriverTest, AScriptThatCannotBeReadIsReportedAndEndsTheProgram)
{
    winsim::FailNextGlobalAlloc();
    EXPECT_EQ(Run(""), 0);
    ASSERT_EQ(winsim::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxesShown()[0].text, "SETUP.INF Reading error !");
    EXPECT_EQ(winsim::MessageBoxesShown()[0].caption, "Velmo Setup Program");
    EXPECT_TRUE(winsim::CallsTo("CreateWindowExA").empty());
}

}  // namespace
