// Window classes and messages: RegisterClassA, sending and posting, the thread's queue
// with GetMessageA and PeekMessageA, DefWindowProcA, and the painting machinery
// (invalid regions, WM_PAINT, BeginPaint and EndPaint).
//
// The rules follow what the platform does (checked under Wine):
// - Registering a class name again for the same module fails with
//   ERROR_CLASS_ALREADY_EXISTS.
// - The queue gives posted messages first, in the order posted (messages for windows
//   and thread messages alike), then WM_QUIT once PostQuitMessage has been called, then
//   WM_PAINT for a visible window with an invalid region (parents before children).
//   WM_PAINT stays until the region is validated: a window procedure that does not call
//   BeginPaint (or DefWindowProcA) gets it again and again.
// - PeekMessageA with PM_NOREMOVE leaves the message in the queue.
// - TranslateMessage posts WM_CHAR for a key that types a character (letters in lower
//   case: no shift state is simulated); it answers nonzero for every key message.
// - DefWindowProcA: WM_CLOSE destroys the window; WM_NCCREATE sets the window text
//   from CREATESTRUCTA; WM_SETTEXT, WM_GETTEXT (cut to the size - 1) and
//   WM_GETTEXTLENGTH work on it; WM_ERASEBKGND fills the client area with the class
//   brush; WM_PAINT validates; WM_SETCURSOR asks the parent first, then sets the class
//   cursor over the client area; WM_CTLCOLOR* give the system colour brushes; anything
//   else gives 0.
// - A window that is shown is erased at once (WM_ERASEBKGND) and painted later through
//   the queue; BeginPaint erases what is still due and validates the window.
// - InvalidateRect invalidates the children under the rectangle too, unless the window
//   has WS_CLIPCHILDREN; UpdateWindow sends WM_PAINT at once to the window and its
//   children that need it.
#include "world.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace winsim {
namespace {

bool InRange(UINT message, UINT first, UINT last)
{
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool MatchesWindow(HWND filter, HWND window)
{
    return !filter || window == filter || IsDescendant(filter, window);
}

bool NeedsPaint(HWND window)
{
    const Window *w = FindWindowRecord(window);
    return w && w->proc && w->invalid && IsVisibleInternal(window);
}

// The first window needing WM_PAINT: depth first, each window before its children,
// siblings in z-order.
HWND FindPaintWindow(HWND parent, HWND filter)
{
    for (HWND window : ChildWindows(parent)) {
        if (NeedsPaint(window) && MatchesWindow(filter, window))
            return window;
        if (HWND inner = FindPaintWindow(window, filter))
            return inner;
    }
    return nullptr;
}

void CollectPaintWindows(HWND parent, std::vector<HWND> *list)
{
    for (HWND window : ChildWindows(parent)) {
        if (NeedsPaint(window))
            list->push_back(window);
        CollectPaintWindows(window, list);
    }
}

bool TakeMessage(MSG *msg, HWND filter, UINT first, UINT last, bool remove)
{
    World &world = TheWorld();
    for (auto it = world.queue.begin(); it != world.queue.end(); ++it) {
        if (!InRange(it->message, first, last) || !MatchesWindow(filter, it->hwnd))
            continue;
        *msg = *it;
        if (remove)
            world.queue.erase(it);
        return true;
    }
    if (world.quitPosted && InRange(WM_QUIT, first, last)) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(world.quitCode), 0, world.messageTime, world.cursorPos};
        if (remove)
            world.quitPosted = false;
        return true;
    }
    if (InRange(WM_PAINT, first, last)) {
        if (HWND window = FindPaintWindow(DesktopWindow(), filter)) {
            *msg = MSG{window, WM_PAINT, 0, 0, world.messageTime, world.cursorPos};
            return true;
        }
    }
    return false;
}

char CharacterOf(WPARAM key)
{
    if (key >= 'A' && key <= 'Z')
        return static_cast<char>(key - 'A' + 'a');
    if ((key >= '0' && key <= '9') || key == ' ')
        return static_cast<char>(key);
    switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_TAB:
    case VK_BACK:
        return static_cast<char>(key);
    default:
        return 0;
    }
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    World &world = TheWorld();
    world.queue.push_back(MSG{window, message, wParam, lParam, ++world.messageTime, world.cursorPos});
}

RECT Intersection(const RECT &a, const RECT &b)
{
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.left >= r.right || r.top >= r.bottom)
        return RECT{0, 0, 0, 0};
    return r;
}

