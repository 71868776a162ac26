// Windows: the window tree with its z-order, frames and client areas, creation and
// destruction with their messages, the queries on the tree, focus, capture, the
// foreground window, window text and position, and the cursor position.
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
//   windows take the focus too. (One thread: every window is the caller's.) A dialog
//   that becomes active gives the focus to its first tab stop instead, unless the
//   focus is already inside it.
// - Z-order: among top-level windows the later created lies on top; among siblings the
//   earlier created lies on top (as child controls are created in tab order).
//   SetWindowPos(HWND_TOP) lifts a window to the top of its siblings, HWND_TOPMOST
//   above every window that is not topmost.
// - Frames: WS_CAPTION adds a 19-pixel caption; WS_THICKFRAME a 4-pixel frame, a
//   dialog frame (WS_DLGFRAME, WS_EX_DLGMODALFRAME) 3 pixels, WS_BORDER alone 1 pixel;
//   WS_EX_CLIENTEDGE adds 2, WS_EX_STATICEDGE 1. Only styles given explicitly count:
//   a bare WS_OVERLAPPED window has no frame here (the platform gives it a caption).
// - CreateWindowExA sends WM_NCCREATE (FALSE fails the creation), WM_CREATE (-1
//   destroys the window and fails), WM_SIZE and WM_MOVE, then shows a WS_VISIBLE
//   window (WM_SHOWWINDOW, erased at once, painted later through the queue).
//   CW_USEDEFAULT gives an overlapped window the position 0, 0 and three quarters of
//   the screen, a popup or child window 0 for both.
// - DestroyWindow destroys the windows the window owns first, then sends WM_DESTROY to
//   the window and its descendants (parents first), then WM_NCDESTROY (children
//   first). Messages posted to a destroyed window are dropped.
#include "world.h"

#include <algorithm>
#include <cstring>

