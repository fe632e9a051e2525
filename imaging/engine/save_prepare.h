#pragma once
// Getting an image ready for the JPEG and TIFF encoders: a resolution below
// half a dot per inch is raised, and the time-zone offset item (0x882A),
// which those encoders cannot write, is removed. The image itself changes
// (and is marked modified), not only the file written.
#include <cstdint>
#include <optional>

namespace scanvelt {

inline constexpr int32_t kTagTimeZoneOffset = 0x882A;

// The factor that lifts the smaller resolution `smaller` to at least 0.5 dpi:
// 1.0 raised in single-precision steps of 0.1 (0.3 dpi gives 1.7, 0.25 gives
// 2.0). nullopt when there is nothing a factor can lift: a resolution of 0 or
// below, or not a number. Always terminates: resolutions so small that the
// steps would take too long (or stall in single precision) get the factor
// computed directly.
std::optional<float> EncoderResolutionFactor(float smaller);

// Raises the image's resolution when either direction is below 0.5 dpi (both
// by the same factor) and removes every time-zone offset item. An
// unregistered ID, an image whose resolution cannot be raised and an item
// that cannot be removed are left as they are: the save goes on.
void PrepareForEncoder(int32_t imageId);

}  // namespace scanvelt