bool Empty(const RECT &r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

std::string CopyName(LPCSTR name)
{
    return name && !IS_INTRESOURCE(name) ? std::string(name) : std::string();
}

}  // namespace

// ---- Classes --------------------------------------------------------------------------

const WindowClass *FindClass(const char *name, HINSTANCE instance)
{
    RegisterSystemClasses();
    const WindowClass *any = nullptr;
    for (const auto &c : TheWorld().classes) {
        const bool match = IS_INTRESOURCE(name) ? c->atom == reinterpret_cast<ULONG_PTR>(name) : SameText(c->name, name);
        if (!match)
            continue;
        if (!c->system && c->instance == instance)
            return c.get();
        if (!any || (any->system && !c->system))
            any = c.get();
    }
    return any;
}

// ---- Painting -------------------------------------------------------------------------

void Invalidate(HWND window, const RECT *rect, bool erase)
{
    Window *w = FindWindowRecord(window);
    if (!w || !w->proc)
        return;
    const RECT client = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    const RECT area = rect ? Intersection(*rect, client) : client;
    if (Empty(area))
        return;
    w->update = w->invalid ? RECT{std::min(w->update.left, area.left), std::min(w->update.top, area.top),
                                  std::max(w->update.right, area.right), std::max(w->update.bottom, area.bottom)}
                           : area;
    w->invalid = true;
    w->erasePending = w->erasePending || erase;
    if (w->style & WS_CLIPCHILDREN)
        return;
    const RECT screenArea = {area.left + w->client.left, area.top + w->client.top, area.right + w->client.left,
                             area.bottom + w->client.top};
    for (HWND child : ChildWindows(window)) {
        const Window *c = FindWindowRecord(child);
        if (!c || !(c->style & WS_VISIBLE))
            continue;
        const RECT overlap = Intersection(screenArea, c->client);
        if (Empty(overlap))
            continue;
        const RECT local = {overlap.left - c->client.left, overlap.top - c->client.top, overlap.right - c->client.left,
                            overlap.bottom - c->client.top};
        Invalidate(child, &local, erase);
    }
}

