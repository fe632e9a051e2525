#include "platform/gdiplus/graphics/image_surface.h"

#include <span>

#include "platform/gdiplus/pixel_convert.h"

namespace gdiplus {

Status ImageAreaSurface(const Image& image, const Rect& area, const ImageAttributes* attributes, SurfacePtr& surface) {
    SurfacePtr made(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.Width, area.Height));
    if (cairo_surface_status(made.get()) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
    std::uint8_t* pixels = cairo_image_surface_get_data(made.get());
    const std::int32_t stride = cairo_image_surface_get_stride(made.get());
    const bool adjusted = attributes != nullptr && attributes->Adjusts(ColorAdjustTypeBitmap);

    cairo_surface_flush(made.get());
    // Colour adjustments look at straight colours, so an adjusted copy is
    // premultiplied only afterwards.
    const PixelFormat readFormat = adjusted ? PixelFormat32bppARGB : PixelFormat32bppPARGB;
    if (Status s = image.CopyPixels(area, readFormat, stride, pixels); s != Ok) return s;
    if (adjusted) {
        const ColorPalette none;
        PixelConverter premultiply(PixelFormat32bppARGB, none, PixelFormat32bppPARGB, none);
        for (std::int32_t y = 0; y < area.Height; ++y) {
            std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
            attributes->Apply(ColorAdjustTypeBitmap,
                              std::span<ARGB>(reinterpret_cast<ARGB*>(row), static_cast<std::size_t>(area.Width)));
            premultiply.Convert(row, 0, row, 0, area.Width);
        }
    }
    cairo_surface_mark_dirty(made.get());
    surface = std::move(made);
    return Ok;
}

}  // namespace gdiplus
