#include <tiffio.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/tiff_codec.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"

namespace gdiplus::codecs {
namespace {

// Text tags an image's property items carry into the file.
constexpr PROPID kTextTags[] = {269, 270, 271, 272, 285, 305, 306, 315, 316, 33432};
constexpr PROPID kOrientationTag = 274;

// One page ready to be written: its samples in TIFF order.
struct TiffPage {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 8, samples = 3, photometric = PHOTOMETRIC_RGB;
    bool alpha = false;
    std::uint16_t compression = COMPRESSION_LZW;
    std::vector<std::uint16_t> colourMap;  // red, green, blue runs, for palette pages
    float xdpi = 0, ydpi = 0;
    std::vector<std::pair<PROPID, std::string>> texts;
    std::optional<std::uint16_t> orientation;
    PixelBuffer pixels;
};

std::optional<std::uint16_t> CompressionFor(std::uint32_t value) {
    switch (value) {
    case EncoderValueCompressionLZW: return COMPRESSION_LZW;
    case EncoderValueCompressionCCITT3: return COMPRESSION_CCITTFAX3;
    case EncoderValueCompressionCCITT4: return COMPRESSION_CCITTFAX4;
    case EncoderValueCompressionRle: return COMPRESSION_CCITTRLE;
    case EncoderValueCompressionNone: return COMPRESSION_NONE;
    default: return std::nullopt;
    }
}

bool IsBilevelOnly(std::uint16_t compression) {
    return compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4 ||
           compression == COMPRESSION_CCITTRLE;
}

// The depth a page is written in when no colour depth is asked for.
std::uint32_t OwnDepth(PixelFormat format) {
    switch (format) {
    case PixelFormat1bppIndexed: return 1;
    case PixelFormat4bppIndexed: return 4;
    case PixelFormat8bppIndexed: return 8;
    case PixelFormat16bppGrayScale: return 16;
    case PixelFormat16bppARGB1555:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB: return 32;
    case PixelFormat48bppRGB: return 48;
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB: return 64;
    default: return 24;
    }
}

unsigned Luminance(ARGB c) { return 299u * RedOf(c) + 587u * GreenOf(c) + 114u * BlueOf(c); }

// Indexed pages: grey palettes as grey pages, black-and-white ones as
// bilevel, others with a colour map; a two-colour page that must be CCITT
// coded becomes bilevel with black whichever entry is darker.
Status PrepareIndexed(const Image& image, std::uint32_t depth, TiffPage& page) {
    const PixelFormat format = depth == 1 ? PixelFormat1bppIndexed : depth == 4 ? PixelFormat4bppIndexed
                                                                               : PixelFormat8bppIndexed;
    if (Status s = ReadPixels(image, format, page.pixels); s != Ok) return s;
    // The palette the pixels refer to: the image's when the depth can address
    // all of it, the depth's default otherwise (as the conversion does).
    ColorPalette palette;
    image.GetPalette(palette);
    if (!IsIndexedPixelFormat(image.GetPixelFormat()) || palette.Count > (1u << depth) || palette.Count == 0)
        palette = DefaultPalette(format);
    page.bitsPerSample = static_cast<std::uint16_t>(depth);
    page.samples = 1;
    const ARGB first = palette.Entries[0], second = palette.Count > 1 ? palette.Entries[1] : ARGB{0xFFFFFFFF};
    if (depth == 1 && IsGreyPalette(palette, 2)) {
        page.photometric = PHOTOMETRIC_MINISBLACK;
    } else if (depth == 1 && palette.Count == 2 && first == 0xFFFFFFFF && second == 0xFF000000) {
        page.photometric = PHOTOMETRIC_MINISWHITE;
    } else if (depth == 1 && IsBilevelOnly(page.compression)) {
        page.photometric = Luminance(first) <= Luminance(second) ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE;
    } else if (IsGreyPalette(palette, 1u << depth)) {
        page.photometric = PHOTOMETRIC_MINISBLACK;
    } else {
        page.photometric = PHOTOMETRIC_PALETTE;
        const std::uint32_t entries = 1u << depth;
        page.colourMap.assign(3 * entries, 0);
        for (std::uint32_t i = 0; i < palette.Count && i < entries; ++i) {
            page.colourMap[i] = static_cast<std::uint16_t>(RedOf(palette.Entries[i]) * 257);
            page.colourMap[entries + i] = static_cast<std::uint16_t>(GreenOf(palette.Entries[i]) * 257);
            page.colourMap[2 * entries + i] = static_cast<std::uint16_t>(BlueOf(palette.Entries[i]) * 257);
        }
    }
    return Ok;
}

bool Opaque(const PixelBuffer& argb) {
    for (std::uint32_t y = 0; y < argb.height; ++y) {
        const std::uint8_t* row = argb.Row(y);
        std::uint8_t all = 0xFF;
        for (std::uint32_t x = 0; x < argb.width; ++x) all &= row[4 * x + 3];
        if (all != 0xFF) return false;
    }
    return true;
}

// 32-bit BGRA rows into 24-bit BGR rows, in place.
void DropAlpha(PixelBuffer& pixels) {
    const std::size_t stride = std::size_t{pixels.width} * 3;
    for (std::uint32_t y = 0; y < pixels.height; ++y) {
        const std::uint8_t* from = pixels.Row(y);
        std::uint8_t* to = pixels.bytes.data() + y * stride;
        for (std::uint32_t x = 0; x < pixels.width; ++x) {
            to[3 * x] = from[4 * x];
            to[3 * x + 1] = from[4 * x + 1];
            to[3 * x + 2] = from[4 * x + 2];
        }
    }
    pixels.stride = stride;
    pixels.bytes.resize(stride * pixels.height);
}

// Direct-colour pages: the layer keeps blue first, TIFF red first. An image
// with an alpha channel that is opaque everywhere is written as RGB, unless
// the caller asked for 32 bits.
Status PrepareDirect(const Image& image, std::uint32_t depth, bool dropOpaqueAlpha, TiffPage& page) {
    PixelFormat readAs = PixelFormat24bppRGB;
    page.photometric = PHOTOMETRIC_RGB;
    switch (depth) {
    case 16: readAs = PixelFormat16bppGrayScale, page.photometric = PHOTOMETRIC_MINISBLACK; break;
    case 32: readAs = PixelFormat32bppARGB; break;
    case 48: readAs = PixelFormat48bppRGB; break;
    case 64: readAs = PixelFormat64bppARGB; break;
    default: break;
    }
    if (Status s = ReadPixels(image, readAs, page.pixels); s != Ok) return s;
    if (depth == 32 && dropOpaqueAlpha && Opaque(page.pixels)) {
        DropAlpha(page.pixels);
        depth = 24;
    }
    page.bitsPerSample = depth >= 48 || depth == 16 ? 16 : 8;
    page.samples = page.photometric == PHOTOMETRIC_MINISBLACK ? 1 : depth == 32 || depth == 64 ? 4 : 3;
    page.alpha = page.samples == 4;
    if (page.samples == 1) return Ok;
    const std::uint32_t sampleBytes = page.bitsPerSample / 8, pixelBytes = sampleBytes * page.samples;
    for (std::uint32_t y = 0; y < page.pixels.height; ++y) {
        std::uint8_t* p = page.pixels.Row(y);
        for (std::uint32_t x = 0; x < page.pixels.width; ++x, p += pixelBytes)
            for (std::uint32_t b = 0; b < sampleBytes; ++b) std::swap(p[b], p[2 * sampleBytes + b]);
    }
    return Ok;
}

void CarryItems(const Image& image, TiffPage& page) {
    for (PROPID tag : kTextTags) {
        PropertyItem item;
        if (image.GetPropertyItem(tag, item) != Ok || item.type != PropertyTagTypeASCII) continue;
        std::string text(item.value.begin(), item.value.begin() + item.length);
        text = text.substr(0, text.find('\0'));
        if (!text.empty()) page.texts.emplace_back(tag, text);
    }
    PropertyItem orientation;
    if (image.GetPropertyItem(kOrientationTag, orientation) == Ok && orientation.type == PropertyTagTypeShort &&
        orientation.length >= 2) {
        const auto value = static_cast<std::uint16_t>(orientation.value[0] | orientation.value[1] << 8);
        if (value >= 1 && value <= 8) page.orientation = value;
    }
}

bool WritePage(TIFF* tif, const TiffPage& page, std::uint32_t number, std::uint32_t count) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.pixels.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.pixels.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
    // Differences of neighbouring samples compress far better than the samples
    // of photographs and scans themselves; palette indices have no such order.
    const bool predictable = page.photometric == PHOTOMETRIC_RGB ||
                             (page.photometric == PHOTOMETRIC_MINISBLACK && page.bitsPerSample >= 8);
    if ((page.compression == COMPRESSION_LZW || page.compression == COMPRESSION_ADOBE_DEFLATE) && predictable)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (page.alpha) {
        const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (!page.colourMap.empty()) {
        const std::size_t n = page.colourMap.size() / 3;
        TIFFSetField(tif, TIFFTAG_COLORMAP, page.colourMap.data(), page.colourMap.data() + n,
                     page.colourMap.data() + 2 * n);
    }
    if (page.xdpi > 0 && page.ydpi > 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, page.xdpi);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, page.ydpi);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    if (count > 1) {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(number), static_cast<std::uint16_t>(count));
    }
    for (const auto& [tag, text] : page.texts) TIFFSetField(tif, tag, text.c_str());
    if (page.orientation) TIFFSetField(tif, TIFFTAG_ORIENTATION, *page.orientation);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    for (std::uint32_t y = 0; y < page.pixels.height; ++y) {
        if (TIFFWriteScanline(tif, const_cast<std::uint8_t*>(page.pixels.Row(y)), y, 0) < 0) return false;
    }
    return TIFFWriteDirectory(tif) == 1;
}

