#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/tiff_codec.h"
#include "platform/gdiplus/codecs/tiff_colour_spaces.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "platform/gdiplus/codecs/tiff_tags.h"

namespace gdiplus::codecs {
namespace {

// The fields of a page that decide how its pixels are read.
struct PageLayout {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    std::uint16_t planar = PLANARCONFIG_CONTIG, sampleFormat = SAMPLEFORMAT_UINT, inkSet = INKSET_CMYK;
    std::uint16_t compression = COMPRESSION_NONE;
    bool associatedAlpha = false;
    // The first extra sample is declared alpha, associated or not.
    bool declaredAlpha = false;

    bool Grey() const { return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE; }
    bool Reversed() const { return photometric == PHOTOMETRIC_MINISWHITE; }
    bool Alpha() const { return (Grey() && samples >= 2) || (photometric == PHOTOMETRIC_RGB && samples >= 4); }
    bool Cmyk() const { return photometric == PHOTOMETRIC_SEPARATED && inkSet == INKSET_CMYK && samples >= 4; }
    bool Lab() const {
        return (photometric == PHOTOMETRIC_CIELAB || photometric == PHOTOMETRIC_ICCLAB) && samples >= 3;
    }
    std::uint16_t ColourSamples() const { return Cmyk() ? 4 : 3; }
    // Inks and L*a*b* take an extra sample as alpha only when it says so.
    bool ConvertedAlpha() const { return samples > ColourSamples() && declaredAlpha; }
    std::uint32_t Planes() const { return planar == PLANARCONFIG_SEPARATE ? samples : 1; }
};

PageLayout ReadLayout(TIFF* tif) {
    PageLayout l;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &l.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &l.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &l.bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &l.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &l.sampleFormat);
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &l.photometric)) l.photometric = PHOTOMETRIC_MINISWHITE;
    std::uint16_t extraCount = 0;
    std::uint16_t* extras = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extras) && extraCount > 0 && extras) {
        l.associatedAlpha = extras[0] == EXTRASAMPLE_ASSOCALPHA;
        l.declaredAlpha = l.associatedAlpha || extras[0] == EXTRASAMPLE_UNASSALPHA;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &l.inkSet);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &l.compression);
    return l;
}

// The format a page decodes into when its samples can be taken as they are;
// 0 when it goes through libtiff's RGBA rendering instead.
PixelFormat NativeFormat(const PageLayout& l) {
    if (l.sampleFormat != SAMPLEFORMAT_UINT || (l.planar != PLANARCONFIG_CONTIG && l.samples > 1)) return 0;
    const std::uint16_t b = l.bitsPerSample;
    if ((l.Grey() && l.samples == 1) || (l.photometric == PHOTOMETRIC_PALETTE && l.samples == 1 && b <= 8)) {
        if (b == 1) return PixelFormat1bppIndexed;
        if (b == 2 || b == 4) return PixelFormat4bppIndexed;
        if (b == 8) return PixelFormat8bppIndexed;
        if (b == 16) return PixelFormat48bppRGB;
        return 0;
    }
    const bool rgb = l.photometric == PHOTOMETRIC_RGB && l.samples >= 3;
    if (!(rgb || (l.Grey() && l.samples >= 2)) || (b != 8 && b != 16)) return 0;
    if (!l.Alpha()) return b == 8 ? PixelFormat24bppRGB : PixelFormat48bppRGB;
    if (b == 8) return l.associatedAlpha ? PixelFormat32bppPARGB : PixelFormat32bppARGB;
    return l.associatedAlpha ? PixelFormat64bppPARGB : PixelFormat64bppARGB;
}

// A band of rows read at a time stays within this many bytes where the file
// allows it: the samples pass through a buffer that stays in the cache on
// their way into the bitmap, and no page-sized copy is ever made of them.
constexpr std::uint64_t kBandBytes = std::uint64_t{1} << 20;

