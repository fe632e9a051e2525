#include "plugins/mvimgplug/tiff_page_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/tiff_colour_spaces.h"
#include "plugins/mvimgplug/metadata_import.h"
#include "plugins/mvimgplug/pixel_budget.h"

namespace mvimgplug {

namespace {

int Silently(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct BitmapUnloader {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using BitmapHandle = std::unique_ptr<FIBITMAP, BitmapUnloader>;

// libtiff over a descriptor of its own, so that reading does not move the
// shared file's position.
TiffHandle OpenTiff(InputFile& file) {
    const std::string self = "/proc/self/fd/" + std::to_string(::fileno(file.Stream()));
    const int fd = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::unique_ptr<TIFFOpenOptions, decltype(&TIFFOpenOptionsFree)> options(TIFFOpenOptionsAlloc(),
                                                                           TIFFOpenOptionsFree);
    if (!options) {
        ::close(fd);
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silently, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silently, nullptr);
    // libtiff allocates no more at once than a page may take.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(MaxPixelBytes()));
    // "m": read through the descriptor, without mapping the file.
    TIFF* tiff = TIFFFdOpenExt(fd, "page", "rm", options.get());
    if (tiff == nullptr) ::close(fd);
    return TiffHandle(tiff);
}

// The fields of a page that decide how it is read.
struct Layout {
    uint32_t width = 0, height = 0;
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t planar = PLANARCONFIG_CONTIG, sampleFormat = SAMPLEFORMAT_UINT, inkSet = INKSET_CMYK;
    uint16_t compression = COMPRESSION_NONE;
    bool alpha = false;
    bool associated = false;

    bool Grey() const { return photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE; }
    bool Cmyk() const { return photometric == PHOTOMETRIC_SEPARATED && inkSet == INKSET_CMYK && samples >= 4; }
    bool Lab() const { return photometric == PHOTOMETRIC_CIELAB || photometric == PHOTOMETRIC_ICCLAB; }
    // Samples of colour before the extra ones.
    uint16_t ColourSamples() const {
        return Grey() || photometric == PHOTOMETRIC_PALETTE ? 1 : Cmyk() ? 4 : 3;
    }
};

Layout ReadLayout(TIFF* tiff) {
    Layout l;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &l.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &l.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &l.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &l.planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &l.sampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &l.inkSet);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &l.compression);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &l.photometric)) {
        l.photometric = l.samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    }
    uint16_t extraCount = 0;
    uint16_t* extras = nullptr;
    const uint16_t colour = l.ColourSamples();
    if (l.samples > colour) {
        if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extras) && extraCount > 0 && extras != nullptr) {
            l.alpha = extras[0] == EXTRASAMPLE_ASSOCALPHA || extras[0] == EXTRASAMPLE_UNASSALPHA;
            l.associated = extras[0] == EXTRASAMPLE_ASSOCALPHA;
        } else {
            // Without the tag, a fourth sample of RGB (second of grey) is taken as alpha.
            l.alpha = !l.Cmyk();
        }
    }
    return l;
}

