// Auto-scrolling's direction rule and its stop; the start's branches run in the shared
// window scenarios.
#include "auto_scroll.h"
#include "hook_fixture.h"
#include "scroll_search.h"

#include <cstring>

namespace {

using AutoScrollTest = HookTest;

TEST_F(AutoScrollTest, DirectionFollowsTheLargerOffsetOutsideTheDeadZone)
{
    const struct {
        AutoScrollMode mode;
        SHORT dx, dy;
        WORD direction;
        const char *cursor;  // nullptr: left as it was
    } cases[] = {
        {MODE_BOTH, 15, -15, SCROLL_NONE, "IDC_VH_SCROLL"},
        {MODE_BOTH, 16, 0, SCROLL_RIGHT, "IDC_RI_SCROLL"},
        {MODE_BOTH, 0, -16, SCROLL_UP, "IDC_UP_SCROLL"},
        {MODE_BOTH, -20, 20, SCROLL_DOWN, "IDC_DN_SCROLL"},
        {MODE_BOTH, 20, -20, SCROLL_UP, "IDC_UP_SCROLL"},
        {MODE_BOTH, -32768, 0, SCROLL_LEFT, "IDC_LF_SCROLL"},
        {MODE_BOTH, 0, -32768, SCROLL_UP, "IDC_UP_SCROLL"},
        {MODE_VERTICAL, 40, 0, SCROLL_DOWN, "IDC_DN_SCROLL"},
        {MODE_VERTICAL, 40, -1, SCROLL_UP, "IDC_UP_SCROLL"},
        {MODE_VERTICAL, -3, 2, SCROLL_NONE, "IDC_VER_SCROLL"},
        {MODE_HORIZONTAL, 0, 30, SCROLL_NONE, nullptr},
        {MODE_HORIZONTAL, 30, 30, SCROLL_NONE, nullptr},
        {MODE_HORIZONTAL, -30, 10, SCROLL_LEFT, "IDC_LF_SCROLL"},
        {MODE_HORIZONTAL, 0, 0, SCROLL_NONE, "IDC_HOR_SCROLL"},
    };
    for (const auto &c : cases) {
        SetAutoScrollMode(c.mode);
        std::strcpy(shared.cursorName, "before");
        EXPECT_EQ(ChooseScrollDirection(c.dx, c.dy), c.direction) << c.mode << " (" << c.dx << ", " << c.dy << ")";
        EXPECT_STREQ(shared.cursorName, c.cursor ? c.cursor : "before") << c.mode << " (" << c.dx << ", " << c.dy << ")";
    }
    EXPECT_TRUE(winsim::Calls().empty()) << "the direction rule makes no system call";
}

TEST_F(AutoScrollTest, StopClearsTheRunButKeepsTheModeAndReportsTheStartsForegroundWindow)
{
    HWND parent = winsim::CreateTopLevelWindow("Resident", "Tarvik");
    SetParentWindow(parent);
    HWND started = reinterpret_cast<HWND>(0x4242);
    HCURSOR captured = LoadCursorA(module, "IDC_SCROLL");
    SetAutoScrollMode(MODE_HORIZONTAL);
    shared.autoScrollActive = 1;
    shared.autoScrollSpeed = 7;
    shared.autoScrollDirection = SCROLL_LEFT;
    shared.vertTarget = shared.horzTarget = shared.horzScrollBar = shared.vertScrollBar = parent;
    shared.startForegroundWindow = started;
    shared.restoreCursor = captured;
    winsim::ClearCalls();

    StopAutoScroll();

    EXPECT_EQ(shared.autoScrollActive, 0);
    EXPECT_EQ(shared.autoScrollSpeed, 0);
    EXPECT_EQ(shared.autoScrollDirection, SCROLL_NONE);
    EXPECT_EQ(shared.vertTarget, nullptr);
    EXPECT_EQ(shared.horzTarget, nullptr);
    EXPECT_EQ(shared.vertScrollBar, parent);
    EXPECT_EQ(shared.horzScrollBar, parent);
    EXPECT_EQ(shared.horzOnly, 1);
    EXPECT_STREQ(shared.cursorName, "IDC_HOR_SCROLL");
    EXPECT_STREQ(shared.markIconName, "IDI_HOR_MARK");
    EXPECT_EQ(shared.restoreCursor, captured);
    EXPECT_EQ(GetCursor(), captured);
    EXPECT_EQ(Effects(), (std::vector<Effect>{{"SendMessageA", {H(parent), HOOKMSG_AUTOSCROLL_END, H(started), 0}, ""}}));

    // Started without a capture: the stop shows no cursor of its own.
    shared.restoreCursor = nullptr;
    shared.autoScrollActive = 1;
    winsim::ClearCalls();
    StopAutoScroll();
    EXPECT_TRUE(winsim::CallsTo("SetCursor").empty());
}

TEST_F(AutoScrollTest, StartLeavesTheFocusAloneWhenTheWindowHasItAlready)
{
    HWND main = CreateWindowExA(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                nullptr);
    HWND plain = CreateWindowExA(0, "Plain", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, main, nullptr, nullptr,
                                 nullptr);
    SetFocus(plain);
    SetCursorPos(50, 50);
    winsim::ClearCalls();
    StartAutoScroll();
    EXPECT_EQ(shared.autoScrollActive, 1);
    EXPECT_TRUE(winsim::CallsTo("SetFocus").empty());
    EXPECT_EQ(GetFocus(), plain);
}

}  // namespace