// The page's samples a band of rows at a time, as libtiff decodes them: for
// each plane (one in all for interleaved samples) `rows` rows of RowBytes().
// A band is a row of tiles, a group of whole strips, or (for a strip larger
// than kBandBytes with interleaved samples) one scanline at a time.
class SampleBands {
public:
    // `file` is the bytes `tif` reads: the strips read leave memory as the
    // page goes on (EncodedBytes::DropPages).
    SampleBands(TIFF* tif, const PageLayout& l, const EncodedBytes& file) : tif_(tif), layout_(l), file_(file) {}

    Status Open() {
        const std::uint32_t planes = layout_.Planes();
        rowBytes_ = static_cast<std::uint64_t>(TIFFScanlineSize64(tif_));
        std::uint64_t planeBytes = 0, total = 0;
        if (rowBytes_ == 0 || MulOverflows(rowBytes_, layout_.height, planeBytes) ||
            MulOverflows(planeBytes, planes, total))
            return InvalidParameter;
        if (Status s = CheckDecodedSize(rowBytes_ * planes, layout_.height, 8); s != Ok) return s;
        if (TIFFIsTiled(tif_)) {
            TIFFGetField(tif_, TIFFTAG_TILEWIDTH, &tileWidth_);
            TIFFGetField(tif_, TIFFTAG_TILELENGTH, &bandRows_);
            tileSize_ = static_cast<std::uint64_t>(TIFFTileSize64(tif_));
            tileRowBytes_ = static_cast<std::uint64_t>(TIFFTileRowSize64(tif_));
            if (tileWidth_ == 0 || bandRows_ == 0 || tileSize_ == 0) return InvalidParameter;
            if (Status s = CheckDecodedSize(tileSize_, 1, 8); s != Ok) return s;
            tile_.resize(static_cast<std::size_t>(tileSize_));
            mode_ = Mode::Tiles;
        } else {
            std::uint32_t rowsPerStrip = layout_.height;
            TIFFGetFieldDefaulted(tif_, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
            bandRows_ = std::clamp<std::uint32_t>(rowsPerStrip, 1, layout_.height);
            mode_ = Mode::Strips;
            if (planes == 1 && bandRows_ > 1 && rowBytes_ * bandRows_ > kBandBytes) {
                bandRows_ = 1;
                mode_ = Mode::Scanlines;
            }
        }
        bandRows_ = std::min(bandRows_, layout_.height);
        planeBandBytes_ = rowBytes_ * bandRows_;
        band_.resize(static_cast<std::size_t>(planeBandBytes_ * planes));
        return Ok;
    }

    std::uint32_t BandRows() const { return bandRows_; }
    std::uint64_t RowBytes() const { return rowBytes_; }

    // Reads the band that starts at row `y` (a multiple of BandRows()).
    Status Read(std::uint32_t y) {
        first_ = y;
        const std::uint32_t rows = std::min(bandRows_, layout_.height - y);
        for (std::uint32_t plane = 0; plane < layout_.Planes(); ++plane) {
            std::uint8_t* block = band_.data() + plane * planeBandBytes_;
            const auto sample = static_cast<std::uint16_t>(plane);
            switch (mode_) {
            case Mode::Scanlines:
                if (TIFFReadScanline(tif_, block, y, sample) < 0) return InvalidParameter;
                break;
            case Mode::Strips: {
                const std::uint32_t strip = TIFFComputeStrip(tif_, y, sample);
                if (TIFFReadEncodedStrip(tif_, strip, block, static_cast<tmsize_t>(rows * rowBytes_)) < 0)
                    return InvalidParameter;
                DropUpTo(TIFFGetStrileOffset(tif_, strip) + TIFFGetStrileByteCount(tif_, strip));
                break;
            }
            case Mode::Tiles:
                if (Status s = ReadTileRow(y, rows, sample, block); s != Ok) return s;
                break;
            }
        }
        return Ok;
    }

    // Row `y` (inside the band last read) of a plane.
    const std::uint8_t* Row(std::uint32_t y, std::uint32_t plane = 0) const {
        return band_.data() + plane * planeBandBytes_ + (y - first_) * rowBytes_;
    }

private:
    enum class Mode { Scanlines, Strips, Tiles };

    // The file's bytes before `end` (the end of a strip just read) leave
    // memory, a few megabytes at a time. Strips in file order are the rule;
    // others only make some pages come in again.
    void DropUpTo(std::uint64_t end) {
        constexpr std::uint64_t kDropBytes = std::uint64_t{4} << 20;
        if (end < dropped_ + kDropBytes) return;
        file_.DropPages(dropped_, end - dropped_);
        dropped_ = end;
    }

    Status ReadTileRow(std::uint32_t y, std::uint32_t rows, std::uint16_t plane, std::uint8_t* block) {
        const std::uint64_t bitsPerPixel =
            std::uint64_t{layout_.bitsPerSample} * (layout_.Planes() == 1 ? layout_.samples : 1);
        for (std::uint32_t x = 0; x < layout_.width; x += tileWidth_) {
            const std::uint32_t index = TIFFComputeTile(tif_, x, y, 0, plane);
            if (TIFFReadEncodedTile(tif_, index, tile_.data(), static_cast<tmsize_t>(tileSize_)) < 0)
                return InvalidParameter;
            const std::uint64_t left = x * bitsPerPixel / 8;
            const std::uint64_t n = std::min<std::uint64_t>(tileRowBytes_, rowBytes_ - left);
            for (std::uint32_t r = 0; r < rows; ++r)
                std::memcpy(block + r * rowBytes_ + left, tile_.data() + r * tileRowBytes_, n);
        }
        return Ok;
    }

    TIFF* tif_;
    const PageLayout& layout_;
    const EncodedBytes& file_;
    std::uint64_t dropped_ = 0;
    Mode mode_ = Mode::Strips;
    std::uint64_t rowBytes_ = 0, planeBandBytes_ = 0, tileSize_ = 0, tileRowBytes_ = 0;
    std::uint32_t bandRows_ = 1, tileWidth_ = 0, first_ = 0;
    // Small and reused band after band, so cleared once: nothing of the
    // process's other memory can reach the image even from a faulty codec.
    std::vector<std::uint8_t> band_, tile_;
};

// Runs `convert(y)` for every row of the page, its band read first.
template <class ConvertRow>
Status ForEachRow(SampleBands& bands, std::uint32_t height, ConvertRow&& convert) {
    for (std::uint32_t y = 0; y < height; y += bands.BandRows()) {
        if (Status s = bands.Read(y); s != Ok) return s;
        const std::uint32_t end = std::min(height, y + bands.BandRows());
        for (std::uint32_t row = y; row < end; ++row) convert(row);
    }
    return Ok;
}

ColorPalette ColourMapOf(TIFF* tif, std::uint16_t bits) {
    ColorPalette palette;
    std::uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b)) return GreyPalette(1u << bits);
    palette.Count = 1u << bits;
    // Some writers put 8-bit values into the 16-bit map.
    bool eightBit = true;
    for (std::uint32_t i = 0; i < palette.Count; ++i) eightBit = eightBit && r[i] < 256 && g[i] < 256 && b[i] < 256;
    const int shift = eightBit ? 0 : 8;
    for (std::uint32_t i = 0; i < palette.Count; ++i)
        palette.Entries[i] = MakeARGB(0xFF, static_cast<std::uint8_t>(r[i] >> shift),
                                      static_cast<std::uint8_t>(g[i] >> shift), static_cast<std::uint8_t>(b[i] >> shift));
    return palette;
}