// Every sample of a page, as libtiff decodes it: one block per plane (one in
// all for interleaved samples), rows one after the other.
class RawSamples {
public:
    bool Read(TIFF* tiff, const Layout& l) {
        planes_ = l.planar == PLANARCONFIG_SEPARATE ? l.samples : 1;
        rowBytes_ = static_cast<uint64_t>(TIFFScanlineSize64(tiff));
        if (rowBytes_ == 0 || !DecodedSizeFits(rowBytes_ * planes_, l.height, 8, 0)) return false;
        data_.assign(rowBytes_ * l.height * planes_, 0);
        return TIFFIsTiled(tiff) ? ReadTiles(tiff, l) : ReadStrips(tiff, l);
    }
    const uint8_t* Row(uint32_t plane, uint32_t y, uint32_t height) const {
        return data_.data() + (static_cast<uint64_t>(plane) * height + y) * rowBytes_;
    }
    uint32_t Planes() const { return planes_; }

private:
    bool ReadStrips(TIFF* tiff, const Layout& l) {
        uint32_t rowsPerStrip = l.height;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
        rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, l.height);
        for (uint32_t plane = 0; plane < planes_; ++plane) {
            for (uint32_t y = 0; y < l.height; y += rowsPerStrip) {
                const uint32_t rows = std::min(rowsPerStrip, l.height - y);
                uint8_t* into = data_.data() + (static_cast<uint64_t>(plane) * l.height + y) * rowBytes_;
                const auto size = static_cast<tmsize_t>(rows * rowBytes_);
                if (TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, y, static_cast<uint16_t>(plane)), into, size) < 0) {
                    return false;
                }
            }
        }
        return true;
    }

    bool ReadTiles(TIFF* tiff, const Layout& l) {
        uint32_t tileWidth = 0, tileHeight = 0;
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
        const uint64_t tileSize = static_cast<uint64_t>(TIFFTileSize64(tiff));
        const uint64_t tileRow = static_cast<uint64_t>(TIFFTileRowSize64(tiff));
        if (tileWidth == 0 || tileHeight == 0 || tileSize == 0 || !DecodedSizeFits(tileSize, 1, 8, 0)) return false;
        std::vector<uint8_t> tile(tileSize);
        const uint64_t bitsPerPixel = uint64_t{l.bits} * (planes_ == 1 ? l.samples : 1);
        for (uint32_t plane = 0; plane < planes_; ++plane) {
            for (uint32_t y = 0; y < l.height; y += tileHeight) {
                for (uint32_t x = 0; x < l.width; x += tileWidth) {
                    const uint32_t index = TIFFComputeTile(tiff, x, y, 0, static_cast<uint16_t>(plane));
                    if (TIFFReadEncodedTile(tiff, index, tile.data(), static_cast<tmsize_t>(tileSize)) < 0) return false;
                    const uint64_t left = x * bitsPerPixel / 8;
                    const uint64_t count = std::min<uint64_t>(tileRow, rowBytes_ - left);
                    for (uint32_t r = 0; r < tileHeight && y + r < l.height; ++r) {
                        std::memcpy(data_.data() + ((uint64_t{plane} * l.height) + y + r) * rowBytes_ + left,
                                    tile.data() + r * tileRow, count);
                    }
                }
            }
        }
        return true;
    }

    std::vector<uint8_t> data_;
    uint64_t rowBytes_ = 0;
    uint32_t planes_ = 1;
};

// Sample `s` of pixel `x` of a row of planes, as an unsigned value of `bits`
// bits (packed most significant bit first, 16-bit samples in host order).
class SampleRow {
public:
    SampleRow(const RawSamples& raw, const Layout& l, uint32_t y) : raw_(raw), l_(l), y_(y) {}
    uint32_t Unsigned(uint32_t x, uint32_t s) const {
        const bool separate = raw_.Planes() > 1;
        const uint8_t* row = raw_.Row(separate ? s : 0, y_, l_.height);
        const uint64_t index = separate ? x : uint64_t{x} * l_.samples + s;
        if (l_.bits == 8) return row[index];
        if (l_.bits == 16) {
            uint16_t v;
            std::memcpy(&v, row + 2 * index, 2);
            return v;
        }
        const uint64_t bit = index * l_.bits;
        uint32_t v = 0;
        for (uint32_t b = 0; b < l_.bits; ++b) {
            const uint64_t at = bit + b;
            v = (v << 1) | ((row[at / 8] >> (7 - at % 8)) & 1u);
        }
        return v;
    }
    // The sample scaled to 16 bits.
    uint32_t Wide(uint32_t x, uint32_t s) const {
        const uint32_t max = (1u << l_.bits) - 1;
        return l_.bits == 16 ? Unsigned(x, s) : (Unsigned(x, s) * 65535u + max / 2) / max;
    }
    double Float(uint32_t x, uint32_t s) const {
        const bool separate = raw_.Planes() > 1;
        const uint8_t* row = raw_.Row(separate ? s : 0, y_, l_.height);
        const uint64_t index = separate ? x : uint64_t{x} * l_.samples + s;
        if (l_.bits == 64) {
            double v;
            std::memcpy(&v, row + 8 * index, 8);
            return v;
        }
        float v;
        std::memcpy(&v, row + 4 * index, 4);
        return v;
    }

private:
    const RawSamples& raw_;
    const Layout& l_;
    uint32_t y_;
};

