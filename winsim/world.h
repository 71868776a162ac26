// winsim's internal state: everything the simulated platform knows, in one place, so
// that a reset is one assignment. Only winsim's own sources include this header.
#pragma once

#include "winsim_control.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
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

// A block from GlobalAlloc. A fixed block's handle is its address; a moveable block has
// a handle of its own and a lock count.
struct GlobalBlock {
    std::unique_ptr<BYTE[]> bytes;
    std::size_t size;
    bool moveable;
    UINT locks;
};

struct RegistryValue {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

// A registry key. Subkeys are filed under their lower-case names, which is also the
// order the platform enumerates them in; `name` keeps the case of creation.
struct RegistryKey {
    std::string name;
    RegistryKey *parent = nullptr;
    HKEY root = nullptr;
    std::map<std::string, std::unique_ptr<RegistryKey>> subkeys;
    std::vector<RegistryValue> values;  // in the order first set
};

struct KeyHandle {
    RegistryKey *key;
    bool open;
};

struct DiskSpace {
    std::uint64_t freeBytes;
    std::uint64_t totalBytes;
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
    DWORD lastError = 0;

    // Files
    std::map<char, std::string> drives;        // upper-case letter -> host folder
    std::vector<std::string> scratchFolders;   // made by MapScratchDrive, deleted by Reset
    std::string currentDirectory = "C:\\";
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::map<char, DiskSpace> diskSpace;
    std::map<std::string, std::size_t> writeBudgets;  // Located::key -> bytes still accepted
    std::map<std::uintptr_t, std::string> moduleFileNames{{0, "C:\\PROGRAM.EXE"}};
    std::size_t openStreams = 0;  // crt::fopen'ed, not yet closed

    // Global memory
    std::map<std::uintptr_t, GlobalBlock> globalBlocks;  // by handle value
    std::size_t moveableHandlesMade = 0;
    bool failNextGlobalAlloc = false;

    // Registry
    std::map<std::uintptr_t, std::unique_ptr<RegistryKey>> registryRoots;  // by root handle value
    std::vector<KeyHandle> keyHandles;  // handle n is MakeHandle(KEY_HANDLE_BASE, n)
    std::vector<std::string> failingKeyPaths;  // root and lower-case path of keys that cannot be created
    // Deleted keys stay here so that handles still open on them stay valid.
    std::vector<std::unique_ptr<RegistryKey>> deletedKeys;
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

// The module behind a handle, and a resource in it by type and name (or ordinal).
Module *FindModule(HINSTANCE instance);
const Resource *FindResourceEntry(const Module &module, WORD typeId, LPCSTR name);

void SetError(DWORD error);

// Deletes the scratch folders of MapScratchDrive (part of Reset).
void DeleteScratchFolders();

constexpr std::uintptr_t WINDOW_HANDLE_BASE = 0x00010010;
constexpr std::uintptr_t CURSOR_HANDLE_BASE = 0x00020010;
constexpr std::uintptr_t MODULE_HANDLE_BASE = 0x10000000;
constexpr std::uintptr_t KEY_HANDLE_BASE = 0x00030010;
constexpr std::uintptr_t GLOBAL_HANDLE_BASE = 0x00040010;

}  // namespace winsim
