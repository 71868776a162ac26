// winsim's GetOpenFileNameA against what the platform's older file dialog does with the
// installer's Browse template and a hook (each seen under Wine, Windows 98 mode): its
// initialisation, the hook's view of it, and the user's ways through it (OK at once,
// typing, moving to a folder, Cancel).
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int IDD_BROWSE = 104;
constexpr int PATH_EDIT = 1003;
constexpr int CURRENT_DIRECTORY = 1088;
constexpr int DIRECTORY_LIST = 1121;
constexpr UINT POSTED_AT_INIT = WM_USER + 77;

struct HookView {
    UINT message;
    WPARAM wParam;
    bool visible;
    std::string currentDirectory;  // GetCurrentDirectoryA then
    std::string shown;             // the text of the static 1088 then
    std::string typed;             // the text of the path edit then
};
std::vector<HookView> hookSaw;
OPENFILENAMEA *expectedOfn = nullptr;
bool initParamWasOfn = false;
UINT_PTR fileOkAnswer = 0;

std::string ItemText(HWND dialog, int id)
{
    char text[MAX_PATH] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

UINT_PTR Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (message == WM_INITDIALOG || message == WM_COMMAND || message == POSTED_AT_INIT ||
        message >= 0xC000)
        hookSaw.push_back({message, wParam, IsWindowVisible(dialog) != 0, cwd, ItemText(dialog, CURRENT_DIRECTORY),
                           ItemText(dialog, PATH_EDIT)});
    if (message == WM_INITDIALOG) {
        initParamWasOfn = reinterpret_cast<OPENFILENAMEA *>(lParam) == expectedOfn;
        PostMessageA(dialog, POSTED_AT_INIT, 0, 0);
        return TRUE;
    }
    if (message >= 0xC000)
        return fileOkAnswer;
    return 0;
}

class WinsimFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        hookSaw.clear();
        fileOkAnswer = 0;
        module = winsim::LoadModule(WINSIM_SETUP_RES_PATH);
        ASSERT_NE(module, nullptr);
        winsim::MapScratchDrive('C');
        winsim::MapScratchDrive('D');
        for (const char *folder : {"C:\\WINDOWS\\SYSTEM", "C:\\Program Files", "D:\\DATA"})
            winsim::PutFile((std::string(folder) + "\\x.txt").c_str(), "x");
        winsim::SetCurrentDirectoryForTest("C:\\Program Files");
        std::strcpy(file, "12345678.ABC");
        ofn = OPENFILENAMEA{};
        ofn.lStructSize = sizeof ofn;
        ofn.hInstance = module;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrInitialDir = "C:\\";
        ofn.Flags = OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_NOVALIDATE | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
        ofn.lpfnHook = Hook;
        ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_BROWSE);
        expectedOfn = &ofn;
    }

    static std::string CurrentDirectory()
    {
        char cwd[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof cwd, cwd);
        return cwd;
    }

    static std::vector<WPARAM> Commands()
    {
        std::vector<WPARAM> commands;
        for (const HookView &view : hookSaw)
            if (view.message == WM_COMMAND)
                commands.push_back(view.wParam);
        return commands;
    }

    HINSTANCE module = nullptr;
    char file[MAX_PATH];
    OPENFILENAMEA ofn;
};

TEST_F(WinsimFileDialogTest, OkAtOnceKeepsTheDummyNameAndLeavesTheInitialDirectoryCurrent)
{
    HWND seenDialog = nullptr;
    bool visibleForUser = false;
    winsim::SetFileDialogResponder([&](HWND dialog) {
        seenDialog = dialog;
        visibleForUser = IsWindowVisible(dialog);
        winsim::FileDialogPress(dialog, IDOK);
    });
    EXPECT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "12345678.ABC");  // as typed: OFN_NOVALIDATE
    EXPECT_EQ(ofn.nFileOffset, 0);
    EXPECT_EQ(ofn.nFileExtension, 9);
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    // The hook's WM_INITDIALOG comes after the dialog's own work, while it is hidden; the
    // message it posts is delivered before the dialog shows and the user acts.
    ASSERT_GE(hookSaw.size(), 3u);
    EXPECT_EQ(hookSaw[0].message, static_cast<UINT>(WM_COMMAND));  // EN_UPDATE of the file name edit 1152
    EXPECT_EQ(hookSaw[0].wParam, MAKEWPARAM(1152, EN_UPDATE));
    const auto init = std::find_if(hookSaw.begin(), hookSaw.end(),
                                   [](const HookView &v) { return v.message == WM_INITDIALOG; });
    ASSERT_NE(init, hookSaw.end());
    EXPECT_TRUE(initParamWasOfn);
    EXPECT_FALSE(init->visible);
    EXPECT_EQ(init->currentDirectory, "C:\\");
    EXPECT_EQ(init->shown, "c:\\");
    const auto posted = std::find_if(hookSaw.begin(), hookSaw.end(),
                                     [](const HookView &v) { return v.message == POSTED_AT_INIT; });
    ASSERT_NE(posted, hookSaw.end());
    EXPECT_FALSE(posted->visible);
    EXPECT_TRUE(visibleForUser);
    EXPECT_FALSE(IsWindow(seenDialog));

    // OK reaches the hook first, then the file-name-OK message.
    const auto ok = std::find_if(hookSaw.begin(), hookSaw.end(),
                                 [](const HookView &v) { return v.message == WM_COMMAND && v.wParam == IDOK; });
    ASSERT_NE(ok, hookSaw.end());
    ASSERT_NE(ok + 1, hookSaw.end());
    EXPECT_EQ((ok + 1)->message, RegisterWindowMessageA(FILEOKSTRINGA));
}

