// The install page on winsim: percentages and bar, disks, Cancel between files, the
// pause before the registry step, and paths and sources that cannot be used.
#include "wizard_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr COLORREF BAR_BLUE = RGB(0, 0, 255);

class CopyEngineTest : public WizardTest {
protected:
    // A disk at C:\DISK with the given file counts; every listed file exists there
    // (plain, a few bytes named after it) unless its name is in `missing`.
    void MakeDisk(const std::vector<int> &counts, const std::vector<std::string> &missing = {})
    {
        std::string script = "[Main]\nDefaultPath=C:\\DEST\n[DiskLabel]\n";
        for (std::size_t d = 0; d < counts.size(); ++d)
            script += "Disk" + std::to_string(d + 1) + "=label\n";
        script += "[FileCounts]\n";
        for (std::size_t d = 0; d < counts.size(); ++d)
            script += "Disk" + std::to_string(d + 1) + "=" + std::to_string(counts[d]) + "\n";
        for (std::size_t d = 0; d < counts.size(); ++d) {
            script += "[Disk" + std::to_string(d + 1) + "]\n";
            for (int j = 1; j <= counts[d]; ++j) {
                const std::string name = "F" + std::to_string(d + 1) + "_" + std::to_string(j) + ".DAT";
                script += std::to_string(j) + "=" + name + "," + name + ",file " + name + ",RootDir\n";
                bool absent = false;
                for (const std::string &m : missing)
                    absent = absent || m == name;
                if (!absent)
                    winsim::PutFile(("C:\\DISK\\" + name).c_str(), "contents of " + name);
            }
        }
        WriteScript(script);
        ASSERT_TRUE(ReadSetupScript());
        CreateDirectoryA("C:\\DEST", nullptr);
    }

    SHORT RunInstallPage() { return RunPage("SETUP_INSTALL", InstallPageProc, IDD_INSTALL); }

    static std::vector<std::string> TextsOf(int controlId)
    {
        std::vector<std::string> texts;
        for (const winsim::Call &call : winsim::CallsTo("SetDlgItemTextA"))
            if (static_cast<int>(call.args[1]) == controlId)
                texts.push_back(call.text);
        return texts;
    }

    // The bar fills: {left, right} of every FillRect with a blue brush made for it.
    static std::vector<std::pair<long, long>> BarFills()
    {
        std::vector<std::pair<long, long>> fills;
        std::uintptr_t lastColour = ~std::uintptr_t{0};
        for (const winsim::Call &call : winsim::Calls()) {
            if (call.api == "CreateSolidBrush")
                lastColour = call.args[0];
            if (call.api == "FillRect" && lastColour == BAR_BLUE)
                fills.push_back({static_cast<LONG>(call.args[2]), static_cast<LONG>(call.args[4])});
        }
        return fills;
    }

    static int EmptyBars() { return static_cast<int>(winsim::CallsTo("Rectangle").size()) / 2; }
};

TEST_F(CopyEngineTest, ThreeFilesShowThirdsAndTheBarGrowsToItsEnd)
{
    MakeDisk({3});
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    EXPECT_EQ(TextsOf(IDC_PROGRESS_PERCENT), (std::vector<std::string>{"33%", "66%", "100%"}));
    const auto fills = BarFills();
    ASSERT_EQ(fills.size(), 3u);
    const long left = fills[0].first;
    // The full bar: the placeholder's rectangle, two pixels in, one up and left.
    const long full = fills[2].second - left;
    EXPECT_GT(full, 100);
    for (const auto &fill : fills)
        EXPECT_EQ(fill.first, left);
    EXPECT_EQ(fills[0].second - left, 33 * (full + 1) / 100);
    EXPECT_EQ(fills[1].second - left, 66 * (full + 1) / 100);
    const auto status = TextsOf(IDC_COPY_STATUS);
    ASSERT_EQ(status.size(), 4u);
    EXPECT_EQ(status[0], "Copying F1_1.DAT\n\nfile F1_1.DAT");
    EXPECT_EQ(status[3], "Updating Registry...");
    EXPECT_EQ(*winsim::FileBytes("C:\\DEST\\F1_3.DAT"), "contents of F1_3.DAT");
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);
    EXPECT_EQ(winsim::GdiObjectsInUse(), 0u);
}

TEST_F(CopyEngineTest, TwoHundredFilesStartAtNoughtPercent)
{
    MakeDisk({200});
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    const auto percents = TextsOf(IDC_PROGRESS_PERCENT);
    ASSERT_EQ(percents.size(), 200u);
    EXPECT_EQ(percents[0], "0%");
    EXPECT_EQ(percents[1], "1%");
    EXPECT_EQ(percents[199], "100%");
}

TEST_F(CopyEngineTest, EveryDiskStartsAFreshBarAndAnEmptyDiskOnlyDrawsIt)
{
    MakeDisk({2, 0, 4});
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    EXPECT_EQ(EmptyBars(), 3);
    EXPECT_EQ(TextsOf(IDC_PROGRESS_PERCENT), (std::vector<std::string>{"50%", "100%", "25%", "50%", "75%", "100%"}));
}

