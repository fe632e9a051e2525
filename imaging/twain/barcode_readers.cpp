#include "imaging/twain/barcode_readers.h"

#include <cmath>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/twain/scaled_region_copy.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/global_memory.h"

namespace scanvelt {
namespace {

// A whole image of fewer pixels gets an enlarged second look.
constexpr int64_t kSmallImagePixels = 360000;
// A region below this resolution gets an enlarged second look.
constexpr float kLowResolutionDpi = 150.0f;

// Images this reader made for one scan, released when it ends.
struct ScratchImages {
    int32_t ids[2] = {0, 0};
    void add(int32_t id) { (ids[0] == 0 ? ids[0] : ids[1]) = id; }
    void releaseAll() {
        for (int32_t& id : ids)
            if (id != 0) ReleaseImage(id), id = 0;
    }
    ~ScratchImages() { releaseAll(); }
};

}  // namespace

BarcodeReader::~BarcodeReader() { ClearScanner(); }

void BarcodeReader::ClearScanner() {
    if (scanner_ != 0 && plugin_ != nullptr) plugin_->FreeBarScanner(scanner_);
    scanner_ = 0;
    count_ = 0;
    scale_ = 1.0;
}

bool BarcodeReader::prepareScanner(int32_t scanMode) {
    const BarcodePlugin* checked = CheckedBarcodePlugin(kind_);
    if (!checked) return false;
    ClearScanner();
    plugin_ = checked;
    scanner_ = plugin_->NewBarScanner(0, 0, 0);
    if (plugin_->SetPerformance) plugin_->SetPerformance(scanner_, uint8_t(scanMode));
    return true;
}

MorvalenStatus BarcodeReader::ReadBarcodes(int32_t imageId, int32_t left, int32_t& top, int32_t& width,
                                           int32_t& height, int32_t scanMode, bool enlarge) {
    if (!prepareScanner(scanMode))
        return kind_ == BarcodePluginKind::Linear ? BarcodeReader1DPluginNotLoaded
                                                  : BarcodeReaderDataMatrixPluginNotLoaded;
    if (imageId == 0) return InvalidParameter;
    float resolution = 0.0f;
    int32_t imageWidth = 0, imageHeight = 0;
    GetImageHorizontalResolution(imageId, resolution);
    GetImageWidth(imageId, imageWidth);
    GetImageHeight(imageId, imageHeight);
    if (enlarge) {
        if (width == 0) width = imageWidth;
        if (height == 0) height = imageHeight;
    }
    MorvalenStatus status = scanImage(imageId, left, top, width, height, enlarge, resolution);
    if (status != OK || count_ != 0 || scanMode != kBarcodeBestQuality || enlarge) return status;

    // A second, enlarged look at a small whole image or a small region of a
    // low-resolution one. The region's own area is what counts.
    const int64_t imagePixels = int64_t(imageWidth) * imageHeight;
    const bool wholeImage = left == 0 && top == 0 && width == 0 && height == 0;
    const bool again = wholeImage ? imagePixels < kSmallImagePixels
                                  : imagePixels / 4.0 > double(width) * double(height) && resolution < kLowResolutionDpi;
    if (!again) return status;
    return ReadBarcodes(imageId, left, top, width, height, kBarcodeBestQuality, true);
}

MorvalenStatus BarcodeReader::scanImage(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height,
                                        bool enlarge, float resolution) {
    ScratchImages scratch;
    int32_t toScan = imageId;
    MorvalenStatus status = OK;
    if (enlarge) {
        const double scale = resolution >= 75.0f ? 2.0 : 3.0;
        int32_t copy = 0;
        status = ScaledRegionCopy(imageId, left, top, width, height, scale, copy);
        if (status != OK) return status;
        scratch.add(copy);
        toScan = copy;
        scale_ = scale;
    } else {
        int32_t imageWidth = 0, imageHeight = 0;
        GetImageWidth(imageId, imageWidth);
        GetImageHeight(imageId, imageHeight);
        const bool zeros = left == 0 && top == 0 && width == 0 && height == 0;
        const bool whole = left == 0 && top == 0 && width == imageWidth && height == imageHeight;
        if (!zeros && !whole) {
            int32_t copy = 0;
            status = CloneImageArea(left, top, width, height, PixelFormatOf(imageId), imageId, copy);
            if (status != OK) return status;
            scratch.add(copy);
            toScan = copy;
        }
    }
    int32_t depth = 0;
    GetImageBitDepth(toScan, depth);
    if (depth != 1 && depth != 24) {
        int32_t converted = 0;
        status = ConvertPixelFormat(toScan, gdiplus::PixelFormat24bppRGB, true, converted);
        scratch.releaseAll();
        if (status != OK) return status;
        scratch.add(converted);
        toScan = converted;
    }
    win::HGLOBAL dib{};
    status = ImageToPackedDib(toScan, dib);
    scratch.releaseAll();
    if (status != OK) return status;
    plugin_->SetDibSource(scanner_, uint32_t(dib));
    plugin_->ScanBar(scanner_);
    count_ = plugin_->GetBarcodeCount(scanner_);
    win::GlobalFree(dib);
    return OK;
}

int32_t BarcodeReader::code(int32_t n) const {
    if (n < 1 || n > count_ || plugin_ == nullptr) return 0;
    return plugin_->GetBarcode(scanner_, n - 1);
}

std::string BarcodeReader::GetBarcodeValue(int32_t n) const {
    const int32_t c = code(n);
    return c ? StringFromAnsiPtr(plugin_->GetBarcodeValue(c)) : std::string();
}

int32_t BarcodeReader::corner(int32_t n, int axis) const {
    const int32_t c = code(n);
    if (!c) return 0;
    // Divided once, by the scale of the copy that was scanned.
    return int32_t(std::nearbyint(plugin_->Corner[axis](c) / scale_));
}

int32_t Barcode1DReader::GetBarcodeType(int32_t n) const {
    const int32_t c = code(n);
    return c ? plugin()->GetBarcodeType(c) : 0;
}

double Barcode1DReader::GetBarcodeSkewAngle(int32_t n) const {
    const int32_t c = code(n);
    if (!c) return 0.0;
    const double angle = 360.0 - plugin()->GetSkewAngle(c);
    return angle == 360.0 ? 0.0 : angle;
}

bool Barcode1DReader::HasCheckSum(int32_t n) const {
    const int32_t c = code(n);
    return c && plugin()->HasCheckSum(c) == 1;
}

int32_t BarcodeDMReader::GetBarcodeRows(int32_t n) const {
    const int32_t c = code(n);
    return c ? plugin()->GetBarcodeRows(c) : 0;
}

int32_t BarcodeDMReader::GetBarcodeColumns(int32_t n) const {
    const int32_t c = code(n);
    return c ? plugin()->GetBarcodeColumns(c) : 0;
}

}  // namespace scanvelt
