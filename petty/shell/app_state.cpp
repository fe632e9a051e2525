#include "petty/shell/app_state.h"

namespace petty {

namespace {
AppState state;
}

AppState& appState() { return state; }

void resetAppState() { state = AppState{}; }

}  // namespace petty
