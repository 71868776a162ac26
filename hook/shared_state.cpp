// The shared section and the per-process state of the library, and its entry point.
//
// Every field of the shared section has its initial value in the image, so the first
// process that maps the library finds the settings below; later processes find what
// earlier ones left.
#include "kxhook.h"

namespace {

// A keystroke row: key down, then key up with the given key-up lParam.
constexpr ButtonAction Keystroke(DWORD key, DWORD upLParam = 0xC0000001)
{
    return {{{WM_KEYDOWN, key, 1}, {WM_KEYUP, key, upLParam}, {0, 0, 0}}};
}

// A single message with zero lParam.
constexpr ButtonAction Single(UINT message, DWORD wParam = 0)
{
    return {{{message, wParam, 0}, {0, 0, 0}, {0, 0, 0}}};
}

}  // namespace

SharedHookState shared PLATFORM_SHARED_SECTION(HOOK_SHARED_SECTION_NAME) = {
    .mouseHookHandle = nullptr,
    .keyboardHookHandle = nullptr,
    .messageHookHandle = nullptr,
    .callWndHookHandle = nullptr,
    .parentWindow = nullptr,
    .autoScrollDlg = nullptr,
    .middlePressPending = 0,
    .wheelRollMessage = 0,
    .wheelMode = 0,
    .markWindow = nullptr,
    .candidateCount = 0,
    .candidateWindows = {},
    .startForegroundWindow = nullptr,
    .autoScrollCursor = nullptr,
    .overHScrollBar = 0,
    .hScrollHoverCursor = nullptr,
    .actionTable = {
        Keystroke(VK_BACK),                    // 0
        Single(WM_SYSCOMMAND, SC_CLOSE),      // 1
        Keystroke(VK_DELETE),                  // 2
        Single(WM_LBUTTONDBLCLK),              // 3: double-click request to the resident application
        Keystroke(VK_RETURN),                  // 4
        Keystroke(VK_ESCAPE, 0x80000001),      // 5
        Keystroke(VK_F1),                      // 6
        Keystroke(VK_F2),                      // 7
        Keystroke(VK_F3),                      // 8
        Keystroke(VK_F4),                      // 9
        Keystroke(VK_F5),                      // 10
        Keystroke(VK_F6),                      // 11
        Keystroke(VK_F7),                      // 12
        Keystroke(VK_F8),                      // 13
        Keystroke(VK_F9),                      // 14
        Keystroke(VK_F10),                     // 15
        Keystroke(VK_F11),                     // 16
        Keystroke(VK_F12),                     // 17
        Single(WM_SYSCOMMAND, SC_MAXIMIZE),   // 18
        Single(WM_SYSCOMMAND, SC_MINIMIZE),   // 19
        Keystroke(VK_NEXT),                    // 20
        Keystroke(VK_PRIOR),                   // 21
        Single(WM_SYSCOMMAND, SC_RESTORE),    // 22
        Single(WM_SYSCOMMAND, SC_TASKLIST),   // 23: taskbar
        Single(WM_USER + 100),                 // 24: desktop hot key
        Keystroke(VK_F3),                      // 25: F3 straight to the taskbar
        Single(WM_USER + 102),                 // 26: starts the shell
        Single(WM_USER + 103),                 // 27
        Single(WM_USER + 104),                 // 28
        Single(WM_USER + 107),                 // 29
    },
    .middleButtonIndex = -1,
    .anchorPoint = {0, 0},
    .horzTarget = nullptr,
    .horzScrollBar = nullptr,
    .vertTarget = nullptr,
    .vertScrollBar = nullptr,
    .autoScrollDirection = SCROLL_NONE,
    .autoScrollSpeed = 0,
    .scrollingEnabled = 0,
    .autoScrollActive = 0,
    .horzOnly = 0,
    .vertOnly = 0,
    .zoomInEnabled = 0,
    .markIconName = "0",
    .cursorName = "0",
    .restoreCursor = nullptr,
};

HINSTANCE moduleInstance;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        moduleInstance = instance;
        // The system gives the same number to the same name in every process, so
        // each attach stores the value already there.
        shared.wheelRollMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    }
    return TRUE;
}
