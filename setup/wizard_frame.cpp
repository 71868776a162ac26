// Running a wizard page, and the conventions every page procedure follows.
//
// A page is a modeless dialog whose template names a window class of its own, so
// the page's procedure is an ordinary window procedure: what it does not handle goes
// to DefWindowProcA. RunPage registers the class, creates the page owned by the
// background window, sends it WM_PAGEINIT and runs a message loop until the page has
// destroyed itself (its WM_DESTROY posts the quit message).
#include "wizard.h"

#include "text.h"

SHORT RunPage(const char *className, WNDPROC pageProc, int dialogId)
{
    WNDCLASSA pageClass = {};
    pageClass.style = CS_HREDRAW | CS_VREDRAW;
    pageClass.lpfnWndProc = pageProc;
    pageClass.cbWndExtra = DLGWINDOWEXTRA;
    pageClass.hInstance = programInstance;
    pageClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    pageClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_MENU + 1));
    pageClass.lpszClassName = className;
    RegisterClassA(&pageClass);  // a page shown again finds its class registered already

    HWND page = CreateDialogParamA(programInstance, MAKEINTRESOURCEA(dialogId), backgroundWindow, nullptr, 0);
    if (!page)
        return PAGE_CANCEL;  // nothing to show: the wizard cannot go on
    SendMessageA(page, WM_PAGEINIT, 0, 0);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(page, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return pageResult;
}

void CaptionAndCentrePage(HWND page)
{
    char text[TEXT_CHARS] = "";
    GetWindowTextA(page, text, TEXT_CHARS);
    char caption[PRODUCT_NAME_CHARS + 1 + TEXT_CHARS];
    JoinText(caption, config.productName, " ", text);
    SetWindowTextA(page, caption);

    RECT frame;
    GetWindowRect(page, &frame);
    const int width = frame.right - frame.left + 1;
    const int height = frame.bottom - frame.top + 1;
    SetWindowPos(page, HWND_TOP, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
                 SWP_SHOWWINDOW);
}

void PutProductName(HWND page, int controlId)
{
    char format[TEXT_CHARS] = "";
    GetDlgItemTextA(page, controlId, format, TEXT_CHARS);
    char text[TEXT_CHARS + PRODUCT_NAME_CHARS];
    wsprintfA(text, format, config.productName);
    SetDlgItemTextA(page, controlId, text);
}

LRESULT PageDefault(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CaptionAndCentrePage(page);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(page, message, wParam, lParam);
    }
}
