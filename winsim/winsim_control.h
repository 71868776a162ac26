// winsim's test controls: reset the simulated platform, build the world a test needs
// (modules with their compiled resources, top-level windows, the foreground window)
// and read back what the code under test did (the call log, posted messages).
//
// Every simulated function appends one entry to the call log, queries included, so a
// test can show which system calls a path makes and in what order.
#pragma once

#include "winsim.h"

#include <functional>
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
// the null cursor, an empty call log.
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

}  // namespace winsim
