// The install page: creates the destination's subdirectories, copies and expands every
// file of the file lists through the platform's LZ functions with a status text, a
// percentage and a progress bar per disk, then configures the registry.
//
// The whole copy runs inside WM_PAGEINIT; the page is served between files only, one
// waiting message after each source open and after each copy, so Cancel takes effect
// before the next file. A cancelled installation registers nothing: it must not point
// the mouse device at a driver that may not have been copied.
#include "wizard.h"

#include "res/resource_ids.h"
#include "text.h"

INT sourceHandle = -1;
INT targetHandle = -1;

namespace {

constexpr COLORREF BAR_COLOUR = RGB(0, 0, 255);
constexpr COLORREF SHADOW_GREY = RGB(128, 128, 128);
constexpr DWORD REGISTRY_PAUSE_MS = 1000;

void ShowStatus(HWND page, const char *text)
{
    SetDlgItemTextA(page, IDC_COPY_STATUS, text);
    UpdateWindow(GetDlgItem(page, IDC_COPY_STATUS));
}

void CreateSubdirectories()
{
    for (int k = DIR_SUB1; k < DIR_SUB1 + 6; ++k) {
        char path[PATH_CHARS * 2];
        if (config.directoryNames[k][0] != '\0' && JoinText(path, config.destDir, "\\", config.directoryNames[k]))
            CreateDirectoryA(path, nullptr);  // an existing directory or a missing parent is no reason to stop
    }
}

void ShowProgress(HWND page, HDC dc, int percent)
{
    char text[16];
    wsprintfA(text, "%d%%", percent);
    SetDlgItemTextA(page, IDC_PROGRESS_PERCENT, text);
    UpdateWindow(GetDlgItem(page, IDC_PROGRESS_PERCENT));

    RECT bar;
    ControlRectInPage(page, IDC_PROGRESS_BAR, &bar);
    InflateRect(&bar, -2, -2);
    OffsetRect(&bar, -1, -1);
    bar.right = bar.left + percent * (bar.right - bar.left + 1) / 100;
    HBRUSH brush = CreateSolidBrush(BAR_COLOUR);
    FillRect(dc, &bar, brush);
    DeleteObject(brush);
}

void CopyFile(HWND page, HDC dc, SHORT disk, SHORT index)
{
    const FileEntry &entry = config.fileLists[disk][index];
    char status[TEXT_CHARS];
    const char *copying = LoadText(IDS_COPYING);
    CopyText(status, copying ? copying : "");
    AppendText(status, entry.sourceName);
    AppendText(status, "\n\n");
    AppendText(status, entry.description);
    ShowStatus(page, status);

    // A path that does not fit its buffer is skipped, never cut.
    char path[PATH_CHARS];
    const bool sourceFits = BuildSourcePath(path, disk, index);
    if (sourceFits)
        OpenSourceFile(page, path);
    else
        sourceHandle = -1;

    ShowProgress(page, dc, 100 * (index + 1) / config.fileCounts[disk]);

    if (sourceHandle != -1 && BuildTargetPath(path, disk, index)) {
        CopyToTarget(page, path);
    } else if (sourceHandle != -1) {
        LZClose(sourceHandle);
        sourceHandle = -1;
    }
}

}  // namespace

LRESULT CALLBACK InstallPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && wParam == IDC_INSTALL_CANCEL) {
        pageResult = PAGE_CANCEL;
        SendMessageA(page, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_PAGEINIT) {
        UpdateWindow(page);
        CreateSubdirectories();
        pageResult = PAGE_NEXT;
        CopyProductFiles(page);
        if (pageResult == PAGE_CANCEL) {
            // The cancelled page is gone and its quit message waits in the queue; a
            // message box would take that as its own end. Hold it back until the
            // notice has been read.
            MSG quit;
            const bool quitting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
            ShowNotCompleted(IsWindow(page) ? page : nullptr);
            if (quitting)
                PostQuitMessage(static_cast<int>(quit.wParam));
        }
        if (IsWindow(page))
            SendMessageA(page, WM_CLOSE, 0, 0);
        return 0;
    }
    return PageDefault(page, message, wParam, lParam);
}

