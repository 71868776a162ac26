// The background window: a vertical gradient from blue to almost black over the whole
// screen, the setup title at the top left and the banner at the bottom left, drawn
// pixel by pixel around their magenta key colour. The first paint dissolves the two
// pictures in; later paints draw them at once.
#include "wizard.h"

#include "res/resource_ids.h"

LONG dissolvePending = 1;

const BYTE DISSOLVE_ORDER[8][8] = {
    {44, 16, 24, 36, 46, 18, 26, 38}, {48, 0, 8, 56, 50, 2, 10, 58},  {28, 32, 40, 20, 30, 34, 42, 22},
    {12, 60, 52, 4, 14, 62, 54, 6},   {47, 19, 27, 39, 45, 17, 25, 37}, {51, 3, 11, 59, 49, 1, 9, 57},
    {31, 35, 43, 23, 29, 33, 41, 21}, {15, 63, 55, 7, 13, 61, 53, 5},
};

namespace {

constexpr COLORREF KEY_COLOUR = RGB(255, 0, 255);
constexpr int BANDS = 255;
constexpr int DISSOLVE_PASSES = 64;

// 255 bands from RGB(0, 0, 255) down to RGB(0, 0, 1). The step is a single-precision
// product; the band limits are computed from it in double precision and truncated.
void PaintGradient(HDC dc)
{
    const float step = static_cast<float>(screenHeight) * (1.0f / 255.0f);
    for (int i = 0; i < BANDS; ++i) {
        const RECT band = {0, static_cast<int>(static_cast<double>(i) * step), screenWidth,
                           static_cast<int>(static_cast<double>(i + 1) * step)};
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255 - i));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

bool Meets(const RECT &update, const RECT &area)
{
    RECT common;
    return IntersectRect(&common, &update, &area) != 0;
}

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintGradient(dc);
    const RECT title = {20, 10, 320, 60};
    if (Meets(paint.rcPaint, title))
        DrawKeyedBitmap(dc, IDB_TITLE, POINT{title.left, title.top}, dissolvePending);
    const RECT banner = {20, screenHeight - 60, 600, screenHeight - 10};
    if (!config.oemMode && Meets(paint.rcPaint, banner))
        DrawKeyedBitmap(dc, IDB_BANNER, POINT{banner.left, banner.top}, dissolvePending);
    dissolvePending = 0;
    EndPaint(window, &paint);
}

}  // namespace

bool CreateBackgroundWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = BackgroundWndProc;
    windowClass.hInstance = programInstance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "SetupMain";
    RegisterClassA(&windowClass);  // a failure shows in the creation below
    backgroundWindow = CreateWindowExA(0, "SetupMain", "Setup", WS_POPUP | WS_VISIBLE | WS_BORDER, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, programInstance,
                                       nullptr);
    if (!backgroundWindow)
        return false;
    // The first paint, with the dissolving pictures, happens here, before any page.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetWindowPos(window, HWND_TOPMOST, 0, 0, screenWidth, screenHeight, SWP_SHOWWINDOW);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void DrawKeyedBitmap(HDC dc, int bitmapId, POINT origin, BOOL dissolve)
{
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = LoadBitmapA(programInstance, MAKEINTRESOURCEA(bitmapId));
    if (!bitmap) {
        DeleteDC(memory);
        return;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    const int passes = dissolve ? DISSOLVE_PASSES : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < info.bmHeight; ++y) {
            for (int x = 0; x < info.bmWidth; ++x) {
                if (dissolve && DISSOLVE_ORDER[y % 8][x % 8] != pass)
                    continue;
                const COLORREF colour = GetPixel(memory, x, y);
                if (colour != KEY_COLOUR)
                    SetPixel(dc, origin.x + x, origin.y + y, colour);
            }
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}
