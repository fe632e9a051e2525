#pragma once
// The scan window's two controls, created from their class IDs through the
// program's COM layer (the library registers itself at installation). The
// factory can be replaced, so that the window's tests drive scripted controls.
#include <functional>
#include <optional>
#include <string>

#include "petty/scanning/late_bound_control.h"

namespace petty {

struct ScanControls {
    LateBoundControl twain;
    LateBoundControl viewer;
};

// The controls, or why they cannot be made (the library is missing or not
// registered): a sentence for the user.
struct ScanControlsOrReason {
    std::optional<ScanControls> controls;
    std::string reason;
};

ScanControlsOrReason createScanControls();

// Replaces how the controls are made (tests); an empty function restores the COM one.
void setScanControlsFactory(std::function<ScanControlsOrReason()> factory);

}  // namespace petty
