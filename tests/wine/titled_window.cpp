// titled_window TITLE [PATH]
//
// A small top-level window with the given title that logs how it is ended, for the
// installer scenarios: under the title of the resident mouse application it is what
// the installer must close before it copies; under another title it is a bystander
// whose fate shows whether Windows was restarted.
//
// Log lines on standard output, unbuffered:
//   ready hwnd=0x...
//   close install_page=0|1 path=absent|present   (WM_CLOSE; the window then ends)
//   queryendsession / endsession ending=0|1
//   exit
// "install_page" tells whether a window of the installer's install page class exists
// while the WM_CLOSE is handled, "path" whether PATH (the first file the installer
// copies) exists then.
#include "platform.h"

#include <stdio.h>

namespace {

const char *watchedPath = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: {
        const bool installPage = FindWindowA("SETUP_INSTALL", nullptr) != nullptr;
        const bool present = watchedPath && GetFileAttributesA(watchedPath) != INVALID_FILE_ATTRIBUTES;
        printf("close install_page=%d path=%s\n", installPage ? 1 : 0, present ? "present" : "absent");
        DestroyWindow(window);
        return 0;
    }
    case WM_QUERYENDSESSION:
        printf("queryendsession\n");
        return TRUE;
    case WM_ENDSESSION:
        printf("endsession ending=%d\n", wParam ? 1 : 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) {
        printf("usage: titled_window TITLE [PATH]\n");
        return 2;
    }
    watchedPath = argc > 2 ? argv[2] : nullptr;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = "TitledWindow";
    if (!RegisterClassA(&windowClass)) {
        printf("FAIL RegisterClassA\n");
        return 1;
    }
    // In the lower left corner, clear of the installer's centred pages and message boxes.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "TitledWindow", argv[1], WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                                  0, 668, 160, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        printf("FAIL CreateWindowExA\n");
        return 1;
    }
    printf("ready hwnd=0x%08lX\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    printf("exit\n");
    return 0;
}
