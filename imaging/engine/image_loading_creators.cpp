#include "imaging/engine/image_loading_creators.h"

#include <algorithm>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_table.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/bmp_codec.h"
#include "platform/gdiplus/graphics/gdi_bitmap_view.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/gdi_palette.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

MorvalenStatus RegisterDecoded(gdiplus::Status status, std::unique_ptr<gdiplus::Image> image, int32_t kind,
                               int32_t& newId) {
    if (status != gdiplus::Ok) return StatusOf(status);
    RegisterImage(newId, std::move(image), "", "", kind);
    return OK;
}

MorvalenStatus FromFile(const std::string& path, bool useIcm, int32_t& newId) {
    return StatusOfRun([&] {
        std::unique_ptr<gdiplus::Image> image;
        const gdiplus::Status status = gdiplus::Image::FromFile(win::ResolveWindowsPath(path), useIcm, image);
        return RegisterDecoded(status, std::move(image), ImageKindFile, newId);
    });
}

// A copy of a bitmap that owns its pixels.
gdiplus::Status OwnCopy(const gdiplus::Bitmap& source, std::unique_ptr<gdiplus::Image>& copy) {
    return source.Clone(copy);
}

// Reads the whole remaining stream.
bool ReadRest(win::Stream& stream, std::vector<uint8_t>& bytes) {
    uint8_t chunk[64 * 1024];
    for (;;) {
        uint32_t read = 0;
        if (stream.Read(chunk, sizeof chunk, &read) != win::S_OK) return false;
        if (read == 0) return true;
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
}

// The colours of a GDI palette, opaque, as many as `bits` can address.
gdiplus::ColorPalette PaletteOfGdiPalette(win::HPALETTE palette, uint16_t bits) {
    std::vector<win::PaletteEntry> entries(std::min<uint32_t>(win::GetPaletteEntries(palette, 0, {}), 1u << bits));
    win::GetPaletteEntries(palette, 0, entries);
    gdiplus::ColorPalette colours;
    colours.Count = static_cast<uint32_t>(entries.size());
    for (uint32_t i = 0; i < colours.Count; ++i) {
        colours.Entries[i] = kOpaque | uint32_t{entries[i].red} << 16 | uint32_t{entries[i].green} << 8 | entries[i].blue;
    }
    return colours;
}

// Pixel (x, y) of a 1-bit GDI bitmap, y from the top.
bool MaskBit(const win::GdiBitmap& mask, int32_t x, int32_t y) {
    return (mask.row(y)[x / 8] >> (7 - x % 8) & 1) != 0;
}

}  // namespace

MorvalenStatus ImageFromFile(const std::string& path, int32_t& newId) { return FromFile(path, false, newId); }

MorvalenStatus ImageFromFileIcm(const std::string& path, int32_t& newId) { return FromFile(path, true, newId); }

MorvalenStatus ImageFromStream(const std::shared_ptr<win::Stream>& stream, int32_t& newId, bool useIcm) {
    if (!stream) return InvalidParameter;
    return StatusOfRun([&] {
        auto bytes = std::make_shared<std::vector<uint8_t>>();
        if (!ReadRest(*stream, *bytes)) return StreamReadFailure;
        std::unique_ptr<gdiplus::Image> image;
        const gdiplus::Status status = gdiplus::Image::FromBytes(bytes, useIcm, image);
        return RegisterDecoded(status, std::move(image), ImageKindMemory, newId);
    });
}

MorvalenStatus ImageFromGdiDib(std::span<const uint8_t> packedDib, int32_t& newId) {
    return StatusOfRun([&] {
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        const gdiplus::Status status = gdiplus::codecs::DecodePackedDib(packedDib, bitmap);
        return RegisterDecoded(status, std::move(bitmap), ImageKindGlobalDib, newId);
    });
}

MorvalenStatus ImageFromHBitmap(win::HBITMAP bitmap, win::HPALETTE palette, int32_t& newId) {
    return StatusOfRun([&] {
        const std::shared_ptr<win::GdiBitmap> source = win::FindBitmap(bitmap);
        if (!source) return InvalidParameter;
        std::unique_ptr<gdiplus::Bitmap> view;
        gdiplus::Status status = gdiplus::ViewOfGdiBitmap(*source, view);
        // A bitmap without a colour table of its own takes the palette given with it.
        if (status == gdiplus::Ok && source->colorTable.empty() && palette != win::HPALETTE{} &&
            gdiplus::IsIndexedPixelFormat(view->GetPixelFormat())) {
            status = view->SetPalette(PaletteOfGdiPalette(palette, source->bitsPerPixel));
        }
        std::unique_ptr<gdiplus::Image> image;
        if (status == gdiplus::Ok) status = OwnCopy(*view, image);
        return RegisterDecoded(status, std::move(image), ImageKindHBitmap, newId);
    });
}

MorvalenStatus ImageFromHIcon(win::HICON icon, int32_t& newId) {
    return StatusOfRun([&] {
        const std::shared_ptr<const win::GdiIcon> source = win::FindIcon(icon);
        if (!source || source->mask.bitsPerPixel != 1) return InvalidParameter;
        const win::GdiBitmap& mask = source->mask;
        // A monochrome icon's mask holds the AND half above the XOR half.
        const bool monochrome = source->color == nullptr;
        const int32_t width = mask.width;
        const int32_t height = monochrome ? mask.height / 2 : source->color->height;
        if (width < 1 || height < 1 || (!monochrome && (source->color->width != width || mask.height < height))) {
            return InvalidParameter;
        }

        std::vector<uint32_t> colours(static_cast<size_t>(CheckedMultiply(width, height)), 0);
        if (!monochrome) {
            win::GdiBitmap copy = *source->color;
            // A 32-bit colour bitmap may carry alpha of its own.
            std::unique_ptr<gdiplus::Bitmap> over;
            const gdiplus::Status status = gdiplus::ViewOfGdiBitmap(copy, over, copy.bitsPerPixel == 32);
            if (status != gdiplus::Ok) return StatusOf(status);
            const gdiplus::Status read = over->CopyPixels(gdiplus::Rect{0, 0, width, height},
                                                          gdiplus::PixelFormat32bppARGB, width * 4, colours.data());
            if (read != gdiplus::Ok) return StatusOf(read);
        }
        const bool ownAlpha = !monochrome && source->color->bitsPerPixel == 32 &&
                              std::any_of(colours.begin(), colours.end(), [](uint32_t c) { return (c >> 24) != 0; });
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                uint32_t& pixel = colours[static_cast<size_t>(y) * width + x];
                if (monochrome) pixel = MaskBit(mask, x, y + height) ? 0xFFFFFFu : 0u;
                const bool transparent = MaskBit(mask, x, y);
                if (ownAlpha) continue;
                pixel = transparent ? 0u : kOpaque | (pixel & 0x00FFFFFFu);
            }
        }
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        gdiplus::Status status = gdiplus::Bitmap::Create(width, height, gdiplus::PixelFormat32bppARGB, bitmap);
        if (status == gdiplus::Ok) {
            status = bitmap->WritePixels(gdiplus::Rect{0, 0, width, height}, gdiplus::PixelFormat32bppARGB, width * 4,
                                         colours.data());
        }
        return RegisterDecoded(status, std::move(bitmap), ImageKindHIcon, newId);
    });
}

}  // namespace scanvelt
