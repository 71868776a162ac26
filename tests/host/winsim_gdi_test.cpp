// winsim's GDI against the platform's rules (each seen under Wine): the installer's
// bitmaps decoded to the pixels Wine's GetPixel reads from them, the drawing functions
// pixel by pixel on memory and window device contexts, and the picture test controls.
#include "winsim.h"
#include "winsim_control.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int IDB_PS2_CONNECTOR = 112;
constexpr int IDB_SERIAL_CONNECTOR = 113;
constexpr int IDB_SIDE_PICTURE = 304;
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

class WinsimGdiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        module = winsim::LoadModule(WINSIM_SETUP_RES_PATH);
        ASSERT_NE(module, nullptr);
    }

    // A 12 x 12 canvas in a memory device context, white.
    HDC Canvas()
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_PS2_CONNECTOR));  // any 32-bit bitmap will do
        SelectObject(dc, bitmap);
        const RECT all{0, 0, 12, 12};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return dc;
    }

    // The canvas as text: '.' white, '#' black, 'R' red, 'B' blue.
    static std::vector<std::string> Art(HDC dc, int rows = 12)
    {
        std::vector<std::string> art;
        for (int y = 0; y < rows; ++y) {
            std::string line;
            for (int x = 0; x < 12; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                line += c == RGB(255, 255, 255) ? '.' : c == 0 ? '#' : c == RED ? 'R' : c == BLUE ? 'B' : '?';
            }
            art.push_back(line);
        }
        return art;
    }

    HINSTANCE module = nullptr;
};

TEST_F(WinsimGdiTest, BitmapsDecodeToThePixelsTheirFilesHold)
{
    struct Case {
        int id;
        int x, y;
        COLORREF colour;
    } cases[] = {
        // side.bmp, 16 colours
        {IDB_SIDE_PICTURE, 0, 0, 0x808000},
        {IDB_SIDE_PICTURE, 50, 11, 0x800000},
        {IDB_SIDE_PICTURE, 35, 22, 0xFF0000},
        {IDB_SIDE_PICTURE, 50, 22, 0xFFFF00},  // odd and even columns take the two halves of a byte
        {IDB_SIDE_PICTURE, 65, 22, 0x00FF00},
        {IDB_SIDE_PICTURE, 117, 233, 0x808000},  // the last pixel: rows are stored bottom up
        // ps2.bmp and serial.bmp, 256 colours
        {IDB_PS2_CONNECTOR, 30, 4, 0xF4F4F4},
        {IDB_PS2_CONNECTOR, 39, 4, 0xE4E4E4},
        {IDB_PS2_CONNECTOR, 35, 27, 0x181818},
        {IDB_SERIAL_CONNECTOR, 66, 14, 0x4C4C4C},
        {IDB_SERIAL_CONNECTOR, 6, 14, 0xD4D4D4},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Case &c : cases) {
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(c.id));
        ASSERT_NE(bitmap, nullptr) << c.id;
        HGDIOBJ previous = SelectObject(dc, bitmap);
        EXPECT_EQ(GetPixel(dc, c.x, c.y), c.colour) << c.id << " at " << c.x << "," << c.y;
        SelectObject(dc, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    EXPECT_EQ(winsim::GdiObjectsInUse(), 0u);
    EXPECT_EQ(winsim::DCsInUse(), 0u);
}

TEST_F(WinsimGdiTest, GetObjectDescribesA32BitBitmap)
{
    HBITMAP side = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_SIDE_PICTURE));
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(side, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 118);
    EXPECT_EQ(bm.bmHeight, 234);
    EXPECT_EQ(bm.bmWidthBytes, 472);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmBits, nullptr);
    EXPECT_EQ(GetObjectA(side, 4, &bm), 0);
    EXPECT_EQ(GetObjectA(side, sizeof bm, nullptr), static_cast<int>(sizeof bm));
    EXPECT_NE(LoadBitmapA(module, MAKEINTRESOURCEA(IDB_SIDE_PICTURE)), side);  // a new bitmap each time
    EXPECT_EQ(LoadBitmapA(module, MAKEINTRESOURCEA(999)), nullptr);
}

