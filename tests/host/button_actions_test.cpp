// The middle-button actions: what each row of the table does, how rows are routed by
// their content, and indexes that name no row.
#include "button_actions.h"
#include "hook_fixture.h"

#include <string>
#include <vector>

namespace {

class ButtonActionTest : public HookTest {
protected:
    void SetUp() override
    {
        HookTest::SetUp();
        parent = winsim::CreateTopLevelWindow("ResidentWindow", "Resident");
        foreground = winsim::CreateTopLevelWindow("Notepad", "Untitled - Notepad");
        SetParentWindow(parent);
        winsim::SetForegroundWindowForTest(foreground);
        winsim::ClearCalls();
    }

    HWND AddTaskbar(const char *title) { return taskbar = winsim::CreateTopLevelWindow("Shell_TrayWnd", title); }
    HWND AddDesktop() { return desktop = winsim::CreateTopLevelWindow("Progman", "Program Manager"); }

    HWND parent = nullptr, foreground = nullptr, taskbar = nullptr, desktop = nullptr;
};

enum Target { PARENT, FOREGROUND, TASKBAR, DESKTOP };

Effect Post(std::uintptr_t window, UINT message, std::uintptr_t wParam, LPARAM lParam)
{
    return Effect{"PostMessageA", {window, message, wParam, static_cast<std::uintptr_t>(lParam)}, ""};
}

std::vector<Effect> Keystroke(BYTE key)
{
    return {Effect{"keybd_event", {key, 0, 0, 0}, ""}, Effect{"keybd_event", {key, 0, KEYEVENTF_KEYUP, 0}, ""}};
}

// What row n does with a taskbar of empty title and a desktop window present.
struct RowCase {
    int row;
    BYTE key;          // keystroke rows: the key synthesised
    Target target;     // posting rows: where the steps go
    std::vector<std::pair<UINT, std::pair<std::uintptr_t, LPARAM>>> posts;
};

std::vector<RowCase> RowCases()
{
    const LPARAM up = static_cast<LONG>(0xC0000001);
    std::vector<RowCase> cases = {
        {0, VK_BACK, FOREGROUND, {}},
        {1, 0, FOREGROUND, {{WM_SYSCOMMAND, {0xF060, 0}}}},
        {2, VK_DELETE, FOREGROUND, {}},
        {3, 0, PARENT, {{HOOKMSG_DOUBLECLICK, {0, 0}}}},
        {4, VK_RETURN, FOREGROUND, {}},
        {5, VK_ESCAPE, FOREGROUND, {}},
        {18, 0, FOREGROUND, {{WM_SYSCOMMAND, {0xF030, 0}}}},
        {19, 0, FOREGROUND, {{WM_SYSCOMMAND, {0xF020, 0}}}},
        {20, VK_NEXT, FOREGROUND, {}},
        {21, VK_PRIOR, FOREGROUND, {}},
        {22, 0, FOREGROUND, {{WM_SYSCOMMAND, {0xF120, 0}}}},
        {23, 0, TASKBAR, {{WM_SYSCOMMAND, {0xF130, 0}}}},
        {24, 0, DESKTOP, {{WM_HOTKEY, {0, 0x7EF48}}}},
        {25, 0, TASKBAR, {{WM_KEYDOWN, {VK_F3, 1}}, {WM_KEYUP, {VK_F3, up}}}},
        {27, 0, FOREGROUND, {{1127, {0, 0}}}},
        {28, 0, FOREGROUND, {{1128, {0, 0}}}},
        {29, 0, FOREGROUND, {{1131, {0, 0}}}},
    };
    for (int f = 0; f < 12; ++f)
        cases.push_back({6 + f, static_cast<BYTE>(VK_F1 + f), FOREGROUND, {}});
    return cases;
}

TEST_F(ButtonActionTest, EveryRowDoesWhatItsTableEntrySays)
{
    AddTaskbar("");
    AddDesktop();
    const std::uintptr_t targets[] = {H(parent), H(foreground), H(taskbar), H(desktop)};
    for (const RowCase &c : RowCases()) {
        winsim::ClearCalls();
        EXPECT_TRUE(RunButtonAction(c.row));
        std::vector<Effect> expected;
        if (c.key)
            expected = Keystroke(c.key);
        for (const auto &post : c.posts)
            expected.push_back(Post(targets[c.target], post.first, post.second.first, post.second.second));
        EXPECT_EQ(Effects(), expected) << "row " << c.row;
    }
    winsim::ClearCalls();
    EXPECT_TRUE(RunButtonAction(26));
    EXPECT_EQ(Effects(), (std::vector<Effect>{Effect{"WinExec", {SW_SHOW}, "EXPLORER.EXE"}}));
}

TEST_F(ButtonActionTest, TaskbarRowsFallBackToTheForegroundWindow)
{
    // Row 23 wants a taskbar with an empty title; row 25 takes it whatever its title.
    AddTaskbar("Taskbar");
    RunButtonAction(23);
    RunButtonAction(25);
    const LPARAM up = static_cast<LONG>(0xC0000001);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Post(H(foreground), WM_SYSCOMMAND, SC_TASKLIST, 0),
                                              Post(H(taskbar), WM_KEYDOWN, VK_F3, 1),
                                              Post(H(taskbar), WM_KEYUP, VK_F3, up)}));

    // No taskbar at all: both go to the foreground window.
    winsim::Reset();
    foreground = winsim::CreateTopLevelWindow("Notepad", "");
    winsim::SetForegroundWindowForTest(foreground);
    RunButtonAction(23);
    RunButtonAction(25);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Post(H(foreground), WM_SYSCOMMAND, SC_TASKLIST, 0),
                                              Post(H(foreground), WM_KEYDOWN, VK_F3, 1),
                                              Post(H(foreground), WM_KEYUP, VK_F3, up)}));
}

