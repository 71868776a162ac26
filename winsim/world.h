// winsim's internal state: everything the simulated platform knows, in one place, so
// that a reset is one assignment. Only winsim's own sources include this header.
#pragma once

#include "winsim_control.h"

#include <cstdint>
#include <deque>
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

// A cursor or an icon (they share one handle range, as HICON and HCURSOR share a type).
// System ones have no module. Icons keep their decoded image for the statics that draw
// them: pixels, and which of them the mask leaves transparent.
struct Cursor {
    HINSTANCE module;
    std::string name;
    int hotX;
    int hotY;
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels{};
    std::vector<bool> transparent{};
};

struct WindowClass {
    std::string name;  // as registered
    UINT style;
    WNDPROC proc;
    HINSTANCE instance;
    HICON icon;
    HCURSOR cursor;
    HBRUSH background;
    ATOM atom;
    bool system;  // one of the platform's own control classes
};

// A window's client-area pixels, row by row from the top.
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels{};
};

// What a dialog window keeps beyond an ordinary window.
struct DialogInfo {
    DLGPROC proc = nullptr;
    int defId = 0;
    int baseX = 0;  // dialog base units of its font
    int baseY = 0;
    bool ended = false;
    INT_PTR result = 0;
    // The file dialog's state while it runs (null for other dialogs): its hook sees the
    // dialog's messages from the start of WM_INITDIALOG on.
    OPENFILENAMEA *ofn = nullptr;
    bool hookActive = false;
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

    DWORD exStyle = 0;
    WNDPROC proc = nullptr;  // null: a window of no registered class
    const WindowClass *windowClass = nullptr;
    HINSTANCE instance = nullptr;
    RECT client = {};          // the client area in screen coordinates
    std::int64_t z = 0;        // z-order key (see ChildWindows)
    bool destroying = false;
    // Painting: the bounding box of the invalid region (client coordinates).
    bool invalid = false;
    bool erasePending = false;
    RECT update = {};
    Surface surface{};
    // Controls.
    UINT check = BST_UNCHECKED;
    DWORD selStart = 0;
    DWORD selEnd = 0;
    DWORD textLimit = 30000;
    std::vector<std::string> items{};  // list and combo boxes
    int currentItem = -1;
    HGDIOBJ image = nullptr;  // statics: their bitmap or icon
    HFONT font = nullptr;
    std::shared_ptr<DialogInfo> dialog{};  // set for dialog windows
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

// A file opened with LZOpenFileA (lz.cpp). A source is read whole when it is opened and
// handed on from `position`; a target is written through its host file at `position`.
struct LzFile {
    bool target;            // opened for writing
    bool compressed;        // a source in the compressed format
    bool unknownAlgorithm;  // the compressed format's header, with an algorithm not known
    std::string bytes;      // a source's contents
    std::string host;       // a target's host file
    std::string key;        // a target's Located::key (its write budget)
    std::size_t position;
};

// A GDI object: a brush, a pen, a bitmap or a font.
enum class GdiKind { Brush, Pen, Bitmap, Font };
struct GdiObject {
    GdiKind kind;
    bool stock = false;
    bool deleted = false;
    COLORREF colour = 0;
    bool hollow = false;  // null brush, null pen
    int penWidth = 1;
    int penStyle = PS_SOLID;
    // Bitmaps: 32 bits a pixel, or 1 for the monochrome kind.
    int bitsPixel = 32;
    Surface pixels{};
    HDC selectedInto = nullptr;
};

struct DeviceContext {
    HWND window = nullptr;  // null for a memory device context
    bool memory = false;
    bool open = true;
    bool paint = false;     // from BeginPaint
    HGDIOBJ brush = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ font = nullptr;
    POINT position = {0, 0};
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
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC100;
    std::int64_t topZ = 0;     // the last z key given to a top-level window
    std::int64_t childZ = 0;   // counts down: children created later lie lower
    std::int64_t childTopZ = 0;

