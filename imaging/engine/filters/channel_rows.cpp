#include "imaging/engine/filters/channel_rows.h"

#include <vector>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/row_bands.h"
#include "imaging/engine/filters/wide_byte_table.h"

namespace scanvelt::filters {
namespace {

#if defined(__x86_64__)
// Sixty-four bytes through the table at a time. With `keepFourth` every
// fourth byte (a pixel's alpha) stays as it is. Answers how many bytes it
// did; the rest are left to the plain loop.
SCANVELT_WIDE_TABLES int64_t MapBytesWide(uint8_t* row, int64_t bytes, const std::array<uint8_t, 256>& table,
                                          bool keepFourth) {
    const WideTable t = LoadWide(table);
    const __mmask64 mapped = keepFourth ? SixteenPixelColours(4) : ~__mmask64{0};
    int64_t i = 0;
    for (; i + 64 <= bytes; i += 64)
        _mm512_mask_storeu_epi8(row + i, mapped, LookUpWide(t, _mm512_loadu_si512(row + i)));
    return i;
}
#endif

// The bytes of a row [from, bytes) through the table, every byte (`step` 3)
// or blue, green and red of 4-byte pixels; the wide path first where the
// processor has it.
void MapRowBytes(uint8_t* row, int64_t bytes, int32_t step, const std::array<uint8_t, 256>& table) {
    int64_t i = 0;
#if defined(__x86_64__)
    if (HasWideByteTables()) i = MapBytesWide(row, bytes, table, step == 4);
#endif
    if (step == 3) {
        // Blue, green and red follow each other with nothing between.
        for (; i < bytes; ++i) row[i] = table[row[i]];
        return;
    }
    for (; i < bytes; i += step) {
        uint8_t* pixel = row + i;
        pixel[0] = table[pixel[0]];
        pixel[1] = table[pixel[1]];
        pixel[2] = table[pixel[2]];
    }
}

}  // namespace

void MapChannelBytes(ChannelRows& rows, const std::array<uint8_t, 256>& table) {
    ForEachRowBand(HeightOf(rows), PixelCountOf(rows), [&](int32_t, int32_t first, int32_t end) {
        const int32_t width = WidthOf(rows), step = BytesPerPixelOf(rows);
        for (int32_t y = first; y < end; ++y) {
            uint8_t* row = RowOf(rows, y);
            if (step == 3 || step == 4) {
                MapRowBytes(row, int64_t{width} * step, step, table);
                continue;
            }
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * step;
                pixel[0] = table[pixel[0]];
                pixel[1] = table[pixel[1]];
                pixel[2] = table[pixel[2]];
            }
        }
    });
}

std::array<bool, 256> ChannelValuesUsed(const ChannelRows& rows) {
    std::vector<std::array<bool, 256>> seen(static_cast<size_t>(RowBandCount(HeightOf(rows), PixelCountOf(rows))));
    ForEachRowBand(HeightOf(rows), PixelCountOf(rows), [&](int32_t band, int32_t first, int32_t end) {
        std::array<bool, 256>& used = seen[static_cast<size_t>(band)];
        used.fill(false);
        const int32_t width = WidthOf(rows), step = BytesPerPixelOf(rows);
        for (int32_t y = first; y < end; ++y) {
            const uint8_t* row = RowOf(rows, y);
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * step;
                used[pixel[0]] = used[pixel[1]] = used[pixel[2]] = true;
            }
        }
    });
    std::array<bool, 256> used{};
    for (const std::array<bool, 256>& band : seen) {
        for (size_t v = 0; v < 256; ++v) used[v] = used[v] || band[v];
    }
    return used;
}

int64_t SumOfGreys(const ChannelRows& rows) {
    std::vector<int64_t> sums(static_cast<size_t>(RowBandCount(HeightOf(rows), PixelCountOf(rows))), 0);
    ForEachRowBand(HeightOf(rows), PixelCountOf(rows), [&](int32_t band, int32_t first, int32_t end) {
        int64_t sum = 0;
        const int32_t width = WidthOf(rows), step = BytesPerPixelOf(rows);
        for (int32_t y = first; y < end; ++y) {
            const uint8_t* row = RowOf(rows, y);
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * step;
                sum += GreyOfSum(pixel[0] + pixel[1] + pixel[2]);
            }
        }
        sums[static_cast<size_t>(band)] = sum;
    });
    int64_t total = 0;
    for (const int64_t sum : sums) total += sum;
    return total;
}

std::array<uint8_t, 256> ByteTableOf(const ChannelPlan& plan) {
    std::array<uint8_t, 256> bytes{};
    for (size_t v = 0; v < 256; ++v) bytes[v] = static_cast<uint8_t>(LimitToChannel(plan.Table[v]) == plan.Table[v] ? plan.Table[v] : 0);
    return bytes;
}

void ApplyByteMapRows(ChannelRows& rows, const ChannelPlan& plan) { MapChannelBytes(rows, ByteTableOf(plan)); }

}  // namespace scanvelt::filters
