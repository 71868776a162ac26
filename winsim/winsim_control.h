// winsim's test controls: reset the simulated platform, build the world a test needs
// (modules with their compiled resources, top-level windows, the foreground window)
// and read back what the code under test did (the call log, posted messages).
//
// Every simulated function appends one entry to the call log, queries included, so a
// test can show which system calls a path makes and in what order.
#pragma once

#include "winsim.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace winsim {

// One call into the simulated platform: the function's name, its integer and handle
// arguments in order, and its first string argument (empty if none).
struct Call {
    std::string api;
    std::vector<std::uintptr_t> args;
    std::string text;
};

// Back to a freshly booted platform: no windows, no modules, no registered messages,
// the null cursor, an empty call log, no mapped drives (scratch folders are deleted),
// an empty registry, no global memory.
void Reset();

const std::vector<Call> &Calls();
std::vector<Call> CallsTo(const std::string &api);
void ClearCalls();

// Handles are opaque values; these turn them into log arguments and back.
std::uintptr_t Arg(const void *handle);

// ---- Modules -------------------------------------------------------------------------
// Creates a module whose resources are those of a compiled resource file (the ".res"
// output of the resource compiler). Returns null if the file cannot be read or parsed.
HINSTANCE LoadModule(const char *resPath);

// The module and name that a cursor handle was loaded from, and its hot spot, as the
// resource gives it. False for a handle winsim did not hand out.
struct CursorInfo {
    HINSTANCE module;
    std::string name;
    int hotX;
    int hotY;
};
bool GetCursorInfo(HCURSOR cursor, CursorInfo *info);

// ---- Windows -------------------------------------------------------------------------
// A visible top-level window with a class name and a title; handles are never reused.
HWND CreateTopLevelWindow(const char *className, const char *title);
void SetForegroundWindowForTest(HWND window);

// Puts the cursor anywhere, off the screen too (SetCursorPos keeps it on the screen).
void PutCursor(POINT position);

// Called with every call into the simulated platform as it starts, before the call
// does its work (for instance to destroy a window in the middle of a search). One
// observer at a time; an empty function removes it. Reset removes it too.
void SetCallObserver(std::function<void(const Call &)> observer);

// The screen size GetSystemMetrics and the desktop window report (default 1024 x 768).
void SetScreenSize(LONG width, LONG height);

// ---- Messages ------------------------------------------------------------------------
// Called when GetMessageA finds nothing to return, to act as the user (click, press a
// key, post). If the queue is still empty afterwards, GetMessageA would wait forever:
// winsim throws std::logic_error instead. An empty function removes it.
void SetIdleResponder(std::function<void()> responder);
// Delivers the posted messages now (those posted meanwhile too), then one round of
// paint messages, as a modal loop does while it waits: messages for the dialog of a
// running modal loop (the file dialog) go through IsDialogMessageA, all others are
// translated and dispatched. WM_QUIT stays in the queue.
void DeliverPostedMessages();
// The posted messages waiting, oldest first (WM_QUIT and WM_PAINT are not posted).
std::vector<MSG> PostedMessages();

// ---- The user ------------------------------------------------------------------------
// A click on a button (BM_CLICK): it takes the focus, an automatic check box or radio
// button changes its state, and the parent gets WM_COMMAND BN_CLICKED. A disabled
// button ignores it, as it ignores the mouse.
void ClickButton(HWND button);
void ClickDialogButton(HWND dialog, int id);
// A key pressed while `dialog` is active: WM_KEYDOWN and WM_KEYUP are posted to the
// window with the focus if it lies in the dialog, else to the dialog itself, for the
// next message loop to take through IsDialogMessageA.
void PressKey(HWND dialog, BYTE virtualKey);
// Types into an edit control, replacing its text: the edit takes the focus, and its
// parent gets EN_UPDATE and EN_CHANGE.
void TypeText(HWND edit, const char *text);
// A double click on a list box entry (matched whole, without regard to case): it is
// selected and the parent gets LBN_SELCHANGE, then LBN_DBLCLK. False if no entry matches.
bool DoubleClickListEntry(HWND list, const char *entry);
// Picks a combo box entry (matched whole): CB_SETCURSEL, then CBN_SELCHANGE.
bool SelectComboEntry(HWND combo, const char *entry);