std::uint16_t Sample16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// One row of samples into one row of the bitmap.
void ConvertRow(const PageLayout& l, PixelFormat format, const std::uint8_t* src, std::uint8_t* dst) {
    const std::uint16_t b = l.bitsPerSample;
    if (IsIndexedPixelFormat(format)) {
        if (b == 2) {
            for (std::uint32_t x = 0; x < l.width; ++x) {
                const std::uint8_t v = (src[x / 4] >> (6 - 2 * (x % 4))) & 3;
                dst[x / 2] = static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : dst[x / 2] | v);
            }
        } else {
            std::memcpy(dst, src, (std::size_t{l.width} * b + 7) / 8);
        }
        return;
    }
    const bool grey = l.Grey();
    const std::uint32_t outChannels = l.Alpha() ? 4 : 3;
    if (b == 8 && !grey && l.samples == outChannels) {
        CopySwappingRedBlue(src, dst, l.width, outChannels);
        return;
    }
    const std::uint32_t bytes = b / 8;
    for (std::uint32_t x = 0; x < l.width; ++x) {
        const std::uint8_t* s = src + std::size_t{x} * l.samples * bytes;
        std::uint8_t* d = dst + std::size_t{x} * outChannels * bytes;
        std::uint32_t channel[4];
        auto sample = [&](std::uint32_t i) { return bytes == 1 ? s[i] : Sample16(s + 2 * i); };
        const std::uint32_t max = bytes == 1 ? 0xFF : 0xFFFF;
        if (grey) {
            std::uint32_t v = sample(0);
            if (l.Reversed()) v = max - v;
            channel[0] = channel[1] = channel[2] = v;
        } else {
            channel[0] = sample(2);  // blue first, as the layer keeps pixels
            channel[1] = sample(1);
            channel[2] = sample(0);
        }
        channel[3] = outChannels == 4 ? sample(grey ? 1 : 3) : max;
        for (std::uint32_t c = 0; c < outChannels; ++c) {
            if (bytes == 1) {
                d[c] = static_cast<std::uint8_t>(channel[c]);
            } else {
                d[2 * c] = static_cast<std::uint8_t>(channel[c]);
                d[2 * c + 1] = static_cast<std::uint8_t>(channel[c] >> 8);
            }
        }
    }
}

