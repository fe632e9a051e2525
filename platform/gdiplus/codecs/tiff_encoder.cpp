#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/tiff_codec.h"
#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/parallel_work.h"

namespace gdiplus::codecs {
namespace {

// Text tags an image's property items carry into the file.
constexpr PROPID kTextTags[] = {269, 270, 271, 272, 285, 305, 306, 315, 316, 33432};
constexpr PROPID kOrientationTag = 274;

// One page ready to be written: its tags and its strips, compressed as the
// page was added (so a multi-page file holds compressed pages, not pixels).
struct TiffPage {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 8, samples = 3, photometric = PHOTOMETRIC_RGB;
    bool alpha = false;
    std::uint16_t compression = COMPRESSION_LZW;
    std::vector<std::uint16_t> colourMap;  // red, green, blue runs, for palette pages
    float xdpi = 0, ydpi = 0;
    std::vector<std::pair<PROPID, std::string>> texts;
    std::optional<std::uint16_t> orientation;
    std::uint32_t rowsPerStrip = 1;
    // The scratch files the strips were compressed into, one per run of
    // strips, and where in them each strip lies.
    struct Strip {
        std::uint32_t run = 0;
        std::uint64_t offset = 0, bytes = 0;
    };
    std::vector<std::vector<std::uint8_t>> runs;
    // An uncompressed page's runs are its samples themselves, read straight
    // from the image into blocks that need no clearing (often ones the pool
    // kept), with no codec and no scratch file between.
    std::vector<UninitializedBytes> sampleRuns;
    std::vector<Strip> strips;
    // A page written straight from its image (TiffSession::WriteOnlyFrame)
    // has no samples of its own: each strip lends this block of zeroes, a
    // strip long, to libtiff, which only places it, and the file's writer
    // puts the image's rows where the block stands.
    std::vector<std::uint8_t> standIn;

    const std::uint8_t* StripData(const Strip& strip) const {
        if (!standIn.empty()) return standIn.data();
        return (compression == COMPRESSION_NONE ? sampleRuns[strip.run].data() : runs[strip.run].data()) + strip.offset;
    }
};

// Where a page's samples come from: the image's pixels read in `readAs`,
// blue and red swapped for the colour pages (the layer keeps blue first,
// TIFF red first).
struct RowSource {
    const Image* image = nullptr;
    PixelFormat readAs = PixelFormat24bppRGB;
    bool swapRedBlue = false;
    std::uint32_t sampleBytes = 1, pixelBytes = 3;

    // Rows [y, y + rows) in TIFF order, `scanline` bytes apart, into `band`.
    bool Read(std::uint32_t y, std::uint32_t rows, std::size_t scanline, UninitializedBytes& band) const {
        band.resize(StrideFor(scanline) * rows);
        return ReadInto(y, rows, scanline, band.data());
    }

    // The same rows straight into `out`, which has room for rows apart by
    // StrideFor(scanline) bytes (the rows are then moved together).
    bool ReadInto(std::uint32_t y, std::uint32_t rows, std::size_t scanline, std::uint8_t* out) const {
        const std::int32_t width = static_cast<std::int32_t>(image->GetWidth());
        const std::size_t rowBytes = static_cast<std::size_t>(RowBytes(width, readAs));
        const std::size_t stride = StrideFor(rowBytes);
        if (rowBytes != scanline) return false;
        // The bits past a row's last pixel (of a 1- or 4-bit row) are not the
        // copy's to write: cleared, so that no stray memory reaches the file.
        const std::size_t wholeBytes = static_cast<std::size_t>(width) * GetPixelFormatSize(readAs) / 8;
        for (std::uint32_t i = 0; i < rows; ++i) std::memset(out + i * stride + wholeBytes, 0, stride - wholeBytes);
        const Rect rect{0, static_cast<std::int32_t>(y), width, static_cast<std::int32_t>(rows)};
        if (image->CopyPixels(rect, readAs, static_cast<std::int32_t>(stride), out) != Ok) return false;
        for (std::uint32_t i = 0; i < rows; ++i) {
            std::uint8_t* row = out + i * scanline;
            if (stride != scanline) std::memmove(row, out + i * stride, scanline);
            if (!swapRedBlue) continue;
            if (sampleBytes == 1) {
                CopySwappingRedBlue(row, row, static_cast<std::size_t>(width), pixelBytes);
                continue;
            }
            std::uint8_t* p = row;
            for (std::int32_t x = 0; x < width; ++x, p += pixelBytes)
                for (std::uint32_t b = 0; b < sampleBytes; ++b) std::swap(p[b], p[2 * sampleBytes + b]);
        }
        return true;
    }