// Colour from premultiplied (associated) alpha.
uint32_t Unpremultiply(uint32_t value, uint32_t alpha, uint32_t max) {
    if (alpha == 0) return 0;
    return std::min(max, (value * max + alpha / 2) / alpha);
}

void FillGreyPalette(FIBITMAP* dib, uint32_t bits, bool reversed) {
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    const uint32_t count = 1u << bits;
    for (uint32_t i = 0; i < count; ++i) {
        const auto v = static_cast<BYTE>(i * 255 / (count - 1));
        const BYTE grey = reversed ? static_cast<BYTE>(255 - v) : v;
        palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = grey;
        palette[i].rgbReserved = 0;
    }
}

bool FillColourMap(TIFF* tiff, FIBITMAP* dib, uint32_t bits) {
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &r, &g, &b)) return false;
    const uint32_t count = 1u << bits;
    // Some writers put 8-bit values into the 16-bit map.
    bool eightBit = true;
    for (uint32_t i = 0; i < count; ++i) eightBit = eightBit && r[i] < 256 && g[i] < 256 && b[i] < 256;
    const int shift = eightBit ? 0 : 8;
    RGBQUAD* palette = FreeImage_GetPalette(dib);
    for (uint32_t i = 0; i < count; ++i) {
        palette[i].rgbRed = static_cast<BYTE>(r[i] >> shift);
        palette[i].rgbGreen = static_cast<BYTE>(g[i] >> shift);
        palette[i].rgbBlue = static_cast<BYTE>(b[i] >> shift);
        palette[i].rgbReserved = 0;
    }
    return true;
}

// 1, 2, 4 or 8-bit grey or palette samples, one per pixel.
FIBITMAP* ReadIndexed(TIFF* tiff, const Layout& l, const RawSamples& raw) {
    const uint32_t bpp = l.bits == 2 ? 4 : l.bits;
    BitmapHandle dib(FreeImage_Allocate(static_cast<int>(l.width), static_cast<int>(l.height), static_cast<int>(bpp)));
    if (!dib) return nullptr;
    if (l.photometric == PHOTOMETRIC_PALETTE) {
        if (!FillColourMap(tiff, dib.get(), l.bits)) return nullptr;
    } else {
        FillGreyPalette(dib.get(), l.bits, l.photometric == PHOTOMETRIC_MINISWHITE);
    }
    for (uint32_t y = 0; y < l.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        const uint8_t* source = raw.Row(0, y, l.height);
        if (l.bits != 2) {
            std::memcpy(line, source, (uint64_t{l.width} * l.bits + 7) / 8);
            continue;
        }
        for (uint32_t x = 0; x < l.width; ++x) {
            const uint8_t v = (source[x / 4] >> (6 - 2 * (x % 4))) & 3;
            line[x / 2] = static_cast<BYTE>(x % 2 == 0 ? v << 4 : line[x / 2] | v);
        }
    }
    return dib.release();
}

