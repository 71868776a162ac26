// Auto-scrolling: where it starts and in which mode, which way the cursor points, and
// how it ends. The library scrolls nothing itself; the resident application does, on
// the messages the hooks send.
#include "auto_scroll.h"

#include "names.h"
#include "scroll_search.h"
#include "window_tests.h"
#include "word_math.h"

namespace {

constexpr LONG DEAD_ZONE = 16;

struct DirectionCursor {
    WORD direction;
    const char *cursorName;
};
constexpr DirectionCursor UP = {SCROLL_UP, "IDC_UP_SCROLL"};
constexpr DirectionCursor DOWN = {SCROLL_DOWN, "IDC_DN_SCROLL"};
constexpr DirectionCursor RIGHT = {SCROLL_RIGHT, "IDC_RI_SCROLL"};
constexpr DirectionCursor LEFT = {SCROLL_LEFT, "IDC_LF_SCROLL"};

WORD Point(const DirectionCursor &to)
{
    CopyName(shared.cursorName, to.cursorName);
    return to.direction;
}

void GiveFocus(HWND window)
{
    if (GetFocus() != window)
        SetFocus(window);
}

bool VisibleTarget(HWND target)
{
    return target && IsWindowVisible(target);
}

}  // namespace

void StartAutoScroll()
{
    GetCursorPos(&shared.anchorPoint);
    HWND window = WindowFromPoint(shared.anchorPoint);
    if (IsBrowserServerWindow(window))
        return;
    const bool excel = IsExcelWindow(window);

    // Excel windows are never searched; in wheel mode 1 only list and tree views are.
    if (shared.wheelMode != 1 && !excel) {
        DiscoverScrollTargets();
    } else {
        shared.vertTarget = nullptr;
        shared.horzTarget = nullptr;
        if (shared.wheelMode == 1 && IsListOrTreeView(window))
            DiscoverScrollTargets();
    }

    if (VisibleTarget(shared.vertTarget) || VisibleTarget(shared.horzTarget)) {
        // The mode is the one the search set.
    } else if (excel) {
        GiveFocus(window);
        SetAutoScrollMode(MODE_BOTH);
    } else {
        GiveFocus(window);
        if (GetRootWindowAtCursor() != GetForegroundWindow())
            return;  // the focus change stays
        SetAutoScrollMode(MODE_VERTICAL);
    }

    shared.autoScrollActive = TRUE;
    shared.restoreCursor = GetCapture() ? GetCursor() : nullptr;
    shared.autoScrollCursor = LoadCursorA(moduleInstance, shared.cursorName);
    SetCursor(shared.autoScrollCursor);
}

WORD ChooseScrollDirection(SHORT dx, SHORT dy)
{
    const LONG across = Magnitude16(dx);
    const LONG along = Magnitude16(dy);
    if (across < DEAD_ZONE && along < DEAD_ZONE) {
        CopyName(shared.cursorName, ModeCursorName());
        return SCROLL_NONE;
    }
    if (along < across && !shared.vertOnly)
        return Point(dx < 0 ? LEFT : RIGHT);
    // Ties go to the vertical; in horizontal-only mode a mostly vertical movement
    // points nowhere and keeps the last cursor.
    if (shared.horzOnly)
        return SCROLL_NONE;
    return Point(dy < 0 ? UP : DOWN);
}

void StopAutoScroll()
{
    if (shared.restoreCursor)
        SetCursor(shared.restoreCursor);
    shared.autoScrollSpeed = 0;
    shared.autoScrollActive = FALSE;
    shared.autoScrollDirection = SCROLL_NONE;
    shared.vertTarget = nullptr;
    shared.horzTarget = nullptr;
    SendMessageA(shared.parentWindow, HOOKMSG_AUTOSCROLL_END, reinterpret_cast<WPARAM>(shared.startForegroundWindow),
                 0);
}
