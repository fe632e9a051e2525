#include "platform/gdiplus/codecs/codec_support.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace gdiplus::codecs {
namespace {

std::atomic<std::uint64_t> gMaxDecodedBytes{INT32_MAX};

}  // namespace

std::uint64_t MaxDecodedImageBytes() { return gMaxDecodedBytes.load(); }
void SetMaxDecodedImageBytes(std::uint64_t bytes) { gMaxDecodedBytes.store(bytes); }

Status CheckDecodedSize(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel) {
    if (width == 0 || height == 0) return InvalidParameter;
    if (width > INT32_MAX || height > INT32_MAX) return InvalidParameter;
    // Rows padded to 32 bits, as the layer's bitmaps hold them.
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    std::uint64_t total = 0;
    if (MulOverflows(rowBytes, height, total) || total > MaxDecodedImageBytes()) return InvalidParameter;
    return Ok;
}

Status CheckDecodedSize(std::uint64_t width, std::uint64_t height, std::uint32_t bitsPerPixel,
                        std::uint64_t fileBytes) {
    if (Status s = CheckDecodedSize(width, height, bitsPerPixel); s != Ok) return s;
    const std::uint64_t total = (width * bitsPerPixel + 31) / 32 * 4 * height;  // bounded just above
    std::uint64_t plausible = 0;
    if (MulOverflows(fileBytes, kMaxDecodedBytesPerFileByte, plausible)) return Ok;
    return total <= std::max(plausible, kAlwaysAllowedDecodedBytes) ? Ok : InvalidParameter;
}

Status NewDecodedBitmap(std::uint64_t width, std::uint64_t height, PixelFormat format,
                        std::unique_ptr<Bitmap>& bitmap) {
    if (Status s = CheckDecodedSize(width, height, GetPixelFormatSize(format)); s != Ok) return s;
    return Bitmap::Create(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), format, bitmap);
}

Status NewFilledBitmap(std::uint64_t width, std::uint64_t height, PixelFormat format,
                       std::unique_ptr<Bitmap>& bitmap) {
    if (Status s = CheckDecodedSize(width, height, GetPixelFormatSize(format)); s != Ok) return s;
    if (!IsSupportedPixelFormat(format)) return InvalidParameter;
    const auto w = static_cast<std::int32_t>(width);
    const auto h = static_cast<std::int32_t>(height);
    const std::int64_t stride = DefaultStride(w, format);
    const std::int64_t rowBytes = RowBytes(w, format);
    if (stride <= 0 || stride > INT32_MAX / h) return OutOfMemory;
    OwnedBuffer pixels = AllocUninitializedBuffer(static_cast<std::size_t>(stride * h));
    if (!pixels) return OutOfMemory;
    ClearRowPadding(pixels.get(), static_cast<std::size_t>(stride), static_cast<std::size_t>(rowBytes),
                    static_cast<std::size_t>(h));
    return Bitmap::FromOwnedScan0(w, h, static_cast<std::int32_t>(stride), format, std::move(pixels), bitmap);
}

namespace {

#if defined(__x86_64__)
// Sixteen bytes at a time through one byte shuffle: five 3-byte pixels and
// the first byte of the next (kept as it is, and written again with that
// pixel), or four 4-byte pixels. Answers how many pixels it did; the rest
// are left to the plain loop.
__attribute__((target("ssse3"))) std::size_t ShuffleRedBlue(const std::uint8_t* from, std::uint8_t* to,
                                                            std::size_t pixels, std::uint32_t pixelBytes) {
    const __m128i mask = pixelBytes == 4 ? _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15)
                                         : _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    const std::size_t step = pixelBytes == 4 ? 4 : 5;
    // Sixteen bytes are read and written from pixel x on: they must lie within the row.
    const auto fits = [&](std::size_t x) { return x * pixelBytes + 16 <= pixels * pixelBytes; };
    if (!fits(0)) return 0;
    auto load = [&](std::size_t x) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x * pixelBytes)); };
    // Each block is read before the one before it is written: in place, a
    // read of bytes just written (the byte the 3-byte blocks share) would
    // wait for the write to complete.
    std::size_t x = 0;
    __m128i block = load(0);
    for (; fits(x + step); x += step) {
        const __m128i next = load(x + step);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x * pixelBytes), _mm_shuffle_epi8(block, mask));
        block = next;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x * pixelBytes), _mm_shuffle_epi8(block, mask));
    return x + step;
}

bool HasByteShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

}  // namespace