namespace winsim {
namespace {

constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;
constexpr const char *DESKTOP_CLASS = "#32769";
constexpr LONG CAPTION_HEIGHT = 19;
constexpr LONG THICK_FRAME = 4;
constexpr LONG DIALOG_FRAME = 3;

// The desktop window is window 0 of every world.
void EnsureDesktop()
{
    World &world = TheWorld();
    if (world.windows.empty()) {
        const RECT screen = {0, 0, world.screenWidth, world.screenHeight};
        Window desktop{DESKTOP_CLASS, "", WS_VISIBLE, screen, nullptr, nullptr, 0, false};
        desktop.client = screen;
        world.windows.push_back(desktop);
    }
}

HWND HandleOf(std::size_t index)
{
    return MakeHandle<HWND>(WINDOW_HANDLE_BASE, index);
}

bool IsDesktop(HWND window)
{
    return window == DesktopWindow();
}

bool Contains(const RECT &rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

HWND ChildFromPoint(HWND window, POINT point)
{
    for (HWND child : ChildWindows(window)) {
        const Window &w = *FindWindowRecord(child);
        if ((w.style & WS_VISIBLE) && !(w.style & WS_DISABLED) && Contains(w.rect, point))
            return ChildFromPoint(child, point);
    }
    return window;
}

// Each window's children are listed before the callback runs for it, as the platform
// does; windows destroyed before their turn are skipped.
bool EnumList(const std::vector<HWND> &list, WNDENUMPROC proc, LPARAM lParam)
{
    for (HWND window : list) {
        if (!FindWindowRecord(window))
            continue;
        const std::vector<HWND> children = ChildWindows(window);
        if (!proc(window, lParam))
            return false;
        if (!EnumList(children, proc, lParam))
            return false;
    }
    return true;
}

// Moves the focus, with WM_KILLFOCUS to the window losing it and WM_SETFOCUS to the
// window taking it.
void MoveFocus(HWND window)
{
    World &world = TheWorld();
    const HWND previous = world.focus;
    if (previous == window)
        return;
    world.focus = window;
    if (previous && FindWindowRecord(previous))
        Deliver(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && world.focus == window)
        Deliver(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

void Activate(HWND topLevel)
{
    World &world = TheWorld();
    world.foreground = topLevel;
    if (DialogOf(topLevel)) {
        if (world.focus && IsDescendant(topLevel, world.focus))
            return;
        const HWND first = NextTabItem(topLevel, nullptr, false);
        MoveFocus(first ? first : topLevel);
        return;
    }
    MoveFocus(topLevel);
}

void MarkDestroyed(HWND window)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    w->destroyed = true;
    World &world = TheWorld();
    for (HWND *field : {&world.focus, &world.capture, &world.foreground})
        if (*field == window)
            *field = nullptr;
    std::erase_if(world.queue, [window](const MSG &msg) { return msg.hwnd == window; });
}

void SendDestroy(HWND window)
{
    if (!FindWindowRecord(window))
        return;
    FindWindowRecord(window)->destroying = true;
    Deliver(window, WM_DESTROY, 0, 0);
    for (HWND child : ChildWindows(window))
        SendDestroy(child);
}

void SendNcDestroy(HWND window)
{
    if (!FindWindowRecord(window))
        return;
    for (HWND child : ChildWindows(window))
        SendNcDestroy(child);
    Deliver(window, WM_NCDESTROY, 0, 0);
    MarkDestroyed(window);
}

RECT Deflate(RECT rect, const RECT &frame)
{
    rect.left += frame.left;
    rect.top += frame.top;
    rect.right = std::max(rect.left, rect.right - frame.right);
    rect.bottom = std::max(rect.top, rect.bottom - frame.bottom);
    return rect;
}

void ResizeSurface(Window &w)
{
    Surface &surface = w.surface;
    const int width = w.client.right - w.client.left, height = w.client.bottom - w.client.top;
    if (surface.width == width && surface.height == height)
        return;
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < std::min(height, surface.height); ++y)
        for (int x = 0; x < std::min(width, surface.width); ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = surface.pixels[static_cast<std::size_t>(y) * surface.width + x];
    surface = Surface{width, height, std::move(pixels)};
}

void Offset(HWND window, LONG dx, LONG dy)
{
    for (HWND child : ChildWindows(window)) {
        Window &c = *FindWindowRecord(child);
        c.rect = {c.rect.left + dx, c.rect.top + dy, c.rect.right + dx, c.rect.bottom + dy};
        c.client = {c.client.left + dx, c.client.top + dy, c.client.right + dx, c.client.bottom + dy};
        Offset(child, dx, dy);
    }
}

// The position WM_MOVE reports: the client origin, relative to the parent's client area
// for a child window.
LPARAM MovePosition(const Window &w)
{
    POINT origin = {w.client.left, w.client.top};
    if ((w.style & WS_CHILD) && FindWindowRecord(w.parent)) {
        origin.x -= FindWindowRecord(w.parent)->client.left;
        origin.y -= FindWindowRecord(w.parent)->client.top;
    }
    return MAKELPARAM(origin.x, origin.y);
}

LPARAM ClientSize(const Window &w)
{
    return MAKELPARAM(w.client.right - w.client.left, w.client.bottom - w.client.top);
}

}  // namespace

HWND DesktopWindow()
{
    EnsureDesktop();
    return HandleOf(0);
}

Window *FindWindowRecord(HWND window)
{
    EnsureDesktop();
    std::size_t index;
    if (!HandleIndex(window, WINDOW_HANDLE_BASE, TheWorld().windows.size(), &index))
        return nullptr;
    Window &w = TheWorld().windows[index];
    return w.destroyed ? nullptr : &w;
}

// Children of a window (the top-level windows for the desktop), topmost first: topmost
// windows above the others, then by z key, higher first; equal keys by creation order.
std::vector<HWND> ChildWindows(HWND parent)
{
    const HWND desktop = DesktopWindow();
    const std::vector<Window> &windows = TheWorld().windows;
    std::vector<std::size_t> children;
    const bool ofDesktop = parent == desktop;
    for (std::size_t i = 1; i < windows.size(); ++i) {
        const Window &w = windows[i];
        if (w.destroyed)
            continue;
        const bool child = w.style & WS_CHILD;
        if (ofDesktop ? !child : (child && w.parent == parent))
            children.push_back(i);
    }
    std::stable_sort(children.begin(), children.end(), [&](std::size_t a, std::size_t b) {
        const bool topA = windows[a].exStyle & WS_EX_TOPMOST, topB = windows[b].exStyle & WS_EX_TOPMOST;
        if (topA != topB)
            return topA;
        return windows[a].z > windows[b].z;
    });
    std::vector<HWND> handles;
    for (std::size_t i : children)
        handles.push_back(HandleOf(i));
    return handles;
}

bool IsDescendant(HWND ancestor, HWND window)
{
    for (const Window *w = FindWindowRecord(window); w && (w->style & WS_CHILD); w = FindWindowRecord(window)) {
        window = w->parent;
        if (window == ancestor)
            return true;
    }
    return false;
}

// The top-level window of a window: up the parents, not the owners.
HWND TopLevelWindowOf(HWND window)
{
    for (const Window *w = FindWindowRecord(window); w && (w->style & WS_CHILD); w = FindWindowRecord(window))
        window = w->parent;
    return window;
}

bool IsVisibleInternal(HWND window)
{
    for (const Window *w = FindWindowRecord(window); w; w = (w->style & WS_CHILD) ? FindWindowRecord(w->parent) : nullptr)
        if (!(w->style & WS_VISIBLE))
            return false;
    return FindWindowRecord(window) != nullptr;
}

RECT FrameOf(DWORD style, DWORD exStyle)
{
    LONG border = 0;
    if (style & WS_THICKFRAME)
        border = THICK_FRAME;
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
        border = DIALOG_FRAME;
    else if (style & WS_BORDER)
        border = 1;
    if (exStyle & WS_EX_CLIENTEDGE)
        border += 2;
    if (exStyle & WS_EX_STATICEDGE)
        border += 1;
    const LONG caption = (style & WS_CAPTION) == WS_CAPTION ? CAPTION_HEIGHT : 0;
    return RECT{border, border + caption, border, border};
}

void PlaceWindow(HWND window, RECT rect)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    const RECT client = Deflate(rect, FrameOf(w->style, w->exStyle));
    const LONG dx = client.left - w->client.left, dy = client.top - w->client.top;
    w->rect = rect;
    w->client = client;
    ResizeSurface(*w);
    if (dx || dy)
        Offset(window, dx, dy);
}

HWND CreateWindowInternal(DWORD exStyle, const char *className, const char *title, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    World &world = TheWorld();
    EnsureDesktop();
    std::shared_ptr<DialogInfo> dialog = std::move(world.pendingDialog);
    world.pendingDialog.reset();
    if (!className || (!IS_INTRESOURCE(className) && !*className))
        return nullptr;
    const WindowClass *windowClass = FindClass(className, instance);
    if (IS_INTRESOURCE(className) && !windowClass)
        return nullptr;

    const bool child = style & WS_CHILD;
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = overlapped ? world.screenWidth * 3 / 4 : 0;
        height = overlapped ? world.screenHeight * 3 / 4 : 0;
    }
    // The class name keeps the case the caller gave (the hook's class tests rely on it).
    Window w{IS_INTRESOURCE(className) ? windowClass->name : std::string(className), "", style, {x, y, x + width, y + height}, nullptr, nullptr, 0,
             false};
    w.exStyle = exStyle;
    w.windowClass = windowClass;
    w.proc = windowClass ? windowClass->proc : nullptr;
    w.instance = instance;
    w.dialog = std::move(dialog);
    if (child) {
        const Window *p = FindWindowRecord(parent);
        if (!p || IsDesktop(parent))
            return nullptr;
        w.parent = parent;
        w.rect = {p->client.left + x, p->client.top + y, p->client.left + x + width, p->client.top + y + height};
        w.id = static_cast<int>(reinterpret_cast<std::uintptr_t>(menu));
        w.z = --world.childZ;
    } else {
        if (parent && !IsDesktop(parent)) {
            // The owner of a top-level window is always a top-level window.
            const HWND owner = TopLevelWindowOf(parent);
            if (!FindWindowRecord(owner))
                return nullptr;
            w.owner = owner;
        }
        w.z = ++world.topZ;
    }
    w.client = Deflate(w.rect, FrameOf(w.style, w.exStyle));
    if (!w.proc) {
        // A window of no registered class: no messages, visible at once.
        w.title = title && !IS_INTRESOURCE(title) ? title : "";
        world.windows.push_back(w);
        const HWND window = HandleOf(world.windows.size() - 1);
        if (!child && (style & WS_VISIBLE))
            Activate(window);
        return window;
    }

