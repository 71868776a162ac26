// The scroll-bar search. For each direction, in this order:
//   1. the window under the anchor is itself a scroll bar: its parent scrolls;
//   2. the window carries the scroll style itself: it scrolls;
//   3. neighbours: a descendant of its parent that carries the scroll style and whose
//      rectangle holds the anchor (skipped for dialog boxes);
//   4. climbing: the nearest scroll-bar control among the descendants of the window,
//      then of each parent in turn, until an ancestor carries the scroll style or a
//      top-level window is reached.
// Both directions share one candidate list in the shared state, so they run one after
// the other, never interleaved.
#include "scroll_search.h"

#include "names.h"
#include "window_tests.h"
#include "word_math.h"

namespace {

constexpr int CLASS_NAME_CHARS = 80;

struct ModeNames {
    BOOL horzOnly;
    BOOL vertOnly;
    const char *markIconName;
    const char *cursorName;
};

constexpr ModeNames MODE_NAMES[] = {
    /* MODE_BOTH */ {0, 0, "IDI_VH_MARK", "IDC_VH_SCROLL"},
    /* MODE_VERTICAL */ {0, 1, "IDI_VER_MARK", "IDC_VER_SCROLL"},
    /* MODE_HORIZONTAL */ {1, 0, "IDI_HOR_MARK", "IDC_HOR_SCROLL"},
};

// What differs between the vertical and the horizontal search.
struct Axis {
    BOOL vertical;
    DWORD scrollStyle;
    WNDENUMPROC neighbourProc;
    WNDENUMPROC scrollBarProc;
    HWND SharedHookState::*target;
    HWND SharedHookState::*scrollBar;
};

constexpr Axis VERTICAL = {TRUE, WS_VSCROLL, EnumVScrollWindowsProc, EnumVScrollBarsProc, &SharedHookState::vertTarget,
                       &SharedHookState::vertScrollBar};
constexpr Axis HORIZONTAL = {FALSE, WS_HSCROLL, EnumHScrollWindowsProc, EnumHScrollBarsProc,
                         &SharedHookState::horzTarget, &SharedHookState::horzScrollBar};

bool HasStyle(HWND window, DWORD style)
{
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & style) != 0;
}

// Appends a qualifying window to the candidate list; false when the list is full.
BOOL AddCandidate(HWND window)
{
    const SHORT count = shared.candidateCount;
    if (count < 0 || count >= CANDIDATE_LIMIT)
        return FALSE;
    shared.candidateWindows[count] = window;
    shared.candidateCount = static_cast<SHORT>(count + 1);
    return TRUE;
}

// A window with its own scroll bar of this direction that is not itself a scroll bar.
BOOL AddIfScrollingWindow(HWND window, const Axis &axis)
{
    if (HasStyle(window, axis.scrollStyle) && IsWindowVisible(window) && IsWindowEnabled(window) &&
        !IsScrollBarWindow(window, axis.vertical))
        return AddCandidate(window);
    return TRUE;
}

BOOL AddIfScrollBar(HWND window, const Axis &axis)
{
    return IsScrollBarWindow(window, axis.vertical) ? AddCandidate(window) : TRUE;
}

// Empties the candidate list and fills it from the descendants of `parent`.
void CollectCandidates(HWND parent, WNDENUMPROC proc)
{
    shared.candidateCount = 0;
    EnumChildWindows(parent, proc, 0);
}

SHORT CandidateCount()
{
    const SHORT count = shared.candidateCount;
    return count < 0 ? 0 : (count > CANDIDATE_LIMIT ? static_cast<SHORT>(CANDIDATE_LIMIT) : count);
}

// The nearest scroll bar that lies to the right of the anchor and spans it on the
// axis: the distance to its right edge and to its top (vertical) or bottom
// (horizontal) edge, measured in 16 bits. A later candidate wins when it is no farther
// in both measures.
void ChooseScrollBar(SHORT count, const Axis &axis)
{
    const POINT anchor = shared.anchorPoint;
    SHORT bestX = 0x7FFF;
    SHORT bestY = 0x7FFF;
    if (count > CANDIDATE_LIMIT)
        count = CANDIDATE_LIMIT;
    for (SHORT i = 0; i < count; ++i) {
        HWND candidate = shared.candidateWindows[i];
        RECT rect;
        if (!GetWindowRect(candidate, &rect))
            continue;  // destroyed since the enumeration
        const SHORT dx = Difference16(rect.right, anchor.x);
        const SHORT dy = axis.vertical ? Difference16(anchor.y, rect.top) : Difference16(rect.bottom, anchor.y);
        if (dx < 0 || dy < 0 || dx > bestX || dy > bestY)
            continue;
        shared.*axis.scrollBar = candidate;
        shared.*axis.target = GetParent(candidate);
        bestX = dx;
        bestY = dy;
    }
}

