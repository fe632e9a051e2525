#include "platform/gdiplus/bitmap.h"

#include <algorithm>
#include <climits>

#include "platform/gdiplus/lock_state.h"
#include "platform/gdiplus/parallel_work.h"
#include "platform/gdiplus/pixel_convert.h"
#include "platform/gdiplus/startup.h"

namespace gdiplus {
namespace {

// Pixel buffers stay within what 32-bit signed arithmetic over them can reach.
constexpr std::int64_t kMaxBufferBytes = INT32_MAX;

Status CheckLayout(std::int32_t width, std::int32_t height, std::int32_t stride, PixelFormat format) {
    if (width < 1 || height < 1 || !IsSupportedPixelFormat(format)) return InvalidParameter;
    const std::int64_t magnitude = stride < 0 ? -std::int64_t{stride} : std::int64_t{stride};
    if (magnitude % 4 != 0 || magnitude < RowBytes(width, format)) return InvalidParameter;
    return Ok;
}

std::uint8_t* RowOf(void* buffer, std::int32_t stride, std::int32_t y) {
    return static_cast<std::uint8_t*>(buffer) + static_cast<std::ptrdiff_t>(y) * stride;
}
const std::uint8_t* RowOf(const void* buffer, std::int32_t stride, std::int32_t y) {
    return static_cast<const std::uint8_t*>(buffer) + static_cast<std::ptrdiff_t>(y) * stride;
}

}  // namespace

Bitmap::Bitmap(std::int32_t width, std::int32_t height, PixelFormat format, std::uint8_t* scan0,
               std::int32_t stride, OwnedBuffer owned)
    : width_(width), height_(height), format_(format), scan0_(scan0), stride_(stride), owned_(std::move(owned)),
      palette_(DefaultPalette(format)) {}

Bitmap::~Bitmap() = default;

Status Bitmap::MakeOwned(std::int32_t width, std::int32_t height, PixelFormat format,
                         std::unique_ptr<Bitmap>& bitmap) {
    if (width < 1 || height < 1 || !IsSupportedPixelFormat(format)) return InvalidParameter;
    const std::int64_t stride = DefaultStride(width, format);
    if (stride > kMaxBufferBytes / height) return OutOfMemory;
    OwnedBuffer pixels = AllocBuffer(static_cast<std::size_t>(stride * height));
    if (!pixels) return OutOfMemory;
    std::uint8_t* scan0 = pixels.get();
    bitmap.reset(new Bitmap(width, height, format, scan0, static_cast<std::int32_t>(stride), std::move(pixels)));
    return Ok;
}

Status Bitmap::Create(std::int32_t width, std::int32_t height, PixelFormat format,
                      std::unique_ptr<Bitmap>& bitmap) {
    if (!IsStarted()) return GdiplusNotInitialized;
    return MakeOwned(width, height, format, bitmap);
}

Status Bitmap::FromScan0(std::int32_t width, std::int32_t height, std::int32_t stride, PixelFormat format,
                         std::uint8_t* scan0, std::unique_ptr<Bitmap>& bitmap) {
    if (!scan0) return Create(width, height, format, bitmap);
    if (!IsStarted()) return GdiplusNotInitialized;
    if (Status s = CheckLayout(width, height, stride, format); s != Ok) return s;
    bitmap.reset(new Bitmap(width, height, format, scan0, stride, nullptr));
    return Ok;
}

Status Bitmap::FromOwnedScan0(std::int32_t width, std::int32_t height, std::int32_t stride, PixelFormat format,
                              OwnedBuffer pixels, std::unique_ptr<Bitmap>& bitmap) {
    if (!IsStarted()) return GdiplusNotInitialized;
    if (!pixels || stride <= 0) return InvalidParameter;
    if (Status s = CheckLayout(width, height, stride, format); s != Ok) return s;
    std::uint8_t* scan0 = pixels.get();
    bitmap.reset(new Bitmap(width, height, format, scan0, stride, std::move(pixels)));
    return Ok;
}

Status Bitmap::SetResolution(float xdpi, float ydpi) {
    if (!(xdpi > 0.0f) || !(ydpi > 0.0f)) return InvalidParameter;
    dpiX_ = xdpi;
    dpiY_ = ydpi;
    return Ok;
}

std::uint32_t Bitmap::GetPaletteSize() const { return ColorPalette::SizeFor(palette_.Count); }

Status Bitmap::GetPalette(ColorPalette& palette) const {
    palette = palette_;
    return Ok;
}

Status Bitmap::SetPalette(const ColorPalette& palette) {
    if (palette.Count > ColorPalette::kMaxEntries) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    palette_ = palette;
    return Ok;
}

bool Bitmap::Contains(const Rect& rect) const {
    return rect.Width > 0 && rect.Height > 0 && rect.X >= 0 && rect.Y >= 0 &&
           std::int64_t{rect.X} + rect.Width <= width_ && std::int64_t{rect.Y} + rect.Height <= height_;
}

const ColorPalette& Bitmap::PaletteFor(PixelFormat format, ColorPalette& fallback) const {
    if (!IsIndexedPixelFormat(format)) return palette_;
    if (palette_.Count > 0 && palette_.Count <= (1u << GetPixelFormatSize(format))) return palette_;
    fallback = DefaultPalette(format);
    return fallback;
}

Status Bitmap::GetPixel(std::int32_t x, std::int32_t y, ARGB& color) const {
    if (!Contains(Rect{x, y, 1, 1})) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    Argb64 pixel;
    DecodePixels(Row(y), x, 1, format_, palette_, &pixel);
    color = NarrowArgb(pixel);
    return Ok;
}

Status Bitmap::SetPixel(std::int32_t x, std::int32_t y, ARGB color) {
    if (!Contains(Rect{x, y, 1, 1})) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    const Argb64 pixel = WidenArgb(color);
    NearestPaletteEntry nearest(palette_, IsIndexedPixelFormat(format_) ? 1u << GetPixelFormatSize(format_) : 0);
    EncodePixels(&pixel, 1, format_, &nearest, Row(y), x);
    return Ok;
}

Status Bitmap::CheckTransfer(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer) const {
    if (!buffer || !Contains(rect) || !IsSupportedPixelFormat(format)) return InvalidParameter;
    const std::int64_t magnitude = stride < 0 ? -std::int64_t{stride} : std::int64_t{stride};
    if (magnitude < RowBytes(rect.Width, format)) return InvalidParameter;
    return Ok;
}

namespace {

// Splits the rows of a conversion into bands on threads of their own when
// the rectangle is large enough to pay for them (a page, not a tile): rows
// are independent, and each band converts with a converter of its own.
template <class ConvertRows>
void InBands(const Rect& rect, PixelFormat a, PixelFormat b, ConvertRows&& convertRows) {
    const std::uint64_t bytes =
        static_cast<std::uint64_t>(RowBytes(rect.Width, a) + RowBytes(rect.Width, b)) * static_cast<std::uint64_t>(rect.Height);
    const auto rows = static_cast<std::uint32_t>(rect.Height);
    const std::uint32_t parts = std::min(PartsFor(bytes), rows);
    RunParts(parts, [&](std::uint32_t part) {
        convertRows(static_cast<std::int32_t>(PartStart(rows, parts, part)),
                    static_cast<std::int32_t>(PartStart(rows, parts, part + 1)));
    });
}

}  // namespace

void Bitmap::ConvertOut(const Rect& rect, PixelFormat format, std::int32_t stride, void* buffer) const {
    ColorPalette fallback;
    const ColorPalette& target = PaletteFor(format, fallback);
    InBands(rect, format_, format, [&](std::int32_t first, std::int32_t end) {
        PixelConverter converter(format_, palette_, format, target);
        for (std::int32_t y = first; y < end; ++y)
            converter.Convert(Row(rect.Y + y), rect.X, RowOf(buffer, stride, y), 0, rect.Width);
    });
}

void Bitmap::ConvertIn(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer) {
    ColorPalette fallback;
    const ColorPalette& source = PaletteFor(format, fallback);
    InBands(rect, format, format_, [&](std::int32_t first, std::int32_t end) {
        PixelConverter converter(format, source, format_, palette_);
        for (std::int32_t y = first; y < end; ++y)
            converter.Convert(RowOf(buffer, stride, y), 0, Row(rect.Y + y), rect.X, rect.Width);
    });
}

Status Bitmap::CopyPixels(const Rect& rect, PixelFormat format, std::int32_t stride, void* buffer) const {
    if (Status s = CheckTransfer(rect, format, stride, buffer); s != Ok) return s;
    if (IsLocked()) return ObjectBusy;
    return AnswerOutOfMemory([&] {
        ConvertOut(rect, format, stride, buffer);
        return Ok;
    });
}

Status Bitmap::WritePixels(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer) {
    if (Status s = CheckTransfer(rect, format, stride, buffer); s != Ok) return s;
    if (IsLocked()) return ObjectBusy;
    return AnswerOutOfMemory([&] {
        ConvertIn(rect, format, stride, buffer);
        return Ok;
    });
}

Status Bitmap::Clone(std::unique_ptr<Image>& clone) const {
    if (IsLocked()) return ObjectBusy;
    std::unique_ptr<Bitmap> copy;
    if (Status s = MakeOwned(width_, height_, format_, copy); s != Ok) return s;
    for (std::int32_t y = 0; y < height_; ++y)
        CopyPixelBits(Row(y), 0, copy->Row(y), 0, width_, GetPixelFormatSize(format_));
    copy->palette_ = palette_;
    copy->dpiX_ = dpiX_;
    copy->dpiY_ = dpiY_;
    CopyImageStateTo(*copy);
    clone = std::move(copy);
    return Ok;
}

Status Bitmap::CloneArea(const Rect& rect, PixelFormat format, std::unique_ptr<Bitmap>& clone) const {
    if (format == PixelFormatDontCare) format = format_;
    if (!Contains(rect) || !IsSupportedPixelFormat(format)) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    std::unique_ptr<Bitmap> copy;
    if (Status s = MakeOwned(rect.Width, rect.Height, format, copy); s != Ok) return s;
    ColorPalette fallback;
    copy->palette_ = IsIndexedPixelFormat(format) ? PaletteFor(format, fallback) : ColorPalette{};
    copy->dpiX_ = dpiX_;
    copy->dpiY_ = dpiY_;
    return AnswerOutOfMemory([&] {
        ConvertOut(rect, format, copy->stride_, copy->scan0_);
        clone = std::move(copy);
        return Ok;
    });
}

void Bitmap::AdoptFrame(std::unique_ptr<Bitmap> frame) {
    width_ = frame->width_;
    height_ = frame->height_;
    format_ = frame->format_;
    scan0_ = frame->scan0_;
    stride_ = frame->stride_;
    owned_ = std::move(frame->owned_);
    dpiX_ = frame->dpiX_;
    dpiY_ = frame->dpiY_;
    palette_ = frame->palette_;
    Properties() = frame->Properties();
}

}  // namespace gdiplus
