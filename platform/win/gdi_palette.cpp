#include "platform/win/gdi_palette.h"

#include "platform/win/handle_table.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace win {
namespace {

struct GdiPalette {
    std::vector<PaletteEntry> entries;
};

HandleTable<HPALETTE, GdiPalette>& palettes() {
    static HandleTable<HPALETTE, GdiPalette> table(HandleKind::Palette);
    return table;
}

}  // namespace

HPALETTE CreatePalette(std::span<const PaletteEntry> entries) {
    if (entries.empty() || entries.size() > kMaxPaletteEntries) return HPALETTE{};
    auto palette = std::make_shared<GdiPalette>();
    palette->entries.assign(entries.begin(), entries.end());
    return palettes().add(std::move(palette));
}

uint32_t GetPaletteEntries(HPALETTE handle, uint32_t start, std::span<PaletteEntry> out) {
    auto palette = palettes().find(handle);
    if (!palette) return 0;
    if (out.empty()) return static_cast<uint32_t>(palette->entries.size());
    if (start >= palette->entries.size()) return 0;
    size_t count = std::min(out.size(), palette->entries.size() - start);
    std::copy_n(palette->entries.begin() + start, count, out.begin());
    return static_cast<uint32_t>(count);
}

bool DeleteObject(HPALETTE palette) { return palettes().remove(palette) != nullptr; }

}  // namespace win
