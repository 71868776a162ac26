// The middle-button actions: the rows of the shared action table and how one is run.
#pragma once

#include "kxhook.h"

// Runs row `index` of the action table. Returns false, having done nothing, when the
// index names no row (-1 for "none assigned", or anything outside 0..29); the caller
// then treats the press as unassigned.
bool RunButtonAction(int index);
