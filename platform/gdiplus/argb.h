#pragma once
// A colour as a 32-bit 0xAARRGGBB value, the layout of every ARGB value the
// layer takes or gives (in memory: blue, green, red, alpha).
#include <cstdint>

namespace gdiplus {

using ARGB = std::uint32_t;

constexpr ARGB MakeARGB(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (ARGB{a} << 24) | (ARGB{r} << 16) | (ARGB{g} << 8) | ARGB{b};
}
constexpr std::uint8_t AlphaOf(ARGB c) { return static_cast<std::uint8_t>(c >> 24); }
constexpr std::uint8_t RedOf(ARGB c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t GreenOf(ARGB c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(ARGB c) { return static_cast<std::uint8_t>(c); }

}  // namespace gdiplus
