// The installer's wizard: the background window, the page frame and conventions, the
// pages, the install page with its copy engine, the Browse Directory dialog and the
// driver. The installation configuration and the wizard state are in setup.h.
#pragma once

#include "setup.h"

// ---- Wizard frame and background -----------------------------------------------------
// Sent by RunPage to a new page once, after creation and before its message loop.
constexpr UINT WM_PAGEINIT = WM_USER + 100;

// The background window: a blue gradient over the whole screen with the title and
// banner pictures, dissolved in on the first paint. True when the window exists.
bool CreateBackgroundWindow();
LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws bitmap resource `bitmapId` with its top left corner at `origin`, leaving out
// every magenta pixel; with `dissolve` the picture appears in 64 dithered passes.
void DrawKeyedBitmap(HDC dc, int bitmapId, POINT origin, BOOL dissolve);

// The order in which the dissolve reveals the pixels of each 8 x 8 cell.
extern const BYTE DISSOLVE_ORDER[8][8];
extern LONG dissolvePending;

// Shows page `dialogId` (a modeless dialog of window class `className` whose window
// procedure is `pageProc`) and runs its message loop until the page has destroyed
// itself; returns pageResult.
SHORT RunPage(const char *className, WNDPROC pageProc, int dialogId);

// The page conventions every page procedure follows: the caption and the centring on
// WM_CREATE, "%s" in a static filled with the product name, PostQuitMessage on
// WM_DESTROY. PageDefault handles what a page itself does not.
void CaptionAndCentrePage(HWND page);
void PutProductName(HWND page, int controlId);
LRESULT PageDefault(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Wizard pages ----------------------------------------------------------------------
// The cancel notice: "<product> installation is not completed !".
void ShowNotCompleted(HWND owner);
bool DirectoryExists(const char *path);
LRESULT CALLBACK BeginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseTypePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DirectoryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EndPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Install page and copy engine ------------------------------------------------------
// Handles of the open source and target files from the LZ layer; -1 when not open.
extern INT sourceHandle;
extern INT targetHandle;

LRESULT CALLBACK InstallPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
// Copies every file of the file lists with status text, percentage and bar, then
// configures the registry unless the copy was cancelled; the outcome is pageResult.
void CopyProductFiles(HWND page);
// The source and target path of entry `index` of disk `disk` (PATH_CHARS); false,
// with the path emptied, when it does not fit.
bool BuildSourcePath(char *path, SHORT disk, SHORT index);
bool BuildTargetPath(char *path, SHORT disk, SHORT index);
void OpenSourceFile(HWND page, const char *path);
void CopyToTarget(HWND page, const char *path);
// Lets one waiting message of the page or its controls through.
void PumpPageMessage(HWND page);
// Waits on the tick count, discarding the input that comes meanwhile.
void WaitMilliseconds(DWORD milliseconds);
void ControlRectInPage(HWND page, int controlId, RECT *rect);
void DrawSunkenBox(HWND page, HDC dc, int controlId);

// ---- Driver ----------------------------------------------------------------------------
// "-u" as the first two characters of the command line selects the update mode.
bool IsUpdateCommand(const char *commandLine);
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

// ---- Browse Directory dialog ---------------------------------------------------------
// Runs the file-open dialog turned directory chooser over `owner`; destDir takes the
// chosen path on OK and stays as it was otherwise.
void BrowseForDirectory(HWND owner);
UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
