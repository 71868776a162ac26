// The four hook procedures on winsim: the mouse hook's states and reports, the
// get-message hook's filters, the hover reports of the call-window hook, the keyboard
// stop, and the idle paths that make no system call but the chain.
#include "hook_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr DWORD TOP = WS_POPUP | WS_VISIBLE;
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
const HHOOK MOUSE_HOOK = reinterpret_cast<HHOOK>(0x11);
const HHOOK KEYBOARD_HOOK = reinterpret_cast<HHOOK>(0x22);
const HHOOK MESSAGE_HOOK = reinterpret_cast<HHOOK>(0x33);
const HHOOK CALLWND_HOOK = reinterpret_cast<HHOOK>(0x44);

// An application window with an edit that scrolls both ways, one that scrolls
// vertically only, a browser surface and a horizontal scroll-bar control; the resident
// window receives the reports.
class HookProcedureTest : public HookTest {
protected:
    void SetUp() override
    {
        HookTest::SetUp();
        resident = winsim::CreateTopLevelWindow("Resident", "Tarvik");
        app = Make("Plain", TOP, 0, 0, 600, 400, nullptr);
        both = Make("Edit", CHILD | WS_VSCROLL | WS_HSCROLL, 10, 10, 200, 200, app);
        vertical = Make("Edit", CHILD | WS_VSCROLL, 220, 10, 200, 200, app);
        browser = Make("Internet Explorer_Server", CHILD, 430, 10, 100, 100, app);
        hbar = Make("ScrollBar", CHILD | SBS_HORZ, 10, 300, 300, 20, app);
        SetParentWindow(resident);
        SetMouseHookHandle(MOUSE_HOOK);
        SetKeyboardHookHandle(KEYBOARD_HOOK);
        SetMessageHookHandle(MESSAGE_HOOK);
        SetCallWndHookHandle(CALLWND_HOOK);
        EnableScrolling(TRUE);
        winsim::SetNextHookResult(77);
        winsim::ClearCalls();
    }

    HWND Make(const char *className, DWORD style, int x, int y, int w, int h, HWND parent)
    {
        return CreateWindowExA(0, className, "", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    }

    LRESULT Mouse(UINT message, int nCode = HC_ACTION) { return MouseProc(nCode, message, 0); }

    LRESULT MoveTo(int x, int y)
    {
        SetCursorPos(x, y);
        winsim::ClearCalls();
        return Mouse(WM_MOUSEMOVE);
    }

    // A middle click at (x, y) that starts auto-scrolling.
    void StartAt(int x, int y)
    {
        SetCursorPos(x, y);
        ASSERT_EQ(Mouse(WM_MBUTTONDOWN), 1);
        ASSERT_EQ(Mouse(WM_MBUTTONUP), 77);
        ASSERT_TRUE(shared.autoScrollActive);
        winsim::ClearCalls();
    }

    // Runs the get-message hook on a copy of the message; returns what the
    // application would receive.
    UINT Retrieve(UINT message, WPARAM wParam = 0)
    {
        MSG msg = {app, message, wParam, 0, 0, {0, 0}};
        DoGetMessageHookFunc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&msg));
        return msg.message;
    }

    void SetCursorMessage(HWND window, WORD hitTest)
    {
        CWPRETSTRUCT call = {0, static_cast<LPARAM>(hitTest | WM_MOUSEMOVE << 16), reinterpret_cast<WPARAM>(window),
                             WM_SETCURSOR, window};
        DoCallWndProcHookFunc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&call));
    }

    Effect Sent(UINT message, std::uintptr_t wParam, std::uintptr_t lParam)
    {
        return Effect{"SendMessageA", {H(resident), message, wParam, lParam}, ""};
    }
    Effect Posted(UINT message)
    {
        return Effect{"PostMessageA", {H(resident), message, 0, 0}, ""};
    }

    HWND resident = nullptr, app = nullptr, both = nullptr, vertical = nullptr, browser = nullptr, hbar = nullptr;
};

std::uintptr_t Pack(unsigned low, unsigned high)
{
    return (low & 0xFFFF) | (high & 0xFFFF) << 16;
}