TEST_F(CopyEngineTest, NoDisksStillConfigureTheRegistry)
{
    MakeDisk({});
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    EXPECT_EQ(TextsOf(IDC_COPY_STATUS), (std::vector<std::string>{"Updating Registry..."}));
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

TEST_F(CopyEngineTest, CancelLetsTheFileInHandFinishAndBeginsNoOtherNorTheRegistry)
{
    MakeDisk({5});
    winsim::SetCallObserver([](const winsim::Call &call) {
        // The user's click waits in the queue until the page lets a message through.
        if (call.api == "LZOpenFileA" && call.text == "C:\\DISK\\\\F1_3.DAT")
            PostMessageA(FindWindowA("SETUP_INSTALL", nullptr), WM_COMMAND, IDC_INSTALL_CANCEL, 0);
    });
    EXPECT_EQ(RunInstallPage(), PAGE_CANCEL);
    winsim::SetCallObserver({});
    for (int j = 1; j <= 3; ++j)
        EXPECT_TRUE(winsim::FileExists(("C:\\DEST\\F1_" + std::to_string(j) + ".DAT").c_str())) << j;
    for (int j = 4; j <= 5; ++j)
        EXPECT_FALSE(winsim::FileExists(("C:\\DEST\\F1_" + std::to_string(j) + ".DAT").c_str())) << j;
    EXPECT_FALSE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"))
        << "a cancelled installation registers nothing";
    EXPECT_TRUE(winsim::CallsTo("GetTickCount").empty()) << "and does not pause for the registry";
    ASSERT_EQ(winsim::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxesShown()[0].text, "Velmo installation is not completed !");
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);
}

TEST_F(CopyEngineTest, TheRegistryPauseLastsASecondAndSwallowsInput)
{
    MakeDisk({1});
    winsim::SetTickCount(5000, 7);
    bool clicked = false;
    winsim::SetCallObserver([&clicked](const winsim::Call &call) {
        if (call.api == "GetTickCount" && !clicked) {
            clicked = true;
            PostMessageA(FindWindowA("SETUP_INSTALL", nullptr), WM_COMMAND, IDC_INSTALL_CANCEL, 0);
        }
    });
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT) << "the Cancel click during the pause has no effect";
    winsim::SetCallObserver({});
    const auto ticks = winsim::CallsTo("GetTickCount");
    EXPECT_GE(static_cast<int>(ticks.size()) * 7, 1000);
    EXPECT_TRUE(winsim::RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

TEST_F(CopyEngineTest, APauseThatWouldWrapTheClockEndsAtOnce)
{
    winsim::SetTickCount(0xFFFFFF00u, 1);
    winsim::ClearCalls();
    WaitMilliseconds(1000);
    EXPECT_EQ(winsim::CallsTo("GetTickCount").size(), 1u);
    WaitMilliseconds(0);
    EXPECT_EQ(winsim::CallsTo("GetTickCount").size(), 2u);
}

TEST_F(CopyEngineTest, AMissingSourceLeavesItsTargetUntouched)
{
    winsim::PutFile("C:\\DEST\\F1_2.DAT", "installed before");
    MakeDisk({3}, {"F1_2.DAT", "F1_3.DAT"});
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    EXPECT_EQ(*winsim::FileBytes("C:\\DEST\\F1_1.DAT"), "contents of F1_1.DAT");
    EXPECT_EQ(*winsim::FileBytes("C:\\DEST\\F1_2.DAT"), "installed before") << "not emptied";
    EXPECT_FALSE(winsim::FileExists("C:\\DEST\\F1_3.DAT")) << "no empty file made";
}

TEST_F(CopyEngineTest, PathsThatDoNotFitAreSkippedNeverCut)
{
    const std::string longDir(60, 'D');
    winsim::PutFile(("C:\\" + longDir + "\\SETUP.INF").c_str(),
                    "[Main]\r\nDefaultPath=C:\\DEST\r\n[DiskLabel]\r\nDisk1=1\r\n[FileCounts]\r\nDisk1=2\r\n"
                    "[DirectoryName]\r\nSubDir1=SUBDIRECTORY_OF_TWENTY\r\n[Disk1]\r\n"
                    "1=SHORT.DAT,SHORT.DAT,d,RootDir\r\n2=LONGNAME.DAT,LONGNAME.DAT,d,SubDir1\r\n");
    winsim::PutFile(("C:\\" + longDir + "\\SHORT.DAT").c_str(), "short");
    winsim::PutFile(("C:\\" + longDir + "\\SUBDIRECTORY_OF_TWENTY\\LONGNAME.DAT").c_str(), "long");
    winsim::SetModuleFileName(nullptr, ("C:\\" + longDir + "\\SETUP.EXE").c_str());
    ASSERT_TRUE(ReadSetupScript());
    CreateDirectoryA("C:\\DEST", nullptr);
    EXPECT_EQ(RunInstallPage(), PAGE_NEXT);
    EXPECT_TRUE(winsim::FileExists("C:\\DEST\\SHORT.DAT"));
    for (const winsim::Call &open : winsim::CallsTo("LZOpenFileA"))
        EXPECT_EQ(open.text.find("LONGNAME"), std::string::npos) << "no cut path is opened: " << open.text;
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);

    // A target path that does not fit: the source is opened, then closed unused.
    char path[PATH_CHARS];
    std::snprintf(config.destDir, sizeof config.destDir, "C:\\%s", std::string(70, 'T').c_str());
    EXPECT_FALSE(BuildTargetPath(path, 0, 0));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(BuildSourcePath(path, 0, 0));
}

}  // namespace