    // Messages
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    DWORD messageTime = 0;
    std::function<void()> idleResponder;
    std::vector<HWND> modalDialogs;  // innermost last
    std::uint64_t userActions = 0;   // counts the test's user actions
    std::shared_ptr<DialogInfo> pendingDialog;  // for the dialog window being created

    // Dialogs, message boxes, the file dialog
    std::map<std::string, std::pair<int, int>> dialogBaseUnits;  // "FACE|size" -> x, y
    std::function<int(const MessageBoxRequest &)> messageBoxResponder;
    std::vector<MessageBoxRequest> messageBoxes;
    std::function<void(HWND)> fileDialogResponder;
    DWORD commDlgError = 0;

    // GDI
    std::vector<GdiObject> gdiObjects;     // object n has handle MakeHandle(GDI_HANDLE_BASE, n)
    std::vector<DeviceContext> dcs;        // dc n has handle MakeHandle(DC_HANDLE_BASE, n)
    std::map<int, std::size_t> stockObjects;
    std::map<int, std::size_t> sysColorBrushes;
    std::map<std::string, std::size_t> loadedIcons;
    LRESULT nextHookResult = 0;
    UINT winExecResult = 33;
    DWORD tickCount = 0x10000;
    DWORD tickStep = 1;
    DWORD version = 0xC0000A04;
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