void EraseNow(HWND window)
{
    Window *w = FindWindowRecord(window);
    if (!w || !w->proc || !w->erasePending)
        return;
    w->erasePending = false;
    const HDC dc = OpenWindowDC(window, false);
    Deliver(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    CloseDC(dc);
}

HDC BeginPaintInternal(HWND window, PAINTSTRUCT *paint)
{
    Window *w = FindWindowRecord(window);
    if (!w || !paint)
        return nullptr;
    std::memset(paint, 0, sizeof *paint);
    const HDC dc = OpenWindowDC(window, true);
    paint->hdc = dc;
    paint->rcPaint = w->invalid ? w->update : RECT{0, 0, 0, 0};
    const bool erase = w->erasePending;
    w->invalid = false;
    w->erasePending = false;
    if (erase)
        paint->fErase = Deliver(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

void EndPaintInternal(const PAINTSTRUCT *paint)
{
    if (paint)
        CloseDC(paint->hdc);
}

// ---- Sending and dispatching ----------------------------------------------------------

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Window *w = FindWindowRecord(window);
    if (!w || !w->proc)
        return 0;
    return w->proc(window, message, wParam, lParam);
}

bool TranslateInternal(const MSG &msg)
{
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN ||
                     msg.message == WM_SYSKEYUP;
    if (msg.message == WM_KEYDOWN)
        if (const char c = CharacterOf(msg.wParam))
            Post(msg.hwnd, WM_CHAR, static_cast<BYTE>(c), msg.lParam);
    return key;
}

LRESULT DispatchInternal(const MSG &msg)
{
    if (!msg.hwnd)
        return 0;
    return Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void PumpPostedMessages(HWND dialog, const std::function<bool()> &until)
{
    World &world = TheWorld();
    auto done = [&] { return until && until(); };
    while (!done() && !world.queue.empty()) {
        MSG msg = world.queue.front();
        world.queue.pop_front();
        if (dialog && FindWindowRecord(dialog) && IsDialogMessageInternal(dialog, &msg))
            continue;
        TranslateInternal(msg);
        DispatchInternal(msg);
    }
    if (done())
        return;
    std::vector<HWND> paint;
    CollectPaintWindows(DesktopWindow(), &paint);
    for (HWND window : paint)
        if (NeedsPaint(window) && !done())
            Deliver(window, WM_PAINT, 0, 0);
}

LRESULT DefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *w = FindWindowRecord(window);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        if (create)
            w->title = CopyName(create->lpszName);
        return TRUE;
    }
    case WM_SETTEXT:
        w->title = CopyName(reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        char *buffer = reinterpret_cast<char *>(lParam);
        const std::size_t count = std::min(w->title.size(), static_cast<std::size_t>(wParam - 1));
        std::memcpy(buffer, w->title.data(), count);
        buffer[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->title.size());
    case WM_CLOSE:
        DestroyWindowInternal(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaintInternal(window, &paint);
        EndPaintInternal(&paint);
        return 0;
    }
    case WM_ERASEBKGND: {
        const HBRUSH brush = w->windowClass ? w->windowClass->background : nullptr;
        if (!brush)
            return 0;
        const RECT client = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
        FillRectInternal(reinterpret_cast<HDC>(wParam), client, brush);
        return 1;
    }
    case WM_SETCURSOR: {
        if ((w->style & WS_CHILD) && Deliver(w->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        w = FindWindowRecord(window);
        if (w && LOWORD(lParam) == HTCLIENT && w->windowClass && w->windowClass->cursor) {
            TheWorld().currentCursor = w->windowClass->cursor;
            return TRUE;
        }
        return FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(SysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(SysColorBrush(COLOR_BTNFACE));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            Deliver(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(w->font);
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    default:
        return 0;
    }
}

// ---- Test controls --------------------------------------------------------------------

void SetIdleResponder(std::function<void()> responder)
{
    TheWorld().idleResponder = std::move(responder);
}

void DeliverPostedMessages()
{
    const std::vector<HWND> &modal = TheWorld().modalDialogs;
    PumpPostedMessages(modal.empty() ? nullptr : modal.back());
}

std::vector<MSG> PostedMessages()
{
    const std::deque<MSG> &queue = TheWorld().queue;
    return std::vector<MSG>(queue.begin(), queue.end());
}

}  // namespace winsim

using namespace winsim;

// A class name is registered once per module; the atom it gets is the class's too.
ATOM RegisterClassA(const WNDCLASSA *windowClass)
{
    Log("RegisterClassA", {windowClass ? Arg(windowClass->hInstance) : 0},
        windowClass && !IS_INTRESOURCE(windowClass->lpszClassName) ? windowClass->lpszClassName : nullptr);
    if (!windowClass || !windowClass->lpszClassName || IS_INTRESOURCE(windowClass->lpszClassName) ||
        !*windowClass->lpszClassName) {
        SetError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    RegisterSystemClasses();
    World &world = TheWorld();
    for (const auto &c : world.classes)
        if (!c->system && c->instance == windowClass->hInstance && SameText(c->name, windowClass->lpszClassName)) {
            SetError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    world.classes.push_back(std::make_unique<WindowClass>(WindowClass{
        windowClass->lpszClassName, windowClass->style, windowClass->lpfnWndProc, windowClass->hInstance,
        windowClass->hIcon, windowClass->hCursor, windowClass->hbrBackground, world.nextAtom++, false}));
    return world.classes.back()->atom;
}

// Fails with ERROR_CLASS_DOES_NOT_EXIST for a class the module did not register.
// (Windows of the class that still exist keep their procedure.)
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance)
{
    Log("UnregisterClassA", {Arg(instance)}, IS_INTRESOURCE(className) ? nullptr : className);
    auto &classes = TheWorld().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        const WindowClass &c = **it;
        const bool match = IS_INTRESOURCE(className) ? c.atom == reinterpret_cast<ULONG_PTR>(className)
                                                     : className && SameText(c.name, className);
        if (match && !c.system && c.instance == instance) {
            (*it)->name.clear();  // the record stays for the windows that use it
            (*it)->atom = 0;
            return TRUE;
        }
    }
    SetError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

// Windows without a procedure (of no registered class) answer 0.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("SendMessageA", {Arg(window), message, wParam, static_cast<std::uintptr_t>(lParam)});
    return Deliver(window, message, wParam, lParam);
}

// A null window posts to the calling thread's own queue; an unknown window fails.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("PostMessageA", {Arg(window), message, wParam, static_cast<std::uintptr_t>(lParam)});
    if (window && !FindWindowRecord(window)) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Post(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    Log("PostQuitMessage", {static_cast<std::uintptr_t>(exitCode)});
    TheWorld().quitPosted = true;
    TheWorld().quitCode = exitCode;
}

BOOL PeekMessageA(MSG *msg, HWND window, UINT first, UINT last, UINT remove)
{
    Log("PeekMessageA", {Arg(window), first, last, remove});
    if (!msg)
        return FALSE;
    return TakeMessage(msg, window, first, last, remove & PM_REMOVE);
}

// When nothing is there the platform would wait for the user: the idle responder acts
// for the user; if it does not bring a message, waiting would never end and winsim
// throws instead. A filter window that does not exist gives -1.
BOOL GetMessageA(MSG *msg, HWND window, UINT first, UINT last)
{
    Log("GetMessageA", {Arg(window), first, last});
    if (!msg || (window && !FindWindowRecord(window))) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    if (!TakeMessage(msg, window, first, last, true)) {
        if (TheWorld().idleResponder) {
            const auto responder = TheWorld().idleResponder;
            responder();
        }
        if (!TakeMessage(msg, window, first, last, true))
            throw std::logic_error("winsim: GetMessageA would wait forever: nothing is posted, no window needs painting "
                                   "and the idle responder (SetIdleResponder) did not act");
    }
    return msg->message != WM_QUIT;
}

BOOL TranslateMessage(const MSG *msg)
{
    Log("TranslateMessage", {msg ? Arg(msg->hwnd) : 0, msg ? msg->message : 0});
    return msg && TranslateInternal(*msg);
}

LRESULT DispatchMessageA(const MSG *msg)
{
    Log("DispatchMessageA", {msg ? Arg(msg->hwnd) : 0, msg ? msg->message : 0});
    return msg ? DispatchInternal(*msg) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log("DefWindowProcA", {Arg(window), message, wParam, static_cast<std::uintptr_t>(lParam)});
    return DefProc(window, message, wParam, lParam);
}

// A null window invalidates every window.
BOOL InvalidateRect(HWND window, const RECT *rect, BOOL erase)
{
    Log("InvalidateRect", {Arg(window), static_cast<std::uintptr_t>(erase)});
    if (!window) {
        for (HWND top : ChildWindows(DesktopWindow()))
            Invalidate(top, nullptr, erase);
        return TRUE;
    }
    if (!FindWindowRecord(window)) {
        SetError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Invalidate(window, rect, erase);
    return TRUE;
}

// The invalid region is kept as its bounding box: a rectangle validates it when it
// covers the box, or cuts a band off one of its sides.
BOOL ValidateRect(HWND window, const RECT *rect)
{
    Log("ValidateRect", {Arg(window)});
    Window *w = FindWindowRecord(window);
    if (!w)
        return FALSE;
    if (!w->invalid)
        return TRUE;
    RECT &u = w->update;
    if (!rect || (rect->left <= u.left && rect->top <= u.top && rect->right >= u.right && rect->bottom >= u.bottom)) {
        w->invalid = w->erasePending = false;
        return TRUE;
    }
    const bool fullWidth = rect->left <= u.left && rect->right >= u.right;
    const bool fullHeight = rect->top <= u.top && rect->bottom >= u.bottom;
    if (fullWidth && rect->top <= u.top && rect->bottom > u.top)
        u.top = rect->bottom;
    else if (fullWidth && rect->bottom >= u.bottom && rect->top < u.bottom)
        u.bottom = rect->top;
    else if (fullHeight && rect->left <= u.left && rect->right > u.left)
        u.left = rect->right;
    else if (fullHeight && rect->right >= u.right && rect->left < u.right)
        u.right = rect->left;
    if (Empty(u))
        w->invalid = w->erasePending = false;
    return TRUE;
}

BOOL UpdateWindow(HWND window)
{
    Log("UpdateWindow", {Arg(window)});
    if (!FindWindowRecord(window))
        return FALSE;
    std::vector<HWND> list;
    if (NeedsPaint(window))
        list.push_back(window);
    CollectPaintWindows(window, &list);
    for (HWND each : list)
        if (NeedsPaint(each))
            Deliver(each, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT *paint)
{
    Log("BeginPaint", {Arg(window)});
    return BeginPaintInternal(window, paint);
}

BOOL EndPaint(HWND window, const PAINTSTRUCT *paint)
{
    Log("EndPaint", {Arg(window)});
    EndPaintInternal(paint);
    return TRUE;
}

// An empty result is all zeros, as the platform gives it.
BOOL IntersectRect(RECT *result, const RECT *a, const RECT *b)
{
    Log("IntersectRect", {});
    if (!result || !a || !b)
        return FALSE;
    *result = Intersection(*a, *b);
    return !Empty(*result);
}
