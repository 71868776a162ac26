// The background window: the gradient, the keyed pictures and their dissolve.
#include "wizard_fixture.h"

#include <set>

namespace {

using BackgroundTest = WizardTest;

constexpr COLORREF MAGENTA = RGB(255, 0, 255);

// The bands of the gradient as drawn: {top, bottom, blue} of each FillRect with a
// brush made for it, in order.
struct Band {
    long top, bottom;
    int blue;
};

std::vector<Band> Bands()
{
    std::vector<Band> bands;
    std::vector<std::uintptr_t> brushColours;
    for (const winsim::Call &call : winsim::Calls()) {
        if (call.api == "CreateSolidBrush")
            brushColours.push_back(call.args[0]);
        if (call.api == "FillRect" && !brushColours.empty())
            bands.push_back({static_cast<long>(static_cast<LONG>(call.args[3])),
                             static_cast<long>(static_cast<LONG>(call.args[5])),
                             static_cast<int>(GetBValue(static_cast<COLORREF>(brushColours.back())))});
    }
    return bands;
}

// 255 bands from blue 255 down to 1, each starting where the one before ended and
// together reaching the bottom of the screen; `maxRows` bounds a band's height.
void ExpectBands(int height, long minRows, long maxRows)
{
    const std::vector<Band> bands = Bands();
    ASSERT_EQ(bands.size(), 255u);
    long top = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].blue, 255 - static_cast<int>(i));
        EXPECT_EQ(bands[i].top, top) << "band " << i;
        EXPECT_GE(bands[i].bottom - bands[i].top, minRows) << "band " << i;
        EXPECT_LE(bands[i].bottom - bands[i].top, maxRows) << "band " << i;
        top = bands[i].bottom;
    }
    EXPECT_EQ(top, height) << "the last band ends at the bottom of the screen";
}

TEST_F(BackgroundTest, TheGradientCoversAVgaScreenInBandsOfOneOrTwoRows)
{
    UseScreen(640, 480);
    ASSERT_TRUE(CreateBackgroundWindow());
    ExpectBands(480, 1, 2);
    // On the window: blue at the top, darkening row by row.
    const winsim::Picture picture = winsim::WindowPicture(backgroundWindow);
    EXPECT_EQ(picture.At(630, 0), RGB(0, 0, 255));
    for (int y = 1; y < picture.height; ++y)
        ASSERT_LE(GetBValue(picture.At(630, y)), GetBValue(picture.At(630, y - 1))) << y;
    EXPECT_LE(GetBValue(picture.At(630, picture.height - 1)), 3);
}

TEST_F(BackgroundTest, OnAScreenUnder255RowsSomeBandsAreEmpty)
{
    UseScreen(320, 200);
    ASSERT_TRUE(CreateBackgroundWindow());
    ExpectBands(200, 0, 1);
    std::size_t empty = 0;
    for (const Band &band : Bands())
        empty += band.top == band.bottom;
    EXPECT_EQ(empty, 55u);
}

TEST_F(BackgroundTest, PicturesLeaveTheirMagentaOutAndDissolveInOnlyOnce)
{
    ASSERT_TRUE(CreateBackgroundWindow());
    HBITMAP title = LoadBitmapA(programInstance, MAKEINTRESOURCEA(IDB_TITLE));
    const winsim::Picture lettering = winsim::BitmapPicture(title);
    DeleteObject(title);
    const winsim::Picture screen = winsim::WindowPicture(backgroundWindow);
    auto counts = winsim::SetPixelCounts(backgroundWindow);
    int drawn = 0;
    for (int y = 0; y < lettering.height; ++y) {
        for (int x = 0; x < lettering.width; ++x) {
            const COLORREF pixel = lettering.At(x, y);
            const COLORREF shown = screen.At(20 + x, 10 + y);
            const int count = counts[{20 + x, 10 + y}];
            if (pixel == MAGENTA) {
                EXPECT_EQ(GetRValue(shown), 0) << x << "," << y << ": the gradient shows through";
                EXPECT_EQ(count, 0);
            } else {
                EXPECT_EQ(shown, pixel) << x << "," << y;
                EXPECT_EQ(count, 1) << x << "," << y << ": each pixel is set exactly once";
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 500);

    // The first paint set the pixels pass by pass, in the order of the dissolve table.
    int lastPass = 0;
    bool ordered = true;
    for (const winsim::Call &call : winsim::CallsTo("SetPixel")) {
        const int x = static_cast<int>(call.args[1]), y = static_cast<int>(call.args[2]);
        if (y >= screenHeight - 60)
            continue;  // the banner starts its own passes
        const int pass = DISSOLVE_ORDER[(y - 10) % 8][(x - 20) % 8];
        ordered = ordered && pass >= lastPass;
        lastPass = pass;
    }
    EXPECT_TRUE(ordered);
    EXPECT_EQ(dissolvePending, 0);

    // A later paint draws the picture at once, row by row.
    winsim::ClearCalls();
    InvalidateRect(backgroundWindow, nullptr, FALSE);
    UpdateWindow(backgroundWindow);
    const auto later = winsim::CallsTo("SetPixel");
    ASSERT_FALSE(later.empty());
    bool rowByRow = true;
    for (std::size_t i = 1; i < later.size(); ++i)
        rowByRow = rowByRow && (later[i].args[2] > later[i - 1].args[2] ||
                                (later[i].args[2] == later[i - 1].args[2] && later[i].args[1] > later[i - 1].args[1]) ||
                                later[i].args[2] >= static_cast<std::uintptr_t>(screenHeight - 60));
    EXPECT_TRUE(rowByRow);
    EXPECT_EQ(winsim::GdiObjectsInUse(), 0u) << "brushes and bitmaps are deleted after use";
    EXPECT_EQ(winsim::DCsInUse(), 0u);
}

TEST_F(BackgroundTest, TheBannerIsLeftOutInOemMode)
{
    const auto bannerPixels = [] {
        int count = 0;
        for (const winsim::Call &call : winsim::CallsTo("SetPixel"))
            count += call.args[2] >= static_cast<std::uintptr_t>(screenHeight - 60);
        return count;
    };
    ASSERT_TRUE(CreateBackgroundWindow());
    EXPECT_GT(bannerPixels(), 0);
    DestroyWindow(backgroundWindow);

    config.oemMode = 1;
    dissolvePending = 1;
    winsim::ClearCalls();
    ASSERT_TRUE(CreateBackgroundWindow());
    EXPECT_EQ(bannerPixels(), 0);
    EXPECT_FALSE(winsim::CallsTo("SetPixel").empty()) << "the title is drawn all the same";
}

TEST_F(BackgroundTest, TheWindowCoversTheScreenAboveOrdinaryWindows)
{
    ASSERT_TRUE(CreateBackgroundWindow());
    RECT frame;
    GetWindowRect(backgroundWindow, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.right, 1024);
    EXPECT_EQ(frame.bottom, 768);
    EXPECT_TRUE(GetWindowLongA(backgroundWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    char className[32];
    GetClassNameA(backgroundWindow, className, sizeof className);
    EXPECT_STREQ(className, "SetupMain");
}

}  // namespace
