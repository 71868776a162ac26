// winsim's internal state: everything the simulated platform knows, in one place, so
// that a reset is one assignment. Only winsim's own sources include this header.
#pragma once

#include "winsim_control.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace winsim {

struct Resource {
    WORD typeId;          // ordinal type, or 0 when the type is named
    std::string typeName; // upper case
    WORD nameId;          // ordinal name, or 0 when the name is a string
    std::string name;     // upper case
    std::vector<BYTE> data;
};

struct Module {
    std::vector<Resource> resources;
};

struct Cursor {
    HINSTANCE module;
    std::string name;
    int hotX;
    int hotY;
};

// A window: its class, title and style word, its rectangle in screen coordinates,
// its parent (child windows) or owner (top-level windows). Windows have no frames, so
// a window's client area starts at its top-left corner. Z-order: among top-level
// windows the later created lies on top; among siblings the earlier created lies on
// top (as child controls are created in tab order).
struct Window {
    std::string className;
    std::string title;
    DWORD style;
    RECT rect;
    HWND parent;
    HWND owner;
    int id;
    bool destroyed;
};

struct World {
    std::vector<Call> calls;
    std::vector<Module> modules;            // module n has handle ModuleHandle(n)
    std::vector<Cursor> cursors;            // cursor n has handle CursorHandle(n)
    std::map<std::string, std::size_t> loadedCursors;  // "module|NAME" -> cursor index
    HCURSOR currentCursor = nullptr;
    std::vector<Window> windows;            // window n has handle WindowHandle(n)
    HWND foreground = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;
    POINT cursorPos = {0, 0};
    LONG screenWidth = 1024;
    LONG screenHeight = 768;
    std::function<void(const Call &)> observer;
    std::vector<std::string> registeredMessages;  // message 0xC000 + n
    LRESULT nextHookResult = 0;
    UINT winExecResult = 33;
};

World &TheWorld();

void Log(const char *api, std::vector<std::uintptr_t> args, const char *text = nullptr);

// Case-insensitive ASCII compare and upper-casing, as the platform treats class,
// resource and registered message names.
bool SameText(const std::string &a, const std::string &b);
std::string Upper(const std::string &text);

// Handle values: distinct ranges per kind, never null, never reused within a run.
template <typename H> H MakeHandle(std::uintptr_t base, std::size_t index)
{
    return reinterpret_cast<H>(base + 4 * index);
}
template <typename H> bool HandleIndex(H handle, std::uintptr_t base, std::size_t count, std::size_t *index)
{
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
    if (value < base || (value - base) % 4 != 0 || (value - base) / 4 >= count)
        return false;
    *index = (value - base) / 4;
    return true;
}

// The window behind a handle, or null for a handle that names no live window.
Window *FindWindowRecord(HWND window);

constexpr std::uintptr_t WINDOW_HANDLE_BASE = 0x00010010;
constexpr std::uintptr_t CURSOR_HANDLE_BASE = 0x00020010;
constexpr std::uintptr_t MODULE_HANDLE_BASE = 0x10000000;

}  // namespace winsim
