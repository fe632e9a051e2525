#pragma once
// Reading a device option's constraint as TWAIN values: the list of values a
// capability offers, the value a request snaps to, and the scan modes named
// as TWAIN pixel types. Pure functions of the option's description.
#include <optional>
#include <string>
#include <vector>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// The most values a capability lists; a longer range is thinned.
inline constexpr size_t kMaxListedValues = 1000;

// The numbers the option allows, ascending: a word list as given, a range
// stepped by its quantum (thinned to at most kMaxListedValues; resolutions
// as the usual values within the range), a Bool as 0 and 1. Empty for text
// options and unconstrained numbers.
std::vector<double> AllowedNumbers(const OptionInfo& option);

// The allowed value nearest to `wanted`; nullopt when `wanted` lies outside
// the range or list (or is not finite). An unconstrained number is taken as it is.
std::optional<double> NearestAllowed(const OptionInfo& option, double wanted);

// TWAIN pixel type of a SANE scan mode: 0 line art, 1 grey, 2 colour; -1 for others.
int PixelTypeOfMode(const std::string& mode);

// The mode among `modes` that gives a pixel type; "" when none does.
std::string ModeForPixelType(const std::vector<std::string>& modes, int pixelType);

inline constexpr double kMillimetresPerInch = 25.4;

}  // namespace mvtwain