TEST_F(WinsimGdiTest, MemoryDeviceContextsStartMonochromeAndShareNoBitmap)
{
    HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
    BITMAP bm{};
    HBITMAP side = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_SIDE_PICTURE));
    HGDIOBJ initial = SelectObject(first, side);
    ASSERT_EQ(GetObjectA(initial, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(SelectObject(second, side), nullptr);  // already in the first
    EXPECT_EQ(SetPixel(second, 0, 0, RGB(200, 10, 10)), 0u);  // monochrome: black ...
    EXPECT_EQ(SetPixel(second, 0, 0, RGB(255, 255, 255)), 0xFFFFFFu);  // ... or white
    EXPECT_EQ(GetPixel(second, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(SelectObject(first, initial), side);
    EXPECT_NE(SelectObject(second, side), nullptr);  // free again
}

TEST_F(WinsimGdiTest, SetPixelAndGetPixelAtAndBeyondTheEdges)
{
    HDC dc = Canvas();
    EXPECT_EQ(SetPixel(dc, 1, 1, RED), RED);
    EXPECT_EQ(SetPixel(dc, 2, 2, RGB(1, 2, 3)), RGB(1, 2, 3));  // every colour kept exactly
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(1, 2, 3));
    EXPECT_EQ(SetPixel(dc, 70, 0, RED), RED);  // Wine answers the colour off the surface too
    EXPECT_EQ(SetPixel(dc, -1, 0, RED), RED);
    EXPECT_EQ(GetPixel(dc, 70, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
}

// The expected pictures are Wine's, drawn by the same calls on a 12 x 12 bitmap.
TEST_F(WinsimGdiTest, FillRectAndRectangleCoverWhatThePlatformCovers)
{
    HDC dc = Canvas();
    HBRUSH red = CreateSolidBrush(RED);
    const RECT r{2, 2, 5, 4}, upsideDown{8, 8, 6, 6};
    EXPECT_EQ(FillRect(dc, &r, red), 1);
    FillRect(dc, &upsideDown, red);
    EXPECT_EQ(Art(dc, 10), (std::vector<std::string>{"............", "............", "..RRR.......", "..RRR.......",
                                                     "............", "............", "............", ".......RR...",
                                                     ".......RR...", "............"}));

    const RECT all{0, 0, 12, 12};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(SelectObject(dc, red), GetStockObject(WHITE_BRUSH));  // the starting brush
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));  // and pen
    Rectangle(dc, 1, 1, 6, 5);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 7, 1, 11, 5);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 7, 6, 11);
    EXPECT_EQ(Art(dc), (std::vector<std::string>{"............", ".#####.RRR..", ".#RRR#.RRR..", ".#RRR#.RRR..",
                                                 ".#####......", "............", "............", ".#####......",
                                                 ".#...#......", ".#...#......", ".#####......", "............"}));
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stays
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST_F(WinsimGdiTest, LinesLeaveOutTheirEndAndWidePensCoverIt)
{
    HDC dc = Canvas();
    POINT old{};
    MoveToEx(dc, 1, 1, &old);
    EXPECT_EQ(old.x, 0);
    LineTo(dc, 8, 1);
    LineTo(dc, 8, 6);
    LineTo(dc, 1, 10);
    MoveToEx(dc, 10, 10, nullptr);
    LineTo(dc, 10, 10);  // nothing at all
    EXPECT_EQ(Art(dc), (std::vector<std::string>{"............", ".########...", "........#...", "........#...",
                                                 "........#...", "........#...", "........#...", "......##....",
                                                 "....##......", "..##........", "............", "............"}));

    // Halfway between two rows a pixel takes the upper one, whichever way the line runs.
    const RECT all{0, 0, 12, 12};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const POINT lines[][2] = {{{0, 0}, {4, 2}}, {{0, 4}, {2, 8}}, {{11, 0}, {7, 2}}, {{6, 11}, {10, 9}}};
    for (const auto &line : lines) {
        MoveToEx(dc, line[0].x, line[0].y, nullptr);
        LineTo(dc, line[1].x, line[1].y);
    }
    EXPECT_EQ(Art(dc), (std::vector<std::string>{"##........##", "..##....##..", "............", "............",
                                                 "#...........", "#...........", ".#..........", ".#..........",
                                                 "............", ".........#..", ".......##...", "......#....."}));

    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HPEN three = CreatePen(PS_SOLID, 3, BLUE);
    SelectObject(dc, three);
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 9, 2);
    MoveToEx(dc, 2, 5, nullptr);
    LineTo(dc, 2, 10);
    EXPECT_EQ(Art(dc), (std::vector<std::string>{"............", "..BBBBBBBB..", ".BBBBBBBBBB.", "..BBBBBBBB..",
                                                 "..B.........", ".BBB........", ".BBB........", ".BBB........",
                                                 ".BBB........", ".BBB........", ".BBB........", "..B........."}));

    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HPEN two = CreatePen(PS_SOLID, 2, BLUE);
    EXPECT_EQ(SelectObject(dc, two), three);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 9, 2);
    MoveToEx(dc, 2, 5, nullptr);
    LineTo(dc, 2, 10);
    Rectangle(dc, 5, 5, 10, 10);
    EXPECT_EQ(Art(dc), (std::vector<std::string>{"............", ".BBBBBBBBB..", ".BBBBBBBBB..", "............",
                                                 ".BB.BBBBBB..", ".BB.BBBBBB..", ".BB.BB..BB..", ".BB.BB..BB..",
                                                 ".BB.BBBBBB..", ".BB.BBBBBB..", ".BB.........", "............"}));
}

