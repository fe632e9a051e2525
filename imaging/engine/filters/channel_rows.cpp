#include "imaging/engine/filters/channel_rows.h"

#include <vector>

#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/row_bands.h"

namespace scanvelt::filters {

void MapChannelBytes(ChannelRows& rows, const std::array<uint8_t, 256>& table) {
    ForEachRowBand(HeightOf(rows), PixelCountOf(rows), [&](int32_t, int32_t first, int32_t end) {
        const int32_t width = WidthOf(rows), step = BytesPerPixelOf(rows);
        for (int32_t y = first; y < end; ++y) {
            uint8_t* row = RowOf(rows, y);
            if (step == 3) {
                // Blue, green and red follow each other with nothing between.
                const int64_t bytes = int64_t{width} * 3;
                for (int64_t i = 0; i < bytes; ++i) row[i] = table[row[i]];
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
