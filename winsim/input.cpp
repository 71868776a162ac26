// Input and processes: synthesised keystrokes, the hook chain and program starts.
// All are logged; none has further effect in the simulation yet.
#include "world.h"

using namespace winsim;

void keybd_event(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extraInfo)
{
    Log("keybd_event", {key, scan, flags, extraInfo});
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    Log("CallNextHookEx",
        {Arg(hook), static_cast<std::uintptr_t>(code), wParam, static_cast<std::uintptr_t>(lParam)});
    return TheWorld().nextHookResult;
}

UINT WinExec(LPCSTR cmdLine, UINT show)
{
    Log("WinExec", {show}, cmdLine);
    return TheWorld().winExecResult;
}

namespace winsim {

void SetNextHookResult(LRESULT result)
{
    TheWorld().nextHookResult = result;
}

void SetWinExecResult(UINT result)
{
    TheWorld().winExecResult = result;
}

}  // namespace winsim