void CopyProductFiles(HWND page)
{
    HDC dc = GetDC(page);
    for (SHORT disk = 0; disk < config.diskCount && pageResult != PAGE_CANCEL; ++disk) {
        UpdateWindow(page);
        DrawSunkenBox(page, dc, IDC_PROGRESS_BAR);
        for (SHORT index = 0; index < config.fileCounts[disk] && pageResult != PAGE_CANCEL; ++index)
            CopyFile(page, dc, disk, index);
    }
    if (pageResult != PAGE_CANCEL) {
        ShowStatus(page, "Updating Registry...");
        WaitMilliseconds(REGISTRY_PAUSE_MS);
        ConfigureRegistry(1);
    }
    ReleaseDC(page, dc);
}

bool BuildSourcePath(char *path, SHORT disk, SHORT index)
{
    const FileEntry &entry = config.fileLists[disk][index];
    path[0] = '\0';
    if (CopyText(path, PATH_CHARS, config.sourceDir) && AppendText(path, PATH_CHARS, "\\") &&
        AppendText(path, PATH_CHARS, entry.sourceSubdir) && AppendText(path, PATH_CHARS, "\\") &&
        AppendText(path, PATH_CHARS, entry.sourceName))
        return true;
    path[0] = '\0';
    return false;
}

bool BuildTargetPath(char *path, SHORT disk, SHORT index)
{
    const FileEntry &entry = config.fileLists[disk][index];
    path[0] = '\0';
    const bool base = entry.targetIsAbsolute ||
                      (AppendText(path, PATH_CHARS, config.destDir) && AppendText(path, PATH_CHARS, "\\"));
    if (base && AppendText(path, PATH_CHARS, entry.targetDir) && AppendText(path, PATH_CHARS, "\\") &&
        AppendText(path, PATH_CHARS, entry.targetName))
        return true;
    path[0] = '\0';
    return false;
}

void OpenSourceFile(HWND page, const char *path)
{
    OFSTRUCT open = {};
    sourceHandle = LZOpenFileA(const_cast<LPSTR>(path), &open, OF_READ);
    PumpPageMessage(page);
}

// A source that could not be opened leaves its target untouched: the target is only
// created (or emptied) when there is something to copy into it.
void CopyToTarget(HWND page, const char *path)
{
    OFSTRUCT open = {};
    targetHandle = sourceHandle != -1 ? LZOpenFileA(const_cast<LPSTR>(path), &open, OF_CREATE) : -1;
    if (sourceHandle != -1 && targetHandle != -1)
        LZCopy(sourceHandle, targetHandle);
    if (sourceHandle != -1)
        LZClose(sourceHandle);
    if (targetHandle != -1)
        LZClose(targetHandle);
    sourceHandle = -1;
    targetHandle = -1;
    PumpPageMessage(page);
}

// The quit message comes whatever the window filter says; once the page has closed
// it belongs to the page's loop in RunPage, so it goes back into the queue.
void PumpPageMessage(HWND page)
{
    MSG message;
    if (PeekMessageA(&message, page, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void WaitMilliseconds(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    const DWORD end = start + milliseconds;
    if (end <= start)
        return;
    while (GetTickCount() < end) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (message.message == WM_QUIT)
                continue;  // stays queued for the page's loop
            PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        }
    }
}

void ControlRectInPage(HWND page, int controlId, RECT *rect)
{
    HWND control = GetDlgItem(page, controlId);
    GetClientRect(control, rect);
    POINT controlOrigin = {0, 0}, pageOrigin = {0, 0};
    ClientToScreen(control, &controlOrigin);
    ClientToScreen(page, &pageOrigin);
    OffsetRect(rect, controlOrigin.x - pageOrigin.x, controlOrigin.y - pageOrigin.y);
}

void DrawSunkenBox(HWND page, HDC dc, int controlId)
{
    RECT box;
    ControlRectInPage(page, controlId, &box);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    OffsetRect(&box, -1, -1);
    HPEN grey = CreatePen(PS_SOLID, 1, SHADOW_GREY);
    SelectObject(dc, grey);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(grey);
}