// Grey, grey + alpha, RGB(A) or CMYK(A) of up to 16 bits a sample, into
// 8-bit BGR(A) or, above 8 bits, 16-bit grey or RGB(A).
FIBITMAP* ReadColour(const Layout& l, const RawSamples& raw) {
    const bool wide = l.bits > 8;
    const bool greyOnly = wide && l.Grey() && !l.alpha;
    const uint32_t max = wide ? 65535 : 255;
    const uint16_t colour = l.ColourSamples();
    BitmapHandle dib;
    const int w = static_cast<int>(l.width), h = static_cast<int>(l.height);
    if (greyOnly) {
        dib.reset(FreeImage_AllocateT(FIT_UINT16, w, h));
    } else if (wide) {
        dib.reset(FreeImage_AllocateT(l.alpha ? FIT_RGBA16 : FIT_RGB16, w, h));
    } else {
        dib.reset(FreeImage_Allocate(w, h, l.alpha ? 32 : 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    }
    if (!dib) return nullptr;
    const unsigned step = FreeImage_GetBPP(dib.get()) / 8;
    for (uint32_t y = 0; y < l.height; ++y) {
        const SampleRow row(raw, l, y);
        BYTE* line = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        for (uint32_t x = 0; x < l.width; ++x) {
            auto sample = [&](uint32_t s) { return wide ? row.Wide(x, s) : row.Wide(x, s) >> 8; };
            uint32_t rgb[3];
            if (l.Grey()) {
                uint32_t v = l.bits == 8 ? row.Unsigned(x, 0) : sample(0);
                if (l.photometric == PHOTOMETRIC_MINISWHITE) v = max - v;
                rgb[0] = rgb[1] = rgb[2] = v;
            } else if (l.Cmyk()) {
                uint32_t inks[4];
                for (uint32_t s = 0; s < 4; ++s) inks[s] = l.bits == 8 ? row.Unsigned(x, s) : sample(s);
                // Premultiplied inks are taken back before rendering, not the colour after.
                if (l.alpha && l.associated) {
                    const uint32_t a = l.bits == 8 ? row.Unsigned(x, colour) : sample(colour);
                    for (uint32_t& ink : inks) ink = Unpremultiply(ink, a, max);
                }
                gdiplus::codecs::InksToRgb(inks, max, max, rgb);
            } else if (l.Lab()) {
                const uint32_t lab[3] = {row.Unsigned(x, 0), row.Unsigned(x, 1), row.Unsigned(x, 2)};
                const auto encoding = l.photometric == PHOTOMETRIC_ICCLAB ? gdiplus::codecs::LabEncoding::Icc
                                                                          : gdiplus::codecs::LabEncoding::Cie;
                gdiplus::codecs::LabToSrgb(gdiplus::codecs::LabFromSamples(encoding, l.bits, lab), max, rgb);
            } else {
                for (uint32_t c = 0; c < 3; ++c) rgb[c] = l.bits == 8 ? row.Unsigned(x, c) : sample(c);
            }
            uint32_t alpha = max;
            if (l.alpha) {
                alpha = l.bits == 8 ? row.Unsigned(x, colour) : sample(colour);
                if (l.associated && !l.Cmyk()) {
                    for (uint32_t& c : rgb) c = Unpremultiply(c, alpha, max);
                }
            }
            BYTE* pixel = line + static_cast<size_t>(x) * step;
            if (greyOnly) {
                const auto v = static_cast<WORD>(rgb[0]);
                std::memcpy(pixel, &v, 2);
            } else if (wide) {
                const WORD values[4] = {static_cast<WORD>(rgb[0]), static_cast<WORD>(rgb[1]), static_cast<WORD>(rgb[2]),
                                        static_cast<WORD>(alpha)};
                std::memcpy(pixel, values, l.alpha ? 8 : 6);
            } else {
                pixel[FI_RGBA_RED] = static_cast<BYTE>(rgb[0]);
                pixel[FI_RGBA_GREEN] = static_cast<BYTE>(rgb[1]);
                pixel[FI_RGBA_BLUE] = static_cast<BYTE>(rgb[2]);
                if (l.alpha) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(alpha);
            }
        }
    }
    return dib.release();
}

// 32 or 64-bit floating-point grey or RGB, into float grey or float RGB.
FIBITMAP* ReadFloat(const Layout& l, const RawSamples& raw) {
    const bool grey = l.Grey();
    BitmapHandle dib(FreeImage_AllocateT(grey ? FIT_FLOAT : FIT_RGBF, static_cast<int>(l.width),
                                         static_cast<int>(l.height)));
    if (!dib) return nullptr;
    for (uint32_t y = 0; y < l.height; ++y) {
        const SampleRow row(raw, l, y);
        auto* line = reinterpret_cast<float*>(FreeImage_GetScanLine(dib.get(), static_cast<int>(y)));
        for (uint32_t x = 0; x < l.width; ++x) {
            for (uint32_t c = 0; c < (grey ? 1u : 3u); ++c) {
                const double v = row.Float(x, c);
                line[x * (grey ? 1 : 3) + c] = std::isfinite(v) ? static_cast<float>(v) : 0.0f;
            }
        }
    }
    return dib.release();
}

// What libtiff renders itself (YCbCr, old-style JPEG, LogLuv ...)
// comes as 8-bit RGBA with premultiplied alpha.
FIBITMAP* ReadRendered(TIFF* tiff, const Layout& l) {
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff, message)) return nullptr;
    if (!DecodedSizeFits(l.width, l.height, 32, 0)) return nullptr;
    std::vector<uint32_t> raster(static_cast<size_t>(l.width) * l.height);
    if (!TIFFReadRGBAImageOriented(tiff, l.width, l.height, raster.data(), ORIENTATION_TOPLEFT, 0)) return nullptr;
    BitmapHandle dib(FreeImage_Allocate(static_cast<int>(l.width), static_cast<int>(l.height), l.alpha ? 32 : 24,
                                        FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    if (!dib) return nullptr;
    const unsigned step = l.alpha ? 4 : 3;
    for (uint32_t y = 0; y < l.height; ++y) {
        BYTE* pixel = FreeImage_GetScanLine(dib.get(), static_cast<int>(y));
        const uint32_t* source = raster.data() + static_cast<size_t>(y) * l.width;
        for (uint32_t x = 0; x < l.width; ++x, pixel += step) {
            const uint32_t p = source[x];
            const uint32_t alpha = l.alpha ? TIFFGetA(p) : 255;
            pixel[FI_RGBA_RED] = static_cast<BYTE>(Unpremultiply(TIFFGetR(p), alpha, 255));
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(Unpremultiply(TIFFGetG(p), alpha, 255));
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>(Unpremultiply(TIFFGetB(p), alpha, 255));
            if (l.alpha) pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(alpha);
        }
    }
    return dib.release();
}

bool SamplesTakenAsTheyAre(const Layout& l) {
    // Compressions whose decoder changes the colour space are left to libtiff's rendering.
    if (l.compression == COMPRESSION_OJPEG || l.compression == COMPRESSION_SGILOG ||
        l.compression == COMPRESSION_SGILOG24) {
        return false;
    }
    if (l.compression == COMPRESSION_JPEG && l.photometric == PHOTOMETRIC_YCBCR) return false;
    if (l.samples < l.ColourSamples()) return false;
    if (l.Lab()) return l.bits == 8 || l.bits == 16;
    return l.Grey() || l.photometric == PHOTOMETRIC_RGB || l.Cmyk() ||
           (l.photometric == PHOTOMETRIC_PALETTE && l.samples == 1);
}

FIBITMAP* ReadPixels(TIFF* tiff, const Layout& l) {
    if (!SamplesTakenAsTheyAre(l)) return l.sampleFormat == SAMPLEFORMAT_UINT ? ReadRendered(tiff, l) : nullptr;
    RawSamples raw;
    if (l.sampleFormat == SAMPLEFORMAT_IEEEFP) {
        if ((l.bits != 32 && l.bits != 64) || !(l.Grey() || l.photometric == PHOTOMETRIC_RGB)) return nullptr;
        return raw.Read(tiff, l) ? ReadFloat(l, raw) : nullptr;
    }
    if (l.sampleFormat != SAMPLEFORMAT_UINT || l.bits == 0 || l.bits > 16) return nullptr;
    const bool indexed = (l.photometric == PHOTOMETRIC_PALETTE || (l.Grey() && l.samples == 1)) && l.bits <= 8;
    if (l.photometric == PHOTOMETRIC_PALETTE && !indexed) return nullptr;
    if (!raw.Read(tiff, l)) return nullptr;
    return indexed ? ReadIndexed(tiff, l, raw) : ReadColour(l, raw);
}

void CopyResolution(TIFF* tiff, FIBITMAP* dib) {
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y)) return;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double perMetre = unit == RESUNIT_CENTIMETER ? 100.0 : unit == RESUNIT_INCH ? 100.0 / 2.54 : 0.0;
    if (!(x > 0 && y > 0 && x < 1e6f && y < 1e6f) || perMetre == 0.0) return;
    FreeImage_SetDotsPerMeterX(dib, static_cast<unsigned>(std::lround(x * perMetre)));
    FreeImage_SetDotsPerMeterY(dib, static_cast<unsigned>(std::lround(y * perMetre)));
}

