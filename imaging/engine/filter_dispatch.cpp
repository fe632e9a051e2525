#include "imaging/engine/filter_dispatch.h"

#include <array>
#include <new>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/filter_negative.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/gdiplus/memory.h"

namespace scanvelt {

namespace {

// What the dispatcher knows of the image's palette.
struct PaletteState {
    bool read = false;
    bool allGrey = false;
    gdiplus::ColorPalette palette;
};

uint8_t Blue(uint32_t argb) { return static_cast<uint8_t>(argb); }
uint8_t Green(uint32_t argb) { return static_cast<uint8_t>(argb >> 8); }
uint8_t Red(uint32_t argb) { return static_cast<uint8_t>(argb >> 16); }

PaletteState ReadPalette(int32_t imageId) {
    PaletteState state;
    int32_t size = 0;
    if (GetImagePaletteSize(imageId, size) != OK || GetImagePalette(imageId, state.palette) != OK) return state;
    state.read = true;
    state.allGrey = true;
    for (uint32_t i = 0; i < state.palette.Count; ++i) {
        const uint32_t entry = state.palette.Entries[i];
        if (Red(entry) != Green(entry) || Green(entry) != Blue(entry)) {
            state.allGrey = false;
            break;
        }
    }
    return state;
}

// Entry i is grey i for all 256 entries: the blue value is the index.
bool IsGreyRamp(const PaletteState& state) {
    if (!state.allGrey || state.palette.Count != 256) return false;
    for (uint32_t i = 0; i < 256; ++i) {
        if (Blue(state.palette.Entries[i]) != i) return false;
    }
    return true;
}

// A lock record over a buffer of the dispatcher's own.
gdiplus::BitmapData CallerBuffer(const RoiRect& roi, int32_t stride, int32_t format, void* buffer) {
    gdiplus::BitmapData data;
    data.Width = static_cast<uint32_t>(roi.Width);
    data.Height = static_cast<uint32_t>(roi.Height);
    data.Stride = stride;
    data.PixelFormat = format;
    data.Scan0 = buffer;
    return data;
}

gdiplus::Rect RectOf(const RoiRect& roi) { return gdiplus::Rect{roi.Left, roi.Top, roi.Width, roi.Height}; }

// Reads or writes the rectangle through a buffer of the dispatcher's own.
MorvalenStatus TransferRect(int32_t imageId, const RoiRect& roi, uint32_t mode, int32_t format, int32_t stride,
                            void* buffer) {
    gdiplus::BitmapData data = CallerBuffer(roi, stride, format, buffer);
    const MorvalenStatus status = LockImageBits(imageId, RectOf(roi), mode, format, data);
    if (status != OK) return status;
    return UnlockImageBits(imageId, data);
}

// Locks the rectangle in the image's own format into a buffer of the
// platform's and unlocks it at once: proves the rectangle, touches no pixel.
MorvalenStatus TouchRect(int32_t imageId, const RoiRect& roi, uint32_t mode, int32_t format) {
    gdiplus::BitmapData data;
    const MorvalenStatus status = LockImageBits(imageId, RectOf(roi), mode, format, data);
    if (status != OK) return status;
    return UnlockImageBits(imageId, data);
}

// The rectangle as 32-bit ARGB into a working copy that is not cleared
// first: the read lock writes every pixel of it. A page-sized copy comes
// from the layer's pool of page blocks (the allocator's), in huge pages.
MorvalenStatus ReadArgb(int32_t imageId, const RoiRect& roi, ArgbPixels& pixels) {
    const auto count = static_cast<size_t>(CheckedMultiply(roi.Width, roi.Height));
    pixels.resize(count);
    return TransferRect(imageId, roi, kLockReadIntoCallerBuffer, gdiplus::PixelFormat32bppARGB,
                        StrideForDepth(roi.Width, 32), pixels.data());
}

// The index whose entry is nearest the pixel (squared distance of red,
// green and blue; the lowest index among equals; an exact match ends the search).
uint8_t NearestEntry(uint32_t pixel, const gdiplus::ColorPalette& palette) {
    static const std::array<int32_t, 511> squares = [] {
        std::array<int32_t, 511> table{};
        for (int32_t d = -255; d <= 255; ++d) table[static_cast<size_t>(d + 255)] = d * d;
        return table;
    }();
    auto square = [&](int32_t d) { return squares[static_cast<size_t>(d + 255)]; };
    int32_t best = 0;
    int32_t bestDistance = INT32_MAX;
    for (uint32_t k = 0; k < palette.Count && k < gdiplus::ColorPalette::kMaxEntries; ++k) {
        const uint32_t entry = palette.Entries[k];
        const int32_t distance = square(Blue(entry) - Blue(pixel)) + square(Red(entry) - Red(pixel)) +
                                 square(Green(entry) - Green(pixel));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int32_t>(k);
            if (distance == 0) break;
        }
    }
    return static_cast<uint8_t>(best);
}

// The index of the lighter of a 1-bit image's two colours: 1 unless the
// palette puts white first.
uint8_t LightIndexOf(const PaletteState& state) {
    if (!state.read || state.palette.Count < 2) return 1;
    auto sum = [](uint32_t c) { return Red(c) + Green(c) + Blue(c); };
    return sum(state.palette.Entries[0]) > sum(state.palette.Entries[1]) ? 0 : 1;
}

MorvalenStatus WriteBack1bpp(int32_t imageId, const RoiRect& roi, const FilterPixels& pixels,
                             const PaletteState& state) {
    const int32_t stride = StrideForDepth(roi.Width, 1);
    std::vector<uint8_t> rows(static_cast<size_t>(CheckedMultiply(stride, roi.Height)), 0);
    const uint8_t light = LightIndexOf(state);
    for (int32_t y = 0; y < roi.Height; ++y) {
        for (int32_t x = 0; x < roi.Width; ++x) {
            const bool white = Blue(pixels.Pixels[static_cast<size_t>(y) * roi.Width + x]) == 255;
            if (white == (light == 1)) rows[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return TransferRect(imageId, roi, kLockWriteFromCallerBuffer, gdiplus::PixelFormat1bppIndexed, stride,
                        rows.data());
}

MorvalenStatus WriteBack8bpp(int32_t imageId, const RoiRect& roi, const FilterPixels& pixels,
                             const PaletteState& state) {
    std::vector<uint8_t> indices(pixels.Pixels.size());
    const bool blueIsIndex = IsGreyRamp(state);
    for (size_t i = 0; i < indices.size(); ++i) {
        indices[i] = blueIsIndex ? Blue(pixels.Pixels[i]) : NearestEntry(pixels.Pixels[i], state.palette);
    }
    return TransferRect(imageId, roi, kLockWriteFromCallerBuffer, gdiplus::PixelFormat8bppIndexed, roi.Width,
                        indices.data());
}

MorvalenStatus WriteBack(int32_t imageId, const RoiRect& roi, int32_t format, FilterPixels& pixels,
                         const PaletteState& state) {
    if (format == gdiplus::PixelFormat1bppIndexed) return WriteBack1bpp(imageId, roi, pixels, state);
    // An 8-bit image keeps its palette: a grey one through the grey value,
    // another through the nearest colour where GDI+ cannot convert itself.
    if (format == gdiplus::PixelFormat8bppIndexed && state.read && (state.allGrey || GdiplusBelowVersion6())) {
        return WriteBack8bpp(imageId, roi, pixels, state);
    }
    return TransferRect(imageId, roi, kLockWriteFromCallerBuffer, gdiplus::PixelFormat32bppARGB,
                        StrideForDepth(roi.Width, 32), pixels.Pixels.data());
}

MorvalenStatus ChangePalette(int32_t imageId, const RoiRect& roi, int32_t format, const FilterEntry& filter,
                             const FilterArguments& arguments, PaletteState& state) {
    MorvalenStatus status = TouchRect(imageId, roi, kLockRead, format);
    if (status != OK) return status;
    filter.palette(state.palette, arguments);
    status = SetImagePalette(imageId, state.palette);
    if (status != OK) return status;
    return TouchRect(imageId, roi, gdiplus::ImageLockModeWrite, format);
}

// The formats the in-place forms take: 8-bit channels whose bytes are the
// working copy's own (not indexed, 16-bit channels, premultiplied alpha or
// packed 16-bit pixels).
bool TakesInPlaceForms(int32_t format) {
    return format == gdiplus::PixelFormat24bppRGB || format == gdiplus::PixelFormat32bppRGB ||
           format == gdiplus::PixelFormat32bppARGB;
}

enum class InPlace { Done, Declined };

// The filter's in-place form on the rectangle locked straight in the image:
// a read lock while the filter decides (nothing is written if it fails or
// declines), then a write lock while it changes the rows. The result of the
// locks is `status`.
InPlace RunInPlace(int32_t imageId, const RoiRect& roi, int32_t format, const FilterEntry& filter,
                   const FilterArguments& arguments, MorvalenStatus& status) {
    ChannelPlan plan;
    gdiplus::BitmapData data;
    status = LockImageBits(imageId, RectOf(roi), kLockRead, format, data);
    if (status != OK) return InPlace::Done;
    bool taken = false;
    try {
        taken = filter.prepareRows(data, arguments, plan);
    } catch (...) {
        UnlockImageBits(imageId, data);
        throw;
    }
    status = UnlockImageBits(imageId, data);
    if (status != OK) return InPlace::Done;
    if (!taken) return InPlace::Declined;

    status = LockImageBits(imageId, RectOf(roi), gdiplus::ImageLockModeRead | gdiplus::ImageLockModeWrite, format,
                           data);
    if (status != OK) return InPlace::Done;
    try {
        filter.applyRows(data, plan);
    } catch (...) {
        UnlockImageBits(imageId, data);
        throw;
    }
    status = UnlockImageBits(imageId, data);
    return InPlace::Done;
}

// One call after the empty-rectangle test; run-time failures are thrown.
MorvalenStatus Dispatch(int32_t code, int32_t imageId, const RoiRect& roi, const FilterArguments& arguments,
                        bool& answer) {
    const FilterEntry* filter = FindFilter(code);
    const int32_t format = PixelFormatOf(imageId);

    PaletteState state;
    if (IsIndexedFormat(format)) {
        if (code == kNegativeCode && format == gdiplus::PixelFormat1bppIndexed) return NegateBits1bpp(imageId, roi);
        state = ReadPalette(imageId);
        const bool paletteMode = filter != nullptr && filter->palette != nullptr &&
                                 format != gdiplus::PixelFormat1bppIndexed && !state.allGrey;
        if (paletteMode) return ChangePalette(imageId, roi, format, *filter, arguments, state);
    }

    if (filter != nullptr && filter->prepareRows != nullptr && TakesInPlaceForms(format)) {
        MorvalenStatus status = OK;
        if (RunInPlace(imageId, roi, format, *filter, arguments, status) == InPlace::Done) return status;
    }

    FilterPixels pixels;
    pixels.Width = roi.Width;
    pixels.Height = roi.Height;
    pixels.PixelFormat = format;
    if (filter != nullptr && filter->readsSource) {
        if (const MorvalenStatus status = ReadArgb(imageId, roi, pixels.Source); status != OK) return status;
    }
    if (const MorvalenStatus status = ReadArgb(imageId, roi, pixels.Pixels); status != OK) return status;
    pixels.Position = 0;
    if (filter != nullptr) answer = filter->run(pixels, arguments);
    if (code == kBlankTestCode) return OK;
    return WriteBack(imageId, roi, format, pixels, state);
}

}  // namespace

MorvalenStatus ApplyFilter(int32_t code, int32_t imageId, double amount, const RoiRect& roi, float hue,
                           float saturation, float lightness, double option1, double option2, double option3,
                           double& testResult) {
    // An ID that names no image (released, or never made) is a failure even
    // with an empty rectangle: nothing was done to any image.
    if (FindImageEntry(imageId) == nullptr) {
        if (code == kBlankTestCode) testResult = 0.0;
        return InvalidParameter;
    }
    if (roi.Width <= 0 || roi.Height <= 0) {
        if (code == kBlankTestCode) testResult = 0.0;
        return OK;
    }
    const FilterArguments arguments{amount, hue, saturation, lightness, option1, option2, option3};
    bool answer = false;
    MorvalenStatus result = OK;
    try {
        result = Dispatch(code, imageId, roi, arguments, answer);
    } catch (const std::bad_alloc&) {
        return OutOfMemory;  // testResult keeps the caller's value
    } catch (const EngineFailure&) {
        return GenericError;
    }
    if (code == kBlankTestCode) testResult = result == OK && answer ? 1.0 : 0.0;
    return result;
}

}  // namespace scanvelt
