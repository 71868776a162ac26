// window_probe: prints the visible top-level windows of the desktop and their
// controls, for the installer scenarios (setup_scenarios.py) to see what a user sees.
//
// One line per window, then one per control below it:
//   window hwnd=0x... class="SETUP_SELMOUSE" text="Velmo Setup" rect=L,T,R,B pid=N enabled=1
//     control id=1 class="Button" text="&Next >" rect=L,T,R,B visible=1 enabled=1 checked=0
// (checked is "-" for controls that are not buttons).
// Rectangles are in screen pixels (right and bottom exclusive). Texts are written in C
// style: a backslash, a quotation mark, a line feed and a carriage return are escaped,
// any other character outside printable ASCII is written \xNN.
//
// Texts are read with GetWindowTextA, which does not wait for the window's thread (the
// installer's thread is busy while it copies). The check state of a button needs a
// message to it, sent with a short timeout; a busy thread gives checked=?.
#include "platform.h"

#include <stdio.h>
#include <string.h>

namespace {

void Escaped(const char *text)
{
    putchar('"');
    for (const char *c = text; *c != '\0'; ++c) {
        switch (*c) {
        case '\\': fputs("\\\\", stdout); break;
        case '"': fputs("\\\"", stdout); break;
        case '\n': fputs("\\n", stdout); break;
        case '\r': fputs("\\r", stdout); break;
        default:
            if (static_cast<unsigned char>(*c) < 0x20 || static_cast<unsigned char>(*c) >= 0x7F)
                printf("\\x%02X", static_cast<unsigned char>(*c));
            else
                putchar(*c);
        }
    }
    putchar('"');
}

void Describe(HWND window)
{
    char className[128] = "", text[1024] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    RECT rect = {};
    GetWindowRect(window, &rect);
    fputs(" class=", stdout);
    Escaped(className);
    fputs(" text=", stdout);
    Escaped(text);
    printf(" rect=%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
}

BOOL CALLBACK ListControl(HWND control, LPARAM parent)
{
    if (GetParent(control) != reinterpret_cast<HWND>(parent))
        return TRUE;  // a grandchild, such as the edit of a combo box
    printf("  control id=%d", GetDlgCtrlID(control));
    Describe(control);
    printf(" visible=%d enabled=%d", IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0);
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    DWORD_PTR state = 0;
    if (lstrcmpiA(className, "Button") != 0)
        printf(" checked=-\n");
    else if (SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 100, &state))
        printf(" checked=%d\n", static_cast<int>(state));
    else
        printf(" checked=?\n");
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    printf("window hwnd=0x%08lX", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    Describe(window);
    printf(" pid=%lu enabled=%d\n", static_cast<unsigned long>(process), IsWindowEnabled(window) ? 1 : 0);
    EnumChildWindows(window, ListControl, reinterpret_cast<LPARAM>(window));
    return TRUE;
}

}  // namespace

int main()
{
    EnumWindows(ListWindow, 0);
    fflush(stdout);
    return 0;
}