    // What CopyPixels takes between rows of `scanline` bytes.
    static std::size_t StrideFor(std::size_t scanline) { return (scanline + 3) / 4 * 4; }
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
Status PrepareIndexed(const Image& image, std::uint32_t depth, TiffPage& page, RowSource& source) {
    const PixelFormat format = depth == 1 ? PixelFormat1bppIndexed : depth == 4 ? PixelFormat4bppIndexed
                                                                               : PixelFormat8bppIndexed;
    source.readAs = format;
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

// Rows read a band at a time: a few hundred kilobytes, whole strips.
constexpr std::size_t kBandBytes = std::size_t{256} << 10;

// Whether every pixel of the image is opaque, read a band at a time.
Status AllOpaque(const Image& image, bool& opaque) {
    RowSource source;
    source.image = &image;
    source.readAs = PixelFormat32bppARGB;
    const std::uint32_t width = image.GetWidth(), height = image.GetHeight();
    const std::size_t scanline = std::size_t{width} * 4;
    const std::uint32_t bandRows = static_cast<std::uint32_t>(std::max<std::size_t>(1, kBandBytes / scanline));
    UninitializedBytes band;
    opaque = true;
    for (std::uint32_t y = 0; y < height && opaque; y += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - y);
        if (!source.Read(y, rows, scanline, band)) return GenericError;
        std::uint8_t all = 0xFF;
        for (std::size_t i = 3; i < scanline * rows; i += 4) all &= band[i];
        opaque = all == 0xFF;
    }
    return Ok;
}

// Direct-colour pages. An image with an alpha channel that is opaque
// everywhere is written as RGB, unless the caller asked for 32 bits.
Status PrepareDirect(const Image& image, std::uint32_t depth, bool dropOpaqueAlpha, TiffPage& page,
                     RowSource& source) {
    PixelFormat readAs = PixelFormat24bppRGB;
    page.photometric = PHOTOMETRIC_RGB;
    switch (depth) {
    case 16: readAs = PixelFormat16bppGrayScale, page.photometric = PHOTOMETRIC_MINISBLACK; break;
    case 32: readAs = PixelFormat32bppARGB; break;
    case 48: readAs = PixelFormat48bppRGB; break;
    case 64: readAs = PixelFormat64bppARGB; break;
    default: break;
    }
    if (depth == 32 && dropOpaqueAlpha) {
        bool opaque = false;
        if (Status s = AllOpaque(image, opaque); s != Ok) return s;
        if (opaque) readAs = PixelFormat24bppRGB, depth = 24;  // the copy drops the alpha bytes
    }
    page.bitsPerSample = depth >= 48 || depth == 16 ? 16 : 8;
    page.samples = page.photometric == PHOTOMETRIC_MINISBLACK ? 1 : depth == 32 || depth == 64 ? 4 : 3;
    page.alpha = page.samples == 4;
    source.readAs = readAs;
    source.swapRedBlue = page.samples >= 3;
    source.sampleBytes = page.bitsPerSample / 8u;
    source.pixelBytes = source.sampleBytes * page.samples;
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

// The tags that decide how the strips are laid out and encoded: the same on
// the scratch files the strips are compressed in and on the file itself.
void SetLayoutTags(TIFF* tif, const TiffPage& page) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
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
}

// Compresses strips [first, end) of the page into a scratch file of their
// own, run `run` of the page. Each strip is coded on its own (every codec
// starts afresh at a strip), so the bytes are what one writer going through
// the page row by row makes of it.
bool CompressRun(const RowSource& source, TiffPage& page, std::uint32_t run, std::uint32_t first,
                 std::uint32_t end) {
    // Compressed scans take a third to a half of their samples: room for
    // half, so that the file seldom grows by copying itself.
    const std::uint64_t samples = (std::uint64_t{page.width} * page.bitsPerSample * page.samples + 7) / 8 *
                                  std::min<std::uint64_t>(page.height, std::uint64_t{end - first} * page.rowsPerStrip);
    page.runs[run].reserve(static_cast<std::size_t>(samples / 2 + 4096));
    TiffMemoryFile file(page.runs[run]);
    TIFF* tif = file.tiff();
    if (!tif) return false;
    SetLayoutTags(tif, page);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    const auto scanline = static_cast<std::size_t>(TIFFScanlineSize64(tif));
    if (scanline == 0) return false;
    const std::size_t stripBytes = scanline * page.rowsPerStrip;
    const std::uint32_t stripsPerBand = static_cast<std::uint32_t>(std::max<std::size_t>(1, kBandBytes / stripBytes));
    UninitializedBytes band;
    for (std::uint32_t strip = first; strip < end; strip += stripsPerBand) {
        const std::uint32_t bandEnd = std::min(end, strip + stripsPerBand);
        const std::uint32_t top = strip * page.rowsPerStrip;
        const std::uint32_t bottom = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(page.height, std::uint64_t{bandEnd} * page.rowsPerStrip));
        if (!source.Read(top, bottom - top, scanline, band)) return false;
        for (std::uint32_t s = strip; s < bandEnd; ++s) {
            const std::uint32_t y = s * page.rowsPerStrip;
            const std::uint32_t rows = std::min(page.rowsPerStrip, page.height - y);
            if (TIFFWriteEncodedStrip(tif, s, band.data() + std::size_t{y - top} * scanline,
                                      static_cast<tmsize_t>(std::size_t{rows} * scanline)) < 0)
                return false;
        }
    }
    std::uint64_t* offsets = nullptr;
    std::uint64_t* counts = nullptr;
    if (TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets) != 1 || TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts) != 1 ||
        !offsets || !counts)
        return false;
    for (std::uint32_t s = first; s < end; ++s) {
        if (offsets[s] > page.runs[run].size() || counts[s] > page.runs[run].size() - offsets[s]) return false;
        page.strips[s] = TiffPage::Strip{run, offsets[s], counts[s]};
    }
    return true;
}

