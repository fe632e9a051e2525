#pragma once
// The two pointers of the hand pan: the open hand over a pannable image and
// the closed hand while a pan drag runs (32 x 32, black outline, white palm).
#include "platform/com/control_site.h"

namespace scanvelt {

const com::ControlCursorImage& OpenHandCursor();    // hot spot (8, 1)
const com::ControlCursorImage& ClosedHandCursor();  // hot spot (8, 6)

}  // namespace scanvelt
