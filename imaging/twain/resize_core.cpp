#include "imaging/twain/resize_core.h"

#include <vector>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/twain/image_metadata_record.h"
#include "imaging/twain/pixel_conversion_members.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

constexpr int32_t kSmoothingNone = 3;
constexpr int32_t kInterpolationNearestNeighbor = 5;
constexpr int32_t kCompositingHighSpeed = 1;
constexpr int32_t kCompositingGammaCorrected = 3;
constexpr int32_t kPixelOffsetNone = 3;
constexpr int32_t kPixelOffsetHalf = 4;
constexpr float kResolutionWithoutOne = 96.0f;

// How an indexed source comes back to its depth after a resize done in 24 bits.
struct IndexedReturn {
    int32_t bits = 0;
    std::vector<int32_t> entries;  // 4-bit source: its colours
    bool allGrey = true;           // 8-bit source
    bool keepTransparent = false;
    int32_t transparentColour = 0;  // Windows RGB
};

IndexedReturn ReadIndexedReturn(int32_t sourceId, int32_t bits) {
    IndexedReturn back;
    back.bits = bits;
    gdiplus::ColorPalette palette;
    if (GetImagePalette(sourceId, palette) != OK) return back;
    const uint32_t count = std::min(palette.Count, gdiplus::ColorPalette::kMaxEntries);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t e = palette.Entries[i];
        const uint32_t r = (e >> 16) & 0xFF, g = (e >> 8) & 0xFF, b = e & 0xFF;
        if (bits == 4 && back.entries.size() < 16) back.entries.push_back(static_cast<int32_t>(e));
        if (bits == 8) {
            back.allGrey = back.allGrey && r == g && g == b;
            if (!back.keepTransparent && (e >> 24) == 0) {
                back.keepTransparent = true;
                back.transparentColour = static_cast<int32_t>(r | (g << 8) | (b << 16));
            }
        }
    }
    return back;
}

// Makes the resized image the current image for the conversion back, then
// gives the control its own current image again.
void ConvertBack(TwainControl& control, int32_t& newId, const IndexedReturn& back) {
    const int32_t current = control.currentImage();
    control.setCurrentImage(newId);
    if (back.bits == 1) {
        ConvertToBlackWhite(control);
    } else if (back.bits == 4) {
        ConvertTo4BppCore(control, back.entries);
    } else if (back.bits == 8) {
        if (back.allGrey) {
            ConvertTo8BppGrayScale(control);
        } else {
            int32_t count = 256;
            QuantizeCurrent(control, count, back.keepTransparent, back.transparentColour);
        }
    }
    newId = control.currentImage();
    control.setCurrentImage(current);
}

// Draws the whole source into a new image of the format; 0 when it fails.
int32_t DrawResized(int32_t sourceId, int32_t width, int32_t height, int32_t format, int32_t mode,
                    MorvalenStatus& status) {
    int32_t made = 0;
    status = ImageFromBuffer(width, height, 0, format, nullptr, made);
    if (status != OK) return 0;
    gdiplus::GpGraphics graphics{};
    status = GetImageGraphics(made, graphics, format);
    if (status != OK) {
        ReleaseImage(made);
        return 0;
    }
    if (!IsAlphaFormat(format)) ClearGpGraphics(graphics, 0xFFFFFFFFu);
    SetGpInterpolationMode(graphics, mode);
    SetGpSmoothingMode(graphics, kSmoothingNone);
    if (mode != kInterpolationNearestNeighbor) {
        SetGpCompositingQuality(graphics, kCompositingGammaCorrected);
        SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
    }
    status = DrawGpImageRect(graphics, sourceId, 0, 0, width, height);
    if (status != OK) {
        SetFastDrawingModes(graphics);
        status = DrawGpImageRect(graphics, sourceId, 0, 0, width, height);
    }
    DeleteGpGraphics(graphics);
    if (status != OK) {
        ReleaseImage(made);
        return 0;
    }
    return made;
}

}  // namespace

void SetFastDrawingModes(gdiplus::GpGraphics graphics) {
    SetGpSmoothingMode(graphics, kSmoothingNone);
    SetGpInterpolationMode(graphics, kInterpolationNearestNeighbor);
    SetGpCompositingQuality(graphics, kCompositingHighSpeed);
    SetGpPixelOffsetMode(graphics, kPixelOffsetNone);
}

MorvalenStatus ResizeCore(TwainControl& control, int32_t sourceId, int32_t& newId, int32_t width, int32_t height,
                          int32_t interpolationMode, int32_t pixelFormat, bool keepMetadata) {
    newId = 0;
    if (sourceId == 0) {
        control.setLastStatus(GenericError);
        return GenericError;
    }
    ImageMetadataRecord record;
    if (keepMetadata) record.Save(sourceId, control.keepPropertyItems());
    float horizontal = 0.0f, vertical = 0.0f;
    int32_t sourceWidth = 0, sourceHeight = 0, sourceFormat = 0;
    GetImageHorizontalResolution(sourceId, horizontal);
    GetImageVerticalResolution(sourceId, vertical);
    GetImageWidth(sourceId, sourceWidth);
    GetImageHeight(sourceId, sourceHeight);
    GetImagePixelFormat(sourceId, sourceFormat);

    IndexedReturn back;
    if (pixelFormat == 0) {
        const int32_t bits = BitsPerPixelOf(sourceFormat);
        if (GdiplusBelowVersion6() && IsIndexedFormat(sourceFormat)) {
            pixelFormat = gdiplus::PixelFormat24bppRGB;
            back = ReadIndexedReturn(sourceId, bits);
        } else {
            pixelFormat = sourceFormat;
        }
    }

    MorvalenStatus status = OK;
    newId = DrawResized(sourceId, width, height, pixelFormat, interpolationMode, status);
    if (newId == 0) {
        status = CreateImageThumbnail(sourceId, width, height, newId);
        control.setLastStatus(status);
        if (status != OK) newId = 0;
    }
    if (newId == 0) {
        control.setLastStatus(status);
        return status;
    }
    if (keepMetadata) record.Restore(newId);
    if (width > 0 && height > 0 && sourceWidth > 0 && sourceHeight > 0) {
        // The physical size stays; an image without a resolution has 96 dpi.
        if (horizontal <= 0.0f) horizontal = kResolutionWithoutOne;
        if (vertical <= 0.0f) vertical = kResolutionWithoutOne;
        SetImageResolution(newId, horizontal * static_cast<float>(width) / static_cast<float>(sourceWidth),
                           vertical * static_cast<float>(height) / static_cast<float>(sourceHeight), true);
    }
    if (back.bits != 0) ConvertBack(control, newId, back);
    control.setLastStatus(OK);
    return OK;
}

}  // namespace scanvelt
