#pragma once
// Passes over the rows of a rectangle locked in place (ChannelRows) that the
// per-channel filters share: mapping blue, green and red through a table,
// finding which channel values occur, summing the pixels' grey values. Each
// shares its rows among a few threads when the rectangle is large.
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/engine/filter_dispatch.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::filters {

inline int32_t WidthOf(const ChannelRows& rows) { return static_cast<int32_t>(rows.Width); }
inline int32_t HeightOf(const ChannelRows& rows) { return static_cast<int32_t>(rows.Height); }
inline int64_t PixelCountOf(const ChannelRows& rows) { return int64_t{rows.Width} * rows.Height; }
// 3 or 4.
inline int32_t BytesPerPixelOf(const ChannelRows& rows) {
    return static_cast<int32_t>(gdiplus::GetPixelFormatSize(rows.PixelFormat) / 8);
}
inline uint8_t* RowOf(const ChannelRows& rows, int32_t y) {
    return static_cast<uint8_t*>(rows.Scan0) + static_cast<std::ptrdiff_t>(y) * rows.Stride;
}

// Blue, green and red of every pixel through the table; alpha (or the
// unused fourth byte) stays.
void MapChannelBytes(ChannelRows& rows, const std::array<uint8_t, 256>& table);

// Which of the 256 values occur among blue, green and red of the rows.
std::array<bool, 256> ChannelValuesUsed(const ChannelRows& rows);

// The sum over every pixel of the integer mean of its three channels.
int64_t SumOfGreys(const ChannelRows& rows);

// The plan's table as bytes, for a plan whose every used entry is 0..255
// (an entry outside becomes 0: the preparation proved it unused).
std::array<uint8_t, 256> ByteTableOf(const ChannelPlan& plan);

// applyRows of the filters whose plan is a plain byte map.
void ApplyByteMapRows(ChannelRows& rows, const ChannelPlan& plan);

}  // namespace scanvelt::filters
