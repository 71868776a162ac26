// KXHOOK32: the hook library's chief header.
//
// What the resident application and every hooked process share: the layout of the
// shared section "SHARDATA", the messages the library sends or posts to the
// resident application's window, and the seventeen exports.
//
// Calling order required of the resident application:
//   1. load the library (the entry point runs in its process);
//   2. SetParentWindow (also loads the hover cursor, so it comes before the
//      call-window hook is installed);
//   3. install each hook system-wide and hand its handle to the matching Set...HookHandle
//      export at once;
//   4. set the options at any time;
//   5. remove the hooks when done. The library frees and resets nothing.
#pragma once

#include "platform.h"

#include <stddef.h>

// Messages to the window given by SetParentWindow. Coordinates are screen
// coordinates packed as 16-bit values, x in the low word and y in the high word.
enum HookMessage : UINT {
    HOOKMSG_AUTOSCROLL = WM_USER + 106,      // sent: start (wParam 0, anchor) or speed|direction<<16, cursor
    HOOKMSG_ZOOMIN = WM_USER + 107,          // posted: 0, 0
    HOOKMSG_DOUBLECLICK = WM_USER + 108,     // posted: 0, 0
    HOOKMSG_AUTOSCROLL_END = WM_USER + 109,  // sent: foreground window at the start, 0
    HOOKMSG_MODIFIER_KEY = WM_USER + 110,    // sent: VK_SHIFT or VK_CONTROL, 1 down / 0 up
    HOOKMSG_HSCROLL_HOVER = WM_USER + 111,   // sent: 1 onto / 0 off a horizontal scroll bar, 0
};

// Direction codes of auto-scrolling.
enum ScrollDirection : WORD {
    SCROLL_NONE = 0,
    SCROLL_UP = 1,
    SCROLL_DOWN = 2,
    SCROLL_RIGHT = 3,
    SCROLL_LEFT = 4,
};

// One message of a middle-button action; message 0 marks an empty step.
// Only the low 16 bits of wParam are used; lParam is used whole.
struct ActionStep {
    UINT message;
    DWORD wParam;
    DWORD lParam;
};

struct ButtonAction {
    ActionStep steps[3];
};

constexpr int ACTION_COUNT = 30;
constexpr int CANDIDATE_LIMIT = 32;
constexpr int RESOURCE_NAME_CHARS = 32;

// The state every process that maps the library sees, in declaration order, in the
// section "SHARDATA". Plain loads and stores of single fields; no locks.
struct SharedHookState {
    HHOOK mouseHookHandle;
    HHOOK keyboardHookHandle;
    HHOOK messageHookHandle;
    HHOOK callWndHookHandle;
    HWND parentWindow;
    HWND autoScrollDlg;                       // stored for the resident application only
    BOOL middlePressPending;
    UINT wheelRollMessage;                    // number of "MSWHEEL_ROLLMSG"
    WORD wheelMode;
    HWND markWindow;                          // stored for the resident application only
    SHORT candidateCount;
    HWND candidateWindows[CANDIDATE_LIMIT];
    HWND startForegroundWindow;
    HCURSOR autoScrollCursor;
    BOOL overHScrollBar;
    HCURSOR hScrollHoverCursor;
    ButtonAction actionTable[ACTION_COUNT];   // constant in effect
    SHORT middleButtonIndex;                  // -1: no action assigned
    POINT anchorPoint;
    HWND horzTarget;
    HWND horzScrollBar;
    HWND vertTarget;
    HWND vertScrollBar;
    WORD autoScrollDirection;                 // ScrollDirection
    SHORT autoScrollSpeed;                    // 1 to 10 while moving, 0 after a stop
    BOOL scrollingEnabled;
    BOOL autoScrollActive;
    BOOL horzOnly;
    BOOL vertOnly;
    BOOL zoomInEnabled;
    char markIconName[RESOURCE_NAME_CHARS];
    char cursorName[RESOURCE_NAME_CHARS];
    HCURSOR restoreCursor;
};

static_assert(sizeof(ActionStep) == 12 && sizeof(ButtonAction) == 36, "action rows are packed words");
#ifdef _WIN32
// The 32-bit image layout that the resident application and test programs read.
static_assert(offsetof(SharedHookState, wheelRollMessage) == 28);
static_assert(offsetof(SharedHookState, candidateWindows) == 44);
static_assert(offsetof(SharedHookState, actionTable) == 188);
static_assert(offsetof(SharedHookState, middleButtonIndex) == 1268);
static_assert(offsetof(SharedHookState, cursorName) == 1352);
static_assert(sizeof(SharedHookState) == 1388);
#endif

// The name of the image section that holds the shared state.
#define HOOK_SHARED_SECTION_NAME "SHARDATA"

extern SharedHookState shared;

// This process's module handle of the library; every cursor is loaded with it.
extern HINSTANCE moduleInstance;

extern "C" {

// Entry point: on process attach stores the module handle and registers "MSWHEEL_ROLLMSG".
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// Hook procedures, ordinals 1, 2, 3 and 6.
LRESULT CALLBACK DoCallWndProcHookFunc(int nCode, WPARAM wParam, LPARAM lParam);  // WH_CALLWNDPROCRET
LRESULT CALLBACK DoGetMessageHookFunc(int nCode, WPARAM wParam, LPARAM lParam);   // WH_GETMESSAGE
LRESULT CALLBACK DoKeyboardHookFunc(int nCode, WPARAM wParam, LPARAM lParam);     // WH_KEYBOARD
LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);              // WH_MOUSE

// Control exports. Each stores its argument without a test and returns what it stored.
BOOL WINAPI EnableScrolling(BOOL enable);
BOOL WINAPI EnableZoomIn(BOOL enable);
HCURSOR WINAPI SetAutoScrollCursor(void);         // shows the cursor named by cursorName; returns the previous one
UINT WINAPI SetAutoScrollDirection(UINT direction);  // low 16 bits
HWND WINAPI SetAutoScrollDlg(HWND window);
HHOOK WINAPI SetCallWndHookHandle(HHOOK hook);
HHOOK WINAPI SetKeyboardHookHandle(HHOOK hook);
HWND WINAPI SetMarkWindow(HWND window);
HHOOK WINAPI SetMessageHookHandle(HHOOK hook);
int WINAPI SetMiddleButtonIndex(int index);       // low 16 bits, signed
HHOOK WINAPI SetMouseHookHandle(HHOOK hook);
HCURSOR WINAPI SetParentWindow(HWND window);      // returns the hover cursor it loaded
UINT WINAPI SetWheelMode(UINT mode);              // low 16 bits

}  // extern "C"
