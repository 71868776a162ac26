// The installer's chief header: the installation configuration read from "SETUP.INF",
// the file table, the wizard state shared by the pages and the driver, and the entry
// points of the installer's parts.
//
// One thread. InstallConfig is filled once at start by ReadSetupScript; only destDir
// changes afterwards (directory page, Browse, update mode). The file table is one
// zero-filled global memory block from ReadSetupScript until FreeFileTable.
#pragma once

#include "platform.h"

constexpr int PATH_CHARS = 80;            // paths and directory names
constexpr int TEXT_CHARS = 128;           // texts and profile values being read
constexpr int FIELD_CHARS = 40;           // disk labels, driver data, entry directories
constexpr int PRODUCT_NAME_CHARS = 32;
constexpr int FILE_NAME_CHARS = 15;
constexpr int DESCRIPTION_CHARS = 62;
constexpr int MAX_DISKS = 6;
constexpr int DIRECTORY_KEYWORDS = 10;

// The directory keywords of a file line, in keyword order.
enum DirectoryKeyword {
    DIR_ROOT = 0,         // RootDir
    DIR_SUB1 = 1,         // SubDir1 .. SubDir6 = 1 .. 6
    DIR_WINDOWS = 7,      // WinDir
    DIR_WINDOWS_SYSTEM = 8,
    DIR_WINDOWS_INF = 9,
};

// One file of a file list.
struct FileEntry {
    char sourceSubdir[FIELD_CHARS];  // below sourceDir, where the file is taken from
    char targetDir[FIELD_CHARS];     // below destDir, or a full path when targetIsAbsolute
    char sourceName[FILE_NAME_CHARS];
    char targetName[FILE_NAME_CHARS];
    char description[DESCRIPTION_CHARS];
    LONG targetIsAbsolute;
};

struct InstallConfig {
    char sourceDir[PATH_CHARS];      // the setup program's directory, no trailing backslash
    char windowsDir[PATH_CHARS];     // set by the driver before the script is read
    char destDir[PATH_CHARS];
    char productName[PRODUCT_NAME_CHARS];
    char setupCaption[PATH_CHARS];   // productName + " Setup Program": message box caption
    SHORT minimumSpaceKB;
    LONG oemMode;                    // non-zero: no banner on the background
    SHORT diskCount;                 // 0 to 6
    char directoryNames[DIRECTORY_KEYWORDS][PATH_CHARS];
    SHORT fileCounts[MAX_DISKS];
    SHORT totalFileCount;
    FileEntry *fileTable;
    HGLOBAL fileTableMemory;
    FileEntry *fileLists[MAX_DISKS + 1];  // first entry of each disk; [diskCount] = the end
    char productTitle[PATH_CHARS];
    char manufacturer[FIELD_CHARS];
    char mouseDriver[FIELD_CHARS];
    char mouseInf[FIELD_CHARS];
    char driverDate[FIELD_CHARS];
    char ps2InfSection[FIELD_CHARS];
    char serialInfSection[FIELD_CHARS];
    char ps2Name[FIELD_CHARS];
    char serialName[FIELD_CHARS];
};

extern InstallConfig config;

// ---- Wizard state --------------------------------------------------------------------
enum PageResult : SHORT { PAGE_CANCEL = 0, PAGE_NEXT = 1, PAGE_BACK = 2 };

extern SHORT pageResult;
extern LONG serialMouse;   // 1 serial, 0 PS/2
extern LONG restartNow;
extern LONG backEnabled;
extern int screenWidth;
extern int screenHeight;
extern HWND backgroundWindow;
extern HINSTANCE programInstance;  // the module whose string table LoadText reads

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

// ---- Installation script and configuration -------------------------------------------
// Text of string-table entry `id` in the next of four 128-character buffers, or null
// when the entry is missing or empty. Valid until four further calls.
const char *LoadText(UINT id);

// Fills config from "SETUP.INF" beside the program; windowsDir must be set before.
// False when the file table cannot be had or the file counts cannot be held.
bool ReadSetupScript();

// Copies the next comma-separated field of `text` (blanks around it removed) into
// `field` (room for TEXT_CHARS characters); returns where the following field starts.
const char *NextField(const char *text, char *field);

bool AllocFileTable(int count);
void FreeFileTable();

// Value of `key` in `section` of destDir\SETUP.INF, or `fallback`; the result lies in
// one shared buffer, valid until the next call.
const char *ReadInstalledSetting(const char *section, const char *key, const char *fallback);

// Records `value` for `key` in `section` of destDir\SETUP.INF unless a non-empty value
// is recorded already.
void RecordPriorSetting(const char *section, const char *key, const char *value);

// ---- system.ini ----------------------------------------------------------------------
// Makes "mouse=*vmouse" the mouse line of [386Enh] in system.ini (old file kept as
// system.bak) and moves VMM32\VMOUSE.VXD aside to VMOUSE.BAK. Returns 0 when the
// VXD was moved, -1 otherwise.
int UpdateSystemIni();

// ---- Registry ------------------------------------------------------------------------
extern char mouseSection[FIELD_CHARS];  // "PS2" or "Serial": the mouse type configured

// Writes the product registration (when registerProduct is non-zero) and points the
// mouse device of the chosen type and its driver key at the product's driver.
void ConfigureRegistry(LONG registerProduct);

// True when some enumerated device's hardware key contains `prefix`; the last such
// key in enumeration order is copied into hardwareKey (PATH_CHARS).
bool FindEnumDevice(const char *prefix, char *hardwareKey);

// "Mouse\NNNN": the first free Mouse class instance (PATH_CHARS).
void NextMouseClassKey(char *name);

void UpdateDriverKey(const char *driverKey, const char *mouseName, const char *infSection);
void CreateDriverKey(const char *driverKey, const char *mouseName, const char *infSection);
