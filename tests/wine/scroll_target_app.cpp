// scroll_target_app: the application the input tests point the mouse and keyboard at.
//
// A top-level window at the screen's top left holds real controls at fixed places:
//   edit     multi-line edit with both scroll bars (long lines, many of them)
//   edit_v   multi-line edit with the vertical scroll bar only (wrapped lines)
//   list     list view in report mode, wider and longer than its window
//   vbar     vertical scroll-bar control
//   hbar     horizontal scroll-bar control
//   plain    a plain child window
//   browser  a window of the browser surface class "Internet Explorer_Server"
// Each window logs the mouse, cursor, keyboard, scroll and system-command messages, the
// wheel message, WM_NULL (what the library leaves of a neutralised message) and markers
// that reach its window procedure:
//   "in <window> <message> wParam=0x... lParam=0x..."   ("?" for an unnamed window)
// and at start every window's place is logged as
//   "window <name> hwnd=0x... rect=l,t,r,b client=l,t,r,b" (screen coordinates).
//
// Commands, one per line in "app.cmd.<n>" (see event_channel.h):
//   post WIN MSG WPARAM LPARAM   PostMessage to one of its windows (numbers as in C;
//                                MSG "wheel" is the registered "MSWHEEL_ROLLMSG")
//   marker WIN ID                posts a marker that the window logs as "marker ID"
//   focus WIN | foreground WIN | restore WIN | destroy WIN
//   state WIN                    logs "state WIN exists=.. zoomed=.. iconic=.. foreground=.. focus=.."
//   tree NAME COUNT X Y W H      a new top-level window with COUNT descendant windows
//                                (children holding grids of grandchildren), no scroll bars
//   windows                      logs every window's place again
#include "platform.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "event_channel.h"

namespace {

constexpr UINT WM_APP_MARKER = WM_APP + 1;
constexpr UINT_PTR POLL_TIMER = 1;
constexpr UINT POLL_MILLISECONDS = 5;

// The few list-view declarations used here (the common controls are loaded at run time).
constexpr UINT LIST_VIEW_FIRST = 0x1000;
constexpr UINT LIST_INSERT_ITEM = LIST_VIEW_FIRST + 7;
constexpr UINT LIST_SET_ITEM_TEXT = LIST_VIEW_FIRST + 46;
constexpr UINT LIST_INSERT_COLUMN = LIST_VIEW_FIRST + 27;
constexpr DWORD LIST_REPORT_STYLE = 0x0001;
constexpr UINT COLUMN_WIDTH_AND_TEXT = 0x0002 | 0x0004;
constexpr UINT ITEM_TEXT = 0x0001;

struct ListColumn {
    UINT mask;
    int format;
    int width;
    LPSTR text;
    int textMax;
    int subItem;
    int image;
    int order;
};

struct ListItem {
    UINT mask;
    int item;
    int subItem;
    UINT state;
    UINT stateMask;
    LPSTR text;
    int textMax;
    int image;
    LPARAM param;
    int indent;
};

struct Named {
    char name[24];
    HWND hwnd;
    WNDPROC original;  // for subclassed controls; null for the program's own classes
};

Named windows[32];
int windowCount = 0;
UINT wheelRollMessage = 0;
channel::CommandFiles commands;

Named *FindByName(const char *name)
{
    for (int i = 0; i < windowCount; ++i)
        if (strcmp(windows[i].name, name) == 0 && windows[i].hwnd)
            return &windows[i];
    return nullptr;
}

Named *FindByWindow(HWND hwnd)
{
    for (int i = 0; i < windowCount; ++i)
        if (windows[i].hwnd == hwnd)
            return &windows[i];
    return nullptr;
}

unsigned long Number(HWND hwnd)
{
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd));
}

void LogPlace(const Named &entry)
{
    RECT outer;
    RECT client;
    GetWindowRect(entry.hwnd, &outer);
    GetClientRect(entry.hwnd, &client);
    MapWindowPoints(entry.hwnd, nullptr, reinterpret_cast<POINT *>(&client), 2);
    channel::Log("window %s hwnd=0x%08lX rect=%ld,%ld,%ld,%ld client=%ld,%ld,%ld,%ld", entry.name, Number(entry.hwnd),
                 outer.left, outer.top, outer.right, outer.bottom, client.left, client.top, client.right,
                 client.bottom);
}