TEST_F(HookProcedureTest, IdlePathsMakeNoSystemCallButTheChain)
{
    EnableScrolling(FALSE);
    SetMiddleButtonIndex(-1);
    MSG queued = {app, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    CWPRETSTRUCT handled = {0, 0, 0, 0x0005 /* WM_SIZE */, app};
    const struct {
        const char *label;
        LRESULT (*proc)(int, WPARAM, LPARAM);
        WPARAM wParam;
        LPARAM lParam;
        HHOOK hook;
        UINT setMessage;  // for the queued message
    } cases[] = {
        {"mouse move", MouseProc, WM_MOUSEMOVE, 5, MOUSE_HOOK, 0},
        {"left press", MouseProc, WM_LBUTTONDOWN, 5, MOUSE_HOOK, 0},
        {"right release", MouseProc, WM_NCRBUTTONUP, 5, MOUSE_HOOK, 0},
        {"middle release", MouseProc, WM_MBUTTONUP, 5, MOUSE_HOOK, 0},
        {"middle double-click", MouseProc, WM_MBUTTONDBLCLK, 5, MOUSE_HOOK, 0},
        {"wheel", MouseProc, WM_MOUSEWHEEL, 5, MOUSE_HOOK, 0},
        {"queued key", DoGetMessageHookFunc, 1, reinterpret_cast<LPARAM>(&queued), MESSAGE_HOOK, WM_KEYDOWN},
        {"queued move", DoGetMessageHookFunc, 1, reinterpret_cast<LPARAM>(&queued), MESSAGE_HOOK, WM_MOUSEMOVE},
        {"queued scroll", DoGetMessageHookFunc, 1, reinterpret_cast<LPARAM>(&queued), MESSAGE_HOOK, WM_VSCROLL},
        {"queued paint", DoGetMessageHookFunc, 1, reinterpret_cast<LPARAM>(&queued), MESSAGE_HOOK, 0x000F},
        {"handled size", DoCallWndProcHookFunc, 0, reinterpret_cast<LPARAM>(&handled), CALLWND_HOOK, 0},
        {"key", DoKeyboardHookFunc, 'A', 0x1E0001, KEYBOARD_HOOK, 0},
    };
    for (const auto &c : cases) {
        queued.message = c.setMessage;
        winsim::ClearCalls();
        EXPECT_EQ(c.proc(HC_ACTION, c.wParam, c.lParam), 77) << c.label;
        ASSERT_EQ(winsim::Calls().size(), 1u) << c.label << ": " << winsim::Calls()[0].api;
        EXPECT_EQ(winsim::Calls()[0].api, "CallNextHookEx") << c.label;
        EXPECT_EQ(winsim::Calls()[0].args,
                  (std::vector<std::uintptr_t>{H(c.hook), HC_ACTION, c.wParam, static_cast<std::uintptr_t>(c.lParam)}))
            << c.label;
        if (c.setMessage) {
            EXPECT_EQ(queued.message, c.setMessage) << c.label;
        }
    }
}

TEST_F(HookProcedureTest, ClickToStartAndASecondClickEnds)
{
    SetForegroundWindow(app);
    SetCursorPos(50, 60);
    EXPECT_EQ(Mouse(WM_MBUTTONDOWN), 1);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_AUTOSCROLL, 0, Pack(50, 60))}));
    EXPECT_EQ(shared.startForegroundWindow, app);
    EXPECT_STREQ(shared.cursorName, "IDC_VH_SCROLL");

    // The start message goes out before the foreground window is recorded.
    const auto &calls = winsim::Calls();
    std::size_t sent = 0, foreground = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].api == "SendMessageA")
            sent = i;
        if (calls[i].api == "GetForegroundWindow")
            foreground = i;
    }
    EXPECT_LT(sent, foreground);

    const struct {
        UINT message;
        LRESULT result;  // 1: swallowed, 77: passed on
        std::vector<Effect> effects;
        BOOL active, pending;
    } steps[] = {
        {WM_MBUTTONUP, 77, {}, 1, 0},     // the release of the starting click passes
        {WM_MBUTTONDBLCLK, 77, {}, 1, 0}, // double-clicks pass in every state
        {WM_LBUTTONDOWN, 1, {}, 1, 0},
        {WM_NCMBUTTONDOWN, 1, {}, 1, 1},  // a second press: swallowed, ending
        {WM_RBUTTONDOWN, 1, {}, 1, 1},
        {WM_NCMBUTTONUP, 1, {Sent(HOOKMSG_AUTOSCROLL_END, H(app), 0)}, 0, 0},
        {WM_MBUTTONUP, 77, {}, 0, 0},
    };
    for (const auto &step : steps) {
        winsim::ClearCalls();
        EXPECT_EQ(Mouse(step.message), step.result) << std::hex << step.message;
        EXPECT_EQ(Effects(), step.effects) << std::hex << step.message;
        EXPECT_EQ(shared.autoScrollActive, step.active) << std::hex << step.message;
        EXPECT_EQ(shared.middlePressPending, step.pending) << std::hex << step.message;
    }
}

