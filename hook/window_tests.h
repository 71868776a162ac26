// What kind of window lies at a point: stateless queries on the window tree.
#pragma once

#include "kxhook.h"

// The class is "Internet Explorer_Server" (a browser surface: never auto-scrolled).
bool IsBrowserServerWindow(HWND window);

// The class is "EXCELB" or "EXCEL@", or it is a "ScrollBar" whose parent is one.
bool IsExcelWindow(HWND window);

// The class is "SysListView32" or "SysTreeView32".
bool IsListOrTreeView(HWND window);

// The window is a visible, enabled scroll bar of the given orientation: a scroll-bar
// control (orientation from SBS_VERT, size grips excluded) or a window of a class that
// carries scroll bars (orientation from WS_VSCROLL / WS_HSCROLL).
bool IsScrollBarWindow(HWND window, BOOL vertical);

// The top of the parent/owner chain of the window under the cursor, or none.
HWND GetRootWindowAtCursor();
