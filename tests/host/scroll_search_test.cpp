// The scroll-bar search on winsim where real windows cannot go: windows destroyed in
// the middle of a search, the candidate list running full, and the 16-bit measures.
#include "hook_fixture.h"
#include "scroll_search.h"

#include <cstring>
#include <string>

namespace {

class ScrollSearchTest : public HookTest {
protected:
    HWND Window(const char *className, DWORD style, RECT r, HWND parent = nullptr)
    {
        POINT origin = {r.left, r.top};
        if (style & WS_CHILD)
            ScreenToClient(parent, &origin);
        return CreateWindowExA(0, className, "", style, origin.x, origin.y, r.right - r.left, r.bottom - r.top, parent,
                               nullptr, nullptr, nullptr);
    }

    // Destroys `victim` when the search first asks for its rectangle.
    void DestroyOnRectangleRead(HWND victim)
    {
        winsim::SetCallObserver([victim](const winsim::Call &call) {
            if (call.api == "GetWindowRect" && call.args[0] == H(victim))
                DestroyWindow(victim);
        });
    }
};

constexpr DWORD TOP = WS_POPUP | WS_VISIBLE;
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

TEST_F(ScrollSearchTest, NeighbourDestroyedBeforeItsRectangleIsReadIsSkipped)
{
    HWND pane = Window("Plain", TOP, {0, 0, 400, 400});
    Window("Plain", CHILD, {20, 20, 120, 50}, pane);  // the label under the anchor
    HWND first = Window("Plain", CHILD | WS_VSCROLL, {10, 10, 300, 300}, pane);
    HWND second = Window("Plain", CHILD | WS_VSCROLL, {15, 15, 300, 300}, pane);
    shared.anchorPoint = {30, 30};
    DestroyOnRectangleRead(first);
    EXPECT_EQ(FindVerticalTarget(), second);
    EXPECT_EQ(shared.vertScrollBar, nullptr);
}

TEST_F(ScrollSearchTest, ScrollBarDestroyedBeforeItsRectangleIsReadIsNotChosen)
{
    HWND sheet = Window("Plain", TOP, {0, 0, 400, 400});
    HWND farther = Window("ScrollBar", CHILD | SBS_VERT, {300, 10, 310, 390}, sheet);
    HWND nearer = Window("ScrollBar", CHILD | SBS_VERT, {200, 10, 210, 390}, sheet);
    shared.anchorPoint = {100, 100};
    DestroyOnRectangleRead(nearer);
    EXPECT_EQ(FindVerticalTarget(), sheet);
    EXPECT_EQ(shared.vertScrollBar, farther);
}

TEST_F(ScrollSearchTest, TheCandidateListKeepsThirtyTwoAndStopsTheEnumerationAtTheNext)
{
    HWND crowd = Window("Plain", TOP, {0, 0, 600, 400});
    std::vector<HWND> bars;
    for (int i = 0; i < 40; ++i)
        bars.push_back(Window("ScrollBar", CHILD | SBS_VERT, {100 + i * 5, 10, 102 + i * 5, 20}, crowd));
    winsim::ClearCalls();
    shared.candidateCount = 0;
    EXPECT_FALSE(EnumChildWindows(crowd, EnumVScrollBarsProc, 0));
    EXPECT_EQ(shared.candidateCount, 32);
    EXPECT_EQ(shared.candidateWindows[31], bars[31]);
    // 32 windows taken, the 33rd refused, the rest never visited.
    EXPECT_EQ(winsim::CallsTo("IsWindow").size(), 33u);

    // The search then chooses among the first 32 only: the farthest right of those.
    shared.anchorPoint = {50, 300};
    EXPECT_EQ(FindVerticalTarget(), crowd);
    EXPECT_EQ(shared.vertScrollBar, bars[0]);
}

TEST_F(ScrollSearchTest, MeasuresAreSixteenBitsWide)
{
    // 40000 pixels to the right is negative in 16 bits: that bar is never chosen.
    HWND sheet = Window("Plain", TOP, {0, 0, 400, 400});
    Window("ScrollBar", CHILD | SBS_VERT, {40090, 10, 40100, 390}, sheet);
    shared.anchorPoint = {100, 100};
    EXPECT_EQ(FindVerticalTarget(), nullptr);
    EXPECT_EQ(shared.vertScrollBar, nullptr);

    // 70000 pixels wraps to 4464: chosen over a bar 5000 pixels away.
    HWND wrapped = Window("ScrollBar", CHILD | SBS_VERT, {70090, 10, 70100, 390}, sheet);
    Window("ScrollBar", CHILD | SBS_VERT, {5090, 10, 5100, 390}, sheet);
    EXPECT_EQ(FindVerticalTarget(), sheet);
    EXPECT_EQ(shared.vertScrollBar, wrapped);
}

TEST_F(ScrollSearchTest, NothingUnderTheAnchorLeavesTheModeAlone)
{
    std::strcpy(shared.cursorName, "IDC_HOR_SCROLL");
    shared.horzOnly = 1;
    shared.vertScrollBar = reinterpret_cast<HWND>(0x99);
    shared.anchorPoint = {-50, -50};  // off the screen: no window at all
    DiscoverScrollTargets();
    EXPECT_EQ(shared.vertTarget, nullptr);
    EXPECT_EQ(shared.horzTarget, nullptr);
    EXPECT_EQ(shared.vertScrollBar, nullptr);
    EXPECT_STREQ(shared.cursorName, "IDC_HOR_SCROLL");
    EXPECT_EQ(shared.horzOnly, 1);
}

}  // namespace
