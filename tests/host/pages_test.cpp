// The wizard pages on winsim: their results, the cancel notice, the choices kept across
// rebuilt pages, Enter and Escape, the destination checks and the Browse dialog.
#include "wizard_fixture.h"

#include <cstring>

namespace {

using PagesTest = WizardTest;

SHORT Run(const char *className, WNDPROC proc, int dialogId)
{
    return RunPage(className, proc, dialogId);
}

SHORT Welcome() { return Run("SETUP_BEGIN", BeginPageProc, IDD_WELCOME); }
SHORT MouseType() { return Run("SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSE_TYPE); }
SHORT Directory() { return Run("SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY); }
SHORT End() { return Run("SETUP_END", EndPageProc, IDD_END); }

TEST_F(PagesTest, NextBackAndCancelEndThePagesWithTheirResults)
{
    ActOnPage("SETUP_BEGIN", [](HWND page, int) { winsim::ClickDialogButton(page, IDC_NEXT); });
    EXPECT_EQ(Welcome(), PAGE_NEXT);
    ActOnPage("SETUP_SELMOUSE", [](HWND page, int) { winsim::ClickDialogButton(page, IDC_BACK); });
    EXPECT_EQ(MouseType(), PAGE_BACK);
    EXPECT_TRUE(Boxes().empty());

    ActOnPage("SETUP_SELMOUSE", [](HWND page, int) { winsim::ClickDialogButton(page, IDC_CANCEL); });
    EXPECT_EQ(MouseType(), PAGE_CANCEL);
    ASSERT_EQ(winsim::MessageBoxesShown().size(), 1u);
    const winsim::MessageBoxRequest &notice = winsim::MessageBoxesShown()[0];
    EXPECT_EQ(notice.text, "Velmo installation is not completed !");
    EXPECT_EQ(notice.caption, "Velmo Setup Program");
    EXPECT_EQ(notice.style, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_NE(notice.owner, nullptr);
    EXPECT_EQ(FindWindowA("SETUP_SELMOUSE", nullptr), nullptr) << "the page destroyed itself";
}

TEST_F(PagesTest, EnterActsAsId1AndEscapeAsId2)
{
    ActOnPage("SETUP_BEGIN", [](HWND page, int) { winsim::PressKey(page, VK_RETURN); });
    EXPECT_EQ(Welcome(), PAGE_NEXT);
    ActOnPage("SETUP_BEGIN", [](HWND page, int) { winsim::PressKey(page, VK_ESCAPE); });
    EXPECT_EQ(Welcome(), PAGE_CANCEL);
    EXPECT_EQ(winsim::MessageBoxesShown().size(), 1u);
    // The end page has no Cancel: Escape does nothing there, Enter finishes.
    ActOnPage("SETUP_END", [](HWND page, int step) { winsim::PressKey(page, step == 0 ? VK_ESCAPE : VK_RETURN); });
    pageResult = PAGE_BACK;
    End();
    EXPECT_EQ(pageResult, PAGE_BACK) << "the end page sets no result";
    EXPECT_EQ(restartNow, 1);
}

TEST_F(PagesTest, PagesShowTheProductNameAndSitInTheMiddleOfTheScreen)
{
    ActOnPage("SETUP_BEGIN", [](HWND page, int) {
        char text[128];
        GetWindowTextA(page, text, sizeof text);
        EXPECT_STREQ(text, "Velmo Setup");
        GetDlgItemTextA(page, IDC_INSTALL_NOTE, text, sizeof text);
        EXPECT_STREQ(text, " This program will install Velmo into your computer.");
        RECT frame;
        GetWindowRect(page, &frame);
        EXPECT_EQ(frame.left, (1024 - (frame.right - frame.left)) / 2);
        EXPECT_EQ(frame.top, (768 - (frame.bottom - frame.top)) / 2);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
        winsim::ClickDialogButton(page, IDC_NEXT);
    });
    EXPECT_EQ(Welcome(), PAGE_NEXT);
}

TEST_F(PagesTest, TheMouseTypeAndTheRestartChoiceOutliveTheirPages)
{
    ActOnPage("SETUP_SELMOUSE", [](HWND page, int) {
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_SERIAL_MOUSE), BST_CHECKED);
        winsim::ClickDialogButton(page, IDC_PS2_MOUSE);
        winsim::ClickDialogButton(page, IDC_BACK);
    });
    EXPECT_EQ(MouseType(), PAGE_BACK);
    EXPECT_EQ(serialMouse, 0) << "Back does not undo the choice";
    ActOnPage("SETUP_SELMOUSE", [](HWND page, int) {
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_PS2_MOUSE), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_SERIAL_MOUSE), BST_UNCHECKED);
        winsim::ClickDialogButton(page, IDC_NEXT);
    });
    EXPECT_EQ(MouseType(), PAGE_NEXT);

    ActOnPage("SETUP_END", [](HWND page, int) {
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_RESTART_NOW), BST_CHECKED);
        winsim::ClickDialogButton(page, IDC_RESTART_LATER);
        winsim::ClickDialogButton(page, IDC_FINISH);
    });
    End();
    EXPECT_EQ(restartNow, 0);
    ActOnPage("SETUP_END", [](HWND page, int) {
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_RESTART_LATER), BST_CHECKED);
        winsim::ClickDialogButton(page, IDC_FINISH);
    });
    End();
    EXPECT_EQ(restartNow, 0);
}

