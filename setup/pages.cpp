// The welcome, mouse-type, directory and end pages, the cancel notice and the
// destination checks.
//
// Commands are recognised by the whole wParam of WM_COMMAND: the notification code in
// the high half is 0 for button clicks and for Enter and Escape.
#include "wizard.h"

#include "res/resource_ids.h"
#include "text.h"

namespace {

void EndPage(HWND page)
{
    SendMessageA(page, WM_CLOSE, 0, 0);
}

void NextPage(HWND page)
{
    pageResult = PAGE_NEXT;
    EndPage(page);
}

void ShowMessage(HWND page, UINT textId, UINT style)
{
    const char *text = LoadText(textId);
    MessageBoxA(page, text ? text : "", config.setupCaption, style);
}

// Cancel on the welcome, mouse-type and directory pages; Back on the last two.
bool HandleCancelOrBack(HWND page, WPARAM command)
{
    if (command == IDC_CANCEL) {
        pageResult = PAGE_CANCEL;
        ShowNotCompleted(page);
        EndPage(page);
        return true;
    }
    if (command == IDC_BACK) {
        pageResult = PAGE_BACK;
        EndPage(page);
        return true;
    }
    return false;
}

// The destination checks, in their order; every failure shows its message and keeps
// the page open.
bool DestinationAccepted(HWND page)
{
    GetDlgItemTextA(page, IDC_DEST_DIR, config.destDir, PATH_CHARS);
    if (config.destDir[0] == '\0' || config.destDir[1] != ':' || config.destDir[2] != '\\') {
        ShowMessage(page, IDS_CANNOT_CREATE_DIRECTORY, MB_ICONWARNING);
        return false;
    }
    const char root[] = {UpperAscii(config.destDir[0]), ':', '\\', '\0'};

    const bool exists = DirectoryExists(config.destDir);
    if (exists) {
        const char *question = LoadText(IDS_DIRECTORY_EXISTS);
        if (MessageBoxA(page, question ? question : "", config.setupCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return false;
    }

    // A drive that does not exist has no free space to compare: it cannot take the
    // directory either.
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
        ShowMessage(page, IDS_CANNOT_CREATE_DIRECTORY, MB_ICONWARNING);
        return false;
    }
    // In 64 bits: a drive with more than 4 GiB free is not refused.
    const unsigned long long freeKB =
        static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters / 1024;
    if (config.minimumSpaceKB > 0 && freeKB < static_cast<unsigned long long>(config.minimumSpaceKB)) {
        ShowMessage(page, IDS_NOT_ENOUGH_SPACE, MB_ICONWARNING);
        return false;
    }

    if (!exists && !CreateDirectoryA(config.destDir, nullptr)) {
        ShowMessage(page, IDS_CANNOT_CREATE_DIRECTORY, MB_ICONWARNING);
        return false;
    }
    return true;
}

}  // namespace

void ShowNotCompleted(HWND owner)
{
    const char *tail = LoadText(IDS_NOT_COMPLETED_TAIL);
    char text[TEXT_CHARS];
    JoinText(text, config.productName, tail ? tail : "");
    MessageBoxA(owner, text, config.setupCaption, MB_ICONWARNING);
}

bool DirectoryExists(const char *path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LRESULT CALLBACK BeginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAGEINIT) {
        PutProductName(page, IDC_INSTALL_NOTE);
        return 0;
    }
    if (message == WM_COMMAND) {
        if (wParam == IDC_NEXT) {
            NextPage(page);
            return 0;
        }
        if (HandleCancelOrBack(page, wParam))  // Back is disabled here: only Cancel comes
            return 0;
    }
    return PageDefault(page, message, wParam, lParam);
}

LRESULT CALLBACK MouseTypePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAGEINIT) {
        CheckRadioButton(page, IDC_SERIAL_MOUSE, IDC_PS2_MOUSE, serialMouse ? IDC_SERIAL_MOUSE : IDC_PS2_MOUSE);
        EnableWindow(GetDlgItem(page, IDC_BACK), backEnabled ? TRUE : FALSE);
        return 0;
    }
    if (message == WM_COMMAND) {
        switch (wParam) {
        case IDC_SERIAL_MOUSE:
            serialMouse = 1;
            return 0;
        case IDC_PS2_MOUSE:
            serialMouse = 0;
            return 0;
        case IDC_NEXT:
            NextPage(page);
            return 0;
        default:
            if (HandleCancelOrBack(page, wParam))
                return 0;
        }
    }
    return PageDefault(page, message, wParam, lParam);
}

LRESULT CALLBACK DirectoryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAGEINIT) {
        PutProductName(page, IDC_HEADLINE);
        SetDlgItemTextA(page, IDC_DEST_DIR, config.destDir);
        return 0;
    }
    if (message == WM_COMMAND) {
        switch (wParam) {
        case IDC_BROWSE:
            BrowseForDirectory(page);
            SetDlgItemTextA(page, IDC_DEST_DIR, config.destDir);
            return 0;
        case IDC_NEXT:
            pageResult = PAGE_NEXT;
            if (DestinationAccepted(page))
                EndPage(page);
            return 0;
        default:
            if (HandleCancelOrBack(page, wParam))
                return 0;
        }
    }
    return PageDefault(page, message, wParam, lParam);
}

LRESULT CALLBACK EndPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAGEINIT) {
        PutProductName(page, IDC_HEADLINE);
        CheckDlgButton(page, restartNow ? IDC_RESTART_NOW : IDC_RESTART_LATER, BST_CHECKED);
        return 0;
    }
    if (message == WM_COMMAND && wParam == IDC_FINISH) {
        if (IsDlgButtonChecked(page, IDC_RESTART_LATER) == BST_CHECKED)
            restartNow = 0;
        EndPage(page);
        return 0;
    }
    return PageDefault(page, message, wParam, lParam);
}
