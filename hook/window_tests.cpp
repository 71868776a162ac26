// The window-class queries. Each reads the class name (and for scroll bars the style
// word) afresh; nothing is kept between calls.
#include "window_tests.h"

#include "names.h"

namespace {

constexpr int CLASS_NAME_CHARS = 80;
constexpr int SCROLL_BAR_CLASS_CHARS = 40;

// Scroll-bar controls: orientation from the control style.
constexpr const char *SCROLL_BAR_CONTROL_CLASSES[] = {"ScrollBar", "OpusRSB", "Lego.SCROLLBAR"};
// Windows that carry scroll bars: orientation from the window style.
constexpr const char *SCROLL_BAR_HOST_CLASSES[] = {"IPSCROLLBAR", "WordProScrollParentWndNT"};
constexpr const char *EXCEL_CLASSES[] = {"EXCELB", "EXCEL@"};
constexpr const char *LIST_OR_TREE_CLASSES[] = {"SysListView32", "SysTreeView32"};

template <int n> bool ClassIn(const char *className, const char *const (&names)[n], bool ignoreCase)
{
    for (const char *name : names)
        if (ignoreCase ? NamesEqualIgnoringCase(className, name) : NamesEqual(className, name))
            return true;
    return false;
}

// A window that is gone has no class name: the buffer is left empty.
template <int size> void ReadClassName(HWND window, char (&className)[size])
{
    className[0] = '\0';
    GetClassNameA(window, className, size);
}

}  // namespace

bool IsBrowserServerWindow(HWND window)
{
    char className[CLASS_NAME_CHARS];
    ReadClassName(window, className);
    return NamesEqual(className, "Internet Explorer_Server");
}

bool IsExcelWindow(HWND window)
{
    char className[CLASS_NAME_CHARS];
    ReadClassName(window, className);
    if (ClassIn(className, EXCEL_CLASSES, false))
        return true;
    if (!NamesEqual(className, "ScrollBar"))
        return false;
    HWND parent = GetParent(window);
    if (!parent)
        return false;
    ReadClassName(parent, className);
    return ClassIn(className, EXCEL_CLASSES, false);
}

bool IsListOrTreeView(HWND window)
{
    char className[CLASS_NAME_CHARS];
    ReadClassName(window, className);
    return ClassIn(className, LIST_OR_TREE_CLASSES, false);
}

bool IsScrollBarWindow(HWND window, BOOL vertical)
{
    // The cheap tests first: the scroll-bar search asks this of every descendant.
    if (!IsWindow(window) || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return false;
    char className[SCROLL_BAR_CLASS_CHARS];
    ReadClassName(window, className);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));

    if (ClassIn(className, SCROLL_BAR_CONTROL_CLASSES, true)) {
        if (style & SBS_SIZEGRIP)
            return false;
        return vertical ? (style & SBS_VERT) != 0 : (style & SBS_VERT) == 0;
    }
    if (ClassIn(className, SCROLL_BAR_HOST_CLASSES, true))
        return (style & (vertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
    return false;
}

HWND GetRootWindowAtCursor()
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    HWND window = WindowFromPoint(cursor);
    if (!window)
        return nullptr;
    // For an owned top-level window GetParent gives the owner, so the climb goes on
    // through the owners.
    for (HWND up = GetParent(window); up; up = GetParent(window))
        window = up;
    return window;
}
