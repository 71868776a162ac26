// Windows and messages: the window tree with its z-order, the queries on it, focus,
// capture, the foreground window and the cursor position; registered message numbers
// and sent and posted messages (logged).
//
// The rules follow what the platform does (checked under Wine):
// - WindowFromPoint takes the topmost visible top-level window containing the point,
//   then descends into visible, enabled children; a point on the screen but over no
//   window gives the desktop window; a point off the screen gives none.
// - GetParent gives the parent of a child window, the owner of a WS_POPUP window and
//   none for any other top-level window.
// - EnumChildWindows visits descendants depth first, each window before its children,
//   siblings in z-order; a window destroyed before its turn is skipped.
// - IsWindowVisible requires WS_VISIBLE on the window and all its parents.
// - Activation: creating or showing a visible top-level window, SetForegroundWindow
//   and SetFocus on a window whose top-level window is not the foreground window make
//   that top-level window the foreground window and give it the focus first; SetFocus
//   then returns the top-level window as the previous focus. Hidden and disabled
//   windows take the focus too. (One thread: every window is the caller's.)
#include "world.h"

#include <algorithm>
#include <cstring>

namespace winsim {
namespace {

constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;
constexpr const char *DESKTOP_CLASS = "#32769";

// The desktop window is window 0 of every world.
void EnsureDesktop()
{
    World &world = TheWorld();
    if (world.windows.empty())
        world.windows.push_back(Window{DESKTOP_CLASS, "", WS_VISIBLE, {0, 0, world.screenWidth, world.screenHeight},
                                       nullptr, nullptr, 0, false});
}

HWND HandleOf(std::size_t index)
{
    return MakeHandle<HWND>(WINDOW_HANDLE_BASE, index);
}

HWND Desktop()
{
    EnsureDesktop();
    return HandleOf(0);
}

bool IsDesktop(HWND window)
{
    return window == Desktop();
}

// Children of a window (the top-level windows for the desktop), topmost first.
std::vector<HWND> ChildrenInZOrder(HWND parent)
{
    const std::vector<Window> &windows = TheWorld().windows;
    std::vector<HWND> children;
    const bool desktop = IsDesktop(parent);
    for (std::size_t i = 1; i < windows.size(); ++i) {
        const Window &w = windows[i];
        if (w.destroyed)
            continue;
        const bool child = w.style & WS_CHILD;
        if (desktop ? !child : (child && w.parent == parent))
            children.push_back(HandleOf(i));
    }
    if (desktop)
        std::reverse(children.begin(), children.end());
    return children;
}

bool Contains(const RECT &rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

HWND ChildFromPoint(HWND window, POINT point)
{
    for (HWND child : ChildrenInZOrder(window)) {
        const Window &w = *FindWindowRecord(child);
        if ((w.style & WS_VISIBLE) && !(w.style & WS_DISABLED) && Contains(w.rect, point))
            return ChildFromPoint(child, point);
    }
    return window;
}

void DestroyTree(HWND window)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    w->destroyed = true;
    World &world = TheWorld();
    for (HWND *field : {&world.focus, &world.capture, &world.foreground})
        if (*field == window)
            *field = nullptr;
    for (std::size_t i = 1; i < world.windows.size(); ++i)
        if (!world.windows[i].destroyed && (world.windows[i].parent == window || world.windows[i].owner == window))
            DestroyTree(HandleOf(i));
}

// Each window's children are listed before the callback runs for it, as the platform
// does; windows destroyed before their turn are skipped.
bool EnumList(const std::vector<HWND> &list, WNDENUMPROC proc, LPARAM lParam)
{
    for (HWND window : list) {
        if (!FindWindowRecord(window))
            continue;
        const std::vector<HWND> children = ChildrenInZOrder(window);
        if (!proc(window, lParam))
            return false;
        if (!EnumList(children, proc, lParam))
            return false;
    }
    return true;
}

// The top-level window of a window: up the parents, not the owners.
HWND TopLevelOf(HWND window)
{
    for (const Window *w = FindWindowRecord(window); w && (w->style & WS_CHILD); w = FindWindowRecord(window))
        window = w->parent;
    return window;
}

void Activate(HWND topLevel)
{
    World &world = TheWorld();
    world.foreground = topLevel;
    world.focus = topLevel;
}

}  // namespace

Window *FindWindowRecord(HWND window)
{
    EnsureDesktop();
    std::size_t index;
    if (!HandleIndex(window, WINDOW_HANDLE_BASE, TheWorld().windows.size(), &index))
        return nullptr;
    Window &w = TheWorld().windows[index];
    return w.destroyed ? nullptr : &w;
}

// Created without activation: the foreground window and the focus stay as they were.
HWND CreateTopLevelWindow(const char *className, const char *title)
{
    World &world = TheWorld();
    const HWND foreground = world.foreground, focus = world.focus;
    HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    world.foreground = foreground;
    world.focus = focus;
    return window;
}

void SetForegroundWindowForTest(HWND window)
{
    TheWorld().foreground = window;
}

void PutCursor(POINT position)
{
    TheWorld().cursorPos = position;
}

void SetCallObserver(std::function<void(const Call &)> observer)
{
    TheWorld().observer = std::move(observer);
}

}  // namespace winsim

