#include "platform/gdiplus/codecs/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <algorithm>
#include <cstring>

#include "platform/gdiplus/codecs/codec_support.h"

namespace gdiplus::codecs {
namespace {

// libpng reports errors by a long jump back to the setjmp in Run(). The work
// between them (Body) keeps all its state in members and only trivial
// locals, so that the jump skips no destructor.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void PutLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

constexpr png_uint_32 kMaxPngSide = 1'000'000;
constexpr std::uint64_t kMaxPngChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxPngAncillaryChunks = 1000;

// Whether every chunk up to the end chunk lies inside the file. libpng
// allocates (and clears) the buffer of a text, scale or palette chunk as large
// as its header claims before it reads a byte of it.
bool ChunksFitTheFile(std::span<const std::uint8_t> bytes) {
    const ByteView view(bytes, true);
    std::uint64_t at = 8;
    for (;;) {
        std::uint32_t length = 0, type = 0;
        if (!view.U32(at, length) || !view.U32(at + 4, type)) return false;
        // Length, type, data and CRC.
        if (!view.Has(at, std::uint64_t{length} + 12)) return false;
        if (type == 0x49454E44) return true;  // IEND
        at += std::uint64_t{length} + 12;
    }
}

class PngReader {
public:
    explicit PngReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    Status Run(std::unique_ptr<Bitmap>& bitmap) {
        if (!png_ || !info_) return OutOfMemory;
        if (!ChunksFitTheFile(bytes_)) return InvalidParameter;
        if (setjmp(png_jmpbuf(png_))) return status_ != Ok ? status_ : InvalidParameter;
        Body();
        if (status_ != Ok) return status_;
        bitmap = std::move(bitmap_);
        return Ok;
    }

private:
    static void ReadBytes(png_structp png, png_bytep out, png_size_t length) {
        auto* self = static_cast<PngReader*>(png_get_io_ptr(png));
        if (length > self->bytes_.size() - self->at_) png_error(png, "truncated");
        std::memcpy(out, self->bytes_.data() + self->at_, length);
        self->at_ += length;
    }

    void Fail(Status status) {
        status_ = status;
        png_longjmp(png_, 1);
    }

    void Body() {
        png_set_read_fn(png_, this, ReadBytes);
        // No ancillary chunk may ask for more than the file holds (or a few
        // megabytes), nor may a file carry thousands of them: a 57-byte file
        // can declare a 1 GiB text chunk.
        png_set_user_limits(png_, kMaxPngSide, kMaxPngSide);
        png_set_chunk_malloc_max(png_, static_cast<png_alloc_size_t>(std::min<std::uint64_t>(
                                           bytes_.size() + 1024, kMaxPngChunkBytes)));
        png_set_chunk_cache_max(png_, kMaxPngAncillaryChunks);
        png_read_info(png_, info_);
        png_uint_32 width = 0, height = 0;
        int depth = 0, colorType = 0, interlace = 0;
        png_get_IHDR(png_, info_, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
        colorType_ = colorType;
        depth_ = depth;
        if (depth == 16) png_set_swap(png_);
        if (colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png_);
        png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);

        const std::size_t rowBytes = png_get_rowbytes(png_, info_);
        const int channels = png_get_channels(png_, info_);
        if (Status s = CheckDecodedSize(width, height, static_cast<std::uint32_t>(channels * depth), bytes_.size());
            s != Ok)
            Fail(s);
        // Every row is written (or the image fails): no clearing first.
        if (Status s = NewFilledBitmap(width, height, FormatFor(), bitmap_); s != Ok) Fail(s);
        // tRNS, PLTE and pHYs come before the pixels.
        ReadTransparency();
        if (IsIndexedPixelFormat(bitmap_->GetPixelFormat())) {
            if (Status s = bitmap_->SetPalette(Palette()); s != Ok) Fail(s);
        }
        png_uint_32 xppu = 0, yppu = 0;
        int unit = 0;
        if (png_get_pHYs(png_, info_, &xppu, &yppu, &unit) && unit == PNG_RESOLUTION_METER) {
            bitmap_->SetResolution(DpiFromPixelsPerMeter(xppu), DpiFromPixelsPerMeter(yppu));
        }
        rows_ = std::make_unique<PixelRows>(*bitmap_);
        if (!rows_->ok()) Fail(GenericError);
        if (interlace == PNG_INTERLACE_NONE) {
            // Row by row through one row of the file's samples, straight into the bitmap.
            raw_.resize(rowBytes);
            for (png_uint_32 y = 0; y < height; ++y) {
                png_read_row(png_, raw_.data(), nullptr);
                ConvertRow(raw_.data(), rows_->Row(y), width);
            }
        } else {
            // The passes of an interlaced image fill every row more than once.
            raw_.resize(rowBytes * height);
            rowPointers_.resize(height);
            for (png_uint_32 y = 0; y < height; ++y) rowPointers_[y] = raw_.data() + y * rowBytes;
            png_read_image(png_, rowPointers_.data());
            for (png_uint_32 y = 0; y < height; ++y) ConvertRow(raw_.data() + y * rowBytes, rows_->Row(y), width);
        }
        png_read_end(png_, nullptr);
        rows_.reset();
        bitmap_->SetRawFormat(ImageFormatPNG);
    }