TEST_F(WinsimFileDialogTest, TypedPathIsWhatTheHookReadsAtOk)
{
    winsim::SetFileDialogResponder([](HWND dialog) {
        winsim::FileDialogType(dialog, "D:\\TYPED");
        winsim::FileDialogPress(dialog, IDOK);
    });
    EXPECT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "12345678.ABC");
    const std::vector<WPARAM> commands = Commands();
    const std::vector<WPARAM> typing = {MAKEWPARAM(PATH_EDIT, EN_UPDATE), MAKEWPARAM(PATH_EDIT, EN_CHANGE)};
    EXPECT_NE(std::search(commands.begin(), commands.end(), typing.begin(), typing.end()), commands.end());
    const auto ok = std::find_if(hookSaw.begin(), hookSaw.end(),
                                 [](const HookView &v) { return v.message == WM_COMMAND && v.wParam == IDOK; });
    ASSERT_NE(ok, hookSaw.end());
    EXPECT_EQ(ok->typed, "D:\\TYPED");
}

TEST_F(WinsimFileDialogTest, MovingToAFolderGoesThroughTheDirectoryListAsTheUserDoes)
{
    winsim::SetFileDialogResponder([](HWND dialog) {
        EXPECT_TRUE(winsim::FileDialogMoveTo(dialog, "C:\\WINDOWS\\SYSTEM"));
        EXPECT_EQ(ItemText(dialog, CURRENT_DIRECTORY), "c:\\windows\\system");
        EXPECT_TRUE(winsim::FileDialogMoveTo(dialog, "c:\\program files"));  // up twice, then down
        EXPECT_TRUE(winsim::FileDialogMoveTo(dialog, "D:\\DATA"));          // another drive first
        EXPECT_FALSE(winsim::FileDialogOpen(dialog, "NOSUCH"));
        winsim::FileDialogPress(dialog, IDOK);
    });
    ofn.Flags &= ~OFN_NOVALIDATE;
    EXPECT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "D:\\DATA\\12345678.ABC");  // joined to the folder without OFN_NOVALIDATE
    EXPECT_EQ(ofn.nFileOffset, 8);
    EXPECT_EQ(ofn.nFileExtension, 17);
    EXPECT_EQ(CurrentDirectory(), "D:\\DATA");

    // Each step of the list is a double click: LBN_SELCHANGE, then LBN_DBLCLK.
    std::vector<WPARAM> listCommands;
    for (WPARAM command : Commands())
        if (LOWORD(command) == DIRECTORY_LIST)
            listCommands.push_back(HIWORD(command));
    const std::vector<WPARAM> doubleClick = {LBN_SELCHANGE, LBN_DBLCLK};
    ASSERT_EQ(listCommands.size(), 2u * 6u);  // WINDOWS, SYSTEM, .., .., Program Files, DATA
    for (std::size_t i = 0; i < listCommands.size(); i += 2)
        EXPECT_EQ(std::vector<WPARAM>(listCommands.begin() + i, listCommands.begin() + i + 2), doubleClick);
}

TEST_F(WinsimFileDialogTest, CancelReturnsFalseAndLeavesTheBufferAlone)
{
    winsim::SetFileDialogResponder([](HWND dialog) {
        winsim::FileDialogMoveTo(dialog, "C:\\WINDOWS");
        winsim::FileDialogPress(dialog, IDCANCEL);
    });
    ofn.Flags |= OFN_NOCHANGEDIR;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(file, "12345678.ABC");
    EXPECT_EQ(CurrentDirectory(), "C:\\WINDOWS");  // Wine restores nothing, OFN_NOCHANGEDIR or not
}

TEST_F(WinsimFileDialogTest, HookCanRefuseOkAndTheOwnerWaitsDisabled)
{
    HWND owner = winsim::CreateTopLevelWindow("Owner", "owner");
    ofn.hwndOwner = owner;
    fileOkAnswer = 1;  // keeps the dialog open
    int rounds = 0;
    bool ownerEnabledMeanwhile = true;
    winsim::SetFileDialogResponder([&](HWND dialog) {
        ownerEnabledMeanwhile = ownerEnabledMeanwhile && IsWindowEnabled(owner);
        winsim::FileDialogPress(dialog, ++rounds == 1 ? IDOK : IDCANCEL);  // called again while open
    });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(rounds, 2);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetForegroundWindow(), owner);
}

TEST_F(WinsimFileDialogTest, ResponderThatDoesNothingIsAnError)
{
    winsim::SetFileDialogResponder([](HWND) {});
    EXPECT_THROW(GetOpenFileNameA(&ofn), std::logic_error);
}

}  // namespace
