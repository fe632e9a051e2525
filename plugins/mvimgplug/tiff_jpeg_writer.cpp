#include "plugins/mvimgplug/tiff_jpeg_writer.h"

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdiplus/codecs/tiff_memory_file.h"
#include "plugins/mvimgplug/input_file.h"

namespace mvimgplug {

namespace {

int32_t gQuality = 75;

// Rows per strip: a multiple of the 16 rows that 2 x 2 chroma subsampling
// codes together.
constexpr uint32_t kRowsPerStrip = 64;
constexpr double kMetresPerInch = 0.0254;

struct Unloader {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using OwnedBitmap = std::unique_ptr<FIBITMAP, Unloader>;

bool IsGrey8(FIBITMAP* bitmap) {
    return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 8 &&
           FreeImage_GetColorType(bitmap) == FIC_MINISBLACK;
}

void SetResolution(TIFF* tiff, FIBITMAP* bitmap) {
    const unsigned x = FreeImage_GetDotsPerMeterX(bitmap);
    const unsigned y = FreeImage_GetDotsPerMeterY(bitmap);
    if (x == 0 || y == 0) return;
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(x * kMetresPerInch));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(y * kMetresPerInch));
}

bool EncodeRows(TIFF* tiff, FIBITMAP* pixels, bool grey) {
    const uint32_t width = FreeImage_GetWidth(pixels);
    const uint32_t height = FreeImage_GetHeight(pixels);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, grey ? 1 : 3);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_YCBCR);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, std::min(kRowsPerStrip, height));
    TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, gQuality);
    // libtiff turns the RGB rows it is given into YCbCr.
    if (!grey) TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);

    const size_t rowBytes = static_cast<size_t>(width) * (grey ? 1 : 3);
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(pixels, static_cast<int>(y));
        if (grey) {
            std::copy(line, line + rowBytes, row.begin());
        } else {
            for (uint32_t x = 0; x < width; ++x) {
                row[3 * x] = line[3 * x + FI_RGBA_RED];
                row[3 * x + 1] = line[3 * x + FI_RGBA_GREEN];
                row[3 * x + 2] = line[3 * x + FI_RGBA_BLUE];
            }
        }
        if (TIFFWriteScanline(tiff, row.data(), y, 0) < 0) return false;
    }
    return TIFFWriteDirectory(tiff) != 0;
}

}  // namespace

void SetTiffJpegQuality(int32_t quality) { gQuality = std::clamp(quality, 1, 100); }

int32_t TiffJpegQuality() { return gQuality; }

bool WriteTiffJpeg(FIBITMAP* bitmap, const std::string& path) {
    const bool grey = IsGrey8(bitmap);
    OwnedBitmap converted;
    if (!grey) {
        converted.reset(FreeImage_ConvertTo24Bits(bitmap));
        if (!converted) return false;
    }
    FIBITMAP* pixels = grey ? bitmap : converted.get();

    std::vector<uint8_t> bytes;
    gdiplus::codecs::TiffMemoryFile file(bytes);
    TIFF* tiff = file.tiff();
    if (tiff == nullptr) return false;
    SetResolution(tiff, bitmap);
    const bool encoded = EncodeRows(tiff, pixels, grey);
    if (!file.Close() || !encoded) return false;

    OutputFile output;
    return output.Open(path) && output.Write(bytes) && output.Commit();
}

}  // namespace mvimgplug
