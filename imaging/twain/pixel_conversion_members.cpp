#include "imaging/twain/pixel_conversion_members.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/engine/quantiser/quantize_to_palette.h"
#include "imaging/twain/colour_members.h"
#include "imaging/twain/image_metadata_record.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

// A new image made on the way, released unless it took the current image's place.
class PendingImage {
public:
    ~PendingImage() {
        if (id != 0) ReleaseImage(id);
    }
    int32_t id = 0;
};

// The current image as 32-bit pixels, rows from the top, no padding.
MorvalenStatus ReadWhole(int32_t imageId, int32_t format, int32_t width, int32_t height,
                         std::vector<uint32_t>& pixels) {
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    gdiplus::BitmapData data{};
    data.Width = static_cast<uint32_t>(width);
    data.Height = static_cast<uint32_t>(height);
    data.Stride = width * 4;
    data.PixelFormat = format;
    data.Scan0 = pixels.data();
    MorvalenStatus status = LockImageBits(imageId, {0, 0, width, height}, kLockReadIntoCallerBuffer, format, data);
    if (status != OK) return status;
    return UnlockImageBits(imageId, data);
}

MorvalenStatus WriteWhole(int32_t imageId, int32_t format, int32_t width, int32_t height, int32_t stride,
                          std::vector<uint8_t>& bytes) {
    gdiplus::BitmapData data{};
    data.Width = static_cast<uint32_t>(width);
    data.Height = static_cast<uint32_t>(height);
    data.Stride = stride;
    data.PixelFormat = format;
    data.Scan0 = bytes.data();
    MorvalenStatus status = LockImageBits(imageId, {0, 0, width, height}, kLockWriteFromCallerBuffer, format, data);
    if (status != OK) return status;
    return UnlockImageBits(imageId, data);
}

// The recorded resolution and items go onto the new image, which then takes
// the current image's place under its ID. When it cannot, the current image
// stays as it was.
MorvalenStatus TakePlace(TwainControl& control, ImageMetadataRecord& record, PendingImage& made) {
    record.Restore(made.id);
    if (ReplaceImageBitmap(control.currentImage(), made.id) == 0) return GenericError;
    made.id = 0;
    return OK;
}

// Runs an own conversion with the run-time failures turned into statuses, and
// stores the status as the last status.
template <typename Body>
MorvalenStatus RunConversion(TwainControl& control, Body body) {
    MorvalenStatus status;
    if (control.currentImage() == 0) {
        status = GenericError;
    } else {
        try {
            status = body();
        } catch (const std::bad_alloc&) {
            status = OutOfMemory;
        } catch (...) {
            status = GenericError;
        }
    }
    control.setLastStatus(status);
    return status;
}

struct Size {
    int32_t width = 0, height = 0;
};

MorvalenStatus ToOneBit(TwainControl& control, int32_t readFormat, bool (*isWhite)(uint32_t)) {
    return RunConversion(control, [&]() -> MorvalenStatus {
        const int32_t id = control.currentImage();
        ImageMetadataRecord record;
        record.Save(id, control.keepPropertyItems());
        const int32_t width = record.width(), height = record.height();
        std::vector<uint32_t> source;
        MorvalenStatus status = ReadWhole(id, readFormat, width, height, source);
        if (status != OK) return status;
        PendingImage made;
        status = ImageFromBuffer(width, height, 0, gdiplus::PixelFormat1bppIndexed, nullptr, made.id);
        if (status != OK) return status;
        const int32_t stride = StrideForDepth(width, 1);
        std::vector<uint8_t> bits(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t* row = &source[static_cast<size_t>(y) * static_cast<size_t>(width)];
            uint8_t* out = &bits[static_cast<size_t>(y) * static_cast<size_t>(stride)];
            for (int32_t x = 0; x < width; ++x)
                if (isWhite(row[x])) out[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
        }
        status = WriteWhole(made.id, gdiplus::PixelFormat1bppIndexed, width, height, stride, bits);
        if (status != OK) return status;
        return TakePlace(control, record, made);
    });
}

bool AllAbove125(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) > 125 && ((pixel >> 8) & 0xFF) > 125 && (pixel & 0xFF) > 125;
}