TEST_F(HookProcedureTest, LeftOrRightReleaseEndsWithThePendingFlagUnchanged)
{
    StartAt(50, 60);
    EXPECT_EQ(Mouse(WM_MBUTTONDOWN), 1);
    EXPECT_EQ(shared.middlePressPending, 1);
    EXPECT_EQ(Mouse(WM_NCLBUTTONUP), 1);
    EXPECT_FALSE(shared.autoScrollActive);
    EXPECT_EQ(shared.middlePressPending, 1);
    EXPECT_EQ(Effects().size(), 1u);
    // The pending release then just passes.
    EXPECT_EQ(Mouse(WM_MBUTTONUP), 77);
    EXPECT_EQ(shared.middlePressPending, 0);
}

TEST_F(HookProcedureTest, MiddlePressPrecedenceWhenAutoScrollingIsInactive)
{
    const struct {
        const char *label;
        BOOL scrolling, zoom;
        int index;
        POINT at;
        LRESULT result;
        std::vector<UINT> reports;  // posted to the resident window
        BOOL pending;
    } cases[] = {
        {"zoom before the action", FALSE, TRUE, 3, {50, 60}, 1, {HOOKMSG_ZOOMIN}, 0},
        {"the action", FALSE, FALSE, 3, {50, 60}, 1, {HOOKMSG_DOUBLECLICK}, 0},
        {"nothing assigned", FALSE, FALSE, -1, {50, 60}, 77, {}, 1},
        {"an index past the table", FALSE, FALSE, 30, {50, 60}, 77, {}, 1},
        {"a negative index", FALSE, FALSE, -300, {50, 60}, 77, {}, 1},
        {"a failed start tries nothing else", TRUE, TRUE, 3, {450, 50}, 77, {}, 1},
    };
    for (const auto &c : cases) {
        EnableScrolling(c.scrolling);
        EnableZoomIn(c.zoom);
        SetMiddleButtonIndex(c.index);
        shared.middlePressPending = FALSE;
        SetCursorPos(c.at.x, c.at.y);
        winsim::ClearCalls();
        EXPECT_EQ(Mouse(WM_MBUTTONDOWN), c.result) << c.label;
        std::vector<Effect> expected;
        for (UINT report : c.reports)
            expected.push_back(Posted(report));
        EXPECT_EQ(Effects(), expected) << c.label;
        EXPECT_EQ(shared.middlePressPending, c.pending) << c.label;
        EXPECT_FALSE(shared.autoScrollActive) << c.label;
        Mouse(WM_MBUTTONUP);
    }
}

TEST_F(HookProcedureTest, MovementsReportSpeedAndDirection)
{
    const struct {
        HWND over;  // where the click starts: both directions or vertical only
        int dx, dy;
        unsigned speed, direction;
    } cases[] = {
        {both, 0, -35, 1, SCROLL_UP},   {both, 0, -36, 2, SCROLL_UP},     {both, 0, 116, 10, SCROLL_DOWN},
        {both, 0, 115, 9, SCROLL_DOWN}, {both, 0, 300, 10, SCROLL_DOWN}, {both, 10, 5, 1, SCROLL_NONE},
        {both, -70, 20, 5, SCROLL_LEFT}, {both, 26, 0, 1, SCROLL_RIGHT},  {vertical, -70, 20, 1, SCROLL_DOWN},
        {vertical, 40, 0, 1, SCROLL_DOWN},  // measured on dy: 0
    };
    for (const auto &c : cases) {
        RECT r;
        GetWindowRect(c.over, &r);
        const int x = r.left + 100, y = r.top + 60;
        StartAt(x, y);
        EXPECT_EQ(MoveTo(x + c.dx, y + c.dy), 1);
        EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_AUTOSCROLL, Pack(c.speed, c.direction),
                                                       Pack(x + c.dx, y + c.dy))}))
            << "(" << c.dx << ", " << c.dy << ")";
        EXPECT_EQ(shared.autoScrollSpeed, static_cast<SHORT>(c.speed));
        EXPECT_EQ(shared.autoScrollDirection, c.direction);
        EXPECT_EQ(GetCursor(), LoadCursorA(module, shared.cursorName));
        EXPECT_EQ(shared.autoScrollCursor, GetCursor());
        Mouse(WM_LBUTTONUP);
    }
}

