// Windows and messages: registered message numbers, top-level windows found by class
// and title, the foreground window, and sent and posted messages (logged).
#include "world.h"

namespace winsim {
namespace {

constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;

bool IsWindowHandle(HWND window)
{
    std::size_t index;
    return HandleIndex(window, WINDOW_HANDLE_BASE, TheWorld().windows.size(), &index);
}

}  // namespace

HWND CreateTopLevelWindow(const char *className, const char *title)
{
    World &world = TheWorld();
    world.windows.push_back(Window{className ? className : "", title ? title : ""});
    return MakeHandle<HWND>(WINDOW_HANDLE_BASE, world.windows.size() - 1);
}

void SetForegroundWindowForTest(HWND window)
{
    TheWorld().foreground = window;
}

}  // namespace winsim

using namespace winsim;

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
    return window == nullptr || IsWindowHandle(window);
}

// Top-level windows in creation order; a null class or title matches any, and both
// compare without regard to case. An empty title matches only an empty title.
HWND FindWindowA(LPCSTR className, LPCSTR windowName)
{
    Log("FindWindowA", {Arg(className), Arg(windowName)},
        (std::string(className ? className : "<null>") + "|" + (windowName ? windowName : "<null>")).c_str());
    const std::vector<Window> &windows = TheWorld().windows;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (className && !SameText(windows[i].className, className))
            continue;
        if (windowName && !SameText(windows[i].title, windowName))
            continue;
        return MakeHandle<HWND>(WINDOW_HANDLE_BASE, i);
    }
    return nullptr;
}

HWND GetForegroundWindow(void)
{
    Log("GetForegroundWindow", {});
    return TheWorld().foreground;
}