bool OpaqueWhite(uint32_t pixel) { return pixel == 0xFFFFFFFFu; }

gdiplus::ColorPalette GreyPalette() {
    gdiplus::ColorPalette palette;
    palette.Flags = gdiplus::PaletteFlagsHalftone;
    palette.Count = 256;
    for (int32_t i = 0; i < 256; ++i) palette.Entries[static_cast<size_t>(i)] = static_cast<uint32_t>(argb(255, i, i, i));
    return palette;
}

}  // namespace

MorvalenStatus ConvertTo1Bpp(TwainControl& control) {
    return ToOneBit(control, gdiplus::PixelFormat32bppRGB, AllAbove125);
}

MorvalenStatus ConvertToBlackWhite(TwainControl& control) {
    return ToOneBit(control, gdiplus::PixelFormat32bppARGB, OpaqueWhite);
}

MorvalenStatus ConvertToGray8(TwainControl& control) {
    return RunConversion(control, [&]() -> MorvalenStatus {
        std::array<uint8_t, 766> mean{};
        for (int32_t s = 0; s <= 765; ++s) mean[static_cast<size_t>(s)] = static_cast<uint8_t>((s + 1) / 3);
        const int32_t id = control.currentImage();
        ImageMetadataRecord record;
        record.Save(id, control.keepPropertyItems());
        const gdiplus::ColorPalette grey = GreyPalette();
        const int32_t width = record.width(), height = record.height();
        std::vector<uint32_t> source;
        MorvalenStatus status = ReadWhole(id, gdiplus::PixelFormat32bppARGB, width, height, source);
        if (status != OK) return status;

        PendingImage made;
        const bool oldGdiplus = GdiplusBelowVersion6();
        if (oldGdiplus) {
            status = ImageFromBuffer(width, height, 0, gdiplus::PixelFormat8bppIndexed, nullptr, made.id);
            if (status == OK) status = SetImagePaletteUnmarked(made.id, grey);
            if (status != OK) return status;
        }
        const int32_t stride = StrideForDepth(width, 8);
        std::vector<uint8_t> bytes(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t* row = &source[static_cast<size_t>(y) * static_cast<size_t>(width)];
            uint8_t* out = &bytes[static_cast<size_t>(y) * static_cast<size_t>(stride)];
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t p = row[x];
                out[x] = mean[((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)];
            }
        }
        source = {};
        status = oldGdiplus ? WriteWhole(made.id, gdiplus::PixelFormat8bppIndexed, width, height, stride, bytes)
                            : Image8bppFromBits(made.id, height, width, bytes, grey);
        if (status != OK) return status;
        return TakePlace(control, record, made);
    });
}

MorvalenStatus QuantizeCurrent(TwainControl& control, int32_t& colourCount, bool keepTransparent,
                               int32_t transparentColour) {
    return RunConversion(control, [&]() -> MorvalenStatus {
        ImageMetadataRecord record;
        record.Save(control.currentImage(), control.keepPropertyItems());
        PendingImage made;
        gdiplus::ColorPalette palette;
        MorvalenStatus status = QuantizeToPalette(control.currentImage(), made.id, colourCount, palette,
                                                  keepTransparent, static_cast<uint32_t>(transparentColour));
        if (status != OK) return status;
        return TakePlace(control, record, made);
    });
}

