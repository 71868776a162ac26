// The window-class queries and the root window on winsim: what the shared scenarios
// cannot show on real windows (class names that differ only in case, the order of the
// scroll-bar tests, windows that are gone, names longer than the buffers).
#include "hook_fixture.h"
#include "window_tests.h"

#include <string>

namespace {

using WindowQueryTest = HookTest;

HWND Top(const char *className, DWORD style = WS_POPUP | WS_VISIBLE)
{
    return CreateWindowExA(0, className, "", style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

HWND Child(HWND parent, const char *className, DWORD style)
{
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent, nullptr, nullptr,
                           nullptr);
}

std::vector<std::string> ApiSequence()
{
    std::vector<std::string> apis;
    for (const winsim::Call &call : winsim::Calls())
        apis.push_back(call.api);
    return apis;
}

TEST_F(WindowQueryTest, ScrollBarClassesIgnoreCaseButExcelAndListClassesDoNot)
{
    HWND excel = Top("EXCELB");
    HWND lowerBar = Child(excel, "scrollbar", SBS_VERT);
    EXPECT_TRUE(IsScrollBarWindow(lowerBar, TRUE));
    EXPECT_FALSE(IsExcelWindow(lowerBar));
    EXPECT_TRUE(IsExcelWindow(Child(excel, "ScrollBar", SBS_VERT)));
    EXPECT_FALSE(IsExcelWindow(Top("excelb")));
    EXPECT_TRUE(IsScrollBarWindow(Child(excel, "LEGO.scrollbar", 0), FALSE));
    EXPECT_TRUE(IsScrollBarWindow(Child(excel, "wordproscrollparentwndnt", WS_HSCROLL), FALSE));
    EXPECT_FALSE(IsListOrTreeView(Top("syslistview32")));
    EXPECT_FALSE(IsListOrTreeView(Top("SYSTREEVIEW32")));
    EXPECT_FALSE(IsBrowserServerWindow(Top("internet explorer_server")));
}

TEST_F(WindowQueryTest, ScrollBarTestRejectsInvalidHiddenAndDisabledWindowsBeforeReadingTheClass)
{
    HWND parent = Top("Plain");
    HWND hiddenParent = Top("Plain", WS_POPUP);
    HWND gone = Child(parent, "ScrollBar", SBS_VERT);
    DestroyWindow(gone);
    const std::vector<std::string> upToVisible = {"IsWindow", "IsWindowVisible"};
    const std::vector<std::string> upToEnabled = {"IsWindow", "IsWindowVisible", "IsWindowEnabled"};
    const struct {
        const char *label;
        HWND window;
        bool expected;
        std::vector<std::string> calls;
    } cases[] = {
        {"gone", gone, false, {"IsWindow"}},
        {"null", nullptr, false, {"IsWindow"}},
        {"hidden", CreateWindowExA(0, "ScrollBar", "", WS_CHILD | SBS_VERT, 0, 0, 9, 9, parent, nullptr, nullptr,
                                   nullptr),
         false, upToVisible},
        {"under a hidden parent", Child(hiddenParent, "ScrollBar", SBS_VERT), false, upToVisible},
        {"disabled", Child(parent, "ScrollBar", SBS_VERT | WS_DISABLED), false, upToEnabled},
        {"usable", Child(parent, "ScrollBar", SBS_VERT), true,
         {"IsWindow", "IsWindowVisible", "IsWindowEnabled", "GetClassNameA", "GetWindowLongA"}},
    };
    for (const auto &c : cases) {
        winsim::ClearCalls();
        EXPECT_EQ(IsScrollBarWindow(c.window, TRUE), c.expected) << c.label;
        EXPECT_EQ(ApiSequence(), c.calls) << c.label;
    }
}

TEST_F(WindowQueryTest, WindowsThatAreGoneMatchNoClass)
{
    HWND excel = Top("EXCELB");
    HWND bar = Child(excel, "ScrollBar", SBS_VERT);
    HWND list = Top("SysListView32");
    HWND browser = Top("Internet Explorer_Server");
    DestroyWindow(excel);  // takes the bar with it
    DestroyWindow(list);
    DestroyWindow(browser);
    for (HWND window : {bar, list, browser, excel, static_cast<HWND>(nullptr)}) {
        EXPECT_FALSE(IsExcelWindow(window));
        EXPECT_FALSE(IsListOrTreeView(window));
        EXPECT_FALSE(IsBrowserServerWindow(window));
        EXPECT_FALSE(IsScrollBarWindow(window, TRUE));
        EXPECT_FALSE(IsScrollBarWindow(window, FALSE));
    }
}

TEST_F(WindowQueryTest, ClassNamesAreReadIntoTheirBuffersAndCutThere)
{
    // Names that begin like a known class but go on past the buffer never match.
    const std::string tail(200, 'x');
    HWND parent = Top("Plain");
    EXPECT_FALSE(IsScrollBarWindow(Child(parent, ("ScrollBar" + tail).c_str(), SBS_VERT), TRUE));
    EXPECT_FALSE(IsScrollBarWindow(Child(parent, ("IPSCROLLBAR" + tail).c_str(), WS_VSCROLL), TRUE));
    EXPECT_FALSE(IsExcelWindow(Top(("EXCEL@" + tail).c_str())));
    EXPECT_FALSE(IsListOrTreeView(Top(("SysListView32" + tail).c_str())));
    EXPECT_FALSE(IsBrowserServerWindow(Top(("Internet Explorer_Server" + tail).c_str())));

    winsim::ClearCalls();
    IsScrollBarWindow(Child(parent, "ScrollBar", 0), FALSE);
    IsExcelWindow(parent);
    const auto reads = winsim::CallsTo("GetClassNameA");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].args[1], 40u);
    EXPECT_EQ(reads[1].args[1], 80u);
}

TEST_F(WindowQueryTest, RootWindowIsNoneOffTheScreenAndTheDesktopOverNoWindow)
{
    Top("Plain");
    winsim::PutCursor({-5, -5});
    EXPECT_EQ(GetRootWindowAtCursor(), nullptr);
    SetCursorPos(500, 500);
    EXPECT_EQ(GetRootWindowAtCursor(), GetDesktopWindow());
}

}  // namespace
