// resident_standin DLLPATH [scroll=0|1] [zoom=0|1] [index=N] [wheel=N]
//
// Stands in for the resident application in the input tests: loads the hook library,
// gives it its window, installs the four hooks system-wide handing each handle over
// at once, sets the options, and logs every message the library sends or posts to it
// (1130..1135) with both parameters. Prints "ready ..." once the hooks are in place.
//
// Options can be changed while it runs through the command files "standin.cmd.<n>"
// (see event_channel.h): a line of option words, e.g. "scroll=0 zoom=1", applied in
// the order given; "quit" unhooks and ends the program.
//
// The window is a small top-most tool window in the lower right corner of the screen,
// shown without activation, that displays the last message it got.
#include "platform.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "event_channel.h"
#include "kxhook.h"

namespace {

using HookProc = LRESULT(CALLBACK *)(int, WPARAM, LPARAM);
using HandOver = HHOOK(WINAPI *)(HHOOK);
using SetBool = BOOL(WINAPI *)(BOOL);
using SetInt = int(WINAPI *)(int);
using SetUint = UINT(WINAPI *)(UINT);
using SetWindow = HCURSOR(WINAPI *)(HWND);

constexpr UINT_PTR POLL_TIMER = 1;
constexpr UINT POLL_MILLISECONDS = 5;

HMODULE library = nullptr;
HWND window = nullptr;
HHOOK hooks[4] = {};
char lastMessage[160] = "waiting";
channel::CommandFiles commands;

template <class T> T Export(const char *name)
{
    FARPROC address = GetProcAddress(library, name);
    if (!address)
        channel::Log("FAIL export %s missing", name);
    // Through a generic pointer: the export's real type is T.
    return reinterpret_cast<T>(reinterpret_cast<void *>(address));
}

const char *MessageName(UINT message)
{
    switch (message) {
    case HOOKMSG_AUTOSCROLL: return "AUTOSCROLL";
    case HOOKMSG_ZOOMIN: return "ZOOMIN";
    case HOOKMSG_DOUBLECLICK: return "DOUBLECLICK";
    case HOOKMSG_AUTOSCROLL_END: return "AUTOSCROLL_END";
    case HOOKMSG_MODIFIER_KEY: return "MODIFIER_KEY";
    case HOOKMSG_HSCROLL_HOVER: return "HSCROLL_HOVER";
    default: return nullptr;
    }
}

// Applies "name=value" words; false on a word it does not know.
bool ApplyOptions(char *line)
{
    for (char *word = strtok(line, " \t"); word; word = strtok(nullptr, " \t")) {
        char *equals = strchr(word, '=');
        if (!equals)
            return false;
        *equals = '\0';
        const long value = strtol(equals + 1, nullptr, 0);
        if (strcmp(word, "scroll") == 0)
            Export<SetBool>("EnableScrolling")(value != 0);
        else if (strcmp(word, "zoom") == 0)
            Export<SetBool>("EnableZoomIn")(value != 0);
        else if (strcmp(word, "index") == 0)
            Export<SetInt>("SetMiddleButtonIndex")(static_cast<int>(value));
        else if (strcmp(word, "wheel") == 0)
            Export<SetUint>("SetWheelMode")(static_cast<UINT>(value));
        else
            return false;
        channel::Log("option %s=%ld", word, value);
    }
    return true;
}

void Unhook()
{
    for (HHOOK &hook : hooks) {
        if (hook)
            UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

bool HandleCommand(char *line)
{
    if (strcmp(line, "quit") == 0) {
        Unhook();
        PostQuitMessage(0);
        return true;
    }
    return ApplyOptions(line);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const char *name = MessageName(message)) {
        // Both words of each parameter as well, so the log reads without a calculator.
        channel::Log("msg %u %s wParam=0x%08lX lParam=0x%08lX wlo=%d whi=%d llo=%d lhi=%d", message, name,
                     static_cast<unsigned long>(wParam), static_cast<unsigned long>(lParam),
                     static_cast<SHORT>(LOWORD(wParam)), static_cast<SHORT>(HIWORD(wParam)),
                     static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
        snprintf(lastMessage, sizeof lastMessage, "%u %s 0x%lX 0x%lX", message, name,
                 static_cast<unsigned long>(wParam), static_cast<unsigned long>(lParam));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == POLL_TIMER) {
            commands.Poll();
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT area;
        GetClientRect(hwnd, &area);
        DrawTextA(dc, "resident stand-in", -1, &area, DT_SINGLELINE | DT_TOP | DT_LEFT);
        DrawTextA(dc, lastMessage, -1, &area, DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool InstallHooks()
{
    struct Hook {
        int type;
        const char *procName;
        const char *handOverName;
    };
    const Hook order[] = {
        {WH_MOUSE, "MouseProc", "SetMouseHookHandle"},
        {WH_KEYBOARD, "DoKeyboardHookFunc", "SetKeyboardHookHandle"},
        {WH_GETMESSAGE, "DoGetMessageHookFunc", "SetMessageHookHandle"},
        {WH_CALLWNDPROCRET, "DoCallWndProcHookFunc", "SetCallWndHookHandle"},
    };
    for (int i = 0; i < 4; ++i) {
        HookProc proc = Export<HookProc>(order[i].procName);
        HandOver handOver = Export<HandOver>(order[i].handOverName);
        if (!proc || !handOver)
            return false;
        hooks[i] = SetWindowsHookExA(order[i].type, proc, library, 0);
        if (!hooks[i]) {
            channel::Log("FAIL SetWindowsHookExA(%d, %s) error %lu", order[i].type, order[i].procName,
                         GetLastError());
            return false;
        }
        handOver(hooks[i]);
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    channel::Start();
    if (argc < 2) {
        printf("usage: resident_standin DLLPATH [scroll=0|1] [zoom=0|1] [index=N] [wheel=N]\n");
        return 2;
    }
    library = LoadLibraryA(argv[1]);
    if (!library) {
        channel::Log("FAIL LoadLibraryA %s error %lu", argv[1], GetLastError());
        return 1;
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    windowClass.lpszClassName = "KxResidentStandin";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, windowClass.lpszClassName, "resident stand-in",
                             WS_POPUP | WS_BORDER, 724, 728, 300, 40, nullptr, nullptr, windowClass.hInstance,
                             nullptr);
    if (!window) {
        channel::Log("FAIL CreateWindowExA error %lu", GetLastError());
        return 1;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);

    Export<SetWindow>("SetParentWindow")(window);
    if (!InstallHooks())
        return 1;
    const char *defaults[] = {"scroll=1", "zoom=0", "index=-1", "wheel=0"};
    for (const char *option : defaults) {
        char word[64];
        snprintf(word, sizeof word, "%s", option);
        ApplyOptions(word);
    }
    for (int i = 2; i < argc; ++i) {
        char word[64];
        snprintf(word, sizeof word, "%s", argv[i]);
        if (!ApplyOptions(word))
            channel::Log("FAIL unknown option %s", argv[i]);
    }

    commands.prefix = "standin.cmd";
    commands.handler = HandleCommand;
    SetTimer(window, POLL_TIMER, POLL_MILLISECONDS, nullptr);
    channel::Log("ready window=0x%08lX qpf=%lld", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)),
                 static_cast<long long>(channel::counterFrequency.QuadPart));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Unhook();
    channel::Log("ended");
    return 0;
}