// Strips [first, end) of an uncompressed page into run `run`: the rows as
// the file holds them, one after the other, each strip where it starts.
bool ReadSampleRun(const RowSource& source, TiffPage& page, std::uint64_t scanline, std::uint32_t run,
                   std::uint32_t first, std::uint32_t end) {
    const std::uint32_t top = first * page.rowsPerStrip;
    const auto bottom = static_cast<std::uint32_t>(std::min<std::uint64_t>(page.height, std::uint64_t{end} * page.rowsPerStrip));
    const std::size_t bytes = static_cast<std::size_t>(scanline) * (bottom - top);
    UninitializedBytes& samples = page.sampleRuns[run];
    // A band is read with CopyPixels' stride and its rows moved together
    // after, so the last band needs the room of its rows' padding.
    const std::uint32_t bandRows = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, kBandBytes / scanline));
    samples.resize(bytes + std::size_t{bandRows} * (RowSource::StrideFor(scanline) - scanline));
    for (std::uint32_t y = top; y < bottom; y += bandRows) {
        const std::uint32_t rows = std::min(bandRows, bottom - y);
        if (!source.ReadInto(y, rows, scanline, samples.data() + std::size_t{y - top} * scanline)) return false;
    }
    for (std::uint32_t s = first; s < end; ++s) {
        const std::uint32_t y = s * page.rowsPerStrip;
        const std::uint32_t rows = std::min(page.rowsPerStrip, page.height - y);
        page.strips[s] = TiffPage::Strip{run, std::uint64_t{y - top} * scanline, std::uint64_t{rows} * scanline};
    }
    return true;
}