TEST_F(HookProcedureTest, OffsetsWrapAtSixteenBitsAndOnlyActionCodesAreHandled)
{
    StartAt(50, 60);
    // 70000 pixels to the right is 4464 in 16 bits; the report carries x cut the same way.
    winsim::PutCursor({50 + 70000, 60});
    winsim::ClearCalls();
    EXPECT_EQ(Mouse(WM_MOUSEMOVE), 1);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_AUTOSCROLL, Pack(10, SCROLL_RIGHT), Pack(70050, 60))}));

    winsim::ClearCalls();
    EXPECT_EQ(Mouse(WM_MOUSEMOVE, HC_NOREMOVE), 77);
    EXPECT_EQ(Mouse(WM_LBUTTONUP, HC_NOREMOVE), 77);
    EXPECT_TRUE(Effects().empty());
    EXPECT_TRUE(shared.autoScrollActive);
}

TEST_F(HookProcedureTest, AMessageHookFiltersByTheDirection)
{
    const UINT wheel = shared.wheelRollMessage;
    const auto neg = [](int delta) { return static_cast<WPARAM>(static_cast<std::uintptr_t>(static_cast<LONG>(delta))); };
    const struct {
        WORD direction;
        UINT message;
        WPARAM wParam;
        bool passes;
    } cases[] = {
        {SCROLL_UP, WM_KEYDOWN, VK_UP, true},       {SCROLL_UP, WM_KEYDOWN, VK_DOWN, false},
        {SCROLL_UP, WM_KEYUP, VK_LEFT, false},      {SCROLL_UP, WM_KEYDOWN, VK_RIGHT, false},
        {SCROLL_UP, WM_KEYDOWN, 'A', true},         {SCROLL_NONE, WM_KEYDOWN, VK_UP, false},
        {SCROLL_NONE, WM_KEYUP, VK_LEFT, false},    {SCROLL_NONE, WM_HSCROLL, SB_PAGEDOWN, false},
        {SCROLL_NONE, WM_VSCROLL, SB_LINEUP, false}, {SCROLL_NONE, wheel, 120, false},
        {SCROLL_NONE, wheel, 0, false},             {SCROLL_DOWN, WM_VSCROLL, SB_LINEUP, false},
        {SCROLL_DOWN, WM_VSCROLL, SB_LINEDOWN, true}, {SCROLL_DOWN, WM_VSCROLL, SB_PAGEUP, true},
        {SCROLL_DOWN, WM_VSCROLL, 0x50000 | SB_LINEDOWN, true}, {SCROLL_RIGHT, WM_HSCROLL, SB_LINELEFT, false},
        {SCROLL_RIGHT, WM_HSCROLL, SB_LINERIGHT, true}, {SCROLL_RIGHT, WM_VSCROLL, SB_LINEDOWN, false},
        {SCROLL_LEFT, WM_HSCROLL, SB_LINELEFT, true}, {SCROLL_UP, wheel, 120, true},
        {SCROLL_DOWN, wheel, 120, false},           {SCROLL_UP, wheel, neg(-120), false},
        {SCROLL_DOWN, wheel, neg(-120), true},      {SCROLL_DOWN, wheel, 0, true},
        {SCROLL_NONE, WM_MOUSEWHEEL, 120, true},
    };
    StartAt(50, 60);
    for (const auto &c : cases) {
        shared.autoScrollDirection = c.direction;
        EXPECT_EQ(Retrieve(c.message, c.wParam), c.passes ? c.message : WM_NULL)
            << "direction " << c.direction << " message 0x" << std::hex << c.message << " wParam 0x" << c.wParam;
    }
    // Without auto-scrolling nothing is changed.
    Mouse(WM_LBUTTONUP);
    for (const auto &c : cases) {
        shared.autoScrollDirection = c.direction;
        EXPECT_EQ(Retrieve(c.message, c.wParam), c.message);
    }
}