using namespace winsim;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID)
{
    Log("CreateWindowExA", {exStyle, style, static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y),
                            static_cast<std::uintptr_t>(width), static_cast<std::uintptr_t>(height), Arg(parent),
                            Arg(menu), Arg(instance)},
        className);
    EnsureDesktop();
    if (!className || !*className)
        return nullptr;
    Window w{className, windowName ? windowName : "", style, {x, y, x + width, y + height}, nullptr, nullptr, 0, false};
    if (style & WS_CHILD) {
        const Window *p = FindWindowRecord(parent);
        if (!p || IsDesktop(parent))
            return nullptr;
        w.parent = parent;
        w.rect = {p->rect.left + x, p->rect.top + y, p->rect.left + x + width, p->rect.top + y + height};
        w.id = static_cast<int>(reinterpret_cast<std::uintptr_t>(menu));
    } else if (parent && !IsDesktop(parent)) {
        // The owner of a top-level window is always a top-level window.
        HWND owner = parent;
        while (FindWindowRecord(owner) && (FindWindowRecord(owner)->style & WS_CHILD))
            owner = FindWindowRecord(owner)->parent;
        if (!FindWindowRecord(owner))
            return nullptr;
        w.owner = owner;
    }
    TheWorld().windows.push_back(w);
    HWND window = HandleOf(TheWorld().windows.size() - 1);
    if (!(style & WS_CHILD) && (style & WS_VISIBLE))
        Activate(window);
    return window;
}

BOOL DestroyWindow(HWND window)
{
    Log("DestroyWindow", {Arg(window)});
    if (!FindWindowRecord(window) || IsDesktop(window))
        return FALSE;
    DestroyTree(window);
    return TRUE;
}

BOOL IsWindow(HWND window)
{
    Log("IsWindow", {Arg(window)});
    return FindWindowRecord(window) != nullptr;
}

BOOL IsWindowVisible(HWND window)
{
    Log("IsWindowVisible", {Arg(window)});
    for (const Window *w = FindWindowRecord(window); w; w = (w->style & WS_CHILD) ? FindWindowRecord(w->parent) : nullptr)
        if (!(w->style & WS_VISIBLE))
            return FALSE;
    return FindWindowRecord(window) != nullptr;
}

BOOL IsWindowEnabled(HWND window)
{
    Log("IsWindowEnabled", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    return w && !(w->style & WS_DISABLED);
}

// Returns whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable)
{
    Log("EnableWindow", {Arg(window), static_cast<std::uintptr_t>(enable)});
    Window *w = FindWindowRecord(window);
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    w->style = enable ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
    return wasDisabled;
}

// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int show)
{
    Log("ShowWindow", {Arg(window), static_cast<std::uintptr_t>(show)});
    Window *w = FindWindowRecord(window);
    if (!w)
        return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) != 0;
    w->style = show == SW_HIDE ? (w->style & ~WS_VISIBLE) : (w->style | WS_VISIBLE);
    if (show != SW_HIDE && !(w->style & WS_CHILD))
        Activate(window);
    return wasVisible;
}

HWND GetParent(HWND window)
{
    Log("GetParent", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w)
        return nullptr;
    if (w->style & WS_CHILD)
        return w->parent;
    if (w->style & WS_POPUP)
        return w->owner;
    return nullptr;
}

HWND GetDesktopWindow(void)
{
    Log("GetDesktopWindow", {});
    return Desktop();
}