void CopySwappingRedBlue(const std::uint8_t* from, std::uint8_t* to, std::size_t pixels, std::uint32_t pixelBytes) {
#if defined(__x86_64__)
    if (HasByteShuffle()) {
        const std::size_t done = ShuffleRedBlue(from, to, pixels, pixelBytes);
        from += done * pixelBytes;
        to += done * pixelBytes;
        pixels -= done;
    }
#endif
    // A loop of its own for each width, simple enough for the compiler to
    // keep in registers: a page is millions of pixels, and the general loop
    // over samples took several times as long.
    if (pixelBytes == 4) {
        for (std::size_t x = 0; x < pixels; ++x, from += 4, to += 4) {
            std::uint32_t p;
            std::memcpy(&p, from, 4);
            p = (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
            std::memcpy(to, &p, 4);
        }
        return;
    }
    for (std::size_t x = 0; x < pixels; ++x, from += 3, to += 3) {
        const std::uint8_t first = from[0], second = from[1], third = from[2];
        to[0] = third;
        to[1] = second;
        to[2] = first;
    }
}

bool ByteView::U8(std::uint64_t offset, std::uint8_t& v) const {
    if (!Has(offset, 1)) return false;
    v = bytes_[offset];
    return true;
}

bool ByteView::U16(std::uint64_t offset, std::uint16_t& v) const {
    if (!Has(offset, 2)) return false;
    const std::uint8_t* p = bytes_.data() + offset;
    v = bigEndian_ ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
    return true;
}

bool ByteView::U32(std::uint64_t offset, std::uint32_t& v) const {
    if (!Has(offset, 4)) return false;
    const std::uint8_t* p = bytes_.data() + offset;
    v = bigEndian_ ? (std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3])
                   : (std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
    return true;
}

bool ByteView::I32(std::uint64_t offset, std::int32_t& v) const {
    std::uint32_t u = 0;
    if (!U32(offset, u)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

std::optional<ByteView> ByteView::Slice(std::uint64_t offset, std::uint64_t length) const {
    if (!Has(offset, length)) return std::nullopt;
    return ByteView(bytes_.subspan(offset, length), bigEndian_);
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v, bool bigEndian) {
    const std::uint8_t lo = static_cast<std::uint8_t>(v), hi = static_cast<std::uint8_t>(v >> 8);
    if (bigEndian) {
        out.push_back(hi);
        out.push_back(lo);
    } else {
        out.push_back(lo);
        out.push_back(hi);
    }
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v, bool bigEndian) {
    if (bigEndian) {
        PutU16(out, static_cast<std::uint16_t>(v >> 16), true);
        PutU16(out, static_cast<std::uint16_t>(v), true);
    } else {
        PutU16(out, static_cast<std::uint16_t>(v));
        PutU16(out, static_cast<std::uint16_t>(v >> 16));
    }
}

PixelRows::PixelRows(Bitmap& bitmap) : bitmap_(bitmap) {
    const Rect all{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
    locked_ = bitmap.LockBits(all, ImageLockModeRead | ImageLockModeWrite, bitmap.GetPixelFormat(), data_) == Ok;
}

PixelRows::~PixelRows() {
    if (locked_) bitmap_.UnlockBits(data_);
}

Status ReadPixels(const Image& image, PixelFormat format, PixelBuffer& pixels) {
    return ReadPixelRows(image, format, 0, image.GetHeight(), pixels);
}

Status ReadPixelRows(const Image& image, PixelFormat format, std::uint32_t top, std::uint32_t rows,
                     PixelBuffer& pixels) {
    if (top > image.GetHeight() || rows > image.GetHeight() - top) return InvalidParameter;
    pixels.width = image.GetWidth();
    pixels.height = rows;
    const std::int64_t rowBytes = RowBytes(static_cast<std::int32_t>(pixels.width), format);
    if (rowBytes <= 0 || pixels.height == 0) return InvalidParameter;
    // CopyPixels wants a stride that is a multiple of 4.
    pixels.stride = static_cast<std::size_t>((rowBytes + 3) / 4 * 4);
    // Not zeroed as a whole: the copy writes every whole pixel byte. Only the
    // bytes a row's pixels do not fill (a partial last byte of a 1- or 4-bit
    // row, the rounding to 4) are zeroed, so no stray memory reaches a file.
    pixels.bytes.resize(pixels.stride * pixels.height);
    const std::size_t wholeBytes = static_cast<std::size_t>(pixels.width) * GetPixelFormatSize(format) / 8;
    ClearRowPadding(pixels.bytes.data(), pixels.stride, wholeBytes, pixels.height);
    const Rect band{0, static_cast<std::int32_t>(top), static_cast<std::int32_t>(pixels.width),
                    static_cast<std::int32_t>(pixels.height)};
    return image.CopyPixels(band, format, static_cast<std::int32_t>(pixels.stride), pixels.bytes.data());
}

ColorPalette GreyPalette(std::uint32_t count, bool reversed) {
    ColorPalette palette;
    palette.Count = count;
    palette.Flags = PaletteFlagsGrayScale;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t level = count > 1 ? i * 255 / (count - 1) : 0;
        const auto v = static_cast<std::uint8_t>(reversed ? 255 - level : level);
        palette.Entries[i] = MakeARGB(0xFF, v, v, v);
    }
    return palette;
}

bool IsGreyPalette(const ColorPalette& palette, std::uint32_t count) {
    if (palette.Count != count) return false;
    const ColorPalette grey = GreyPalette(count);
    for (std::uint32_t i = 0; i < count; ++i)
        if (palette.Entries[i] != grey.Entries[i]) return false;
    return true;
}

float DpiFromPixelsPerMeter(double pixelsPerMeter, float fallback) {
    if (!(pixelsPerMeter > 0)) return fallback;
    return static_cast<float>(pixelsPerMeter * 0.0254);
}

std::uint32_t PixelsPerMeterFromDpi(float dpi) {
    if (!(dpi > 0)) return 0;
    const double ppm = std::round(double{dpi} / 0.0254);
    return ppm > 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ppm);
}

}  // namespace gdiplus::codecs
