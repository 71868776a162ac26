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