TEST_F(HookProcedureTest, AQueuedMouseMoveIsHiddenWhileAutoScrolling)
{
    StartAt(50, 60);
    SetCursor(nullptr);
    EXPECT_EQ(Retrieve(WM_MOUSEMOVE), WM_NULL);
    EXPECT_EQ(Retrieve(WM_NCMOUSEMOVE), WM_NULL);
    EXPECT_EQ(GetCursor(), shared.autoScrollCursor);
    EXPECT_NE(GetCursor(), nullptr);
}

TEST_F(HookProcedureTest, ShiftAndCtrlAreReportedAutoScrollingOrNot)
{
    Retrieve(WM_KEYDOWN, VK_CONTROL);
    Retrieve(WM_KEYDOWN, VK_CONTROL);  // auto-repeat
    Retrieve(WM_KEYUP, VK_CONTROL);
    Retrieve(WM_SYSKEYDOWN, VK_SHIFT);  // with Alt held: nothing
    Retrieve(WM_SYSKEYUP, VK_CONTROL);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_MODIFIER_KEY, VK_CONTROL, 1),
                                              Sent(HOOKMSG_MODIFIER_KEY, VK_CONTROL, 1),
                                              Sent(HOOKMSG_MODIFIER_KEY, VK_CONTROL, 0)}));
    StartAt(50, 60);
    EXPECT_EQ(Retrieve(WM_KEYDOWN, VK_SHIFT), WM_KEYDOWN);
    EXPECT_EQ(Retrieve(WM_KEYUP, VK_SHIFT), WM_KEYUP);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_MODIFIER_KEY, VK_SHIFT, 1),
                                              Sent(HOOKMSG_MODIFIER_KEY, VK_SHIFT, 0)}));
}

TEST_F(HookProcedureTest, HoverOverHorizontalScrollBarsIsReportedOnChange)
{
    const HCURSOR hover = shared.hScrollHoverCursor;
    ASSERT_NE(hover, nullptr);
    const struct {
        HWND window;
        WORD hitTest;
        std::vector<Effect> reports;
        bool hoverCursor;  // the hover cursor is set
    } steps[] = {
        {app, HTHSCROLL, {Sent(HOOKMSG_HSCROLL_HOVER, 1, 0)}, true},
        {app, HTHSCROLL, {}, true},
        {both, HTCLIENT, {Sent(HOOKMSG_HSCROLL_HOVER, 0, 0)}, false},
        {app, HTCLIENT, {}, false},  // the parent's call of a scroll-bar control...
        {hbar, HTCLIENT, {Sent(HOOKMSG_HSCROLL_HOVER, 1, 0)}, true},  // ...then the control's own
        {both, HTVSCROLL, {Sent(HOOKMSG_HSCROLL_HOVER, 0, 0)}, false},
    };
    for (const auto &step : steps) {
        winsim::ClearCalls();
        SetCursorMessage(step.window, step.hitTest);
        EXPECT_EQ(Effects(), step.reports) << step.hitTest;
        EXPECT_EQ(!winsim::CallsTo("SetCursor").empty(), step.hoverCursor) << step.hitTest;
        if (step.hoverCursor) {
            EXPECT_EQ(GetCursor(), hover);
        }
    }

    // While auto-scrolling the auto-scroll cursor wins and nothing is reported.
    SetCursorMessage(app, HTHSCROLL);
    StartAt(50, 60);
    SetCursorMessage(app, HTCLIENT);
    SetCursorMessage(both, HTVSCROLL);
    EXPECT_TRUE(Effects().empty());
    EXPECT_EQ(GetCursor(), shared.autoScrollCursor);
    EXPECT_EQ(shared.overHScrollBar, 1);
}

TEST_F(HookProcedureTest, AnyKeyEndsAutoScrollingAndGoesOn)
{
    SetForegroundWindow(app);
    StartAt(50, 60);
    EXPECT_EQ(DoKeyboardHookFunc(HC_ACTION, VK_UP, 0xC0000001), 77);
    EXPECT_FALSE(shared.autoScrollActive);
    EXPECT_EQ(Effects(), (std::vector<Effect>{Sent(HOOKMSG_AUTOSCROLL_END, H(app), 0)}));
    const auto chained = winsim::CallsTo("CallNextHookEx");
    ASSERT_EQ(chained.size(), 1u);
    EXPECT_EQ(chained[0].args, (std::vector<std::uintptr_t>{H(KEYBOARD_HOOK), HC_ACTION, VK_UP, 0xC0000001}));
}

}  // namespace
