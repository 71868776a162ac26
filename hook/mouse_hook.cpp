// The WH_MOUSE hook procedure.
//
// Until the middle-button handling is in place the procedure passes every mouse
// message on to the next hook untouched.
#include "kxhook.h"

LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(shared.mouseHookHandle, nCode, wParam, lParam);
}