LRESULT Painter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SetPixel(dc, 0, 0, RED);
        SetPixel(dc, 0, 0, RED);
        SetPixel(dc, 3, 4, BLUE);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WinsimGdiTest, WindowDeviceContextsDrawIntoTheClientSurface)
{
    WNDCLASSA painter{};
    painter.lpfnWndProc = Painter;
    painter.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    painter.lpszClassName = "Painter";
    ASSERT_NE(RegisterClassA(&painter), 0);
    HWND window = CreateWindowExA(0, "Painter", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 22, 12, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "Painter", "", WS_CHILD | WS_VISIBLE, 5, 5, 5, 5, window, nullptr, nullptr,
                                 nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    const winsim::Picture own = winsim::WindowPicture(window);
    ASSERT_EQ(own.width, 20);  // the client area inside a 1-pixel border
    ASSERT_EQ(own.height, 10);
    EXPECT_EQ(own.At(0, 0), RED);
    EXPECT_EQ(own.At(3, 4), BLUE);
    EXPECT_EQ(own.At(19, 9), 0xFFFFFFu);  // erased with COLOR_WINDOW
    EXPECT_EQ(own.At(5, 5), 0xFFFFFFu);   // the child is not part of it ...
    const winsim::Picture composed = winsim::ComposedPicture(window);
    EXPECT_EQ(composed.At(5, 5), RED);  // ... until composed
    EXPECT_EQ(composed.At(8, 9), BLUE);

    const std::map<std::pair<int, int>, int> counts = winsim::SetPixelCounts(window);
    EXPECT_EQ(counts.at({0, 0}), 2);
    EXPECT_EQ(counts.at({3, 4}), 1);
    EXPECT_EQ(counts.size(), 2u);  // the child's calls are its own
    EXPECT_EQ(winsim::SetPixelCounts(child).size(), 2u);

    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 0, 0), RED);
    EXPECT_EQ(GetPixel(dc, 20, 0), CLR_INVALID);  // past the client area
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(winsim::DCsInUse(), 0u);
}

TEST_F(WinsimGdiTest, PicturesSaveAsPngFiles)
{
    HBITMAP side = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_SIDE_PICTURE));
    const winsim::Picture picture = winsim::BitmapPicture(side);
    ASSERT_EQ(picture.width, 118);
    const std::string path = (std::filesystem::temp_directory_path() / "winsim_side_test.png").string();
    ASSERT_TRUE(winsim::SavePicture(picture, path));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    ASSERT_GT(bytes.size(), 118u * 234u * 3u);  // stored, not compressed
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND");
}

TEST_F(WinsimGdiTest, IntersectRectGivesZerosWhenNothingOverlaps)
{
    const RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, far{20, 20, 30, 30};
    RECT out{};
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ((std::vector<LONG>{out.left, out.top, out.right, out.bottom}), (std::vector<LONG>{5, 5, 10, 10}));
    EXPECT_FALSE(IntersectRect(&out, &a, &far));
    EXPECT_EQ((std::vector<LONG>{out.left, out.top, out.right, out.bottom}), (std::vector<LONG>{0, 0, 0, 0}));
}

}  // namespace