    // LZ expansion: open files by handle value
    std::map<INT, LzFile> lzFiles;
    INT lzHandlesMade = 0;
};

World &TheWorld();

void Log(const char *api, std::vector<std::uintptr_t> args, const char *text = nullptr);

// Case-insensitive ASCII compare and upper-casing, as the platform treats class,
// resource and registered message names.
bool SameText(const std::string &a, const std::string &b);
std::string Upper(const std::string &text);

// A UTF-16 unit in the ANSI code page (1252); characters it lacks become "?".
char ToAnsi(WORD unit);

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

// ---- Windows and messages (windows.cpp, messages.cpp) ----------------------------------
// The children of a window (for the desktop: the top-level windows), topmost first.
std::vector<HWND> ChildWindows(HWND parent);
HWND DesktopWindow();
// Sends a message to a window's procedure without a log entry: the platform's own
// sending. Windows without a procedure answer 0.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The platform's own actions behind the API functions of the same names, unlogged.
HWND CreateWindowInternal(DWORD exStyle, const char *className, const char *title, DWORD style, int x, int y,
                          int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
void DestroyWindowInternal(HWND window);
void ShowWindowInternal(HWND window, bool show, bool activate);
HWND SetFocusInternal(HWND window);
// Makes a top-level window the foreground window, as SetForegroundWindow does.
void ActivateInternal(HWND topLevel);
void EnableWindowInternal(HWND window, bool enable);
// Sets a window's title: WM_SETTEXT for windows with a procedure.
void SetTextInternal(HWND window, const std::string &text);
std::string GetTextInternal(HWND window);
// DefWindowProcA and DefDlgProcA without their log entries.
LRESULT DefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefDlgProcInternal(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// TranslateMessage and DispatchMessageA without their log entries.
bool TranslateInternal(const MSG &msg);
LRESULT DispatchInternal(const MSG &msg);
// BeginPaint and EndPaint without their log entries.
HDC BeginPaintInternal(HWND window, PAINTSTRUCT *paint);
void EndPaintInternal(const PAINTSTRUCT *paint);
// RegisterWindowMessageA without its log entry.
UINT RegisterMessageInternal(const char *name);
// Notifies a control's parent: WM_COMMAND(id | code << 16, control).
void NotifyParent(HWND control, WORD code);
bool IsDescendant(HWND ancestor, HWND window);
HWND TopLevelWindowOf(HWND window);
bool IsVisibleInternal(HWND window);
// Invalidates a client rectangle (null: all of it) of a window and of its children
// under it, unless the window clips its children.
void Invalidate(HWND window, const RECT *rect, bool erase);
// Shown on the screen: erases what is due now, as the platform does when a window
// appears.
void EraseNow(HWND window);
// Delivers the posted messages and one round of paint messages, as a modal loop does
// while it waits: messages for `dialog` and its controls go through IsDialogMessage.
// Stops early at WM_QUIT (left in the queue) or when `until` says so.
void PumpPostedMessages(HWND dialog, const std::function<bool()> &until = {});
// Moves a window and its descendants (screen coordinates) and resizes its surface.
void PlaceWindow(HWND window, RECT rect);
// The frame widths around the client area that a style gives: left, top, right, bottom.
RECT FrameOf(DWORD style, DWORD exStyle);

// ---- Controls (controls.cpp) ------------------------------------------------------------
// The platform's control classes, registered in every world.
void RegisterSystemClasses();
const WindowClass *FindClass(const char *name, HINSTANCE instance);
LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// BM_CLICK: the button as the user clicks it.
void ClickButtonInternal(HWND button);
// The controls of a control's group: from the nearest sibling at or before it with
// WS_GROUP up to the next one with WS_GROUP, in z-order.
std::vector<HWND> GroupOf(HWND control);

// ---- Dialogs (dialogs.cpp) ---------------------------------------------------------------
// Builds a dialog from a template in a module; null if it cannot.
HWND CreateDialogInternal(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param,
                          bool show, OPENFILENAMEA *ofn);
DialogInfo *DialogOf(HWND window);
// GetDlgItem, GetNextDlgTabItem and GetNextDlgGroupItem without their log entries.
HWND DialogItem(HWND dialog, int id);
HWND NextTabItem(HWND dialog, HWND control, bool previous);
HWND NextGroupItem(HWND dialog, HWND control, bool previous);
bool IsDialogMessageInternal(HWND dialog, MSG *msg);

// ---- GDI (gdi.cpp) -----------------------------------------------------------------------
GdiObject *FindGdiObject(HGDIOBJ object);
DeviceContext *FindDC(HDC dc);
HDC OpenWindowDC(HWND window, bool paint);
void CloseDC(HDC dc);
HBRUSH SysColorBrush(int index);
COLORREF SysColor(int index);
void FillSurfaceRect(HDC dc, RECT rect, COLORREF colour);
// FillRect without its log entry.
void FillRectInternal(HDC dc, const RECT &rect, HBRUSH brush);
void FrameSurfaceRect(HDC dc, RECT rect, COLORREF colour);
// Draws a bitmap or an icon's pixels at x, y (icons leave their transparent pixels).
void DrawImage(HDC dc, HGDIOBJ bitmap, int x, int y);
void DrawIcon(HDC dc, HICON icon, int x, int y);
// Decodes a device-independent bitmap (BITMAPINFOHEADER, colour table, bits) of 1, 4,
// 8, 24 or 32 bits a pixel into rows from the top; `height` may be given for icons,
// whose header counts the mask too. False for a format winsim does not read.
bool DecodeDib(const std::vector<BYTE> &data, Surface *image, int *bitsPerPixel, int forcedHeight = 0);
HBITMAP LoadBitmapInternal(HINSTANCE instance, LPCSTR name);
HICON LoadIconInternal(HINSTANCE instance, LPCSTR name);

// Deletes the scratch folders of MapScratchDrive (part of Reset).
void DeleteScratchFolders();

constexpr std::uintptr_t WINDOW_HANDLE_BASE = 0x00010010;
constexpr std::uintptr_t CURSOR_HANDLE_BASE = 0x00020010;
constexpr std::uintptr_t MODULE_HANDLE_BASE = 0x10000000;
constexpr std::uintptr_t KEY_HANDLE_BASE = 0x00030010;
constexpr std::uintptr_t GLOBAL_HANDLE_BASE = 0x00040010;
constexpr std::uintptr_t GDI_HANDLE_BASE = 0x00050010;
constexpr std::uintptr_t DC_HANDLE_BASE = 0x00060010;

}  // namespace winsim
