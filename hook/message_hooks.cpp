// The get-message, call-window-return and keyboard hook procedures.
//
// None of them swallows a message: the get-message hook neutralises a queued message
// in place by turning it into WM_NULL, and all three always chain to the next hook
// with the handle the resident application stored.
#include "kxhook.h"

#include "auto_scroll.h"
#include "window_tests.h"

namespace {

// The direction a filtered message agrees with. Arrow keys by key code; line-scroll
// messages by their scroll code (0 or 1).
struct KeyAgreement {
    WPARAM key;
    WORD direction;
};
constexpr KeyAgreement ARROW_KEYS[] = {
    {VK_LEFT, SCROLL_LEFT},
    {VK_UP, SCROLL_UP},
    {VK_RIGHT, SCROLL_RIGHT},
    {VK_DOWN, SCROLL_DOWN},
};
constexpr WORD HSCROLL_LINE[] = {/* SB_LINELEFT */ SCROLL_LEFT, /* SB_LINERIGHT */ SCROLL_RIGHT};
constexpr WORD VSCROLL_LINE[] = {/* SB_LINEUP */ SCROLL_UP, /* SB_LINEDOWN */ SCROLL_DOWN};

// Neutralises the message unless it agrees with the current direction; with no
// direction, every filtered message is neutralised.
void KeepIfAgrees(MSG *message, WORD agreesWith)
{
    if (shared.autoScrollDirection == SCROLL_NONE || shared.autoScrollDirection != agreesWith)
        message->message = WM_NULL;
}

void FilterKey(MSG *message)
{
    if (shared.autoScrollActive) {
        for (const KeyAgreement &arrow : ARROW_KEYS)
            if (message->wParam == arrow.key)
                KeepIfAgrees(message, arrow.direction);
    }
    // Shift and Ctrl are reported whether auto-scrolling or not.
    if (message->wParam == VK_CONTROL || message->wParam == VK_SHIFT)
        SendMessageA(shared.parentWindow, HOOKMSG_MODIFIER_KEY, message->wParam,
                     message->message == WM_KEYDOWN ? 1 : 0);
}

void FilterScroll(MSG *message)
{
    if (shared.autoScrollDirection == SCROLL_NONE) {
        message->message = WM_NULL;
        return;
    }
    const WORD code = static_cast<WORD>(message->wParam);
    if (code == SB_LINEUP || code == SB_LINEDOWN)  // also SB_LINELEFT and SB_LINERIGHT
        KeepIfAgrees(message, (message->message == WM_HSCROLL ? HSCROLL_LINE : VSCROLL_LINE)[code]);
}

// The registered wheel message: a positive delta agrees with up, a negative one with
// down; a zero delta passes.
void FilterWheel(MSG *message)
{
    if (shared.autoScrollDirection == SCROLL_NONE) {
        message->message = WM_NULL;
        return;
    }
    const LONG delta = static_cast<LONG>(message->wParam);
    if (delta != 0)
        KeepIfAgrees(message, delta > 0 ? SCROLL_UP : SCROLL_DOWN);
}

}  // namespace

LRESULT CALLBACK DoGetMessageHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    MSG *message = reinterpret_cast<MSG *>(lParam);
    switch (message->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (!shared.autoScrollActive)
            return CallNextHookEx(shared.messageHookHandle, nCode, wParam, lParam);
        message->message = WM_NULL;
        SetCursor(shared.autoScrollCursor);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        FilterKey(message);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!shared.autoScrollActive)
            return CallNextHookEx(shared.messageHookHandle, nCode, wParam, lParam);
        FilterScroll(message);
        break;
    default:
        break;
    }
    if (shared.autoScrollActive && message->message == shared.wheelRollMessage)
        FilterWheel(message);
    return CallNextHookEx(shared.messageHookHandle, nCode, wParam, lParam);
}

LRESULT CALLBACK DoCallWndProcHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (call->message == WM_SETCURSOR) {
        if (shared.autoScrollActive) {
            SetCursor(shared.autoScrollCursor);
        } else {
            // Each call is judged by itself: the platform passes WM_SETCURSOR to the
            // parent first, so over a scroll-bar control both changes are reported.
            const WORD hitTest = static_cast<WORD>(call->lParam);
            BOOL over = FALSE;
            if (hitTest == HTHSCROLL)
                over = TRUE;
            else if (hitTest == HTCLIENT)
                over = IsScrollBarWindow(call->hwnd, FALSE) ? TRUE : FALSE;
            if (over != shared.overHScrollBar) {
                shared.overHScrollBar = over;
                SendMessageA(shared.parentWindow, HOOKMSG_HSCROLL_HOVER, static_cast<WPARAM>(over), 0);
            }
            if (shared.overHScrollBar)
                SetCursor(shared.hScrollHoverCursor);
        }
    }
    return CallNextHookEx(shared.callWndHookHandle, nCode, wParam, lParam);
}

LRESULT CALLBACK DoKeyboardHookFunc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // Every keyboard event ends auto-scrolling; the key itself goes on.
    if (shared.autoScrollActive)
        StopAutoScroll();
    return CallNextHookEx(shared.keyboardHookHandle, nCode, wParam, lParam);
}
