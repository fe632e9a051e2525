#pragma once
// The TWAIN engine's C entry points, as the scanning control binds them by
// name. All take and return 32-bit integers unless said otherwise.
#include <cstdint>

extern "C" {

// The engine's version number; the control accepts 630 and later.
int32_t MVTWAIN_GetVersion();

}
