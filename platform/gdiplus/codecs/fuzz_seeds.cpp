// Writes the seed corpus of the decoders' fuzz target into the folder given:
// small images of every format and layout our encoders produce, an animated
// GIF, a three-page TIFF, an icon and a packed DIB; and, written with libtiff,
// TIFF pages of inks and of L*a*b* in the layouts other writers use.
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/builtin_codecs.h"
#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/startup.h"

namespace {

using namespace gdiplus;
namespace fs = std::filesystem;

std::unique_ptr<Bitmap> Picture(PixelFormat format, std::int32_t width = 9, std::int32_t height = 7) {
    std::unique_ptr<Bitmap> bitmap;
    if (Bitmap::Create(width, height, format, bitmap) != Ok) return nullptr;
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            bitmap->SetPixel(x, y, MakeARGB(x == 0 && y == 0 ? 0 : 0xFF, static_cast<std::uint8_t>(x * 28),
                                            static_cast<std::uint8_t>(y * 36), static_cast<std::uint8_t>((x ^ y) * 20)));
    return bitmap;
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Encoded(Image& image, const KnownCodec& codec, const EncoderParameters& parameters = {}) {
    std::vector<std::uint8_t> bytes;
    image.Save(bytes, codec.clsid, &parameters);
    return bytes;
}

EncoderParameters Long(const Guid& guid, std::uint32_t value) { return {EncoderParameter::Long(guid, value)}; }

// A 7 x 5 page of `samples` samples of `bits` bits, the last one alpha when
// `alpha`, in `mode`'s byte order, every sample byte a different value.
void WriteSamplesPage(const fs::path& path, const char* mode, std::uint16_t photometric, std::uint16_t bits,
                      std::uint16_t samples, bool alpha, std::uint16_t planar, std::uint16_t compression) {
    TIFF* tif = TIFFOpen(path.c_str(), mode);
    if (!tif) return;
    const std::uint32_t width = 7, height = 5;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, planar);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 2);
    if (photometric == PHOTOMETRIC_SEPARATED) TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
    if (alpha) {
        std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    const std::uint16_t planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
    for (std::uint16_t plane = 0; plane < planes; ++plane) {
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 37 + y * 11 + plane * 5);
            TIFFWriteScanline(tif, row.data(), y, plane);
        }
    }
    TIFFClose(tif);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    ScopedStartup startup;
    if (startup.status() != Ok || RegisterBuiltinCodecs() != Ok) return 1;

    const PixelFormat formats[] = {PixelFormat1bppIndexed, PixelFormat4bppIndexed, PixelFormat8bppIndexed,
                                   PixelFormat16bppRGB565, PixelFormat16bppARGB1555, PixelFormat24bppRGB,
                                   PixelFormat32bppARGB, PixelFormat48bppRGB, PixelFormat64bppARGB};
    int n = 0;
    for (PixelFormat format : formats) {
        auto picture = Picture(format);
        const std::string stem = std::to_string(n++);
        Write(folder / (stem + ".bmp"), Encoded(*picture, kBmpCodec));
        Write(folder / (stem + ".png"), Encoded(*picture, kPngCodec));
        Write(folder / (stem + ".tif"), Encoded(*picture, kTiffCodec, Long(EncoderCompression, EncoderValueCompressionLZW)));
    }
    auto photo = Picture(PixelFormat24bppRGB, 16, 16);
    PropertyItem make{271, 6, PropertyTagTypeASCII, {'m', 'a', 'k', 'e', 'r', 0}};
    PropertyItem gps{2, 24, PropertyTagTypeRational, std::vector<std::uint8_t>(24, 1)};
    photo->SetPropertyItem(make);
    photo->SetPropertyItem(gps);
    Write(folder / "exif.jpg", Encoded(*photo, kJpegCodec, Long(EncoderQuality, 50)));
    Write(folder / "single.gif", Encoded(*Picture(PixelFormat8bppIndexed), kGifCodec));
    auto bilevel = Picture(PixelFormat1bppIndexed, 32, 8);
    Write(folder / "g3.tif", Encoded(*bilevel, kTiffCodec, Long(EncoderCompression, EncoderValueCompressionCCITT3)));
    Write(folder / "g4.tif", Encoded(*bilevel, kTiffCodec, Long(EncoderCompression, EncoderValueCompressionCCITT4)));

    WriteSamplesPage(folder / "cmyk16.tif", "wb", PHOTOMETRIC_SEPARATED, 16, 5, true, PLANARCONFIG_CONTIG,
                     COMPRESSION_LZW);
    WriteSamplesPage(folder / "cmyk8.tif", "wl", PHOTOMETRIC_SEPARATED, 8, 4, false, PLANARCONFIG_SEPARATE,
                     COMPRESSION_NONE);
    WriteSamplesPage(folder / "lab16.tif", "wl", PHOTOMETRIC_CIELAB, 16, 3, false, PLANARCONFIG_CONTIG,
                     COMPRESSION_ADOBE_DEFLATE);
    WriteSamplesPage(folder / "icclab8.tif", "wb", PHOTOMETRIC_ICCLAB, 8, 4, true, PLANARCONFIG_SEPARATE,
                     COMPRESSION_NONE);

    // Multi-frame files go through a file, as the layer keeps their output open.
    {
        auto first = Picture(PixelFormat32bppARGB);
        const EncoderParameters multi = Long(EncoderSaveFlag, EncoderValueMultiFrame);
        first->Save(folder / "animated.gif", kGifCodec.clsid, &multi);
        first->SaveAdd(*Picture(PixelFormat8bppIndexed), Long(EncoderSaveFlag, EncoderValueFrameDimensionTime));
        first->SaveAdd(Long(EncoderSaveFlag, EncoderValueFlush));
        EncoderParameters start = multi;
        start.push_back(EncoderParameter::Long(EncoderCompression, EncoderValueCompressionCCITT4));
        bilevel->Save(folder / "pages.tif", kTiffCodec.clsid, &start);
        bilevel->SaveAdd(*Picture(PixelFormat24bppRGB), Long(EncoderSaveFlag, EncoderValueFrameDimensionPage));
        bilevel->SaveAdd(*Picture(PixelFormat8bppIndexed), Long(EncoderSaveFlag, EncoderValueLastFrame));
    }

    // An icon of one PNG entry and one DIB entry (the BMP file without its file header).
    const std::vector<std::uint8_t> png = Encoded(*Picture(PixelFormat32bppARGB, 16, 16), kPngCodec);
    std::vector<std::uint8_t> dib = Encoded(*Picture(PixelFormat4bppIndexed, 8, 8), kBmpCodec);
    dib.erase(dib.begin(), dib.begin() + 14);
    Write(folder / "packed.dib", dib);
    dib[8] = 16;  // an icon DIB states twice the height (its AND mask follows)
    dib.resize(dib.size() + 8 * 4, 0);
    std::vector<std::uint8_t> icon = {0, 0, 1, 0, 2, 0};
    std::uint32_t offset = 6 + 2 * 16;
    for (const std::vector<std::uint8_t>* entry : {&png, static_cast<const std::vector<std::uint8_t>*>(&dib)}) {
        const std::uint8_t size = entry == &png ? 16 : 8;
        icon.insert(icon.end(), {size, size, 0, 0, 1, 0, 32, 0});
        codecs::PutU32(icon, static_cast<std::uint32_t>(entry->size()));
        codecs::PutU32(icon, offset);
        offset += static_cast<std::uint32_t>(entry->size());
    }
    icon.insert(icon.end(), png.begin(), png.end());
    icon.insert(icon.end(), dib.begin(), dib.end());
    Write(folder / "icon.ico", icon);
    return 0;
}
