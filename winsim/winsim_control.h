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
#include <optional>
#include <string>
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

// ---- Processes and hooks -------------------------------------------------------------
// The value CallNextHookEx returns (the next hook's result).
void SetNextHookResult(LRESULT result);

// The value WinExec returns; above 31 means success.
void SetWinExecResult(UINT result);

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
