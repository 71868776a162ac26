// Auto-scrolling's start, direction and stop, run inside the mouse and keyboard hooks.
#pragma once

#include "kxhook.h"

// Takes the cursor position as the anchor and decides whether auto-scrolling starts
// there; on success autoScrollActive is set and the mode cursor shows. Called only
// while auto-scrolling is inactive.
void StartAutoScroll();

// The direction code for an offset from the anchor (16-bit, cursor minus anchor,
// negative y is up); sets cursorName to the matching cursor.
WORD ChooseScrollDirection(SHORT dx, SHORT dy);

// Ends auto-scrolling, restores the cursor that showed under a capture, and sends
// HOOKMSG_AUTOSCROLL_END with the foreground window of the start.
void StopAutoScroll();