HWND FindTarget(const Axis &axis)
{
    const POINT anchor = shared.anchorPoint;
    HWND window = WindowFromPoint(anchor);
    shared.*axis.scrollBar = nullptr;
    if (!window)
        return nullptr;

    if (IsScrollBarWindow(window, axis.vertical)) {
        shared.*axis.scrollBar = window;
        return GetParent(window);
    }
    if (HasStyle(window, axis.scrollStyle))
        return window;

    // Neighbours: a sibling or cousin with the scroll style that lies under the anchor.
    if (HWND parent = GetParent(window)) {
        char className[CLASS_NAME_CHARS];
        className[0] = '\0';
        GetClassNameA(window, className, CLASS_NAME_CHARS);
        if (!NamesEqual(className, "#32770")) {
            CollectCandidates(parent, axis.neighbourProc);
            const SHORT count = CandidateCount();
            for (SHORT i = 0; i < count; ++i) {
                RECT rect;
                if (GetWindowRect(shared.candidateWindows[i], &rect) && PtInRect(&rect, anchor))
                    return shared.candidateWindows[i];
            }
        }
    }

    // Climbing: scroll-bar controls among the descendants, level by level.
    while (window && !(shared.*axis.scrollBar)) {
        CollectCandidates(window, axis.scrollBarProc);
        if (CandidateCount() != 0) {
            ChooseScrollBar(CandidateCount(), axis);
            if (shared.*axis.scrollBar)
                return shared.*axis.target;
        }
        if (!HasStyle(window, WS_CHILD))
            return nullptr;
        window = GetParent(window);
        if (window && HasStyle(window, axis.scrollStyle)) {
            shared.*axis.scrollBar = window;
            return window;
        }
    }
    return nullptr;
}

}  // namespace

void SetAutoScrollMode(AutoScrollMode mode)
{
    const ModeNames &names = MODE_NAMES[mode];
    shared.horzOnly = names.horzOnly;
    shared.vertOnly = names.vertOnly;
    CopyName(shared.markIconName, names.markIconName);
    CopyName(shared.cursorName, names.cursorName);
}

const char *ModeCursorName()
{
    if (shared.horzOnly)
        return MODE_NAMES[MODE_HORIZONTAL].cursorName;
    if (shared.vertOnly)
        return MODE_NAMES[MODE_VERTICAL].cursorName;
    return MODE_NAMES[MODE_BOTH].cursorName;
}

void DiscoverScrollTargets()
{
    shared.vertTarget = FindVerticalTarget();
    shared.horzTarget = FindHorizontalTarget();
    if (shared.vertTarget && shared.horzTarget)
        SetAutoScrollMode(MODE_BOTH);
    else if (shared.horzTarget)
        SetAutoScrollMode(MODE_HORIZONTAL);
    else if (shared.vertTarget)
        SetAutoScrollMode(MODE_VERTICAL);
}

HWND FindVerticalTarget()
{
    return FindTarget(VERTICAL);
}

HWND FindHorizontalTarget()
{
    return FindTarget(HORIZONTAL);
}

void ChooseVerticalScrollBar(SHORT count)
{
    ChooseScrollBar(count, VERTICAL);
}

void ChooseHorizontalScrollBar(SHORT count)
{
    ChooseScrollBar(count, HORIZONTAL);
}

BOOL CALLBACK EnumVScrollWindowsProc(HWND window, LPARAM)
{
    return AddIfScrollingWindow(window, VERTICAL);
}

BOOL CALLBACK EnumHScrollWindowsProc(HWND window, LPARAM)
{
    return AddIfScrollingWindow(window, HORIZONTAL);
}

BOOL CALLBACK EnumVScrollBarsProc(HWND window, LPARAM)
{
    return AddIfScrollBar(window, VERTICAL);
}

BOOL CALLBACK EnumHScrollBarsProc(HWND window, LPARAM)
{
    return AddIfScrollBar(window, HORIZONTAL);
}
