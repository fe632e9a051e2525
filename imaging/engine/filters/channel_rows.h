#pragma once
// Passes over the rows of a rectangle locked in place (ChannelRows) that the
// per-channel filters share: mapping blue, green and red through a table,
// finding which channel values occur, summing the pixels' grey values. Each
// shares its rows among a few threads when the rectangle is large.
#include <array>
#include <cstdint>

#include "imaging/engine/filter_dispatch.h"

namespace scanvelt::filters {

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