// Every row of the bitmap is written from the file's samples (or the page
// fails), so its pixels are not cleared first.
Status DecodeNative(TIFF* tif, const EncodedBytes& file, const PageLayout& l, PixelFormat format,
                    std::unique_ptr<Bitmap>& bitmap) {
    if (Status s = NewFilledBitmap(l.width, l.height, format, bitmap); s != Ok) return s;
    SampleBands bands(tif, l, file);
    if (Status s = bands.Open(); s != Ok) return s;
    if (IsIndexedPixelFormat(format)) {
        const ColorPalette palette = l.photometric == PHOTOMETRIC_PALETTE ? ColourMapOf(tif, l.bitsPerSample)
                                                                          : GreyPalette(1u << l.bitsPerSample, l.Reversed());
        if (Status s = bitmap->SetPalette(palette); s != Ok) return s;
    }
    PixelRows rows(*bitmap);
    if (!rows.ok()) return GenericError;
    return ForEachRow(bands, l.height, [&](std::uint32_t y) { ConvertRow(l, format, bands.Row(y), rows.Row(y)); });
}

// Inks (CMYK) of 1 to 16 bits a sample and L*a*b* of 8 or 16, interleaved or in planes,
// rendered by the engine's own conversions into 24-bit RGB, or 32-bit ARGB
// when an extra sample is declared alpha.
bool RenderedByUs(const PageLayout& l) {
    // The old-style JPEG decoder changes the colour space itself.
    const std::uint16_t b = l.bitsPerSample;
    const bool depth = l.Cmyk() ? b >= 1 && b <= 16 : b == 8 || b == 16;
    return (l.Cmyk() || l.Lab()) && depth && l.sampleFormat == SAMPLEFORMAT_UINT && l.compression != COMPRESSION_OJPEG;
}

