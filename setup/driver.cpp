// The installer's entry point: the wizard, or with "-u" the mouse-type update mode.
//
// Wizard: the Windows version test, the script, the background window, then the pages
// in their fixed order with Next, Back and Cancel; the resident application is closed
// before the install page, "system.ini" is updated after a completed one, and Windows
// restarts at the end when the user left that choice on. The exit code is 0 on every
// path.
#include "wizard.h"

#include "res/resource_ids.h"
#include "text.h"

namespace {

struct Page {
    const char *className;
    WNDPROC proc;
    int dialogId;
};

enum PageState { WELCOME, MOUSE_TYPE, DIRECTORY, INSTALL, END, QUIT, FINISH };

const Page PAGES[] = {
    /* WELCOME */ {"SETUP_BEGIN", BeginPageProc, IDD_WELCOME},
    /* MOUSE_TYPE */ {"SETUP_SELMOUSE", MouseTypePageProc, IDD_MOUSE_TYPE},
    /* DIRECTORY */ {"SETUP_SELDIR", DirectoryPageProc, IDD_DIRECTORY},
    /* INSTALL */ {"SETUP_INSTALL", InstallPageProc, IDD_INSTALL},
    /* END */ {"SETUP_END", EndPageProc, IDD_END},
};

// Where each page leads: after Next (or Finish), after Back, after Cancel.
struct Transition {
    PageState next, back, cancel;
};
const Transition TRANSITIONS[] = {
    /* WELCOME */ {MOUSE_TYPE, MOUSE_TYPE, QUIT},  // offers no Back: any non-zero result is Next
    /* MOUSE_TYPE */ {DIRECTORY, WELCOME, QUIT},
    /* DIRECTORY */ {INSTALL, MOUSE_TYPE, QUIT},
    /* INSTALL */ {END, END, QUIT},
    /* END */ {FINISH, FINISH, FINISH},
};

void ShowScriptError()
{
    const char *text = LoadText(IDS_SCRIPT_READING_ERROR);
    MessageBoxA(nullptr, text ? text : "", config.setupCaption, MB_ICONWARNING);
}

void ReadWindowsDirectory()
{
    char windows[MAX_PATH + 1] = "";
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= PATH_CHARS || !CopyText(config.windowsDir, windows))
        config.windowsDir[0] = '\0';
}

// The resident mouse application, found by its window title, is asked to close.
void CloseResidentApplication()
{
    if (HWND resident = FindWindowA(nullptr, "Tarvik"))
        SendMessageA(resident, WM_CLOSE, 0, 0);
}

int RunUpdateMode()
{
    ReadWindowsDirectory();
    if (!ReadSetupScript()) {
        ShowScriptError();
        return 0;
    }
    backEnabled = 0;
    if (RunPage(PAGES[MOUSE_TYPE].className, PAGES[MOUSE_TYPE].proc, PAGES[MOUSE_TYPE].dialogId) == PAGE_CANCEL)
        return 0;
    // The records of the registry step go to the SETUP.INF beside the program.
    CopyText(config.destDir, config.sourceDir);
    ConfigureRegistry(0);
    const char *text = LoadText(IDS_RESTART_NOW);
    MessageBoxA(nullptr, text ? text : "", config.setupCaption, MB_ICONINFORMATION);
    ExitWindowsEx(EWX_REBOOT, 0);
    return 0;
}

int RunWizard()
{
    if (!(GetVersion() & 0x80000000u)) {
        const char *text = LoadText(IDS_WINDOWS_9X_ONLY);
        MessageBoxA(nullptr, text ? text : "", "Warning", MB_ICONWARNING);
        return 0;
    }
    ReadWindowsDirectory();
    if (!ReadSetupScript()) {
        ShowScriptError();
        return 0;
    }
    if (!CreateBackgroundWindow())
        return 0;

    PageState state = WELCOME;
    while (state != QUIT && state != FINISH) {
        if (state == INSTALL)
            CloseResidentApplication();
        const Page &page = PAGES[state];
        const SHORT result = RunPage(page.className, page.proc, page.dialogId);
        const Transition &go = TRANSITIONS[state];
        const PageState from = state;
        state = result == PAGE_CANCEL ? go.cancel : result == PAGE_BACK ? go.back : go.next;
        if (from == INSTALL && state == END)
            UpdateSystemIni();
    }
    FreeFileTable();
    if (state == FINISH) {
        DestroyWindow(backgroundWindow);
        if (restartNow == 1)
            ExitWindowsEx(EWX_REBOOT, 0);
    }
    return 0;
}

}  // namespace

bool IsUpdateCommand(const char *commandLine)
{
    return commandLine && commandLine[0] == '-' && commandLine[1] == 'u';
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    config.productName[0] = '\0';
    programInstance = instance;
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return IsUpdateCommand(commandLine) ? RunUpdateMode() : RunWizard();
}
