#pragma once
// The point and colour filters of the filter dispatcher: each output pixel
// depends on the same input pixel only (the two contrast filters first gather
// statistics over the whole rectangle). They work in place on the working
// copy, change red, green and blue and keep alpha (colour to transparency
// changes alpha only). A run-time failure (a value that does not fit its
// byte, an overflow) is thrown as EngineFailure and ends the dispatcher's
// call before anything is written back.
#include <array>
#include <cstdint>

#include "imaging/engine/filter_dispatch.h"
#include "platform/gdiplus/palette.h"

namespace scanvelt::filters {

inline constexpr int32_t kBrightnessCode = 14;
inline constexpr int32_t kContrastCode = 17;
inline constexpr int32_t kStretchContrastCode = 28;
inline constexpr int32_t kSaturationCode = 30;
inline constexpr int32_t kGammaCode = 31;
inline constexpr int32_t kSepiaCode = 34;
inline constexpr int32_t kColourToAlphaCode = 50;

// Each channel v becomes (p + 100) / 100 x v (a single-precision factor),
// limited to 0..255; p is `amount` as integer.
bool BrightnessFilter(FilterPixels& pixels, const FilterArguments& arguments);
// The same table on blue, green and red of the palette's entries.
void BrightenPalette(gdiplus::ColorPalette& palette, const FilterArguments& arguments);

// The per-channel tables, built with each filter's own arithmetic; the
// working copy and the rows changed in place both go through them.
std::array<uint8_t, 256> BrightnessTable(double amount);
// Channel v -> (v - mean) x factor + mean, rounded; may leave 0..255.
std::array<int32_t, 256> ContrastTable(double meanGrey, double amount);
// kUnfitChannel where the value has no byte result (0 to a negative power).
inline constexpr int32_t kUnfitChannel = -1;
std::array<int32_t, 256> GammaTable(double amount);

// The in-place forms (FilterEntry::prepareRows; the byte maps apply
// through ApplyByteMapRows).
bool PrepareBrightnessRows(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan);
bool PrepareGammaRows(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan);
// Declines a factor so large that bringing a pixel back into range could
// overflow: the working copy then fails the call before writing anything.
bool PrepareContrastRows(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan);
void ApplyContrastRows(ChannelRows& rows, const ChannelPlan& plan);

// Spreads each channel about the rectangle's mean grey by (p + 100) / 100; a
// channel pushed out of range hands half its excess to the other two.
bool ContrastFilter(FilterPixels& pixels, const FilterArguments& arguments);

// Each channel's smallest..largest value over the rectangle to 0..255.
bool StretchContrastFilter(FilterPixels& pixels, const FilterArguments& arguments);

// Each channel c becomes p / 100 x (c - grey) + c, limited to 0..255.
bool SaturationFilter(FilterPixels& pixels, const FilterArguments& arguments);

// Each channel c becomes 255 x (c / 255)^(100 / p); p = 0 counts as 1.
bool GammaFilter(FilterPixels& pixels, const FilterArguments& arguments);

// Reads Source: each pixel the colour of hue H, saturation S and lightness
// L x (R + G + B) / 765 (hue, saturation, lightness of the arguments).
bool SepiaFilter(FilterPixels& pixels, const FilterArguments& arguments);

struct RgbBytes {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
};
// Hue in sixths of the colour circle (0 red, 2 green, 4 blue), saturation and
// lightness 0..1, all in single precision; EngineFailure for a channel
// outside 0..255.
RgbBytes HslToRgb(float hue, float saturation, float lightness);

// Alpha 0 for every pixel whose summed channel distance from the colour
// (option1 as an ARGB integer) is at most 768 - 7.68 x tolerance (amount),
// floored: tolerance 100 takes the exact colour only.
bool ColorToAlphaFilter(FilterPixels& pixels, const FilterArguments& arguments);

}  // namespace scanvelt::filters
