#pragma once
// A raster image: pixels in one of the fourteen pixel formats, rows `stride`
// bytes apart, in memory the bitmap allocated, took over or borrows.
#include <cstdint>
#include <memory>

#include "platform/gdiplus/argb.h"
#include "platform/gdiplus/image.h"
#include "platform/gdiplus/memory.h"

namespace gdiplus {

class Bitmap final : public Image {
public:
    // A new bitmap whose pixels are zero (black, and transparent where the
    // format has alpha) in a buffer of DefaultStride rows; an indexed format
    // gets DefaultPalette. Resolution 96 dpi. InvalidParameter for a size
    // below 1 or a format that is not supported; OutOfMemory when the buffer
    // cannot be had or would pass 2^31 - 1 bytes.
    static Status Create(std::int32_t width, std::int32_t height, PixelFormat format,
                         std::unique_ptr<Bitmap>& bitmap);
    // A bitmap over the caller's pixels, which stay the caller's and must
    // outlive the bitmap; with no pixels (nullptr) the same as Create. The
    // stride is a multiple of 4 and at least a row's bytes, negative when the
    // rows run bottom-up from scan0; InvalidParameter otherwise.
    static Status FromScan0(std::int32_t width, std::int32_t height, std::int32_t stride,
                            PixelFormat format, std::uint8_t* scan0, std::unique_ptr<Bitmap>& bitmap);
    // A bitmap that takes over a block from Alloc holding height rows of a
    // positive stride; the bitmap frees it. On failure the block is freed.
    static Status FromOwnedScan0(std::int32_t width, std::int32_t height, std::int32_t stride,
                                 PixelFormat format, OwnedBuffer pixels, std::unique_ptr<Bitmap>& bitmap);

    ~Bitmap() override;

    ImageType GetType() const override { return ImageTypeBitmap; }
    std::uint32_t GetWidth() const override { return static_cast<std::uint32_t>(width_); }
    std::uint32_t GetHeight() const override { return static_cast<std::uint32_t>(height_); }
    PixelFormat GetPixelFormat() const override { return format_; }
    float GetHorizontalResolution() const override { return dpiX_; }
    float GetVerticalResolution() const override { return dpiY_; }
    // InvalidParameter for a resolution that is not above 0 (or not a number).
    Status SetResolution(float xdpi, float ydpi);

    std::uint32_t GetPaletteSize() const override;
    Status GetPalette(ColorPalette& palette) const override;
    Status SetPalette(const ColorPalette& palette) override;

    // InvalidParameter outside the bitmap. An indexed pixel reads as its
    // palette entry (opaque black past the palette's end); setting one picks
    // the nearest palette entry.
    Status GetPixel(std::int32_t x, std::int32_t y, ARGB& color) const;
    Status SetPixel(std::int32_t x, std::int32_t y, ARGB color);

    // Locks a rectangle of pixels in a format (pixel_convert.h says how
    // formats convert). An indexed lock format refers to the bitmap's palette
    // when the format can address all of its entries, else to DefaultPalette
    // of the lock format (so an 8-bit image locked as 1 bit is black and white).
    // Modes (ImageLockMode): Read, Write or both; with UserInputBuf the caller
    // gives the buffer in data.Scan0 and data.Stride. Read fills the buffer at
    // the lock; Write takes it back into the bitmap at the unlock. A lock in
    // the bitmap's own format without a user buffer points straight into the
    // bitmap's pixels (for 1 and 4 bits only where the rectangle starts on a
    // byte), so Scan0 of a whole-image lock is the bitmap's first row; any
    // other lock without a user buffer gets a buffer of the layer, freed at
    // the unlock. InvalidParameter for a bad rectangle, mode, format or user
    // buffer; WrongState while another lock is held; OutOfMemory.
    Status LockBits(const Rect& rect, std::uint32_t flags, PixelFormat format, BitmapData& data);
    // WrongState without a lock; InvalidParameter for a record of another lock.
    Status UnlockBits(BitmapData& data);

    Status CopyPixels(const Rect& rect, PixelFormat format, std::int32_t stride, void* buffer) const override;
    // The reverse of CopyPixels: the caller's pixels in `format` converted
    // into the rectangle. Same failures.
    Status WritePixels(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer);

    Status Clone(std::unique_ptr<Image>& clone) const override;
    // A new bitmap of a rectangle in a format (PixelFormatDontCare: the
    // bitmap's own), with the resolution and, for an indexed format, the
    // palette; property items are not copied. InvalidParameter for a
    // rectangle that is empty or not inside, or a format not supported.
    Status CloneArea(const Rect& rect, PixelFormat format, std::unique_ptr<Bitmap>& clone) const;
    Status GetThumbnailImage(std::uint32_t width, std::uint32_t height,
                             std::unique_ptr<Image>& thumbnail) const override;
    // Turns the pixels into a new buffer of the bitmap's own: a borrowed
    // buffer is left alone from then on, an owned one is freed. The palette
    // stays; a quarter turn swaps the horizontal and vertical resolution.
    Status RotateFlip(RotateFlipType type) override;

protected:
    bool IsLocked() const override { return lock_ != nullptr; }
    void AdoptFrame(std::unique_ptr<Bitmap> frame) override;

private:
    struct LockState;

    Bitmap(std::int32_t width, std::int32_t height, PixelFormat format, std::uint8_t* scan0,
           std::int32_t stride, OwnedBuffer owned);
    // Create without the start-up test, for the bitmaps the layer makes itself.
    static Status MakeOwned(std::int32_t width, std::int32_t height, PixelFormat format,
                            std::unique_ptr<Bitmap>& bitmap);

    std::uint8_t* Row(std::int32_t y) const { return scan0_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    bool Contains(const Rect& rect) const;
    // The checks CopyPixels and WritePixels share (all but the lock).
    Status CheckTransfer(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer) const;
    // The conversions behind CopyPixels / WritePixels and the locks, unchecked.
    void ConvertOut(const Rect& rect, PixelFormat format, std::int32_t stride, void* buffer) const;
    void ConvertIn(const Rect& rect, PixelFormat format, std::int32_t stride, const void* buffer);
    // The palette an indexed lock or conversion format refers to (see LockBits).
    const ColorPalette& PaletteFor(PixelFormat format, ColorPalette& fallback) const;

    std::int32_t width_;
    std::int32_t height_;
    PixelFormat format_;
    std::uint8_t* scan0_;
    std::int32_t stride_;
    OwnedBuffer owned_;
    float dpiX_ = 96.0f;
    float dpiY_ = 96.0f;
    ColorPalette palette_;
    std::unique_ptr<LockState> lock_;
};

}  // namespace gdiplus