// The page's rows per strip (libtiff's choice) and the bytes of a row.
Status LayOutStrips(TiffPage& page, std::uint64_t& scanline) {
    std::vector<std::uint8_t> probe;
    TiffMemoryFile file(probe);
    if (!file.tiff()) return OutOfMemory;
    SetLayoutTags(file.tiff(), page);
    page.rowsPerStrip = TIFFDefaultStripSize(file.tiff(), 0);
    scanline = TIFFScanlineSize64(file.tiff());
    return page.rowsPerStrip == 0 || scanline == 0 ? GenericError : Ok;
}

std::uint32_t StripCountOf(const TiffPage& page) {
    return static_cast<std::uint32_t>((std::uint64_t{page.height} + page.rowsPerStrip - 1) / page.rowsPerStrip);
}

// The page's strips compressed, runs of them on threads of their own.
Status CompressStrips(const RowSource& source, TiffPage& page) {
    std::uint64_t scanline = 0;
    if (Status s = LayOutStrips(page, scanline); s != Ok) return s;
    const std::uint32_t stripCount = StripCountOf(page);
    const std::uint32_t runs = std::min(PartsFor(scanline * page.height), stripCount);
    const bool uncompressed = page.compression == COMPRESSION_NONE;
    if (uncompressed) {
        page.sampleRuns.resize(runs);
    } else {
        page.runs.resize(runs);
    }
    page.strips.resize(stripCount);
    std::vector<char> done(runs, 0);
    RunParts(runs, [&](std::uint32_t run) {
        const std::uint32_t first = PartStart(stripCount, runs, run), end = PartStart(stripCount, runs, run + 1);
        done[run] = uncompressed ? ReadSampleRun(source, page, scanline, run, first, end)
                                 : CompressRun(source, page, run, first, end);
    });
    return std::all_of(done.begin(), done.end(), [](char ok) { return ok != 0; }) ? Ok : GenericError;
}

bool WritePage(TiffPieceFile& file, const TiffPage& page, std::uint32_t number, std::uint32_t count) {
    TIFF* tif = file.tiff();
    SetLayoutTags(tif, page);
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
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    for (std::uint32_t s = 0; s < page.strips.size(); ++s) {
        const TiffPage::Strip& strip = page.strips[s];
        auto* data = const_cast<std::uint8_t*>(page.StripData(strip));
        file.LendNext(data, static_cast<std::size_t>(strip.bytes));
        if (TIFFWriteRawStrip(tif, s, data, static_cast<tmsize_t>(strip.bytes)) < 0) return false;
    }
    return TIFFWriteDirectory(tif) == 1;
}

class TiffSession final : public EncoderSession {
public:
    Status AddFrame(const Image& image, const EncoderParameters& parameters) override {
        TiffPage page;
        RowSource source;
        if (Status s = PreparePage(image, parameters, page, source); s != Ok) return s;
        if (Status s = CompressStrips(source, page); s != Ok) return s;
        pages_.push_back(std::move(page));
        return Ok;
    }

