#pragma once
// GDI objects named by the raw handle values hosts pass back.
#include <cstdint>

namespace win {

// Frees the bitmap or palette a raw handle value names; false for any other
// value (another kind, freed, never handed out, a bitmap still selected).
bool DeleteObject(uint32_t gdiObject);

}  // namespace win