    w.style &= ~WS_VISIBLE;
    world.windows.push_back(w);
    const HWND window = HandleOf(world.windows.size() - 1);
    CREATESTRUCTA create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), title,
                         className, exStyle};
    if (!Deliver(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        MarkDestroyed(window);
        return nullptr;
    }
    if (Window *created = FindWindowRecord(window))
        created->client = Deflate(created->rect, FrameOf(created->style, created->exStyle));
    if (Deliver(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindowInternal(window);
        return nullptr;
    }
    if (!FindWindowRecord(window))
        return nullptr;
    Deliver(window, WM_SIZE, SIZE_RESTORED, ClientSize(*FindWindowRecord(window)));
    if (FindWindowRecord(window))
        Deliver(window, WM_MOVE, 0, MovePosition(*FindWindowRecord(window)));
    if (FindWindowRecord(window) && (style & WS_VISIBLE))
        ShowWindowInternal(window, true, !child);
    return FindWindowRecord(window) ? window : nullptr;
}

void DestroyWindowInternal(HWND window)
{
    Window *w = FindWindowRecord(window);
    if (!w || w->destroying || IsDesktop(window))
        return;
    w->destroying = true;
    const std::vector<Window> &windows = TheWorld().windows;
    for (std::size_t i = 1; i < windows.size(); ++i)
        if (!windows[i].destroyed && windows[i].owner == window && !(windows[i].style & WS_CHILD))
            DestroyWindowInternal(HandleOf(i));
    if (!w->proc) {
        // No messages to send: the window and its descendants simply go.
        std::vector<HWND> all{window};
        for (std::size_t i = 0; i < all.size(); ++i)
            for (HWND child : ChildWindows(all[i]))
                all.push_back(child);
        for (HWND each : all)
            MarkDestroyed(each);
        return;
    }
    SendDestroy(window);
    SendNcDestroy(window);
}

void ShowWindowInternal(HWND window, bool show, bool activate)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    const bool wasVisible = w->style & WS_VISIBLE;
    if (show != wasVisible && w->proc)
        Deliver(window, WM_SHOWWINDOW, show, 0);
    if (!(w = FindWindowRecord(window)))
        return;
    w->style = show ? (w->style | WS_VISIBLE) : (w->style & ~WS_VISIBLE);
    if (show && activate && !(w->style & WS_CHILD))
        Activate(window);
    if (show && !wasVisible && FindWindowRecord(window)) {
        Invalidate(window, nullptr, true);
        if (IsVisibleInternal(window))
            EraseNow(window);
    }
}