TEST_F(ButtonActionTest, DesktopHotKeyNeedsTheDesktopWindowAndNeverPostsItsOwnStep)
{
    RunButtonAction(24);
    EXPECT_TRUE(Effects().empty());
    const auto finds = winsim::CallsTo("FindWindowA");
    ASSERT_EQ(finds.size(), 1u);
    EXPECT_EQ(finds[0].text, "Progman|<null>");
}

TEST_F(ButtonActionTest, WithoutAForegroundWindowStepsGoToTheThreadQueue)
{
    winsim::SetForegroundWindowForTest(nullptr);
    RunButtonAction(18);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Post(0, WM_SYSCOMMAND, SC_MAXIMIZE, 0)}));
}

TEST_F(ButtonActionTest, RowsAreRoutedByTheContentOfTheirFirstStep)
{
    AddTaskbar("");
    // A window-command row whose first step holds the task-list code in its low word
    // goes to the taskbar with all its steps, whatever the high word and the others.
    shared.actionTable[22] = {{{WM_SYSCOMMAND, 0x5F130, 0}, {1127, 0x10007, 0x12345678}, {0, 0, 0}}};
    RunButtonAction(22);
    EXPECT_EQ(Effects(),
              (std::vector<Effect>{Post(H(taskbar), WM_SYSCOMMAND, SC_TASKLIST, 0), Post(H(taskbar), 1127, 7, 0x12345678)}));

    // A key-down first step becomes a synthesised keystroke of its low byte; the rest
    // of the row is not used.
    winsim::ClearCalls();
    shared.actionTable[1] = {{{WM_KEYDOWN, 0x1241, 7}, {WM_SYSCOMMAND, SC_CLOSE, 0}, {0, 0, 0}}};
    RunButtonAction(1);
    EXPECT_EQ(Effects(), Keystroke(0x41));

    // Empty steps are skipped wherever they stand.
    winsim::ClearCalls();
    shared.actionTable[27] = {{{1127, 0, 0}, {0, 0, 0}, {1128, 1, 2}}};
    RunButtonAction(27);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Post(H(foreground), 1127, 0, 0), Post(H(foreground), 1128, 1, 2)}));
}

TEST_F(ButtonActionTest, IndexesThatNameNoRowDoNothing)
{
    for (int index : {-1, -2, 30, 31, 0x7FFF, -32768}) {
        EXPECT_FALSE(RunButtonAction(index)) << index;
        EXPECT_TRUE(winsim::Calls().empty()) << index;
    }
}

}  // namespace
