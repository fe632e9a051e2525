#pragma once
// The filter dispatcher: the single entry through which the engine's pixel
// filters run on a rectangle of an image. The rectangle is read into a
// working copy of 32-bit ARGB pixels, the filter of the code works on it, and
// the copy is written back in the image's own pixel format (1 bit packed,
// 8 bits through the grey value or the nearest palette colour, every other
// format converted from ARGB). Three shortcuts avoid the copy: the negative
// of a 1-bit image inverts its bits, a filter with a palette variant changes
// the palette of an indexed image whose palette is not grey, and a filter
// with an in-place form changes a 24- or 32-bit RGB image's own rows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/bitmap_data.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/palette.h"

namespace scanvelt {

// A rectangle of an image in pixels.
struct RoiRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// The working copy of one call: Width x Height ARGB pixels row by row from
// the rectangle's top row, no gap between rows (bytes blue, green, red, alpha).
// A working copy's pixels. Not zeroed when sized: the copy is read from the
// image at once, and a page's worth of zeroes would be overwritten anyway.
using ArgbPixels = std::vector<uint32_t, gdiplus::UninitializedAllocator<uint32_t>>;

struct FilterPixels {
    int32_t Width = 0;
    int32_t Height = 0;
    ArgbPixels Pixels;
    // The unchanged rectangle, for the filters that read the neighbourhood.
    ArgbPixels Source;
    // The current pixel's index in Pixels; 0 when the filter starts.
    size_t Position = 0;
    // The image's own pixel format (the blank-page test of a 1-bit image
    // counts by the palette index).
    int32_t PixelFormat = 0;
};

// The in-place forms of filters work on a rectangle locked straight in a
// 24- or 32-bit RGB image (bytes blue, green, red and, with 4 bytes a pixel,
// alpha or unused): the filters whose every channel is a function of that
// channel alone change it there, without the 32-bit working copy and its
// conversions.
using ChannelRows = gdiplus::BitmapData;

// What the in-place form of a filter decided before it changes a byte: the
// result of each channel value (outside 0..255 where the filter then brings
// the pixel back into range).
struct ChannelPlan {
    std::array<int32_t, 256> Table{};
};

// What the caller passed, for the filter to take what it needs.
struct FilterArguments {
    double amount = 0;
    float hue = 0;
    float saturation = 0;
    float lightness = 0;
    double option1 = 0;
    double option2 = 0;
    double option3 = 0;
};

// One filter of the table. `run` works on the copy and returns the answer of
// a test filter (false for the others); it reports a run-time failure by
// throwing EngineFailure or std::bad_alloc. `palette`, when there is one,
// works on the palette of an indexed image whose palette is not grey instead.
struct FilterEntry {
    int32_t code = 0;
    bool (*run)(FilterPixels& pixels, const FilterArguments& arguments) = nullptr;
    void (*palette)(gdiplus::ColorPalette& palette, const FilterArguments& arguments) = nullptr;
    bool readsSource = false;
    // The in-place form, for a filter that has one. `prepareRows` reads the
    // locked rectangle (statistics, whether every value in it has a result),
    // throws EngineFailure for a run-time failure, and answers false when the
    // in-place form cannot take the call (the working copy then does); only
    // then `applyRows` changes the rows, and it cannot fail.
    bool (*prepareRows)(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan) = nullptr;
    void (*applyRows)(ChannelRows& rows, const ChannelPlan& plan) = nullptr;
};

// The filter of a code, null for a code without one (filters/filter_table.cpp).
const FilterEntry* FindFilter(int32_t code);

// The blank-page test: it reads the copy, writes nothing back and answers
// through testResult (1.0 blank, 0.0 not).
inline constexpr int32_t kBlankTestCode = 53;

// Runs the filter of `code` on the rectangle `roi` of the image (its current
// page). An empty rectangle does nothing (OK; testResult 0.0 for the blank
// test). A code without a filter writes the rectangle back unchanged. Result:
// OK, the status of a failed palette, lock or unlock (InvalidParameter for a
// rectangle not inside the image or an unregistered ID), OutOfMemory, or
// GenericError for a run-time failure of the filter; after a failure nothing
// has been written back and testResult keeps its value.
MorvalenStatus ApplyFilter(int32_t code, int32_t imageId, double amount, const RoiRect& roi, float hue,
                           float saturation, float lightness, double option1, double option2, double option3,
                           double& testResult);

}  // namespace scanvelt