    PixelFormat FormatFor() const {
        const bool trnsColour = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
        switch (colorType_) {
        case PNG_COLOR_TYPE_GRAY:
            if (depth_ == 16) return trnsColour ? PixelFormat64bppARGB : PixelFormat48bppRGB;
            [[fallthrough]];
        case PNG_COLOR_TYPE_PALETTE:
            return depth_ == 1 ? PixelFormat1bppIndexed : depth_ <= 4 ? PixelFormat4bppIndexed : PixelFormat8bppIndexed;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return depth_ == 16 ? PixelFormat64bppARGB : PixelFormat32bppARGB;
        case PNG_COLOR_TYPE_RGB:
            if (depth_ == 16) return trnsColour ? PixelFormat64bppARGB : PixelFormat48bppRGB;
            return trnsColour ? PixelFormat32bppARGB : PixelFormat24bppRGB;
        default:  // RGBA
            return depth_ == 16 ? PixelFormat64bppARGB : PixelFormat32bppARGB;
        }
    }

    void ReadTransparency() {
        png_bytep alphas = nullptr;
        int count = 0;
        png_color_16p colour = nullptr;
        if (!png_get_tRNS(png_, info_, &alphas, &count, &colour)) return;
        if (colorType_ == PNG_COLOR_TYPE_PALETTE && alphas) {
            paletteAlpha_.assign(alphas, alphas + count);
        } else if (colour) {
            hasTransparentColour_ = true;
            transparent_[0] = colour->blue;
            transparent_[1] = colour->green;
            transparent_[2] = colour->red;
            if (colorType_ == PNG_COLOR_TYPE_GRAY) transparent_[0] = transparent_[1] = transparent_[2] = colour->gray;
        }
    }

    ColorPalette Palette() const {
        ColorPalette palette;
        if (colorType_ == PNG_COLOR_TYPE_PALETTE) {
            png_colorp entries = nullptr;
            int count = 0;
            png_get_PLTE(png_, info_, &entries, &count);
            palette.Count = static_cast<std::uint32_t>(count);
            for (int i = 0; i < count; ++i) {
                const std::uint8_t a = i < static_cast<int>(paletteAlpha_.size()) ? paletteAlpha_[i] : 0xFF;
                palette.Entries[i] = MakeARGB(a, entries[i].red, entries[i].green, entries[i].blue);
            }
        } else {
            palette = GreyPalette(1u << depth_);
            if (hasTransparentColour_ && transparent_[0] < palette.Count)
                palette.Entries[transparent_[0]] &= 0x00FFFFFF;
        }
        return palette;
    }

    void ConvertRow(const std::uint8_t* src, std::uint8_t* dst, std::uint32_t width) const {
        const bool isGrey = !(colorType_ & PNG_COLOR_MASK_COLOR);
        const bool alpha = (colorType_ & PNG_COLOR_MASK_ALPHA) != 0;
        if (depth_ == 2) {  // two bits widened to four
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint8_t v = (src[x / 4] >> (6 - 2 * (x % 4))) & 3;
                dst[x / 2] = static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : dst[x / 2] | v);
            }
        } else if (depth_ < 8 || colorType_ == PNG_COLOR_TYPE_PALETTE || (isGrey && !alpha && depth_ == 8)) {
            std::memcpy(dst, src, (std::size_t{width} * depth_ + 7) / 8);
        } else if (depth_ == 8) {
            Convert8(src, dst, width, isGrey, alpha);
        } else {
            Convert16(src, dst, width, isGrey, alpha);
        }
    }