MorvalenStatus ConvertTo4BppCore(TwainControl& control, std::span<const int32_t> colours) {
    return RunConversion(control, [&]() -> MorvalenStatus {
        const int32_t id = control.currentImage();
        ImageMetadataRecord record;
        record.Save(id, control.keepPropertyItems());
        const size_t n = std::min<size_t>(colours.size(), 16);
        gdiplus::ColorPalette palette;
        palette.Flags = gdiplus::PaletteFlagsHalftone;
        palette.Count = static_cast<uint32_t>(n);
        std::copy_n(colours.begin(), n, palette.Entries.begin());

        const int32_t width = record.width(), height = record.height();
        std::vector<uint32_t> source;
        MorvalenStatus status = ReadWhole(id, gdiplus::PixelFormat32bppARGB, width, height, source);
        if (status != OK) return status;
        PendingImage made;
        status = ImageFromBuffer(width, height, 0, gdiplus::PixelFormat4bppIndexed, nullptr, made.id);
        if (status == OK) status = SetImagePaletteUnmarked(made.id, palette);
        if (status != OK) return status;

        std::array<int32_t, 256> square{};
        for (int32_t i = 0; i < 256; ++i) square[static_cast<size_t>(i)] = i * i;
        auto channel = [](uint32_t c, int shift) { return static_cast<int32_t>((c >> shift) & 0xFF); };
        auto nearest = [&](uint32_t pixel) {
            uint8_t best = 0;
            int32_t bestDistance = INT32_MAX;
            for (size_t i = 0; i < n; ++i) {
                const uint32_t entry = palette.Entries[i];
                const int32_t distance = square[static_cast<size_t>(std::abs(channel(pixel, 0) - channel(entry, 0)))] +
                                         square[static_cast<size_t>(std::abs(channel(pixel, 16) - channel(entry, 16)))] +
                                         square[static_cast<size_t>(std::abs(channel(pixel, 8) - channel(entry, 8)))];
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = static_cast<uint8_t>(i);
                    if (distance == 0) break;
                }
            }
            return best;
        };
        const int32_t stride = StrideForDepth(width, 4);
        std::vector<uint8_t> nibbles(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t* row = &source[static_cast<size_t>(y) * static_cast<size_t>(width)];
            uint8_t* out = &nibbles[static_cast<size_t>(y) * static_cast<size_t>(stride)];
            for (int32_t x = 0; x < width; ++x)
                out[x >> 1] |= static_cast<uint8_t>((x & 1) ? nearest(row[x]) : nearest(row[x]) << 4);
        }
        status = WriteWhole(made.id, gdiplus::PixelFormat4bppIndexed, width, height, stride, nibbles);
        if (status != OK) return status;
        return TakePlace(control, record, made);
    });
}

MorvalenStatus ConvertTo4Bpp(TwainControl& control) {
    int32_t count = 16;
    if (QuantizeCurrent(control, count, false, 0) != OK) return control.GetStat();
    std::vector<int32_t> colours;
    if (ColorPaletteGet(control, colours, count) != OK) return control.GetStat();
    ConvertTo4BppCore(control, colours);
    return control.GetStat();
}

MorvalenStatus ConvertTo8BppGrayScale(TwainControl& control) {
    ConvertToGray8(control);
    return control.GetStat();
}

MorvalenStatus ConvertTo8Bpp(TwainControl& control) {
    int32_t count = 256;
    QuantizeCurrent(control, count, false, 0);
    return control.GetStat();
}

namespace {
MorvalenStatus InPlace(TwainControl& control, int32_t format) {
    int32_t unused = 0;
    return ConvertPixelFormat(control.currentImage(), format, false, unused);
}
}  // namespace

MorvalenStatus ConvertTo16Bpp(TwainControl& control) { return InPlace(control, gdiplus::PixelFormat16bppRGB555); }
MorvalenStatus ConvertTo24BppRGB(TwainControl& control) { return InPlace(control, gdiplus::PixelFormat24bppRGB); }
MorvalenStatus ConvertTo32Bpp(TwainControl& control) { return InPlace(control, gdiplus::PixelFormat32bppARGB); }
MorvalenStatus ConvertTo48Bpp(TwainControl& control) { return InPlace(control, gdiplus::PixelFormat48bppRGB); }
MorvalenStatus ConvertTo64Bpp(TwainControl& control) { return InPlace(control, gdiplus::PixelFormat64bppPARGB); }

}  // namespace scanvelt