// Copies at most size - 1 characters and a terminator; returns the count copied. A
// window that does not exist leaves the buffer untouched and gives 0.
int GetClassNameA(HWND window, LPSTR buffer, int size)
{
    Log("GetClassNameA", {Arg(window), static_cast<std::uintptr_t>(size)});
    const Window *w = FindWindowRecord(window);
    if (!w || !buffer || size <= 0)
        return 0;
    const std::size_t count = std::min(w->className.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, w->className.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

LONG GetWindowLongA(HWND window, int index)
{
    Log("GetWindowLongA", {Arg(window), static_cast<std::uintptr_t>(index)});
    const Window *w = FindWindowRecord(window);
    if (!w || index != GWL_STYLE)
        return 0;
    return static_cast<LONG>(w->style);
}

BOOL GetWindowRect(HWND window, RECT *rect)
{
    Log("GetWindowRect", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w || !rect)
        return FALSE;
    *rect = w->rect;
    return TRUE;
}

// Windows have no frames: the client area starts at the window's top-left corner.
BOOL ScreenToClient(HWND window, POINT *point)
{
    Log("ScreenToClient", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w || !point)
        return FALSE;
    point->x -= w->rect.left;
    point->y -= w->rect.top;
    return TRUE;
}

BOOL PtInRect(const RECT *rect, POINT point)
{
    Log("PtInRect", {static_cast<std::uintptr_t>(point.x), static_cast<std::uintptr_t>(point.y)});
    return rect && Contains(*rect, point);
}

HWND WindowFromPoint(POINT point)
{
    Log("WindowFromPoint", {static_cast<std::uintptr_t>(point.x), static_cast<std::uintptr_t>(point.y)});
    const Window &desktop = *FindWindowRecord(Desktop());
    if (!Contains(desktop.rect, point))
        return nullptr;
    for (HWND top : ChildrenInZOrder(Desktop())) {
        const Window &w = *FindWindowRecord(top);
        if ((w.style & WS_VISIBLE) && Contains(w.rect, point))
            return ChildFromPoint(top, point);
    }
    return Desktop();
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    Log("EnumChildWindows", {Arg(parent), static_cast<std::uintptr_t>(lParam)});
    if (!FindWindowRecord(parent ? parent : Desktop()) || !proc)
        return FALSE;
    return EnumList(ChildrenInZOrder(parent ? parent : Desktop()), proc, lParam);
}

// Top-level windows in z-order; a null class or title matches any, and both compare
// without regard to case. An empty title matches only an empty title.
HWND FindWindowA(LPCSTR className, LPCSTR windowName)
{
    Log("FindWindowA", {Arg(className), Arg(windowName)},
        (std::string(className ? className : "<null>") + "|" + (windowName ? windowName : "<null>")).c_str());
    for (HWND top : ChildrenInZOrder(Desktop())) {
        const Window &w = *FindWindowRecord(top);
        if (className && !SameText(w.className, className))
            continue;
        if (windowName && !SameText(w.title, windowName))
            continue;
        return top;
    }
    return nullptr;
}

HWND GetForegroundWindow(void)
{
    Log("GetForegroundWindow", {});
    return TheWorld().foreground;
}

BOOL SetForegroundWindow(HWND window)
{
    Log("SetForegroundWindow", {Arg(window)});
    if (!FindWindowRecord(window))
        return FALSE;
    Activate(TopLevelOf(window));
    return TRUE;
}

HWND GetFocus(void)
{
    Log("GetFocus", {});
    return TheWorld().focus;
}

// Returns the window that had the focus (after any activation); a window that does
// not exist changes nothing.
HWND SetFocus(HWND window)
{
    Log("SetFocus", {Arg(window)});
    World &world = TheWorld();
    if (window && !FindWindowRecord(window))
        return nullptr;
    if (window && TopLevelOf(window) != world.foreground)
        Activate(TopLevelOf(window));
    const HWND previous = world.focus;
    world.focus = window;
    return previous;
}

HWND GetCapture(void)
{
    Log("GetCapture", {});
    return TheWorld().capture;
}

HWND SetCapture(HWND window)
{
    Log("SetCapture", {Arg(window)});
    World &world = TheWorld();
    const HWND previous = world.capture;
    if (FindWindowRecord(window))
        world.capture = window;
    return previous;
}

BOOL ReleaseCapture(void)
{
    Log("ReleaseCapture", {});
    TheWorld().capture = nullptr;
    return TRUE;
}

BOOL GetCursorPos(POINT *point)
{
    Log("GetCursorPos", {});
    if (!point)
        return FALSE;
    *point = TheWorld().cursorPos;
    return TRUE;
}

// The position is kept on the screen, as the platform clips it.
BOOL SetCursorPos(int x, int y)
{
    Log("SetCursorPos", {static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y)});
    World &world = TheWorld();
    world.cursorPos = {std::clamp<LONG>(x, 0, world.screenWidth - 1), std::clamp<LONG>(y, 0, world.screenHeight - 1)};
    return TRUE;
}

// Names are matched without regard to case; the same name always gives the same
// number, from 0xC000 up. A null or empty name fails with 0.
UINT RegisterWindowMessageA(LPCSTR name)
{
    Log("RegisterWindowMessageA", {}, name);
    if (!name || !*name)
        return 0;
    std::vector<std::string> &names = TheWorld().registeredMessages;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name))
            return FIRST_REGISTERED_MESSAGE + static_cast<UINT>(i);
    names.push_back(name);
    return FIRST_REGISTERED_MESSAGE + static_cast<UINT>(names.size() - 1);
}

// No window procedures are simulated yet: a sent message is logged and answered 0.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("SendMessageA", {Arg(window), message, wParam, static_cast<std::uintptr_t>(lParam)});
    return 0;
}

// A null window posts to the calling thread's own queue; an unknown window fails.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("PostMessageA", {Arg(window), message, wParam, static_cast<std::uintptr_t>(lParam)});
    return window == nullptr || FindWindowRecord(window) != nullptr;
}
