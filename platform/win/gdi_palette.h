#pragma once
// GDI logical palettes.
#include "platform/win/handles.h"

#include <cstdint>
#include <span>

namespace win {

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

constexpr size_t kMaxPaletteEntries = 65535;

// A palette of 1 to 65,535 entries; the null handle otherwise.
HPALETTE CreatePalette(std::span<const PaletteEntry> entries);

// Copies entries [start, start + out.size()) that exist into `out` and returns
// how many were copied; with an empty `out`, returns the palette's entry count.
// 0 for an invalid handle.
uint32_t GetPaletteEntries(HPALETTE palette, uint32_t start, std::span<PaletteEntry> out);

bool DeleteObject(HPALETTE palette);

}  // namespace win
