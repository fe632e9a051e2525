#pragma once
// What every decoder and encoder here shares: the size budget a decoded image
// must stay within, bounds-checked reading of little- and big-endian numbers,
// direct access to a new bitmap's rows, reading an image's pixels in a chosen
// format, and the conversions between dots per inch and other units.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus::codecs {

// Largest pixel buffer a decoder makes for one image, in bytes. The default
// is what a bitmap of the layer can hold; a fuzzing run lowers it.
std::uint64_t MaxDecodedImageBytes();
void SetMaxDecodedImageBytes(std::uint64_t bytes);

// InvalidParameter for a zero size, and for width x height pixels of
// `bitsPerPixel` bits above the budget: such a file is refused before
// anything is allocated.
Status CheckDecodedSize(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel);

// No compression of the formats read here packs more than this many bytes of
// pixels (in the bitmap's own format) into one byte of file; LZW, the
// tightest, reaches about 2,700. Below kAlwaysAllowedDecodedBytes no image is
// judged by the size of its file.
inline constexpr std::uint64_t kMaxDecodedBytesPerFileByte = 4096;
inline constexpr std::uint64_t kAlwaysAllowedDecodedBytes = 16ull << 20;

// CheckDecodedSize, and InvalidParameter as well when a file of `fileBytes`
// bytes cannot hold that many pixels (a decompression bomb, or a header
// that lies).
Status CheckDecodedSize(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel,
                        std::uint64_t fileBytes);

// A new zero-filled bitmap for a decoder, after CheckDecodedSize.
Status NewDecodedBitmap(std::uint64_t width, std::uint64_t height, PixelFormat format,
                        std::unique_ptr<Bitmap>& bitmap);
// The same for a decoder that writes every byte of every row's pixels (or
// fails and drops the bitmap): the pixels are not zeroed first, a pass over
// a whole page that the decoder overwrites anyway; only the padding after
// each row's pixels is cleared, so no stale memory is ever part of the image.
Status NewFilledBitmap(std::uint64_t width, std::uint64_t height, PixelFormat format,
                       std::unique_ptr<Bitmap>& bitmap);

// `pixels` pixels of 8-bit samples, `pixelBytes` (3 or 4) bytes each, from
// `from` into `to` with the first and third sample swapped (red first as
// files keep them, blue first as the layer does, and back); any fourth byte
// is copied as it is. `from` and `to` may be the same row.
void CopySwappingRedBlue(const std::uint8_t* from, std::uint8_t* to, std::size_t pixels, std::uint32_t pixelBytes);

// Bounds-checked reads from a byte block; every read answers false past its end.
class ByteView {
public:
    ByteView() = default;
    explicit ByteView(std::span<const std::uint8_t> bytes, bool bigEndian = false)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::size_t size() const { return bytes_.size(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    bool bigEndian() const { return bigEndian_; }
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    bool U8(std::uint64_t offset, std::uint8_t& v) const;
    bool U16(std::uint64_t offset, std::uint16_t& v) const;
    bool U32(std::uint64_t offset, std::uint32_t& v) const;
    bool I32(std::uint64_t offset, std::int32_t& v) const;
    // The sub-block [offset, offset + length); empty optional when outside.
    std::optional<ByteView> Slice(std::uint64_t offset, std::uint64_t length) const;
    std::span<const std::uint8_t> Span() const { return bytes_; }

private:
    std::span<const std::uint8_t> bytes_;
    bool bigEndian_ = false;
};

// Appends little- or big-endian numbers.
void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v, bool bigEndian = false);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v, bool bigEndian = false);

// The rows of a bitmap as it holds them, locked for writing for the life of
// the object (a decoder fills a bitmap it has just made).
class PixelRows {
public:
    explicit PixelRows(Bitmap& bitmap);
    ~PixelRows();
    PixelRows(const PixelRows&) = delete;
    PixelRows& operator=(const PixelRows&) = delete;

    bool ok() const { return locked_; }
    std::uint8_t* Row(std::uint32_t y) const {
        return static_cast<std::uint8_t*>(data_.Scan0) + static_cast<std::ptrdiff_t>(y) * data_.Stride;
    }

private:
    Bitmap& bitmap_;
    BitmapData data_;
    bool locked_ = false;
};

// An image's pixels converted into `format`, rows `stride` bytes apart with
// no padding beyond the format's row bytes rounded up to whole bytes.
struct PixelBuffer {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t stride = 0;
    UninitializedBytes bytes;

    std::uint8_t* Row(std::uint32_t y) { return bytes.data() + y * stride; }
    const std::uint8_t* Row(std::uint32_t y) const { return bytes.data() + y * stride; }
};
Status ReadPixels(const Image& image, PixelFormat format, PixelBuffer& pixels);
// The same for rows [top, top + rows) of the image only: a band of a page
// read into a buffer that is used again for the next band.
Status ReadPixelRows(const Image& image, PixelFormat format, std::uint32_t top, std::uint32_t rows,
                     PixelBuffer& pixels);

// A palette of `count` evenly spaced opaque greys from black to white
// (reversed: white to black).
ColorPalette GreyPalette(std::uint32_t count, bool reversed = false);
// True when the palette is `count` opaque greys from black to white.
bool IsGreyPalette(const ColorPalette& palette, std::uint32_t count);

// Resolution conversions; a value that is not above 0 gives the fallback.
float DpiFromPixelsPerMeter(double pixelsPerMeter, float fallback = 96.0f);
std::uint32_t PixelsPerMeterFromDpi(float dpi);

// Checked arithmetic of sizes read from files.
inline bool MulOverflows(std::uint64_t a, std::uint64_t b, std::uint64_t& product) {
    return __builtin_mul_overflow(a, b, &product);
}

}  // namespace gdiplus::codecs