// The ICC profile is copied out of libtiff's buffer while the page is open.
void CopyIccProfile(TIFF* tiff, FIBITMAP* dib) {
    uint32_t size = 0;
    void* data = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &size, &data) && data != nullptr && size > 0 &&
        size <= static_cast<uint32_t>(INT32_MAX)) {
        FreeImage_CreateICCProfile(dib, data, static_cast<long>(size));
    }
}

// The page's tags with its EXIF and GPS sub-IFDs, IPTC and XMP, read from the
// file's bytes by the bounded tag reader (metadata_import.h). The file is
// mapped, not read: only the pages of it that hold the tags are touched.
// False for a file the reader does not take (BigTIFF).
bool ImportPageTags(InputFile& file, int32_t index, FIBITMAP* dib) {
    const uint64_t size = file.Size();
    if (size < 8 || size > SIZE_MAX) return false;
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, ::fileno(file.Stream()), 0);
    if (mapped == MAP_FAILED) return false;
    const bool read = ImportTiffTags(dib, std::span(static_cast<const uint8_t*>(mapped), size),
                                     static_cast<uint32_t>(index), TagSource::TiffFile);
    ::munmap(mapped, size);
    return read;
}

// The page's descriptive texts, under the keys the library's own loader uses:
// what is kept of a page whose tags the bounded reader cannot take.
void CopyTextTags(TIFF* tiff, FIBITMAP* dib) {
    struct TextTag {
        uint32_t id;
        const char* key;
    };
    static constexpr TextTag kTags[] = {
        {TIFFTAG_IMAGEDESCRIPTION, "ImageDescription"}, {TIFFTAG_MAKE, "Make"},       {TIFFTAG_MODEL, "Model"},
        {TIFFTAG_SOFTWARE, "Software"},                 {TIFFTAG_DATETIME, "DateTime"}, {TIFFTAG_ARTIST, "Artist"},
        {TIFFTAG_COPYRIGHT, "Copyright"},
    };
    for (const TextTag& t : kTags) {
        const char* text = nullptr;
        if (!TIFFGetField(tiff, t.id, &text) || text == nullptr) continue;
        const std::string value(text);
        FITAG* tag = FreeImage_CreateTag();
        if (tag == nullptr) return;
        const auto length = static_cast<DWORD>(value.size() + 1);
        if (FreeImage_SetTagKey(tag, t.key) && FreeImage_SetTagID(tag, static_cast<WORD>(t.id)) &&
            FreeImage_SetTagType(tag, FIDT_ASCII) && FreeImage_SetTagCount(tag, length) &&
            FreeImage_SetTagLength(tag, length) && FreeImage_SetTagValue(tag, value.c_str())) {
            FreeImage_SetMetadata(FIMD_EXIF_MAIN, dib, t.key, tag);
        }
        FreeImage_DeleteTag(tag);
    }
}

}  // namespace

