// The thirteen control exports through which the resident application hands over its
// hook handles, its window and its settings. None checks its argument; each takes
// effect for every process at the next hook call that reads the field.
#include "kxhook.h"

namespace {
constexpr char HOVER_CURSOR_NAME[] = "IDC_HOR_SCROLL1";
}

BOOL WINAPI EnableScrolling(BOOL enable)
{
    shared.scrollingEnabled = enable;
    return enable;
}

BOOL WINAPI EnableZoomIn(BOOL enable)
{
    shared.zoomInEnabled = enable;
    return enable;
}

HCURSOR WINAPI SetAutoScrollCursor(void)
{
    return SetCursor(LoadCursorA(moduleInstance, shared.cursorName));
}

UINT WINAPI SetAutoScrollDirection(UINT direction)
{
    shared.autoScrollDirection = static_cast<WORD>(direction);
    return shared.autoScrollDirection;
}

HWND WINAPI SetAutoScrollDlg(HWND window)
{
    shared.autoScrollDlg = window;
    return window;
}

HHOOK WINAPI SetCallWndHookHandle(HHOOK hook)
{
    shared.callWndHookHandle = hook;
    return hook;
}

HHOOK WINAPI SetKeyboardHookHandle(HHOOK hook)
{
    shared.keyboardHookHandle = hook;
    return hook;
}

HWND WINAPI SetMarkWindow(HWND window)
{
    shared.markWindow = window;
    return window;
}

HHOOK WINAPI SetMessageHookHandle(HHOOK hook)
{
    shared.messageHookHandle = hook;
    return hook;
}

int WINAPI SetMiddleButtonIndex(int index)
{
    shared.middleButtonIndex = static_cast<SHORT>(index);
    return shared.middleButtonIndex;
}

HHOOK WINAPI SetMouseHookHandle(HHOOK hook)
{
    shared.mouseHookHandle = hook;
    return hook;
}

HCURSOR WINAPI SetParentWindow(HWND window)
{
    shared.parentWindow = window;
    shared.hScrollHoverCursor = LoadCursorA(moduleInstance, HOVER_CURSOR_NAME);
    return shared.hScrollHoverCursor;
}

UINT WINAPI SetWheelMode(UINT mode)
{
    shared.wheelMode = static_cast<WORD>(mode);
    return shared.wheelMode;
}