TEST_F(PagesTest, BackIsDisabledInTheUpdateMode)
{
    backEnabled = 0;
    ActOnPage("SETUP_SELMOUSE", [](HWND page, int step) {
        if (step == 0) {
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BACK)));
            winsim::ClickDialogButton(page, IDC_BACK);  // ignored, as the mouse is
            PostMessageA(page, WM_NULL, 0, 0);
        } else {
            winsim::ClickDialogButton(page, IDC_NEXT);
        }
    });
    EXPECT_EQ(MouseType(), PAGE_NEXT);
}

// The destination checks: each case sets destDir, presses Next once and then Cancel
// if the page is still open; the messages shown and the result tell what happened.
struct DirectoryCase {
    const char *label;
    const char *destination;
    int answer;  // to the "already exists" question
    std::vector<UINT> messages;  // string ids, in order
    SHORT result;
    const char *created;  // a folder that must exist afterwards, or null
};

TEST_F(PagesTest, TheDestinationChecksComeInTheirOrderAndKeepThePageOpen)
{
    CreateDirectoryA("C:\\EXISTS", nullptr);
    const DirectoryCase cases[] = {
        {"no drive letter", "VELMO", IDOK, {IDS_CANNOT_CREATE_DIRECTORY}, PAGE_CANCEL, nullptr},
        {"a UNC path", "\\\\server\\share", IDOK, {IDS_CANNOT_CREATE_DIRECTORY}, PAGE_CANCEL, nullptr},
        {"exists, answered Cancel", "C:\\EXISTS", IDCANCEL, {IDS_DIRECTORY_EXISTS}, PAGE_CANCEL, nullptr},
        {"exists, answered OK", "C:\\EXISTS", IDOK, {IDS_DIRECTORY_EXISTS}, PAGE_NEXT, "C:\\EXISTS"},
        {"a missing parent", "C:\\MISSING\\VELMO", IDOK, {IDS_CANNOT_CREATE_DIRECTORY}, PAGE_CANCEL, nullptr},
        {"one new level", "C:\\VELMO", IDOK, {}, PAGE_NEXT, "C:\\VELMO"},
        {"a lower-case drive", "c:\\lower", IDOK, {}, PAGE_NEXT, "C:\\LOWER"},
        {"a drive that does not exist", "Q:\\VELMO", IDOK, {IDS_CANNOT_CREATE_DIRECTORY}, PAGE_CANCEL, nullptr},
    };
    for (const DirectoryCase &c : cases) {
        winsim::Reset();
        winsim::MapScratchDrive('C');
        programInstance = winsim::LoadModule(SETUP_RES_PATH);
        UseScreen(1024, 768);
        CreateDirectoryA("C:\\EXISTS", nullptr);
        std::snprintf(config.destDir, sizeof config.destDir, "%s", c.destination);
        const int answer = c.answer;
        winsim::SetMessageBoxResponder([answer](const winsim::MessageBoxRequest &box) {
            return (box.style & MB_OKCANCEL) ? answer : IDOK;
        });
        ActOnPage("SETUP_SELDIR", [](HWND page, int step) {
            winsim::ClickDialogButton(page, step == 0 ? IDC_NEXT : IDC_CANCEL);
        });
        EXPECT_EQ(Directory(), c.result) << c.label;
        std::vector<std::string> expected;
        for (UINT id : c.messages)
            expected.push_back(Box(id, id == IDS_DIRECTORY_EXISTS ? MB_OKCANCEL | MB_ICONQUESTION : MB_ICONWARNING));
        if (c.result == PAGE_CANCEL)
            expected.push_back("Velmo Setup Program|Velmo installation is not completed !|" +
                               std::to_string(MB_ICONWARNING));
        EXPECT_EQ(Boxes(), expected) << c.label;
        if (c.created) {
            EXPECT_TRUE(winsim::DirectoryExists(c.created)) << c.label;
        }
    }
}

