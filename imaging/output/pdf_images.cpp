// cPDF's images: an image of the engine (or a file loaded for the purpose)
// becomes an image XObject, JPEG for photographs, Flate for palette images,
// CCITT Group 4 for 1-bit images, raw samples when compression is off or
// fails; DrawImg places it on the page.
#include <cmath>
#include <new>

#include "imaging/engine/image_table.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/engine/save_memory.h"
#include "imaging/output/pdf_document.h"
#include "imaging/output/pdf_syntax.h"

namespace scanvelt {
namespace {

// Releases an image loaded for the call on every path.
class TemporaryImage {
public:
    explicit TemporaryImage(int32_t id) : id_(id) {}
    ~TemporaryImage() {
        if (id_ != 0) ReleaseImage(id_);
    }
    TemporaryImage(const TemporaryImage&) = delete;
    TemporaryImage& operator=(const TemporaryImage&) = delete;

private:
    int32_t id_;
};

int32_t RoundHalfEven(float value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

int32_t cPDF::PdfAddImage(const std::variant<std::string, int32_t>& source, int32_t kind) {
    if (!out_.IsOpen()) return 0;
    int32_t imageId = 0;
    int32_t loaded = 0;
    if (kind == kPdfImageFromFile) {
        const auto* path = std::get_if<std::string>(&source);
        if (path == nullptr || LoadImageFromFile(loaded, *path, false, false, true, 0, true, true) != OK) return 0;
        imageId = loaded;
    } else if (kind == kPdfImageFromImageId) {
        const auto* id = std::get_if<int32_t>(&source);
        imageId = id != nullptr ? *id : 0;
    }
    TemporaryImage temporary(loaded);

    int32_t width = 0, height = 0, depth = 0;
    float resX = 0, resY = 0;
    GetImageHeight(imageId, height);
    GetImageWidth(imageId, width);
    GetImageBitDepth(imageId, depth);
    GetImageHorizontalResolution(imageId, resX);
    GetImageVerticalResolution(imageId, resY);
    if (width <= 0 || height <= 0 || depth <= 0) return 0;

    ImageEncoding encoding = ImageEncoding::Raw;
    if (compressData_) {
        if (depth == 1) encoding = ImageEncoding::CcittG4;
        else if (depth == 4) encoding = ImageEncoding::Flate;
        else if (depth == 8) {
            encoding = !IsGreyscalePalette(imageId) ? ImageEncoding::Flate
                       : PluginAvailable()          ? ImageEncoding::Dct
                                                    : ImageEncoding::Raw;
        } else {
            encoding = ImageEncoding::Dct;
        }
    }

    std::vector<uint8_t> samples;
    int32_t writtenDepth = depth <= 8 ? depth : 24;
    int64_t stride = 0;
    try {
        if (encoding == ImageEncoding::Dct) {
            int32_t count = 0;
            if (SaveImageToBytes(imageId, count, samples, "JPG", jpegQuality_) != OK) return 0;
        } else {
            gdiplus::PixelFormat format = gdiplus::PixelFormat24bppRGB;
            switch (depth) {
            case 1:
                stride = (static_cast<int64_t>(width) + 7) / 8;
                format = gdiplus::PixelFormat1bppIndexed;
                break;
            case 4:
                stride = (static_cast<int64_t>(width) + 1) / 2;
                format = gdiplus::PixelFormat4bppIndexed;
                break;
            case 8:
                stride = width;
                format = gdiplus::PixelFormat8bppIndexed;
                break;
            default: stride = 3 * static_cast<int64_t>(width);
            }
            samples.resize(static_cast<size_t>(stride * height));
            gdiplus::BitmapData data;
            data.Width = static_cast<uint32_t>(width);
            data.Height = static_cast<uint32_t>(height);
            data.Stride = static_cast<int32_t>(stride);
            data.PixelFormat = format;
            data.Scan0 = samples.data();
            if (LockImageBits(imageId, {0, 0, width, height}, kLockReadIntoCallerBuffer, format, data) != OK) return 0;
            if (UnlockImageBits(imageId, data) != OK) return 0;
            if (depth > 8) {
                for (size_t i = 0; i + 2 < samples.size(); i += 3) std::swap(samples[i], samples[i + 2]);
            }
        }
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }

    std::vector<uint8_t> palette;
    bool blackThenWhite = false, whiteThenBlack = false;
    if (depth <= 8) {
        int32_t size = 0;
        gdiplus::ColorPalette entries;
        if (GetImagePaletteSize(imageId, size) != OK || GetImagePalette(imageId, entries) != OK) return 0;
        if (entries.Count > 0) {
            palette.assign(static_cast<size_t>(3) << depth, 0);
            for (uint32_t i = 0; i < entries.Count && i < (1u << depth); ++i) {
                const uint32_t argb = entries.Entries[i];
                palette[3 * i] = static_cast<uint8_t>(argb >> 16);
                palette[3 * i + 1] = static_cast<uint8_t>(argb >> 8);
                palette[3 * i + 2] = static_cast<uint8_t>(argb);
            }
            if (depth == 1) {
                const auto rgb = [&](int i) {
                    return static_cast<uint32_t>(palette[3 * i]) << 16 | palette[3 * i + 1] << 8 | palette[3 * i + 2];
                };
                blackThenWhite = rgb(0) == 0 && rgb(1) == 0xFFFFFF;
                whiteThenBlack = rgb(0) == 0xFFFFFF && rgb(1) == 0;
            }
        }
    }

    const std::string name = "Img" + std::to_string(imageCount_ + 1);
    WriteImageXObject(name, std::move(samples), palette, width, height, writtenDepth, static_cast<int32_t>(stride),
                      encoding, blackThenWhite, whiteThenBlack);
    if (!out_.IsOpen() || out_.Status() != OK) return 0;
    ++imageCount_;
    images_.push_back({width, height, RoundHalfEven(resX), RoundHalfEven(resY)});
    return imageCount_;
}

void cPDF::WriteImageXObject(const std::string& name, std::vector<uint8_t> samples,
                             const std::vector<uint8_t>& palette, int32_t width, int32_t height, int32_t depth,
                             int32_t stride, ImageEncoding encoding, bool blackThenWhite, bool whiteThenBlack) {
    std::vector<uint8_t> data;
    std::string filter;
    switch (encoding) {
    case ImageEncoding::Dct:
        data = std::move(samples);
        filter = "/Filter/DCTDecode";
        break;
    case ImageEncoding::Flate:
        if (CompressBytes(services_.Compressor, samples, data, static_cast<int16_t>(compressLevel_))) {
            filter = "/Filter/FlateDecode";
        }
        break;
    case ImageEncoding::CcittG4: {
        std::string failure;
        if (CompressCcittG4(samples, data, width, height, stride, failure)) {
            // Set bits are coded as black runs, which a reader gives back as 0
            // unless told otherwise: a palette image needs them as index 1.
            const bool blackAndWhite = blackThenWhite || whiteThenBlack;
            filter = "/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns " + std::to_string(width) +
                     (blackAndWhite ? ">>" : "/BlackIs1 true>>");
        } else {
            services_.ShowMessage(failure);
        }
        break;
    }
    case ImageEncoding::Raw: break;
    }
    if (filter.empty() && encoding != ImageEncoding::Dct) {
        data = std::move(samples);
        encoding = ImageEncoding::Raw;
    }

    if (!headerDone_) InitPdfFile();
    const int32_t c = out_.BeginObject(0);
    if (c == 0) return;
    const std::string head = "<</Subtype/Image/Length " + std::to_string(data.size()) + filter + "/Name/" + name;
    const std::string size = "/Width " + std::to_string(width) + "/Height " + std::to_string(height);
    const bool indexed = depth <= 8 && !(depth == 1 && (blackThenWhite || whiteThenBlack));
    if (depth == 1 && !indexed) {
        // CCITT codes set bits as black; raw samples read 0 as black.
        const bool ccitt = encoding == ImageEncoding::CcittG4;
        const char* decode = blackThenWhite == ccitt ? "Decode [ 1 0 ]" : "Decode [ 0 1 ]";
        out_.WriteLine(head + "/BitsPerComponent 1/ColorSpace/DeviceGray/" + decode + size + "/Type/XObject>>stream");
    } else if (indexed) {
        out_.WriteLine(head + "/BitsPerComponent " + std::to_string(depth) + "/ColorSpace [/Indexed/DeviceRGB " +
                       std::to_string((1 << depth) - 1) + " " + std::to_string(c + 1) + " 0 R]" + size +
                       "/Type/XObject>>stream");
    } else {
        out_.WriteLine(head + "/BitsPerComponent 8/ColorSpace/DeviceRGB" + size + "/Type/XObject>>stream");
    }
    if (encryption_ != kPdfEncryptionNone) Rc4InPlace(security_.ObjectKey(c), data);
    out_.WriteBytesLine(data);
    out_.WriteLine("endstream");
    out_.EndObject();
    imageResources_ += "/" + name + " " + std::to_string(c) + " 0 R\r";

    if (indexed) {
        // An image without a palette still needs its colour table: grey steps.
        std::vector<uint8_t> table = palette;
        if (table.empty()) {
            const int32_t entries = 1 << depth;
            for (int32_t i = 0; i < entries; ++i) {
                const auto grey = static_cast<uint8_t>(i * 255 / (entries - 1));
                table.insert(table.end(), {grey, grey, grey});
            }
        }
        if (out_.BeginObject(c + 1) == 0) return;
        out_.WriteLine("<</Length " + std::to_string(table.size()) + ">>stream");
        if (encryption_ != kPdfEncryptionNone) Rc4InPlace(security_.ObjectKey(c + 1), table);
        out_.WriteBytesLine(table);
        out_.WriteLine("endstream");
        out_.EndObject();
    }
}

void cPDF::DrawImg(int32_t image, float x, float y, float width, float height) {
    if (image < 1 || image > imageCount_) return;
    BeginDrawing();
    AddContent("q\n" + FormatFixed(width, 2) + " 0 0 " + FormatFixed(height, 2) + " " + FormatFixed(x, 2) + " " +
               FormatFixed(y, 2) + " cm\n/Img" + std::to_string(image) + " Do\nQ\n");
}

int32_t cPDF::ImageWidth(int32_t image) const {
    return image >= 1 && image <= imageCount_ ? images_[static_cast<size_t>(image - 1)].Width : 0;
}
int32_t cPDF::ImageHeight(int32_t image) const {
    return image >= 1 && image <= imageCount_ ? images_[static_cast<size_t>(image - 1)].Height : 0;
}
int32_t cPDF::ImageResX(int32_t image) const {
    return image >= 1 && image <= imageCount_ ? images_[static_cast<size_t>(image - 1)].ResX : 0;
}
int32_t cPDF::ImageResY(int32_t image) const {
    return image >= 1 && image <= imageCount_ ? images_[static_cast<size_t>(image - 1)].ResY : 0;
}

}  // namespace scanvelt
