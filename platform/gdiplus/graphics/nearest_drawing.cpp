#include "platform/gdiplus/graphics/nearest_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdiplus/graphics/pixel_painting.h"
#include "platform/gdiplus/pixel_convert.h"

namespace gdiplus {
namespace {

// The source pixel of each target position along one axis, clamped to the
// area (the edge pixels repeat outwards). Each position is worked out on its
// own, not by adding steps, so a drawing split into parts gives the pixels
// of the drawing whole.
std::vector<std::int32_t> SourceIndices(std::int32_t first, std::int32_t count, NearestAxis axis, std::int32_t size) {
    std::vector<std::int32_t> indices(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const double centre = (first + i + 0.5) * axis.scale + axis.offset;
        // In 1/65536 pixels, one step back: a centre on a border takes the first pixel.
        const auto fixed = static_cast<std::int64_t>(std::llround(centre * 65536.0)) - 1;
        const std::int64_t index = fixed >> 16;  // rounds down, negative numbers too
        indices[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(std::clamp<std::int64_t>(index, 0, size - 1));
    }
    return indices;
}

// x * a / 255 for bytes, rounded as cairo rounds it.
inline std::uint32_t MultiplyBytes(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 0x80;
    return (t + (t >> 8)) >> 8;
}

// Premultiplied source over target, channel by channel with saturation.
// The target of an RGB bitmap counts as opaque whatever its fourth byte.
void OverRow(const std::uint32_t* source, std::uint32_t* target, std::int32_t count, std::uint32_t targetAlpha) {
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint32_t s = source[i];
        const std::uint32_t d = target[i] | targetAlpha;
        const std::uint32_t inverse = 255 - (s >> 24);
        std::uint32_t result = 0;
        for (std::uint32_t shift = 0; shift < 32; shift += 8) {
            const std::uint32_t sum = ((s >> shift) & 0xFF) + MultiplyBytes((d >> shift) & 0xFF, inverse);
            result |= std::min<std::uint32_t>(sum, 0xFF) << shift;
        }
        target[i] = result;
    }
}

// A lock held until the object goes.
class Lock {
public:
    Lock(Bitmap& bitmap, const Rect& area, std::uint32_t flags, PixelFormat format) : bitmap_(bitmap) {
        locked_ = bitmap_.LockBits(area, flags, format, data_) == Ok;
    }
    ~Lock() { Unlock(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Top-down rows, whole pixels apart.
    bool usable() const { return locked_ && data_.Stride > 0 && data_.Stride % 4 == 0; }
    std::uint32_t* row(std::int32_t y) const {
        return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(data_.Scan0) +
                                                static_cast<std::ptrdiff_t>(y) * data_.Stride);
    }
    Status Unlock() {
        if (!locked_) return Ok;
        locked_ = false;
        return bitmap_.UnlockBits(data_);
    }

private:
    Bitmap& bitmap_;
    BitmapData data_;
    bool locked_ = false;
};

}  // namespace

std::optional<Status> DrawNearestScaled(Bitmap& target, const Rect& fill, Bitmap& source, const Rect& area,
                                        NearestAxis x, NearestAxis y) {
    const PixelFormat sourceFormat = source.GetPixelFormat();
    const PixelFormat targetFormat = target.GetPixelFormat();
    if (sourceFormat != PixelFormat32bppARGB && sourceFormat != PixelFormat32bppPARGB) return std::nullopt;
    if (targetFormat != PixelFormat32bppRGB && targetFormat != PixelFormat32bppPARGB) return std::nullopt;
    if (&source == &target || fill.Width <= 0 || fill.Height <= 0 || area.Width <= 0 || area.Height <= 0)
        return std::nullopt;
    const std::vector<std::int32_t> columns = SourceIndices(fill.X, fill.Width, x, area.Width);
    const std::vector<std::int32_t> rows = SourceIndices(fill.Y, fill.Height, y, area.Height);

    // Both locks in the bitmaps' own formats hand out their rows uncopied.
    Lock from(source, area, ImageLockModeRead, sourceFormat);
    if (!from.usable()) return std::nullopt;
    Lock to(target, fill, ImageLockModeRead | ImageLockModeWrite, targetFormat);
    if (!to.usable()) return std::nullopt;

    const std::uint32_t targetAlpha = targetFormat == PixelFormat32bppRGB ? 0xFF000000u : 0;
    const ColorPalette none;
    PixelConverter premultiply(PixelFormat32bppARGB, none, PixelFormat32bppPARGB, none);
    std::vector<std::uint32_t> gathered(static_cast<std::size_t>(fill.Width));
    for (std::int32_t row = 0; row < fill.Height; ++row) {
        const std::uint32_t* sourceRow = from.row(rows[static_cast<std::size_t>(row)]);
        // The next row's source pixels are fetched while this one is copied:
        // a scaled-down page reads rows far apart, which the cache cannot foresee.
        if (row + 1 < fill.Height) {
            const auto* next = reinterpret_cast<const char*>(from.row(rows[static_cast<std::size_t>(row) + 1]));
            const auto* first = next + static_cast<std::ptrdiff_t>(columns.front()) * 4;
            const auto* last = next + static_cast<std::ptrdiff_t>(columns.back()) * 4;
            for (const char* line = first; line <= last; line += 64) __builtin_prefetch(line);
        }
        for (std::size_t i = 0; i < gathered.size(); ++i) gathered[i] = sourceRow[columns[i]];
        std::uint32_t* targetRow = to.row(row);
        // An opaque pixel is the same bytes straight and premultiplied and
        // covers what lies under it: a row of them is a copy.
        if (AllOpaque(gathered.data(), fill.Width)) {
            std::memcpy(targetRow, gathered.data(), gathered.size() * sizeof(std::uint32_t));
            continue;
        }
        auto* bytes = reinterpret_cast<std::uint8_t*>(gathered.data());
        if (sourceFormat == PixelFormat32bppARGB) premultiply.Convert(bytes, 0, bytes, 0, fill.Width);
        OverRow(gathered.data(), targetRow, fill.Width, targetAlpha);
    }
    from.Unlock();
    return to.Unlock();
}

}  // namespace gdiplus
