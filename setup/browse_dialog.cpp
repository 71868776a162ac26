// The Browse Directory dialog: the platform's file-open dialog in its older form with a
// template of our own that turns it into a directory chooser. The hook keeps the path
// edit box in step with the directory the user walks to; OK takes the edit box's text,
// so a typed path may name a directory that does not exist yet.
#include "wizard.h"

#include "res/resource_ids.h"
#include "text.h"

#include <cstddef>

namespace {

constexpr UINT WM_BROWSEREFRESH = WM_USER + 101;
// The file dialog needs a file name to close with success; this one stands in the
// hidden name field and is never used as a file. Its buffer limit counts the
// terminator: a limit of 12 leaves the name unterminated in the dialog's field, and
// OK then fails on the garbage behind it.
constexpr char DUMMY_FILE_NAME[] = "12345678.ABC";
// The record as Windows 95 knows it, without the later additions.
constexpr DWORD OPENFILENAME_95_SIZE = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);

char browsePath[PATH_CHARS];

}  // namespace

void BrowseForDirectory(HWND owner)
{
    char fileName[sizeof DUMMY_FILE_NAME];
    CopyText(fileName, DUMMY_FILE_NAME);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_95_SIZE;
    dialog.hwndOwner = owner;
    dialog.hInstance = programInstance;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof fileName;
    dialog.lpstrInitialDir = "C:\\";
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOVALIDATE;
    dialog.lpfnHook = BrowseHookProc;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_BROWSE);
    if (GetOpenFileNameA(&dialog))
        CopyText(config.destDir, browsePath);
}

UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CopyText(browsePath, config.destDir);
        // The edit box is filled after the file dialog has finished its own set-up.
        PostMessageA(dialog, WM_PAGEINIT, 0, 0);
        break;
    case WM_PAGEINIT:
        SetDlgItemTextA(dialog, IDC_DEST_DIR, browsePath);
        SetFocus(GetDlgItem(dialog, IDC_DEST_DIR));
        SendDlgItemMessageA(dialog, IDC_DEST_DIR, EM_SETSEL, 0, -1);
        break;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (id == IDOK)
            GetDlgItemTextA(dialog, IDC_DEST_DIR, browsePath, PATH_CHARS);
        else if ((id == IDC_BROWSE_DIR_LIST && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) ||
                 (id == IDC_BROWSE_DRIVE_LIST && code == CBN_SELCHANGE))
            PostMessageA(dialog, WM_BROWSEREFRESH, 0, 0);  // after the file dialog has moved
        break;
    }
    case WM_BROWSEREFRESH: {
        char current[MAX_PATH + 1] = "";
        const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
        if (length > 0 && length < PATH_CHARS)
            CopyText(browsePath, current);
        SetDlgItemTextA(dialog, IDC_DEST_DIR, browsePath);
        break;
    }
    default:
        break;
    }
    return 0;
}
