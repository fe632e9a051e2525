#pragma once
// The hourglass while a long step runs, then the program's custom pointer
// again, whichever way the step ends.
#include "platform/forms/ui.h"

namespace petty {

class HourglassWhileBusy {
public:
    HourglassWhileBusy() { forms::ui().setMousePointer(forms::vbHourglass); }
    ~HourglassWhileBusy() { forms::ui().setMousePointer(forms::vbCustom); }
    HourglassWhileBusy(const HourglassWhileBusy&) = delete;
    HourglassWhileBusy& operator=(const HourglassWhileBusy&) = delete;
};

}  // namespace petty