// ---- Message boxes -------------------------------------------------------------------
struct MessageBoxRequest {
    std::string text;
    std::string caption;
    HWND owner;
    UINT style;
};
// Answers MessageBoxA in the user's place with a button id (IDOK, IDYES, ...); it must
// be one of the box's buttons (else std::logic_error). Without a responder the box
// answers with its default button (MB_DEFBUTTONn; the first one: IDOK for MB_OK).
void SetMessageBoxResponder(std::function<int(const MessageBoxRequest &)> responder);
// Every message box shown since the reset, in order.
const std::vector<MessageBoxRequest> &MessageBoxesShown();

// ---- The file dialog -----------------------------------------------------------------
// The user of GetOpenFileNameA: called with the dialog once it has finished its own
// initialisation, the posted messages have been delivered and it shows, and again each
// time its message loop runs dry while it is open. Without a responder the user presses
// OK at once; a responder that leaves the dialog open with nothing posted is an error
// (std::logic_error), as the dialog would wait forever.
void SetFileDialogResponder(std::function<void(HWND dialog)> responder);
// The user's actions in the dialog (ids of the old-style dialog's parts):
// types into the path edit 1003 (the installer's own template puts it there);
void FileDialogType(HWND dialog, const char *text);
// double-clicks an entry of the directory list 1121: a folder name or "..";
bool FileDialogOpen(HWND dialog, const char *folder);
// picks a drive in the drive list 1137;
bool FileDialogSelectDrive(HWND dialog, char letter);
// goes to a folder the way the user does, drive first, then up and down the list, with
// the posted messages delivered after each step. False if a step finds no entry.
bool FileDialogMoveTo(HWND dialog, const char *windowsPath);
// presses OK (IDOK) or Cancel (IDCANCEL).
void FileDialogPress(HWND dialog, int id);

// ---- Pictures ------------------------------------------------------------------------
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows from the top
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
// A window's client surface as drawn into, without its children.
Picture WindowPicture(HWND window);
// A window's client surface with its visible children's surfaces drawn over it, each
// at its client area's place (their frames are not drawn).
Picture ComposedPicture(HWND window);
// A bitmap's pixels.
Picture BitmapPicture(HBITMAP bitmap);
// Writes a picture as a PNG file; false if the file cannot be written.
bool SavePicture(const Picture &picture, const std::string &path);
// The window a device context draws into (null for a memory device context). With the
// call log's SetPixel entries ({dc, x, y, colour}) this counts the pixels set per window.
HWND WindowOfDC(HDC dc);
// How many times SetPixel was called at each position of a window's surface.
std::map<std::pair<int, int>, int> SetPixelCounts(HWND window);

// ---- Dialog units --------------------------------------------------------------------
// The base units of a dialog's font (x: a quarter of a horizontal dialog unit's 4
// pixels, as MapDialogRect uses them). For FONT 8 "Arial" they are those measured on the
// platform: 7 x 13. Dialogs without a font use the system font's, 9 x 16.
struct DialogUnits {
    int x;
    int y;
};
DialogUnits DialogBaseUnits(HWND dialog);
// Base units for another font, as measured on the platform (face names match without
// regard to case). A font winsim knows no units for is a misuse (std::logic_error).
void SetDialogBaseUnits(const char *face, int pointSize, int x, int y);

// ---- GDI -----------------------------------------------------------------------------
// Brushes, pens and bitmaps created and not yet deleted (stock objects do not count).
std::size_t GdiObjectsInUse();
// Device contexts from GetDC, BeginPaint and CreateCompatibleDC not yet given back.
std::size_t DCsInUse();

// ---- Processes and hooks -------------------------------------------------------------
// The value CallNextHookEx returns (the next hook's result).
void SetNextHookResult(LRESULT result);

// The value WinExec returns; above 31 means success.
void SetWinExecResult(UINT result);