void ActivateInternal(HWND topLevel)
{
    if (FindWindowRecord(topLevel))
        Activate(TopLevelWindowOf(topLevel));
}

HWND SetFocusInternal(HWND window)
{
    World &world = TheWorld();
    if (window && !FindWindowRecord(window))
        return nullptr;
    if (window && TopLevelWindowOf(window) != world.foreground)
        Activate(TopLevelWindowOf(window));
    const HWND previous = world.focus;
    MoveFocus(window);
    return previous;
}

void EnableWindowInternal(HWND window, bool enable)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    const bool wasEnabled = !(w->style & WS_DISABLED);
    w->style = enable ? (w->style & ~WS_DISABLED) : (w->style | WS_DISABLED);
    if (wasEnabled != enable) {
        if (!enable && TheWorld().focus && (TheWorld().focus == window || IsDescendant(window, TheWorld().focus)))
            MoveFocus(nullptr);
        Deliver(window, WM_ENABLE, enable, 0);
        Invalidate(window, nullptr, true);
    }
}

void SetTextInternal(HWND window, const std::string &text)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return;
    if (!w->proc) {
        w->title = text;
        return;
    }
    Deliver(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string GetTextInternal(HWND window)
{
    const Window *w = FindWindowRecord(window);
    if (!w)
        return "";
    if (!w->proc)
        return w->title;
    const LRESULT length = Deliver(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    const LRESULT got = Deliver(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, static_cast<LRESULT>(text.size()) - 1)));
    return text;
}

