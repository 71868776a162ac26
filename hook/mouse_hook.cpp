// The WH_MOUSE hook procedure: the only place where the middle button gets its
// meaning. A middle press starts auto-scrolling, asks for a zoom or runs the assigned
// action, in that order; while auto-scrolling, movements become speed and direction
// reports and clicks end it.
//
// Two shared flags make the state: autoScrollActive and middlePressPending. The
// pending flag lets the release of the press that started auto-scrolling pass by,
// while the release of a second press ends it.
//
// When auto-scrolling is off and the message is not a middle press, the procedure
// makes no system call but the chain to the next hook.
#include "kxhook.h"

#include "auto_scroll.h"
#include "button_actions.h"
#include "word_math.h"

namespace {

constexpr LONG SPEED_DEAD_ZONE = 16;
constexpr SHORT SPEED_STEP = 10;
constexpr SHORT MAX_SPEED = 10;

enum MouseGroup { OTHER, MOVEMENT, SIDE_PRESS, SIDE_RELEASE, MIDDLE_PRESS, MIDDLE_RELEASE };

struct MouseMessage {
    UINT message;
    MouseGroup group;
};

// Double-clicks and the wheel are left out on purpose: they are passed on in every state.
constexpr MouseMessage MOUSE_MESSAGES[] = {
    {WM_MOUSEMOVE, MOVEMENT},          {WM_NCMOUSEMOVE, MOVEMENT},
    {WM_LBUTTONDOWN, SIDE_PRESS},      {WM_RBUTTONDOWN, SIDE_PRESS},
    {WM_NCLBUTTONDOWN, SIDE_PRESS},    {WM_NCRBUTTONDOWN, SIDE_PRESS},
    {WM_LBUTTONUP, SIDE_RELEASE},      {WM_RBUTTONUP, SIDE_RELEASE},
    {WM_NCLBUTTONUP, SIDE_RELEASE},    {WM_NCRBUTTONUP, SIDE_RELEASE},
    {WM_MBUTTONDOWN, MIDDLE_PRESS},    {WM_NCMBUTTONDOWN, MIDDLE_PRESS},
    {WM_MBUTTONUP, MIDDLE_RELEASE},    {WM_NCMBUTTONUP, MIDDLE_RELEASE},
};

MouseGroup GroupOf(WPARAM message)
{
    for (const MouseMessage &entry : MOUSE_MESSAGES)
        if (entry.message == message)
            return entry.group;
    return OTHER;
}

constexpr LRESULT SWALLOW = 1;

LRESULT Chain(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(shared.mouseHookHandle, nCode, wParam, lParam);
}

// Speed 1 up to 35 pixels from the anchor, one more for every further 10, at most 10.
SHORT SpeedFor(LONG distance)
{
    SHORT speed = static_cast<SHORT>(static_cast<SHORT>(distance - SPEED_DEAD_ZONE) / SPEED_STEP);
    if (speed >= MAX_SPEED)
        speed = MAX_SPEED;
    if (speed <= 1)
        speed = 1;
    return speed;
}

LRESULT OnMovement()
{
    POINT cursor = shared.anchorPoint;
    GetCursorPos(&cursor);
    const SHORT dx = Difference16(cursor.x, shared.anchorPoint.x);
    const SHORT dy = Difference16(cursor.y, shared.anchorPoint.y);
    const WORD direction = ChooseScrollDirection(dx, dy);
    const bool vertical = direction == SCROLL_UP || direction == SCROLL_DOWN;
    const LONG distance = Magnitude16(vertical ? dy : dx);

    shared.autoScrollCursor = LoadCursorA(moduleInstance, shared.cursorName);
    SetCursor(shared.autoScrollCursor);

    const SHORT speed = SpeedFor(distance);
    shared.autoScrollSpeed = speed;
    shared.autoScrollDirection = direction;
    SendMessageA(shared.parentWindow, HOOKMSG_AUTOSCROLL, PackWords(speed, direction),
                 static_cast<LPARAM>(PackWords(cursor.x, cursor.y)));
    return SWALLOW;
}

bool OnMiddlePress()
{
    if (shared.scrollingEnabled) {
        // Zoom and the action are not tried on this path, started or not.
        StartAutoScroll();
        if (!shared.autoScrollActive)
            return false;
        SendMessageA(shared.parentWindow, HOOKMSG_AUTOSCROLL, 0,
                     static_cast<LPARAM>(PackWords(shared.anchorPoint.x, shared.anchorPoint.y)));
        shared.startForegroundWindow = GetForegroundWindow();
        return true;
    }
    if (shared.zoomInEnabled) {
        PostMessageA(shared.parentWindow, HOOKMSG_ZOOMIN, 0, 0);
        return true;
    }
    // An index that names no row counts as unassigned.
    return RunButtonAction(shared.middleButtonIndex);
}

}  // namespace

LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode != HC_ACTION)
        return Chain(nCode, wParam, lParam);

    switch (GroupOf(wParam)) {
    case MOVEMENT:
        if (shared.autoScrollActive)
            return OnMovement();
        break;
    case SIDE_PRESS:
        if (shared.autoScrollActive)
            return SWALLOW;
        break;
    case SIDE_RELEASE:
        if (shared.autoScrollActive) {
            StopAutoScroll();
            return SWALLOW;
        }
        break;
    case MIDDLE_PRESS:
        if (shared.autoScrollActive) {
            shared.middlePressPending = TRUE;
            return SWALLOW;
        }
        if (OnMiddlePress())
            return SWALLOW;
        shared.middlePressPending = TRUE;
        break;
    case MIDDLE_RELEASE:
        if (shared.autoScrollActive && shared.middlePressPending) {
            shared.middlePressPending = FALSE;
            StopAutoScroll();
            return SWALLOW;
        }
        shared.middlePressPending = FALSE;
        break;
    case OTHER:
        break;
    }
    return Chain(nCode, wParam, lParam);
}
