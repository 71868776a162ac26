// winsim's window tree against the platform's rules it stands in for (each seen under
// Wine): enumeration order, the window at a point, parents and owners, activation.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WinsimWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }

    HWND Make(const char *title, DWORD style, int x, int y, int w, int h, HWND parent = nullptr)
    {
        return CreateWindowExA(0, "Plain", title, style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    }
};

std::vector<HWND> visited;
BOOL Collect(HWND window, LPARAM stopAfter)
{
    visited.push_back(window);
    return static_cast<LPARAM>(visited.size()) != stopAfter;
}

constexpr DWORD TOP = WS_POPUP | WS_VISIBLE;
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

TEST_F(WinsimWindowsTest, EnumerationIsDepthFirstWithSiblingsInCreationOrder)
{
    HWND top = Make("top", TOP, 100, 100, 300, 300);
    HWND a = Make("a", CHILD, 0, 0, 100, 100, top);
    HWND b = Make("b", CHILD, 50, 50, 100, 100, top);
    HWND a1 = Make("a1", CHILD, 0, 0, 10, 10, a);
    HWND b1 = Make("b1", WS_CHILD, 0, 0, 10, 10, b);  // hidden windows are visited too
    HWND c = Make("c", CHILD, 200, 200, 10, 10, top);
    visited.clear();
    EXPECT_TRUE(EnumChildWindows(top, Collect, 0));
    EXPECT_EQ(visited, (std::vector<HWND>{a, a1, b, b1, c}));

    visited.clear();
    EXPECT_FALSE(EnumChildWindows(top, Collect, 3));  // the callback's FALSE stops it all
    EXPECT_EQ(visited, (std::vector<HWND>{a, a1, b}));
}

TEST_F(WinsimWindowsTest, WindowFromPointTakesTheTopmostVisibleEnabledWindow)
{
    HWND top = Make("top", TOP, 100, 100, 300, 300);
    HWND a = Make("a", CHILD, 0, 0, 100, 100, top);
    Make("b", CHILD, 50, 50, 100, 100, top);  // created later: below a
    HWND hidden = Make("hidden", WS_CHILD, 0, 150, 100, 100, top);
    HWND disabled = Make("disabled", CHILD | WS_DISABLED, 150, 150, 100, 100, top);
    Make("inside disabled", CHILD, 10, 10, 20, 20, disabled);
    HWND top2 = Make("top2", TOP | WS_DISABLED, 350, 350, 100, 100);  // created later: above top

    EXPECT_EQ(WindowFromPoint({175, 175}), a);
    EXPECT_EQ(WindowFromPoint({150, 300}), top) << "hidden child skipped";
    EXPECT_EQ(WindowFromPoint({265, 265}), top) << "disabled child and its children skipped";
    EXPECT_EQ(WindowFromPoint({375, 375}), top2) << "a disabled top-level window still counts";
    EXPECT_EQ(WindowFromPoint({700, 700}), GetDesktopWindow());
    EXPECT_EQ(WindowFromPoint({5000, 5000}), nullptr);
    (void)hidden;
}

TEST_F(WinsimWindowsTest, ParentIsTheOwnerOnlyForPopups)
{
    HWND owner = Make("owner", TOP, 0, 0, 100, 100);
    HWND popup = Make("popup", TOP, 0, 0, 10, 10, owner);
    HWND overlapped = Make("overlapped", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 10, 10, owner);
    HWND child = Make("child", CHILD, 0, 0, 10, 10, owner);
    EXPECT_EQ(GetParent(popup), owner);
    EXPECT_EQ(GetParent(overlapped), nullptr);
    EXPECT_EQ(GetParent(child), owner);
    EXPECT_EQ(GetParent(owner), nullptr);
    EXPECT_EQ(GetParent(GetDesktopWindow()), nullptr);

    // Destroying the owner takes its children and owned windows along.
    DestroyWindow(owner);
    for (HWND window : {popup, overlapped, child})
        EXPECT_FALSE(IsWindow(window));
}

TEST_F(WinsimWindowsTest, FocusActivatesTheTopLevelWindowFirst)
{
    HWND a = Make("A", TOP, 0, 0, 100, 100);
    EXPECT_EQ(GetForegroundWindow(), a);
    HWND b = Make("B", TOP, 200, 0, 100, 100);
    EXPECT_EQ(GetForegroundWindow(), b);
    HWND bChild = Make("Bchild", CHILD, 0, 0, 50, 50, b);
    EXPECT_TRUE(SetForegroundWindow(a));
    EXPECT_EQ(GetFocus(), a);
    EXPECT_EQ(SetFocus(bChild), b) << "the activation gave B the focus first";
    EXPECT_EQ(GetForegroundWindow(), b);
    EXPECT_EQ(GetFocus(), bChild);
    HWND hidden = Make("Hidden", WS_POPUP, 400, 0, 100, 100);
    EXPECT_EQ(SetFocus(hidden), hidden);
    EXPECT_EQ(GetForegroundWindow(), hidden);
}

TEST_F(WinsimWindowsTest, ClassNameIsCutToTheBuffer)
{
    HWND window = Make("w", TOP, 0, 0, 10, 10);
    char buffer[5] = "????";
    EXPECT_EQ(GetClassNameA(window, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Plai");
    char untouched[4] = "abc";
    EXPECT_EQ(GetClassNameA(reinterpret_cast<HWND>(0x1234), untouched, 4), 0);
    EXPECT_STREQ(untouched, "abc");
}

}  // namespace
