#include "plugins/mvimgplug/jpeg_reader.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "platform/gdiplus/codecs/jpeg_errors.h"
#include "plugins/mvimgplug/metadata_import.h"
#include "plugins/mvimgplug/pixel_budget.h"

namespace mvimgplug {

namespace {

constexpr char kExifHeader[] = "Exif\0";  // with the terminator, six bytes
constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/";  // with the terminator
constexpr char kPhotoshopHeader[] = "Photoshop 3.0";  // with the terminator

// The marker's data after `header` (of `size` bytes with its terminator), or
// nothing when the marker does not start with it.
std::span<const uint8_t> After(const jpeg_marker_struct& marker, const char* header, size_t size) {
    if (marker.data_length < size || std::memcmp(marker.data, header, size) != 0) return {};
    return {marker.data + size, marker.data_length - size};
}

class JpegFileReader {
public:
    explicit JpegFileReader(InputFile& file) : file_(file) {
        gdiplus::codecs::InstallErrors(errors_);
        info_.err = &errors_.manager;
    }
    ~JpegFileReader() {
        if (dib_ != nullptr) FreeImage_Unload(dib_);
        if (created_) jpeg_destroy_decompress(&info_);
    }
    JpegFileReader(const JpegFileReader&) = delete;
    JpegFileReader& operator=(const JpegFileReader&) = delete;

    FIBITMAP* Run() {
        if (setjmp(errors_.jump)) return nullptr;
        if (!Decode()) return nullptr;
        FIBITMAP* done = dib_;
        dib_ = nullptr;
        return done;
    }

private:
    bool Decode() {
        jpeg_create_decompress(&info_);
        created_ = true;
        // libjpeg's own allocations (a progressive file's coefficients) stay
        // within what one bitmap may take.
        info_.mem->max_memory_to_use = static_cast<long>(std::min<uint64_t>(MaxPixelBytes(), LONG_MAX));
        std::FILE* stream = file_.Stream();
        std::rewind(stream);
        jpeg_stdio_src(&info_, stream);
        jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
        jpeg_save_markers(&info_, JPEG_APP0 + 13, 0xFFFF);
        jpeg_save_markers(&info_, JPEG_APP0 + 2, 0xFFFF);  // the ICC profile
        jpeg_read_header(&info_, TRUE);

        const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        const bool grey = info_.jpeg_color_space == JCS_GRAYSCALE;
        info_.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
        info_.dct_method = JDCT_ISLOW;
        info_.do_fancy_upsampling = TRUE;
        const int bpp = grey ? 8 : 24;
        if (!DecodedSizeFits(info_.image_width, info_.image_height, static_cast<uint64_t>(bpp), file_.Size())) {
            return false;
        }
        jpeg_start_decompress(&info_);
        dib_ = FreeImage_Allocate(static_cast<int>(info_.output_width), static_cast<int>(info_.output_height), bpp,
                                  FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
        if (dib_ == nullptr) return false;
        if (grey) {
            RGBQUAD* palette = FreeImage_GetPalette(dib_);
            for (int i = 0; i < 256; ++i) {
                palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
            }
        }
        if (cmyk) inks_.resize(size_t{info_.output_width} * 4);
        while (info_.output_scanline < info_.output_height) {
            // The plug-in's row order: scan line y is row y from the top.
            BYTE* line = FreeImage_GetScanLine(dib_, static_cast<int>(info_.output_scanline));
            JSAMPROW row = cmyk ? inks_.data() : line;
            if (jpeg_read_scanlines(&info_, &row, 1) != 1 || errors_.truncated) return false;
            if (cmyk) InksToBgr(line);
        }
        // The saved markers are given back by jpeg_finish_decompress.
        CopyResolution();
        CopyIccProfile();
        CopyMetadata();
        jpeg_finish_decompress(&info_);
        return !errors_.truncated;
    }

    // Adobe writes CMYK inverted (0 is full ink), which is what files with
    // its marker hold; others hold plain ink amounts.
    void InksToBgr(BYTE* out) const {
        const bool inverted = info_.saw_Adobe_marker;
        for (JDIMENSION x = 0; x < info_.output_width; ++x) {
            const uint8_t* p = inks_.data() + 4 * x;
            const unsigned c = inverted ? p[0] : 255 - p[0], m = inverted ? p[1] : 255 - p[1];
            const unsigned y = inverted ? p[2] : 255 - p[2], k = inverted ? p[3] : 255 - p[3];
            out[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>((y * k + 127) / 255);
            out[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>((m * k + 127) / 255);
            out[3 * x + FI_RGBA_RED] = static_cast<BYTE>((c * k + 127) / 255);
        }
    }

    void CopyResolution() {
        if (!info_.saw_JFIF_marker || info_.X_density == 0 || info_.Y_density == 0) return;
        const double perMetre = info_.density_unit == 1 ? 100.0 / 2.54 : info_.density_unit == 2 ? 100.0 : 0.0;
        if (perMetre == 0.0) return;
        FreeImage_SetDotsPerMeterX(dib_, static_cast<unsigned>(info_.X_density * perMetre + 0.5));
        FreeImage_SetDotsPerMeterY(dib_, static_cast<unsigned>(info_.Y_density * perMetre + 0.5));
    }

    void CopyIccProfile() {
        JOCTET* profile = nullptr;
        unsigned int size = 0;
        if (jpeg_read_icc_profile(&info_, &profile, &size) && profile != nullptr && size > 0 && size <= INT32_MAX) {
            FreeImage_CreateICCProfile(dib_, profile, static_cast<long>(size));
        }
        std::free(profile);
    }

    // The first EXIF block and the first XMP packet count; Photoshop's
    // resources may run over several markers and are read joined.
    void CopyMetadata() {
        bool exif = false, xmp = false;
        std::vector<uint8_t> resources;
        for (jpeg_saved_marker_ptr m = info_.marker_list; m != nullptr; m = m->next) {
            if (m->marker == JPEG_APP0 + 1) {
                if (const auto block = After(*m, kExifHeader, sizeof kExifHeader); !exif && !block.empty()) {
                    exif = ImportTiffTags(dib_, block, 0, TagSource::ExifBlock);
                } else if (const auto packet = After(*m, kXmpHeader, sizeof kXmpHeader); !xmp && !packet.empty()) {
                    ImportXmp(dib_, packet);
                    xmp = true;
                }
            } else if (m->marker == JPEG_APP0 + 13) {
                const auto part = After(*m, kPhotoshopHeader, sizeof kPhotoshopHeader);
                resources.insert(resources.end(), part.begin(), part.end());
            }
        }
        if (!resources.empty()) ImportPhotoshopResources(dib_, resources);
    }

    InputFile& file_;
    gdiplus::codecs::JpegErrors errors_;
    jpeg_decompress_struct info_{};
    bool created_ = false;
    FIBITMAP* dib_ = nullptr;
    std::vector<uint8_t> inks_;
};

}  // namespace

FIBITMAP* ReadJpeg(InputFile& file) {
    JpegFileReader reader(file);
    return reader.Run();
}

}  // namespace mvimgplug
