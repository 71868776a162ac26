// Running a middle-button action: the row's first step (or, for two rows, its index)
// decides whether it becomes a message to the resident application, a program start,
// a desktop hot key, a synthesised keystroke or messages posted to a window.
#include "button_actions.h"

namespace {

constexpr int DESKTOP_HOTKEY_ROW = 24;
constexpr int TASKBAR_KEYS_ROW = 25;
constexpr UINT START_SHELL_MESSAGE = WM_USER + 102;
constexpr LPARAM DESKTOP_HOTKEY_LPARAM = 0x7EF48;

void PostSteps(HWND target, const ButtonAction &action)
{
    for (const ActionStep &step : action.steps) {
        if (step.message == 0)
            continue;
        PostMessageA(target, step.message, static_cast<WORD>(step.wParam),
                     static_cast<LPARAM>(static_cast<LONG>(step.lParam)));
    }
}

HWND WindowOrForeground(HWND window)
{
    return window ? window : GetForegroundWindow();
}

}  // namespace

bool RunButtonAction(int index)
{
    if (index < 0 || index >= ACTION_COUNT)
        return false;
    const ButtonAction &action = shared.actionTable[index];
    const ActionStep &first = action.steps[0];

    if (first.message == WM_LBUTTONDBLCLK) {
        PostMessageA(shared.parentWindow, HOOKMSG_DOUBLECLICK, 0, 0);
    } else if (first.message == START_SHELL_MESSAGE) {
        WinExec("EXPLORER.EXE", SW_SHOW);
    } else if (index == DESKTOP_HOTKEY_ROW) {
        if (HWND desktop = FindWindowA("Progman", nullptr))
            PostMessageA(desktop, WM_HOTKEY, 0, DESKTOP_HOTKEY_LPARAM);
    } else if (index == TASKBAR_KEYS_ROW) {
        PostSteps(WindowOrForeground(FindWindowA("Shell_TrayWnd", nullptr)), action);
    } else if (first.message == WM_KEYDOWN) {
        const BYTE key = static_cast<BYTE>(first.wParam);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    } else if (static_cast<WORD>(first.wParam) == SC_TASKLIST) {
        PostSteps(WindowOrForeground(FindWindowA("Shell_TrayWnd", "")), action);
    } else {
        PostSteps(GetForegroundWindow(), action);
    }
    return true;
}