int32_t TiffPageCount(InputFile& file) {
    TiffHandle tiff = OpenTiff(file);
    if (!tiff) return 0;
    const tdir_t count = TIFFNumberOfDirectories(tiff.get());
    return count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}

FIBITMAP* ReadTiffPage(InputFile& file, int32_t index) {
    if (index < 0) return nullptr;
    TiffHandle tiff = OpenTiff(file);
    if (!tiff || !TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(index))) return nullptr;
    const Layout layout = ReadLayout(tiff.get());
    if (layout.width == 0 || layout.height == 0 || layout.samples == 0 ||
        !TIFFIsCODECConfigured(layout.compression)) {
        return nullptr;
    }
    // Judged before anything is allocated: what the page claims against the
    // budget and against what a file of this size can hold.
    const uint64_t bitsPerPixel = std::max<uint64_t>(1, uint64_t{layout.bits} * layout.samples);
    if (!DecodedSizeFits(layout.width, layout.height, bitsPerPixel, file.Size())) return nullptr;
    BitmapHandle dib(ReadPixels(tiff.get(), layout));
    if (!dib) return nullptr;
    CopyResolution(tiff.get(), dib.get());
    CopyIccProfile(tiff.get(), dib.get());
    if (!ImportPageTags(file, index, dib.get())) CopyTextTags(tiff.get(), dib.get());
    return dib.release();
}

}  // namespace mvimgplug