void NotifyParent(HWND control, WORD code)
{
    const Window *w = FindWindowRecord(control);
    if (!w || !(w->style & WS_CHILD))
        return;
    Deliver(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
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

void SetScreenSize(LONG width, LONG height)
{
    World &world = TheWorld();
    world.screenWidth = width;
    world.screenHeight = height;
    if (!world.windows.empty())
        world.windows[0].rect = world.windows[0].client = RECT{0, 0, width, height};
}

}  // namespace winsim

using namespace winsim;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    Log("CreateWindowExA", {exStyle, style, static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y),
                            static_cast<std::uintptr_t>(width), static_cast<std::uintptr_t>(height), Arg(parent),
                            Arg(menu), Arg(instance)},
        IS_INTRESOURCE(className) ? nullptr : className);
    return CreateWindowInternal(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,
                                param);
}

BOOL DestroyWindow(HWND window)
{
    Log("DestroyWindow", {Arg(window)});
    if (!FindWindowRecord(window) || IsDesktop(window)) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DestroyWindowInternal(window);
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
    return IsVisibleInternal(window);
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
    EnableWindowInternal(window, enable);
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
    ShowWindowInternal(window, show != SW_HIDE, show != SW_SHOWNA);
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
    return DesktopWindow();
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
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    default:
        return 0;
    }
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

BOOL GetClientRect(HWND window, RECT *rect)
{
    Log("GetClientRect", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT *point)
{
    Log("ScreenToClient", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w || !point)
        return FALSE;
    point->x -= w->client.left;
    point->y -= w->client.top;
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT *point)
{
    Log("ClientToScreen", {Arg(window)});
    const Window *w = FindWindowRecord(window);
    if (!w || !point)
        return FALSE;
    point->x += w->client.left;
    point->y += w->client.top;
    return TRUE;
}

// Top-level windows take screen coordinates, child windows their parent's client
// coordinates. A move sends WM_MOVE, a new size WM_SIZE and invalidates the window.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Log("SetWindowPos", {Arg(window), Arg(insertAfter), static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y),
                         static_cast<std::uintptr_t>(width), static_cast<std::uintptr_t>(height), flags});
    World &world = TheWorld();
    Window *w = FindWindowRecord(window);
    if (!w || IsDesktop(window)) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT rect = w->rect;
    if (!(flags & SWP_NOMOVE)) {
        POINT origin = {0, 0};
        if ((w->style & WS_CHILD) && FindWindowRecord(w->parent))
            origin = {FindWindowRecord(w->parent)->client.left, FindWindowRecord(w->parent)->client.top};
        rect = {origin.x + x, origin.y + y, origin.x + x + (rect.right - rect.left),
                origin.y + y + (rect.bottom - rect.top)};
    }
    if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(width, 0);
        rect.bottom = rect.top + std::max(height, 0);
    }
    const bool moved = rect.left != w->rect.left || rect.top != w->rect.top;
    const bool sized = rect.right - rect.left != w->rect.right - w->rect.left ||
                       rect.bottom - rect.top != w->rect.bottom - w->rect.top;
    if (!(flags & SWP_NOZORDER)) {
        const bool child = w->style & WS_CHILD;
        if (insertAfter == HWND_TOPMOST && !child)
            w->exStyle |= WS_EX_TOPMOST;
        if (insertAfter == HWND_NOTOPMOST && !child)
            w->exStyle &= ~WS_EX_TOPMOST;
        if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
            w->z = child ? ++world.childTopZ : ++world.topZ;
        else if (insertAfter == HWND_BOTTOM) {
            std::int64_t lowest = w->z;
            for (HWND sibling : ChildWindows(child ? w->parent : DesktopWindow()))
                lowest = std::min(lowest, FindWindowRecord(sibling)->z);
            w->z = lowest - 1;
        } else if (const Window *after = FindWindowRecord(insertAfter))
            w->z = after->z - 1;
    }
    PlaceWindow(window, rect);
    if (sized && !(flags & SWP_NOREDRAW))
        Invalidate(window, nullptr, true);
    if (FindWindowRecord(window) && moved)
        Deliver(window, WM_MOVE, 0, MovePosition(*FindWindowRecord(window)));
    if (FindWindowRecord(window) && sized)
        Deliver(window, WM_SIZE, SIZE_RESTORED, ClientSize(*FindWindowRecord(window)));
    if (flags & SWP_SHOWWINDOW)
        ShowWindowInternal(window, true, false);
    if (flags & SWP_HIDEWINDOW)
        ShowWindowInternal(window, false, false);
    w = FindWindowRecord(window);
    if (w && !(flags & SWP_NOACTIVATE) && !(w->style & WS_CHILD) && (w->style & WS_VISIBLE))
        Activate(window);
    return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    Log("SetWindowTextA", {Arg(window)}, text);
    if (!FindWindowRecord(window)) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SetTextInternal(window, text ? text : "");
    return TRUE;
}

