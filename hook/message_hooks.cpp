// The get-message, call-window-return and keyboard hook procedures.
//
// Until auto-scrolling is in place they only chain to the next hook with the handle
// that the resident application stored.
#include "kxhook.h"

LRESULT CALLBACK DoGetMessageHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(shared.messageHookHandle, nCode, wParam, lParam);
}

LRESULT CALLBACK DoCallWndProcHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(shared.callWndHookHandle, nCode, wParam, lParam);
}

LRESULT CALLBACK DoKeyboardHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(shared.keyboardHookHandle, nCode, wParam, lParam);
}