const char *InputMessageName(UINT message)
{
    switch (message) {
    case WM_NULL: return "WM_NULL";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_NCMOUSEMOVE: return "WM_NCMOUSEMOVE";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    case WM_NCLBUTTONDOWN: return "WM_NCLBUTTONDOWN";
    case WM_NCLBUTTONUP: return "WM_NCLBUTTONUP";
    case WM_NCRBUTTONDOWN: return "WM_NCRBUTTONDOWN";
    case WM_NCRBUTTONUP: return "WM_NCRBUTTONUP";
    case WM_NCMBUTTONDOWN: return "WM_NCMBUTTONDOWN";
    case WM_NCMBUTTONUP: return "WM_NCMBUTTONUP";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_VSCROLL: return "WM_VSCROLL";
    case WM_HSCROLL: return "WM_HSCROLL";
    case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    default: return message != 0 && message == wheelRollMessage ? "MSWHEEL_ROLLMSG" : nullptr;
    }
}

// Logs what reaches a window; the caller then handles the message as usual.
void LogInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Named *entry = FindByWindow(hwnd);
    const char *who = entry ? entry->name : "?";
    if (message == WM_APP_MARKER) {
        channel::Log("marker %lu in %s", static_cast<unsigned long>(wParam), who);
        return;
    }
    if (const char *name = InputMessageName(message))
        channel::Log("in %s %s wParam=0x%08lX lParam=0x%08lX", who, name, static_cast<unsigned long>(wParam),
                     static_cast<unsigned long>(lParam));
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LogInput(hwnd, message, wParam, lParam);
    const Named *entry = FindByWindow(hwnd);
    WNDPROC original = entry ? entry->original : DefWindowProcA;
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    LogInput(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_TIMER:
        if (wParam == POLL_TIMER) {
            commands.Poll();
            return 0;
        }
        break;
    case WM_PAINT:
        // The plain child and the browser surface show their names in the screenshot.
        if (const Named *entry = FindByWindow(hwnd); entry && GetParent(hwnd)) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            RECT area;
            GetClientRect(hwnd, &area);
            SetBkMode(dc, TRANSPARENT);
            DrawTextA(dc, entry->name, -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            EndPaint(hwnd, &paint);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (Named *entry = FindByWindow(hwnd); entry && strcmp(entry->name, "main") == 0)
            PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

Named *Remember(const char *name, HWND hwnd, bool subclass)
{
    if (!hwnd || windowCount >= static_cast<int>(sizeof windows / sizeof windows[0])) {
        channel::Log("FAIL window %s not created (error %lu)", name, GetLastError());
        return nullptr;
    }
    Named &entry = windows[windowCount++];
    snprintf(entry.name, sizeof entry.name, "%s", name);
    entry.hwnd = hwnd;
    entry.original = nullptr;
    if (subclass)
        entry.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    return &entry;
}

HWND Child(HWND parent, const char *className, DWORD style, int x, int y, int width, int height, DWORD exStyle = 0)
{
    return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void FillEdit(HWND edit, int lines, int width)
{
    static char text[16384];
    size_t used = 0;
    for (int line = 0; line < lines && used + width + 3 < sizeof text; ++line) {
        used += snprintf(text + used, sizeof text - used, "%03d ", line);
        for (int column = 4; column < width; ++column)
            text[used++] = static_cast<char>('a' + (line + column) % 26);
        text[used++] = '\r';
        text[used++] = '\n';
    }
    text[used] = '\0';
    SetWindowTextA(edit, text);
}

void FillList(HWND list)
{
    char heading[16];
    for (int column = 0; column < 3; ++column) {
        snprintf(heading, sizeof heading, "column %d", column);
        ListColumn header = {COLUMN_WIDTH_AND_TEXT, 0, 150, heading, 0, column, 0, 0};
        SendMessageA(list, LIST_INSERT_COLUMN, column, reinterpret_cast<LPARAM>(&header));
    }
    char text[32];
    for (int row = 0; row < 60; ++row) {
        snprintf(text, sizeof text, "row %d", row);
        ListItem item = {ITEM_TEXT, row, 0, 0, 0, text, 0, 0, 0, 0};
        SendMessageA(list, LIST_INSERT_ITEM, 0, reinterpret_cast<LPARAM>(&item));
        for (int column = 1; column < 3; ++column) {
            snprintf(text, sizeof text, "cell %d.%d", row, column);
            ListItem cell = {ITEM_TEXT, row, column, 0, 0, text, 0, 0, 0, 0};
            SendMessageA(list, LIST_SET_ITEM_TEXT, row, reinterpret_cast<LPARAM>(&cell));
        }
    }
}

const char OWN_CLASS[] = "KxTargetWindow";
const char BROWSER_CLASS[] = "Internet Explorer_Server";

// A top-level window whose area is covered by plain children, each covered by a grid of
// plain grandchildren: COUNT descendants in all, not one of them with a scroll bar.
void MakeTree(const char *name, int count, int x, int y, int width, int height)
{
    // Shown once complete: a window that shows each child as it comes paints each one.
    HWND top = CreateWindowExA(0, OWN_CLASS, name, WS_POPUP | WS_BORDER, x, y, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!Remember(name, top, false))
        return;
    const int children = count >= 100 ? 10 : 2;
    const int perChild = count / children - 1;  // grandchildren under each child
    int columns = 1;
    while (columns * columns < perChild)
        ++columns;
    const int rows = (perChild + columns - 1) / columns;
    RECT area;
    GetClientRect(top, &area);
    const int stripHeight = area.bottom / children;
    int made = 0;
    for (int c = 0; c < children; ++c) {
        HWND child = CreateWindowExA(0, OWN_CLASS, "", WS_CHILD | WS_VISIBLE, 0, c * stripHeight, area.right,
                                     stripHeight, top, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!child)
            break;
        ++made;
        const int cellWidth = area.right / columns + 1;
        const int cellHeight = stripHeight / rows + 1;
        for (int g = 0; g < perChild; ++g) {
            if (CreateWindowExA(0, OWN_CLASS, "", WS_CHILD | WS_VISIBLE, g % columns * cellWidth,
                                g / columns * cellHeight, cellWidth, cellHeight, child, nullptr,
                                GetModuleHandleA(nullptr), nullptr))
                ++made;
        }
    }
    ShowWindow(top, SW_SHOWNA);
    // Painted through now, so that no painting is left to delay the input that follows.
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    channel::Log("tree %s descendants=%d", name, made);
    LogPlace(windows[windowCount - 1]);
}

bool HandleCommand(char *line)
{
    char verb[16] = "";
    char name[24] = "";
    char message[24] = "";
    char wParam[24] = "";
    char lParam[24] = "";
    const int fields = sscanf(line, "%15s %23s %23s %23s %23s", verb, name, message, wParam, lParam);
    if (strcmp(verb, "windows") == 0) {
        for (int i = 0; i < windowCount; ++i)
            if (windows[i].hwnd)
                LogPlace(windows[i]);
        return true;
    }
    if (strcmp(verb, "tree") == 0) {
        int count = 0, x = 0, y = 0, width = 0, height = 0;
        if (sscanf(line, "%*s %*s %d %d %d %d %d", &count, &x, &y, &width, &height) != 5)
            return false;
        MakeTree(name, count, x, y, width, height);
        return true;
    }
    Named *target = fields >= 2 ? FindByName(name) : nullptr;
    if (!target)
        return false;
    HWND hwnd = target->hwnd;
    if (strcmp(verb, "post") == 0 && fields == 5) {
        const UINT number =
            strcmp(message, "wheel") == 0 ? wheelRollMessage : static_cast<UINT>(strtoul(message, nullptr, 0));
        const WPARAM w = static_cast<WPARAM>(strtol(wParam, nullptr, 0));
        const LPARAM l = static_cast<LPARAM>(strtoul(lParam, nullptr, 0));
        PostMessageA(hwnd, number, w, l);
        return true;
    }
    if (strcmp(verb, "marker") == 0 && fields == 3) {
        PostMessageA(hwnd, WM_APP_MARKER, strtoul(message, nullptr, 0), 0);
        return true;
    }
    if (strcmp(verb, "focus") == 0) {
        SetFocus(hwnd);
    } else if (strcmp(verb, "foreground") == 0) {
        SetForegroundWindow(hwnd);
    } else if (strcmp(verb, "restore") == 0) {
        ShowWindow(hwnd, SW_RESTORE);
    } else if (strcmp(verb, "destroy") == 0) {
        DestroyWindow(hwnd);
        target->hwnd = nullptr;
        return true;
    } else if (strcmp(verb, "state") != 0) {
        return false;
    }
    channel::Log("state %s exists=%d zoomed=%d iconic=%d foreground=0x%08lX focus=0x%08lX", name,
                 IsWindow(hwnd) ? 1 : 0, IsZoomed(hwnd) ? 1 : 0, IsIconic(hwnd) ? 1 : 0,
                 Number(GetForegroundWindow()), Number(GetFocus()));
    return true;
}

}  // namespace

int main()
{
    channel::Start();
    wheelRollMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    // Registers the list-view class.
    if (!LoadLibraryA("comctl32.dll"))
        channel::Log("FAIL comctl32.dll not loaded");

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA own = {};
    own.lpfnWndProc = OwnWindowProc;
    own.hInstance = instance;
    own.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    own.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    own.lpszClassName = OWN_CLASS;
    WNDCLASSA browser = own;
    browser.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    browser.lpszClassName = BROWSER_CLASS;
    if (!RegisterClassA(&own) || !RegisterClassA(&browser)) {
        channel::Log("FAIL classes not registered (error %lu)", GetLastError());
        return 1;
    }

    HWND main = CreateWindowExA(0, OWN_CLASS, "scroll target", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800,
                                540, nullptr, nullptr, instance, nullptr);
    if (!Remember("main", main, false))
        return 1;
    HWND edit = Child(main, "EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, 10, 10,
                      330, 280, WS_EX_CLIENTEDGE);
    FillEdit(edit, 80, 100);
    HWND editV = Child(main, "EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 350, 10, 200, 280, WS_EX_CLIENTEDGE);
    FillEdit(editV, 60, 60);
    HWND list = Child(main, "SysListView32", LIST_REPORT_STYLE, 560, 10, 220, 280, WS_EX_CLIENTEDGE);
    FillList(list);
    HWND vbar = Child(main, "SCROLLBAR", SBS_VERT, 10, 300, 20, 200);
    HWND hbar = Child(main, "SCROLLBAR", SBS_HORZ, 40, 300, 300, 20);
    SetScrollRange(vbar, SB_CTL, 0, 100, FALSE);
    SetScrollRange(hbar, SB_CTL, 0, 100, FALSE);
    HWND plain = Child(main, OWN_CLASS, WS_BORDER, 40, 330, 300, 170);
    HWND surface = Child(main, BROWSER_CLASS, WS_BORDER, 350, 300, 200, 200);
    Remember("edit", edit, true);
    Remember("edit_v", editV, true);
    Remember("list", list, true);
    Remember("vbar", vbar, true);
    Remember("hbar", hbar, true);
    Remember("plain", plain, false);
    Remember("browser", surface, false);

    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    SetForegroundWindow(main);
    SetFocus(edit);
    for (int i = 0; i < windowCount; ++i)
        LogPlace(windows[i]);

    commands.prefix = "app.cmd";
    commands.handler = HandleCommand;
    SetTimer(main, POLL_TIMER, POLL_MILLISECONDS, nullptr);
    channel::Log("ready main=0x%08lX foreground=0x%08lX wheelmsg=0x%X", Number(main), Number(GetForegroundWindow()),
                 wheelRollMessage);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    channel::Log("ended");
    return 0;
}