Status DecodeConverted(TIFF* tif, const EncodedBytes& file, const PageLayout& l, std::unique_ptr<Bitmap>& bitmap) {
    const bool alpha = l.ConvertedAlpha();
    if (Status s = NewFilledBitmap(l.width, l.height, alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB, bitmap);
        s != Ok)
        return s;
    SampleBands bands(tif, l, file);
    if (Status s = bands.Open(); s != Ok) return s;
    PixelRows rows(*bitmap);
    if (!rows.ok()) return GenericError;
    const std::uint32_t planes = l.Planes(), colours = l.ColourSamples();
    const std::uint32_t bits = l.bitsPerSample, max = (1u << bits) - 1;
    const LabEncoding encoding = l.photometric == PHOTOMETRIC_ICCLAB ? LabEncoding::Icc : LabEncoding::Cie;
    return ForEachRow(bands, l.height, [&](std::uint32_t y) {
        auto sample = [&](std::uint32_t x, std::uint32_t s) -> std::uint32_t {
            const std::uint8_t* at = bands.Row(y, planes > 1 ? s : 0);
            const std::uint64_t index = planes > 1 ? x : std::uint64_t{x} * l.samples + s;
            if (bits == 8) return at[index];
            if (bits == 16) {
                std::uint16_t v;  // libtiff hands out 16-bit samples in the host's order
                std::memcpy(&v, at + 2 * index, 2);
                return v;
            }
            // Other widths are packed, most significant bit first, within the row's bytes.
            std::uint32_t v = 0;
            for (std::uint64_t bit = index * bits, end = bit + bits; bit < end; ++bit)
                v = v << 1 | ((at[bit / 8] >> (7 - bit % 8)) & 1u);
            return v;
        };
        std::uint8_t* d = rows.Row(y);
        for (std::uint32_t x = 0; x < l.width; ++x, d += alpha ? 4 : 3) {
            std::uint32_t colour[4] = {}, rgb[3] = {};
            for (std::uint32_t s = 0; s < colours; ++s) colour[s] = sample(x, s);
            const std::uint32_t a = alpha ? sample(x, colours) : max;
            // Associated alpha: the stored inks are premultiplied, and are taken back before rendering.
            if (alpha && l.associatedAlpha && l.Cmyk()) {
                for (std::uint32_t s = 0; s < 4; ++s)
                    colour[s] = a == 0 ? 0 : std::min<std::uint32_t>(max, (colour[s] * max + a / 2) / a);
            }
            if (l.Cmyk()) {
                InksToRgb(colour, max, 0xFF, rgb);
            } else {
                LabToSrgb(LabFromSamples(encoding, l.bitsPerSample, colour), 0xFF, rgb);
                if (alpha && l.associatedAlpha) {
                    const std::uint32_t a8 = (a * 0xFF + max / 2) / max;
                    for (std::uint32_t& c : rgb) c = a8 == 0 ? 0 : std::min<std::uint32_t>(0xFF, (c * 0xFF + a8 / 2) / a8);
                }
            }
            d[0] = static_cast<std::uint8_t>(rgb[2]);  // blue first, as the layer keeps pixels
            d[1] = static_cast<std::uint8_t>(rgb[1]);
            d[2] = static_cast<std::uint8_t>(rgb[0]);
            if (alpha) d[3] = static_cast<std::uint8_t>((a * 0xFF + max / 2) / max);
        }
    });
}

// Anything else libtiff can render comes as 8-bit RGBA.
Status DecodeRendered(TIFF* tif, const PageLayout& l, std::unique_ptr<Bitmap>& bitmap) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message)) return UnknownImageFormat;
    if (Status s = NewDecodedBitmap(l.width, l.height, PixelFormat32bppARGB, bitmap); s != Ok) return s;
    std::vector<std::uint32_t> raster(std::size_t{l.width} * l.height);
    if (!TIFFReadRGBAImageOriented(tif, l.width, l.height, raster.data(), ORIENTATION_TOPLEFT, 0))
        return InvalidParameter;
    PixelRows rows(*bitmap);
    if (!rows.ok()) return GenericError;
    for (std::uint32_t y = 0; y < l.height; ++y) {
        std::uint8_t* d = rows.Row(y);
        for (std::uint32_t x = 0; x < l.width; ++x, d += 4) {
            // libtiff hands out colour premultiplied by alpha; the bitmap holds it straight.
            const std::uint32_t p = raster[std::size_t{y} * l.width + x];
            const std::uint32_t a = TIFFGetA(p);
            auto straight = [a](std::uint32_t c) {
                return static_cast<std::uint8_t>(a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
            };
            d[0] = straight(TIFFGetB(p));
            d[1] = straight(TIFFGetG(p));
            d[2] = straight(TIFFGetR(p));
            d[3] = static_cast<std::uint8_t>(a);
        }
    }
    return Ok;
}

