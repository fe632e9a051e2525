#include "imaging/engine/image_creators.h"

#include <algorithm>
#include <cstring>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt {

namespace {

MorvalenStatus Register(gdiplus::Status status, std::unique_ptr<gdiplus::Image> image, int32_t kind,
                        int32_t& newId) {
    if (status != gdiplus::Ok) return StatusOf(status);
    RegisterImage(newId, std::move(image), "", "", kind);
    return OK;
}

// Registers a bitmap made over a pixel buffer, remembering the buffer.
void RegisterOverBuffer(std::unique_ptr<gdiplus::Bitmap> bitmap, const uint8_t* pixels, bool owned, int32_t& newId) {
    const int32_t slot =
        RegisterImage(newId, std::move(bitmap), "", "", owned ? ImageKindOwnedBuffer : ImageKindBorrowedBuffer);
    ImageSlot(slot).PixelBuffer = pixels;
    ImageSlot(slot).BufferOwned = owned;
}

}  // namespace

MorvalenStatus CloneImageArea(int32_t x, int32_t y, int32_t width, int32_t height, int32_t pixelFormat,
                              int32_t sourceId, int32_t& newId) {
    return StatusOfRun([&] {
        const auto* source = dynamic_cast<const gdiplus::Bitmap*>(NativeImageOf(sourceId));
        if (source == nullptr) return InvalidParameter;
        std::unique_ptr<gdiplus::Bitmap> clone;
        const gdiplus::Status status = source->CloneArea(gdiplus::Rect{x, y, width, height}, pixelFormat, clone);
        return Register(status, std::move(clone), ImageKindMemory, newId);
    });
}

MorvalenStatus CloneImage(int32_t& newId, int32_t sourceId) {
    return StatusOfRun([&] {
        const gdiplus::Image* source = NativeImageOf(sourceId);
        if (source == nullptr) return InvalidParameter;
        std::unique_ptr<gdiplus::Image> clone;
        const gdiplus::Status status = source->Clone(clone);
        return Register(status, std::move(clone), ImageKindMemory, newId);
    });
}

MorvalenStatus CreateImageThumbnail(int32_t sourceId, int32_t width, int32_t height, int32_t& newId) {
    return StatusOfRun([&] {
        const gdiplus::Image* source = NativeImageOf(sourceId);
        if (source == nullptr || width < 1 || height < 1) return InvalidParameter;
        std::unique_ptr<gdiplus::Image> thumbnail;
        const gdiplus::Status status =
            source->GetThumbnailImage(static_cast<uint32_t>(width), static_cast<uint32_t>(height), thumbnail);
        return Register(status, std::move(thumbnail), ImageKindBorrowedBuffer, newId);
    });
}

MorvalenStatus ImageFromBuffer(int32_t width, int32_t height, int32_t stride, int32_t pixelFormat, uint8_t* pixels,
                               int32_t& newId) {
    return StatusOfRun([&] {
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        const gdiplus::Status status = gdiplus::Bitmap::FromScan0(width, height, stride, pixelFormat, pixels, bitmap);
        if (status != gdiplus::Ok) return StatusOf(status);
        RegisterOverBuffer(std::move(bitmap), pixels, false, newId);
        return OK;
    });
}

MorvalenStatus ImageFromBuffer(int32_t width, int32_t height, int32_t stride, int32_t pixelFormat,
                               gdiplus::OwnedBuffer pixels, int32_t& newId) {
    return StatusOfRun([&] {
        const uint8_t* address = pixels.get();
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        const gdiplus::Status status =
            gdiplus::Bitmap::FromOwnedScan0(width, height, stride, pixelFormat, std::move(pixels), bitmap);
        if (status != gdiplus::Ok) return StatusOf(status);
        RegisterOverBuffer(std::move(bitmap), address, true, newId);
        return OK;
    });
}

MorvalenStatus Image8bppFromBits(int32_t& newId, int32_t height, int32_t width, std::span<const uint8_t> bytes,
                                 const gdiplus::ColorPalette& palette) {
    return StatusOfRun([&] {
        if (width < 1 || height < 1) return InvalidParameter;
        const int32_t stride = StrideForDepth(width, 8);
        const int32_t size = CheckedMultiply(stride, height);
        if (bytes.size() < static_cast<size_t>(size)) return InvalidParameter;
        gdiplus::OwnedBuffer pixels = gdiplus::AllocBuffer(static_cast<size_t>(size));
        if (!pixels) return OutOfMemory;
        std::memcpy(pixels.get(), bytes.data(), static_cast<size_t>(size));
        const uint8_t* address = pixels.get();

        // A DIB colour table has no alpha: every colour is opaque.
        gdiplus::ColorPalette colours;
        colours.Count = gdiplus::ColorPalette::kMaxEntries;
        const uint32_t given = std::min(palette.Count, gdiplus::ColorPalette::kMaxEntries);
        for (uint32_t i = 0; i < colours.Count; ++i) {
            colours.Entries[i] = 0xFF000000u | (i < given ? palette.Entries[i] & 0x00FFFFFFu : 0u);
        }

        std::unique_ptr<gdiplus::Bitmap> bitmap;
        gdiplus::Status status = gdiplus::Bitmap::FromOwnedScan0(width, height, stride, gdiplus::PixelFormat8bppIndexed,
                                                                 std::move(pixels), bitmap);
        if (status == gdiplus::Ok) status = bitmap->SetPalette(colours);
        if (status != gdiplus::Ok) return StatusOf(status);
        RegisterOverBuffer(std::move(bitmap), address, true, newId);
        return OK;
    });
}

MorvalenStatus AdoptNativeImage(int32_t& newId, std::unique_ptr<gdiplus::Image> image) {
    return StatusOfRun([&] {
        if (!image) return InvalidParameter;
        const gdiplus::Status validated = image->ForceValidation();
        return Register(validated, std::move(image), ImageKindMemory, newId);
    });
}

}  // namespace scanvelt
