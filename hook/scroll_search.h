// The scroll-bar search: which window scrolls vertically and which horizontally at
// the anchor point, and the auto-scroll mode that follows from them.
//
// All of it works on the shared state: it reads anchorPoint and writes vertTarget,
// vertScrollBar, horzTarget, horzScrollBar, the candidate list and, through
// SetAutoScrollMode, the mode flags and names.
#pragma once

#include "kxhook.h"

enum AutoScrollMode {
    MODE_BOTH,        // "IDI_VH_MARK", "IDC_VH_SCROLL"
    MODE_VERTICAL,    // vertOnly; "IDI_VER_MARK", "IDC_VER_SCROLL"
    MODE_HORIZONTAL,  // horzOnly; "IDI_HOR_MARK", "IDC_HOR_SCROLL"
};

// Sets horzOnly, vertOnly, markIconName and cursorName for a mode.
void SetAutoScrollMode(AutoScrollMode mode);

// The cursor name of the current mode (from horzOnly and vertOnly).
const char *ModeCursorName();

// Runs the vertical search, then the horizontal one, and sets the mode from what they
// found; with neither target found the mode fields keep their values.
void DiscoverScrollTargets();

// The searches and choosers themselves, for tests. The choosers take the number of
// entries of the candidate list to consider.
HWND FindVerticalTarget();
HWND FindHorizontalTarget();
void ChooseVerticalScrollBar(SHORT count);
void ChooseHorizontalScrollBar(SHORT count);

// Enumeration callbacks: append a qualifying window to the candidate list; stop the
// enumeration (return FALSE) when a qualifying window finds the list full.
BOOL CALLBACK EnumVScrollWindowsProc(HWND window, LPARAM unused);
BOOL CALLBACK EnumHScrollWindowsProc(HWND window, LPARAM unused);
BOOL CALLBACK EnumVScrollBarsProc(HWND window, LPARAM unused);
BOOL CALLBACK EnumHScrollBarsProc(HWND window, LPARAM unused);
