#pragma once
// An image's resolution together with its XResolution (282) and
// YResolution (283) property items.
#include <array>
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

inline constexpr int32_t kTagXResolution = 282;
inline constexpr int32_t kTagYResolution = 283;

// The RATIONAL value (8 bytes: numerator, then denominator, little-endian) of
// a resolution: dpi x 10^e rounded half to even over 10^e, e being the
// decimal places of the single-precision value, so 300 gives 300/1, 72.5
// gives 725/10 and 0.1 gives 1/10. EngineFailure when a part leaves 32 bits.
std::array<uint8_t, 8> ResolutionRational(float dpi);

// Writes both property items (unmarked; their failures are ignored), then
// sets the resolution, whose status is the result; on success the image is
// marked modified unless leaveUnmarked. InvalidParameter for an unregistered
// ID; GenericError, with nothing changed, for a resolution whose rational
// leaves 32 bits.
MorvalenStatus SetImageResolution(int32_t imageId, float horizontalDpi, float verticalDpi, bool leaveUnmarked);
// Writes the image's resolution again, unmarked, so that its resolution items
// agree with it; the savers call it before they encode.
void SyncResolutionTags(int32_t imageId);

}  // namespace scanvelt