    void Convert8(const std::uint8_t* src, std::uint8_t* dst, std::uint32_t width, bool isGrey, bool alpha) const {
        if (!isGrey && !alpha && !hasTransparentColour_) {
            std::memcpy(dst, src, std::size_t{width} * 3);
            return;
        }
        const int channels = (isGrey ? 1 : 3) + (alpha ? 1 : 0);
        for (std::uint32_t x = 0; x < width; ++x, src += channels, dst += 4) {
            dst[0] = src[0];
            dst[1] = isGrey ? src[0] : src[1];
            dst[2] = isGrey ? src[0] : src[2];
            if (alpha) {
                dst[3] = src[channels - 1];
            } else {
                const bool clear = dst[0] == (transparent_[0] & 0xFF) && dst[1] == (transparent_[1] & 0xFF) &&
                                   dst[2] == (transparent_[2] & 0xFF);
                dst[3] = clear ? 0 : 0xFF;
            }
        }
    }

    void Convert16(const std::uint8_t* src, std::uint8_t* dst, std::uint32_t width, bool isGrey, bool alpha) const {
        const int channels = (isGrey ? 1 : 3) + (alpha ? 1 : 0);
        const bool withAlpha = alpha || hasTransparentColour_;
        const int outBytes = withAlpha ? 8 : 6;
        for (std::uint32_t x = 0; x < width; ++x, src += 2 * channels, dst += outBytes) {
            std::uint16_t c[3];
            for (int i = 0; i < 3; ++i) c[i] = Le16(src + 2 * (isGrey ? 0 : i));
            for (int i = 0; i < 3; ++i) PutLe16(dst + 2 * i, c[i]);
            if (!withAlpha) continue;
            std::uint16_t a = 0xFFFF;
            if (alpha) {
                a = Le16(src + 2 * (channels - 1));
            } else if (c[0] == transparent_[0] && c[1] == transparent_[1] && c[2] == transparent_[2]) {
                a = 0;
            }
            PutLe16(dst + 6, a);
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    Status status_ = Ok;
    int colorType_ = 0;
    int depth_ = 0;
    std::vector<std::uint8_t> paletteAlpha_;
    bool hasTransparentColour_ = false;
    std::uint16_t transparent_[3] = {0, 0, 0};  // blue, green, red
    // Zeroed: libpng keeps the unused bits of a row's last byte as it finds them.
    std::vector<std::uint8_t> raw_;
    std::vector<png_bytep> rowPointers_;
    std::unique_ptr<Bitmap> bitmap_;
    std::unique_ptr<PixelRows> rows_;
};

// How one pixel format is written.
struct PngLayout {
    PixelFormat readAs;
    int colorType;
    int depth;
};

PngLayout LayoutFor(PixelFormat format) {
    switch (format) {
    case PixelFormat1bppIndexed: return {format, PNG_COLOR_TYPE_PALETTE, 1};
    case PixelFormat4bppIndexed: return {format, PNG_COLOR_TYPE_PALETTE, 4};
    case PixelFormat8bppIndexed: return {format, PNG_COLOR_TYPE_PALETTE, 8};
    case PixelFormat16bppGrayScale: return {format, PNG_COLOR_TYPE_GRAY, 16};
    case PixelFormat16bppARGB1555:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return {PixelFormat32bppARGB, PNG_COLOR_TYPE_RGB_ALPHA, 8};
    case PixelFormat48bppRGB: return {format, PNG_COLOR_TYPE_RGB, 16};
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB: return {PixelFormat64bppARGB, PNG_COLOR_TYPE_RGB_ALPHA, 16};
    default: return {PixelFormat24bppRGB, PNG_COLOR_TYPE_RGB, 8};
    }
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

class PngWriter {
public:
    PngWriter() {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
        if (png_) info_ = png_create_info_struct(png_);
    }
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Everything the body needs is prepared before the jump target is set.
    Status Run(const Image& image, std::vector<std::uint8_t>& bytes) {
        if (!png_ || !info_) return OutOfMemory;
        layout_ = LayoutFor(image.GetPixelFormat());
        image_ = &image;
        width_ = image.GetWidth();
        height_ = image.GetHeight();
        // The first band read here sizes the buffer every later band reuses.
        const std::int64_t rowBytes = RowBytes(static_cast<std::int32_t>(width_), layout_.readAs);
        if (rowBytes <= 0 || height_ == 0) return InvalidParameter;
        bandRows_ = static_cast<std::uint32_t>(
            std::clamp<std::int64_t>(static_cast<std::int64_t>(kBandBytes) / rowBytes, 1, height_));
        if (Status s = ReadPixelRows(image, layout_.readAs, 0, bandRows_, band_); s != Ok) return s;
        if (layout_.colorType == PNG_COLOR_TYPE_PALETTE) {
            ColorPalette palette;
            if (Status s = image.GetPalette(palette); s != Ok) return s;
            const std::uint32_t usable = std::min<std::uint32_t>(palette.Count, 1u << layout_.depth);
            for (std::uint32_t i = 0; i < usable; ++i) {
                const ARGB c = palette.Entries[i];
                plte_.push_back({RedOf(c), GreenOf(c), BlueOf(c)});
                alphas_.push_back(AlphaOf(c));
            }
            // tRNS lists alphas up to the last entry that is not opaque.
            while (!alphas_.empty() && alphas_.back() == 0xFF) alphas_.pop_back();
            if (plte_.empty()) plte_.push_back({0, 0, 0});
        }
        xppm_ = PixelsPerMeterFromDpi(image.GetHorizontalResolution());
        yppm_ = PixelsPerMeterFromDpi(image.GetVerticalResolution());

        if (setjmp(png_jmpbuf(png_))) return GenericError;
        if (Status s = Body(); s != Ok) return s;
        bytes = std::move(out_);
        return Ok;
    }

private:
    // The rows go to libpng from a band of the image read at a time, never
    // from a copy of the whole page. A band that cannot be read ends the
    // writing with its status.
    Status Body() {
        png_set_write_fn(png_, &out_, AppendBytes, NoFlush);
        png_set_IHDR(png_, info_, width_, height_, layout_.depth, layout_.colorType,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!plte_.empty()) png_set_PLTE(png_, info_, plte_.data(), static_cast<int>(plte_.size()));
        if (!alphas_.empty())
            png_set_tRNS(png_, info_, alphas_.data(), static_cast<int>(alphas_.size()), nullptr);
        if (xppm_ > 0 && yppm_ > 0) png_set_pHYs(png_, info_, xppm_, yppm_, PNG_RESOLUTION_METER);
        png_write_info(png_, info_);
        if (layout_.depth == 16) png_set_swap(png_);
        if (layout_.colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png_);
        for (std::uint32_t top = 0; top < height_; top += bandRows_) {
            const std::uint32_t rows = std::min(bandRows_, height_ - top);
            // The first band is in the buffer already; a later one has at
            // most as many rows, so the buffer never grows.
            if (top > 0)
                if (Status s = ReadPixelRows(*image_, layout_.readAs, top, rows, band_); s != Ok) return s;
            for (std::uint32_t y = 0; y < rows; ++y) png_write_row(png_, band_.Row(y));
        }
        png_write_end(png_, info_);
        return Ok;
    }

    // A band of rows is read at a time: a few hundred kilobytes.
    static constexpr std::size_t kBandBytes = std::size_t{256} << 10;

    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    PngLayout layout_{};
    const Image* image_ = nullptr;
    std::uint32_t width_ = 0, height_ = 0, bandRows_ = 1;
    PixelBuffer band_;
    std::vector<png_color> plte_;
    std::vector<png_byte> alphas_;
    std::uint32_t xppm_ = 0, yppm_ = 0;
    std::vector<std::uint8_t> out_;
};

}  // namespace

Status DecodePng(std::span<const std::uint8_t> bytes, std::unique_ptr<Bitmap>& bitmap) {
    return AnswerOutOfMemory([&] {
        PngReader reader(bytes);
        return reader.Run(bitmap);
    });
}

Status PngDecoder::Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const {
    std::unique_ptr<Bitmap> bitmap;
    if (Status s = DecodePng(*bytes, bitmap); s != Ok) return s;
    image = std::move(bitmap);
    return Ok;
}

Status EncodePng(const Image& image, const EncoderParameters&, std::vector<std::uint8_t>& bytes) {
    PngWriter writer;
    return writer.Run(image, bytes);
}

}  // namespace gdiplus::codecs