// Copies at most size - 1 characters and a terminator (WM_GETTEXT for a window with a
// procedure); returns the count copied.
int GetWindowTextA(HWND window, LPSTR buffer, int size)
{
    Log("GetWindowTextA", {Arg(window), static_cast<std::uintptr_t>(size)});
    const Window *w = FindWindowRecord(window);
    if (!w || !buffer || size <= 0)
        return 0;
    if (w->proc)
        return static_cast<int>(Deliver(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
    const std::size_t count = std::min(w->title.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, w->title.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

// The metrics of the platform's classic look under Wine: a 19-pixel caption, 3-pixel
// dialog frames, 1-pixel borders, 2-pixel edges, 32-pixel icons and cursors.
int GetSystemMetrics(int index)
{
    Log("GetSystemMetrics", {static_cast<std::uintptr_t>(index)});
    const World &world = TheWorld();
    switch (index) {
    case SM_CXSCREEN:
        return world.screenWidth;
    case SM_CYSCREEN:
        return world.screenHeight;
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    default:
        return 0;
    }
}

BOOL PtInRect(const RECT *rect, POINT point)
{
    Log("PtInRect", {static_cast<std::uintptr_t>(point.x), static_cast<std::uintptr_t>(point.y)});
    return rect && Contains(*rect, point);
}

HWND WindowFromPoint(POINT point)
{
    Log("WindowFromPoint", {static_cast<std::uintptr_t>(point.x), static_cast<std::uintptr_t>(point.y)});
    const HWND desktop = DesktopWindow();
    if (!Contains(FindWindowRecord(desktop)->rect, point))
        return nullptr;
    for (HWND top : ChildWindows(desktop)) {
        const Window &w = *FindWindowRecord(top);
        if ((w.style & WS_VISIBLE) && Contains(w.rect, point))
            return ChildFromPoint(top, point);
    }
    return desktop;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    Log("EnumChildWindows", {Arg(parent), static_cast<std::uintptr_t>(lParam)});
    const HWND from = parent ? parent : DesktopWindow();
    if (!FindWindowRecord(from) || !proc)
        return FALSE;
    return EnumList(ChildWindows(from), proc, lParam);
}

// Top-level windows in z-order; a null class or title matches any, and both compare
// without regard to case. An empty title matches only an empty title.
HWND FindWindowA(LPCSTR className, LPCSTR windowName)
{
    Log("FindWindowA", {Arg(className), Arg(windowName)},
        (std::string(className ? className : "<null>") + "|" + (windowName ? windowName : "<null>")).c_str());
    for (HWND top : ChildWindows(DesktopWindow())) {
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
    Activate(TopLevelWindowOf(window));
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
    return SetFocusInternal(window);
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
    return RegisterMessageInternal(name);
}

UINT winsim::RegisterMessageInternal(const char *name)
{
    if (!name || !*name)
        return 0;
    std::vector<std::string> &names = TheWorld().registeredMessages;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name))
            return FIRST_REGISTERED_MESSAGE + static_cast<UINT>(i);
    names.push_back(name);
    return FIRST_REGISTERED_MESSAGE + static_cast<UINT>(names.size() - 1);
}
