#include "petty/register/period_pick_state.h"

namespace petty {

PeriodPickState& periodPickState() {
    static PeriodPickState state;
    return state;
}

void resetPeriodPickState() { periodPickState() = PeriodPickState(); }

}  // namespace petty