// ---- System ----------------------------------------------------------------------------
// GetTickCount starts at `start` and moves on by `stepPerCall` milliseconds at every
// call (default: 0x10000, 1): time passes only as the code asks for it.
void SetTickCount(DWORD start, DWORD stepPerCall);
// What GetVersion reports (default 0xC0000A04: Windows 98).
void SetVersion(DWORD version);

// ---- Files ---------------------------------------------------------------------------
// Windows paths ("C:\WINDOWS\SYSTEM.INI", "/" separates too) name files in host folders:
// each drive letter maps to a folder. Names match without regard to case at every
// component; new files and folders take the case the caller gave.

// Maps a drive letter to a host folder (created if missing). The folder is the user's:
// winsim never deletes it.
void MapDrive(char letter, const std::string &hostFolder);
// Maps a drive letter to a new empty host folder of its own, deleted again at the next
// Reset (or when the process ends). Returns the folder.
std::string MapScratchDrive(char letter);
// The host path a Windows path maps to (existing components in their stored case), or
// "" if its drive is not mapped.
std::string HostPath(const char *windowsPath);

// The folder relative paths start from (default "C:\").
void SetCurrentDirectoryForTest(const char *windowsPath);
// What GetWindowsDirectoryA and GetSystemDirectoryA report (default "C:\WINDOWS" and
// "C:\WINDOWS\SYSTEM"). The folders themselves are not created.
void SetWindowsDirectory(const char *windowsPath);
void SetSystemDirectory(const char *windowsPath);

// Puts a file with these bytes at a Windows path, creating missing folders; replaces a
// file that is there (read-only or not) and keeps its stored name.
void PutFile(const char *windowsPath, const std::string &bytes);
// A file's bytes, or nothing if no file is there.
std::optional<std::string> FileBytes(const char *windowsPath);
bool FileExists(const char *windowsPath);
bool DirectoryExists(const char *windowsPath);
// Marks a file read-only (or writable again): it can then be neither deleted nor opened
// for writing, as on the platform; it can still be read and renamed.
void SetReadOnly(const char *windowsPath, bool readOnly);
// Disk full: from now on the file at this path accepts `bytes` more bytes in all; the
// write that goes past that stores what fits and fails. The limit follows the path,
// not the file: a file created there later has it too.
void FailWritesAfter(const char *windowsPath, std::size_t bytes);
// Streams from crt::fopen not yet closed.
std::size_t OpenStreams();
// What GetDiskFreeSpaceA reports for a drive (default: 256 MiB free of 1 GiB). Above
// 4 GiB is fine: the cluster count carries it.
void SetDiskSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes);

// The file name GetModuleFileNameA reports for a module; null = the program, whose
// name is "C:\PROGRAM.EXE" until set. Other modules have none until set.
void SetModuleFileName(HMODULE module, const char *windowsPath);

// ---- LZ expansion --------------------------------------------------------------------
// Handles from LZOpenFileA not yet closed with LZClose.
std::size_t OpenLzFiles();

// ---- Global memory -------------------------------------------------------------------
// The next GlobalAlloc fails (ERROR_NOT_ENOUGH_MEMORY); later ones succeed again.
void FailNextGlobalAlloc();
// Blocks allocated with GlobalAlloc and not yet freed.
std::size_t GlobalBlocksInUse();

// ---- Registry ------------------------------------------------------------------------
// Keys are named by a root (HKEY_LOCAL_MACHINE, ...) and a path below it ("A\B").
bool RegistryKeyExists(HKEY root, const char *path);
// A key's values, one a line ending in "\n", in the order they were first set:
//   "Name"="text"   "Name"=dword:0000002a   "Name"=hex:01,02   "Name"=hex(7):61,00,00
// The unnamed value shows as @=. An empty string for a missing key.
std::string DumpRegistryKey(HKEY root, const char *path);
// RegCreateKeyExA fails (ERROR_ACCESS_DENIED) for this key and every key below it,
// whether or not it exists; nothing is created. Opening existing keys still works.
void FailRegistryKeyCreation(HKEY root, const char *path);
// Handles from RegCreateKeyExA and RegOpenKeyExA not yet closed.
std::size_t OpenRegistryHandles();

}  // namespace winsim