    // An uncompressed page alone in its file goes from the image to the
    // writer a band of rows at a time: no copy of the page is made.
    Status WriteOnlyFrame(const Image& image, const EncoderParameters& parameters, const PartWriter& write) override {
        if (!pages_.empty()) return WrongState;
        TiffPage page;
        RowSource source;
        if (Status s = PreparePage(image, parameters, page, source); s != Ok) return s;
        if (page.compression != COMPRESSION_NONE) {
            if (Status s = CompressStrips(source, page); s != Ok) return s;
            pages_.push_back(std::move(page));
            return FinishInto(write);
        }
        std::uint64_t scanline = 0;
        if (Status s = LayOutStrips(page, scanline); s != Ok) return s;
        const std::uint32_t stripCount = StripCountOf(page);
        page.strips.resize(stripCount);
        for (std::uint32_t s = 0; s < stripCount; ++s) {
            const std::uint32_t rows = std::min(page.rowsPerStrip, page.height - s * page.rowsPerStrip);
            page.strips[s] = TiffPage::Strip{0, 0, std::uint64_t{rows} * scanline};
        }
        page.standIn.assign(static_cast<std::size_t>(scanline * page.rowsPerStrip), 0);
        pages_.push_back(std::move(page));
        TiffPieceFile file;
        if (Status s = WritePages(file); s != Ok) return s;
        return WriteStreamed(file, pages_.front(), source, scanline, write);
    }

private:
    // The pieces of a file whose one page stands in for its strips: the
    // strips' rows read from the image in bands of about kBandBytes, each
    // band written where its strips stand.
    static Status WriteStreamed(const TiffPieceFile& file, const TiffPage& page, const RowSource& source,
                                std::uint64_t scanline, const PartWriter& write) {
        const auto bandRows = static_cast<std::uint32_t>(std::max<std::uint64_t>(page.rowsPerStrip,
                                                                                  kBandBytes / scanline));
        UninitializedBytes band;
        std::uint32_t top = 0, rows = 0;  // the rows waiting to be read and written
        auto flush = [&]() -> Status {
            if (rows == 0) return Ok;
            if (!source.Read(top, rows, static_cast<std::size_t>(scanline), band)) return GenericError;
            const Status s = write(std::span<const std::uint8_t>(band.data(), static_cast<std::size_t>(scanline * rows)));
            top += rows;
            rows = 0;
            return s;
        };
        std::uint32_t strip = 0;
        for (std::span<const std::uint8_t> piece : file.Pieces()) {
            if (piece.data() == page.standIn.data() && strip < page.strips.size()) {
                rows += static_cast<std::uint32_t>(page.strips[strip++].bytes / scanline);
                if (rows >= bandRows)
                    if (Status s = flush(); s != Ok) return s;
                continue;
            }
            if (Status s = flush(); s != Ok) return s;
            if (Status s = write(piece); s != Ok) return s;
        }
        if (Status s = flush(); s != Ok) return s;
        return strip == page.strips.size() && top == page.height ? Ok : GenericError;
    }

    Status PreparePage(const Image& image, const EncoderParameters& parameters, TiffPage& page,
                       RowSource& source) const {
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
        source.image = &image;
        Status s = depth <= 8 ? PrepareIndexed(image, depth, page, source)
                              : PrepareDirect(image, depth, !depthAsked, page, source);
        if (s != Ok) return s;
        page.width = image.GetWidth();
        page.height = image.GetHeight();
        page.xdpi = image.GetHorizontalResolution();
        page.ydpi = image.GetVerticalResolution();
        CarryItems(image, page);
        return Ok;
    }

public:

    Status Finish(std::vector<std::uint8_t>& bytes) override {
        TiffPieceFile file;
        if (Status s = WritePages(file); s != Ok) return s;
        std::vector<std::uint8_t> out;
        out.reserve(static_cast<std::size_t>(file.Size()));
        AdviseHugePages(out.data(), out.capacity());
        for (std::span<const std::uint8_t> part : file.Pieces()) out.insert(out.end(), part.begin(), part.end());
        bytes = std::move(out);
        return Ok;
    }

    // The strips go to `write` from where AddFrame left them; only the
    // header and the directories are bytes of the file's own.
    Status FinishInto(const PartWriter& write) override {
        TiffPieceFile file;
        if (Status s = WritePages(file); s != Ok) return s;
        for (std::span<const std::uint8_t> part : file.Pieces())
            if (Status s = write(part); s != Ok) return s;
        return Ok;
    }

private:
    Status WritePages(TiffPieceFile& file) const {
        if (pages_.empty()) return WrongState;
        if (!file.tiff()) return OutOfMemory;
        const auto count = static_cast<std::uint32_t>(pages_.size());
        for (std::uint32_t i = 0; i < count; ++i)
            if (!WritePage(file, pages_[i], i, count)) return GenericError;
        return file.Close() ? Ok : GenericError;
    }

    std::vector<TiffPage> pages_;
};

}  // namespace

std::unique_ptr<EncoderSession> TiffEncoder::StartSession() const { return std::make_unique<TiffSession>(); }

}  // namespace gdiplus::codecs