class TiffSession final : public EncoderSession {
public:
    Status AddFrame(const Image& image, const EncoderParameters& parameters) override {
        TiffPage page;
        std::uint32_t depth = OwnDepth(image.GetPixelFormat());
        if (auto asked = FindEncoderLong(parameters, EncoderColorDepth); asked && *asked != 0) {
            if (*asked != 1 && *asked != 4 && *asked != 8 && *asked != 24 && *asked != 32 && *asked != 48 &&
                *asked != 64)
                return InvalidParameter;
            depth = *asked;
        }
        const auto askedCompression = FindEncoderLong(parameters, EncoderCompression);
        if (askedCompression) {
            const auto compression = CompressionFor(*askedCompression);
            if (!compression || (IsBilevelOnly(*compression) && depth != 1)) return InvalidParameter;
            page.compression = *compression;
        } else if (!pages_.empty()) {
            page.compression = pages_.front().compression;
            if (IsBilevelOnly(page.compression) && depth != 1) page.compression = COMPRESSION_LZW;
        }
        const bool depthAsked = FindEncoderLong(parameters, EncoderColorDepth).value_or(0) != 0;
        const Status s =
            depth <= 8 ? PrepareIndexed(image, depth, page) : PrepareDirect(image, depth, !depthAsked, page);
        if (s != Ok) return s;
        page.xdpi = image.GetHorizontalResolution();
        page.ydpi = image.GetVerticalResolution();
        CarryItems(image, page);
        pages_.push_back(std::move(page));
        return Ok;
    }

    Status Finish(std::vector<std::uint8_t>& bytes) override {
        if (pages_.empty()) return WrongState;
        std::vector<std::uint8_t> out;
        TiffMemoryFile file(out);
        if (!file.tiff()) return OutOfMemory;
        const auto count = static_cast<std::uint32_t>(pages_.size());
        for (std::uint32_t i = 0; i < count; ++i)
            if (!WritePage(file.tiff(), pages_[i], i, count)) return GenericError;
        if (!file.Close()) return GenericError;
        bytes = std::move(out);
        return Ok;
    }

private:
    std::vector<TiffPage> pages_;
};

}  // namespace

std::unique_ptr<EncoderSession> TiffEncoder::StartSession() const { return std::make_unique<TiffSession>(); }

}  // namespace gdiplus::codecs
