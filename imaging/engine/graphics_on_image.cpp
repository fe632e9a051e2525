#include "imaging/engine/graphics_on_image.h"

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/pixel_formats.h"
#include "platform/gdiplus/graphics/flat_api.h"

namespace scanvelt {
namespace {

// The graphics behind an image's device context. The image's release
// destroys it, which frees the context and the graphics.
class ImageDeviceContext final : public ImageDrawingContext {
public:
    explicit ImageDeviceContext(gdiplus::GpGraphics graphics) : graphics_(graphics) {}
    ~ImageDeviceContext() override { gdiplus::GdipDeleteGraphics(graphics_); }
    ImageDeviceContext(const ImageDeviceContext&) = delete;
    ImageDeviceContext& operator=(const ImageDeviceContext&) = delete;

    gdiplus::GpGraphics graphics() const { return graphics_; }

private:
    gdiplus::GpGraphics graphics_;
};

// Finds the image a graphics was made on for as long as the same bitmap
// stands under the same ID; a released or replaced image is found no more.
gdiplus::ImageResolver ResolverOf(int32_t imageId) {
    const int32_t pageId = CurrentPageImageId(imageId);
    gdiplus::Image* image = NativeImageOf(imageId);
    return [pageId, image]() -> gdiplus::Image* {
        const ImageEntry* entry = FindImageEntry(pageId);
        return entry != nullptr && entry->NativeImage.get() == image ? image : nullptr;
    };
}

}  // namespace

MorvalenStatus GetImageGraphics(int32_t imageId, gdiplus::GpGraphics& graphics, int32_t pixelFormat) {
    if (FindImageEntry(imageId) == nullptr) return InvalidParameter;
    if (GdiplusBelowVersion6()) {
        if (pixelFormat == 0) pixelFormat = PixelFormatOf(imageId);
        if (IsIndexedFormat(pixelFormat)) {
            if (const MorvalenStatus status = ConvertToArgbInPlace(imageId); status != OK) return status;
        }
    }
    if (NativeImageOf(imageId) == nullptr) return InvalidParameter;
    const gdiplus::Status status = gdiplus::GdipGetImageGraphicsContext(ResolverOf(imageId), graphics);
    if (status == gdiplus::Ok) MarkImageModified(imageId);
    return StatusOf(status);
}

MorvalenStatus GetImageDC(int32_t imageId, win::HDC& dc) {
    if (const ImageEntry* entry = FindImageEntry(imageId); entry == nullptr) {
        return GenericError;
    } else if (entry->ImageDC != win::HDC{}) {
        dc = entry->ImageDC;
        return OK;
    }
    gdiplus::GpGraphics graphics{};
    if (const MorvalenStatus status = GetImageGraphics(imageId, graphics, 0); status != OK) return status;
    win::HDC made{};
    const gdiplus::Status status = gdiplus::GdipGetDC(graphics, made);
    if (made == win::HDC{}) {
        gdiplus::GdipDeleteGraphics(graphics);
        return status != gdiplus::Ok ? StatusOf(status) : GenericError;
    }
    // The conversion above may have moved the image to another slot's entry.
    ImageEntry* entry = FindImageEntry(imageId);
    entry->ImageDC = made;
    entry->ImageDCGraphics = std::make_unique<ImageDeviceContext>(graphics);
    dc = made;
    return StatusOf(status);
}

MorvalenStatus ReleaseImageDC(win::HDC dc) {
    if (dc == win::HDC{}) return GenericError;
    const int32_t slot = FindImageIndexByDC(dc);
    if (slot < 0) return GenericError;
    ImageEntry& entry = ImageSlot(slot);
    const auto* context = dynamic_cast<const ImageDeviceContext*>(entry.ImageDCGraphics.get());
    if (context == nullptr) return GenericError;
    if (const gdiplus::Status status = gdiplus::GdipReleaseDC(context->graphics(), dc); status != gdiplus::Ok) {
        return StatusOf(status);
    }
    entry.ImageDCGraphics.reset();
    entry.ImageDC = win::HDC{};
    return OK;
}

}  // namespace scanvelt