TEST_F(PagesTest, FreeSpaceIsCountedBeyondFourGigabytes)
{
    const struct {
        unsigned long long freeBytes;
        bool accepted;
    } cases[] = {
        {1023ull * 1024, false},
        {1024ull * 1024, true},
        {(4ull << 30) + 10 * 1024, true},  // 32 bits would see 10 KB
    };
    for (const auto &c : cases) {
        winsim::SetDiskSpace('C', c.freeBytes, 8ull << 30);
        std::snprintf(config.destDir, sizeof config.destDir, "C:\\SPACE%llu", c.freeBytes);
        ActOnPage("SETUP_SELDIR", [](HWND page, int step) {
            winsim::ClickDialogButton(page, step == 0 ? IDC_NEXT : IDC_CANCEL);
        });
        EXPECT_EQ(Directory(), c.accepted ? PAGE_NEXT : PAGE_CANCEL) << c.freeBytes;
        EXPECT_EQ(winsim::DirectoryExists(config.destDir), c.accepted) << c.freeBytes;
    }
    // The space test comes after the question for an existing directory.
    winsim::SetDiskSpace('C', 10 * 1024, 8ull << 30);
    CreateDirectoryA("C:\\FULL", nullptr);
    std::snprintf(config.destDir, sizeof config.destDir, "C:\\FULL");
    winsim::ClearCalls();
    ActOnPage("SETUP_SELDIR", [](HWND page, int step) {
        winsim::ClickDialogButton(page, step == 0 ? IDC_NEXT : IDC_CANCEL);
    });
    Directory();
    const auto shown = winsim::MessageBoxesShown();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[shown.size() - 3].text, LoadText(IDS_DIRECTORY_EXISTS));
    EXPECT_EQ(shown[shown.size() - 2].text, LoadText(IDS_NOT_ENOUGH_SPACE));
    const auto spaceCalls = winsim::CallsTo("GetDiskFreeSpaceA");
    ASSERT_FALSE(spaceCalls.empty());
    EXPECT_EQ(spaceCalls.back().text, "C:\\");
}

// The Browse dialog: what the user does in it, and what the directory page shows after.
TEST_F(PagesTest, BrowseFillsThePathAndTakesWhatTheEditBoxHolds)
{
    CreateDirectoryA("C:\\TOOLS", nullptr);
    CreateDirectoryA("C:\\TOOLS\\MOUSE", nullptr);
    std::snprintf(config.destDir, sizeof config.destDir, "C:\\VELMO");

    const struct {
        const char *label;
        std::function<void(HWND)> user;
        const char *destination;
    } cases[] = {
        {"OK at once", [](HWND dialog) { winsim::FileDialogPress(dialog, IDOK); }, "C:\\VELMO"},
        {"a typed path is taken untested",
         [](HWND dialog) {
             winsim::FileDialogType(dialog, "D:\\NOWHERE\\NEW");
             winsim::FileDialogPress(dialog, IDOK);
         },
         "D:\\NOWHERE\\NEW"},
        {"walking the lists writes the folder reached into the edit box",
         [](HWND dialog) {
             winsim::FileDialogType(dialog, "typed first");
             ASSERT_TRUE(winsim::FileDialogMoveTo(dialog, "C:\\TOOLS\\MOUSE"));
             char shown[80];
             GetDlgItemTextA(dialog, IDC_DEST_DIR, shown, sizeof shown);
             EXPECT_STRCASEEQ(shown, "C:\\TOOLS\\MOUSE");
             winsim::FileDialogPress(dialog, IDOK);
         },
         "C:\\TOOLS\\MOUSE"},
        {"Cancel changes nothing",
         [](HWND dialog) {
             winsim::FileDialogType(dialog, "C:\\OTHER");
             winsim::FileDialogPress(dialog, IDCANCEL);
         },
         nullptr},
    };
    for (const auto &c : cases) {
        char before[80];
        std::snprintf(before, sizeof before, "%s", config.destDir);
        winsim::SetFileDialogResponder([&c](HWND dialog) {
            char shown[80];
            GetDlgItemTextA(dialog, IDC_DEST_DIR, shown, sizeof shown);
            EXPECT_STREQ(shown, config.destDir) << c.label << ": the edit box starts with destDir";
            c.user(dialog);
        });
        ActOnPage("SETUP_SELDIR", [](HWND page, int step) {
            if (step == 0) {
                winsim::ClickDialogButton(page, IDC_BROWSE);
                char shown[80];
                GetDlgItemTextA(page, IDC_DEST_DIR, shown, sizeof shown);
                EXPECT_STREQ(shown, config.destDir) << "the page shows destDir after Browse";
            }
            winsim::ClickDialogButton(page, IDC_BACK);
        });
        Directory();
        EXPECT_STRCASEEQ(config.destDir, c.destination ? c.destination : before) << c.label;
    }
}

TEST_F(PagesTest, ACurrentDirectoryTooLongForThePathIsNotTaken)
{
    // Folders 9, 16, ... 79 characters deep fit the path; the next one, 86, does not.
    std::string deep = "C:", lastFitting;
    while (deep.size() < 80) {
        lastFitting = deep;
        deep += "\\FOLDER";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    ASSERT_EQ(lastFitting.size(), 79u);
    std::snprintf(config.destDir, sizeof config.destDir, "C:\\VELMO");
    winsim::SetFileDialogResponder([&deep, &lastFitting](HWND dialog) {
        ASSERT_TRUE(winsim::FileDialogMoveTo(dialog, deep.c_str()));
        char shown[128];
        GetDlgItemTextA(dialog, IDC_DEST_DIR, shown, sizeof shown);
        EXPECT_STRCASEEQ(shown, lastFitting.c_str()) << "set back to the last folder that fitted";
        winsim::FileDialogPress(dialog, IDOK);
    });
    ActOnPage("SETUP_SELDIR", [](HWND page, int step) {
        winsim::ClickDialogButton(page, step == 0 ? IDC_BROWSE : IDC_BACK);
    });
    Directory();
    EXPECT_STRCASEEQ(config.destDir, lastFitting.c_str());
}

}  // namespace