void SetResolution(TIFF* tif, Bitmap& bitmap) {
    float x = 0, y = 0;
    std::uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y)) return;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const float scale = unit == RESUNIT_CENTIMETER ? 2.54f : unit == RESUNIT_INCH ? 1.0f : 0.0f;
    if (scale > 0 && x > 0 && y > 0 && x * scale < 1e7f && y * scale < 1e7f) bitmap.SetResolution(x * scale, y * scale);
}

// Decodes page `index` of an open file.
Status DecodePage(TIFF* tif, const EncodedBytes& bytes, std::uint32_t index, std::unique_ptr<Bitmap>& bitmap) {
    if (!TIFFSetDirectory(tif, static_cast<tdir_t>(index))) return InvalidParameter;
    const PageLayout layout = ReadLayout(tif);
    if (Status s = CheckDecodedSize(layout.width, layout.height,
                                    std::max<std::uint32_t>(1, std::uint32_t{layout.bitsPerSample} * layout.samples),
                                    bytes->size());
        s != Ok)
        return s;
    if (!TIFFIsCODECConfigured(layout.compression)) return UnknownImageFormat;
    std::unique_ptr<Bitmap> page;
    const PixelFormat format = NativeFormat(layout);
    const Status s = format != 0           ? DecodeNative(tif, bytes, layout, format, page)
                     : RenderedByUs(layout) ? DecodeConverted(tif, bytes, layout, page)
                                            : DecodeRendered(tif, layout, page);
    if (s != Ok) return s;
    SetResolution(tif, *page);
    std::vector<PropertyItem> items;
    if (ReadTiffTags(*bytes, static_cast<std::uint32_t>(TIFFCurrentDirectory(tif)), items) == Ok) {
        for (const auto& item : items) page->SetPropertyItem(item);
    }
    page->SetRawFormat(ImageFormatTIFF);
    bitmap = std::move(page);
    return Ok;
}

class TiffPages final : public FrameSource {
public:
    TiffPages(EncodedBytes bytes, std::uint32_t count) : bytes_(std::move(bytes)), count_(count) {}

    std::vector<Guid> Dimensions() const override { return {FrameDimensionPage}; }
    std::uint32_t FrameCount(const Guid& dimension) const override {
        return dimension == FrameDimensionPage ? count_ : 0;
    }
    Status DecodeFrame(const Guid&, std::uint32_t index, std::unique_ptr<Bitmap>& frame) const override {
        TiffMemoryFile file(*bytes_, MaxDecodedImageBytes());
        if (!file.tiff()) return InvalidParameter;
        return DecodePage(file.tiff(), bytes_, index, frame);
    }

private:
    EncodedBytes bytes_;
    std::uint32_t count_;
};

}  // namespace

Status TiffDecoder::Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const {
    TiffMemoryFile file(*bytes, MaxDecodedImageBytes());
    if (!file.tiff()) return InvalidParameter;
    const std::uint32_t pages = TIFFNumberOfDirectories(file.tiff());
    std::unique_ptr<Bitmap> first;
    if (Status s = DecodePage(file.tiff(), bytes, 0, first); s != Ok) return s;
    if (pages > 1) first->SetFrameSource(std::make_shared<TiffPages>(bytes, pages));
    image = std::move(first);
    return Ok;
}

}  // namespace gdiplus::codecs
