#include "imaging/twain/deskew_members.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "imaging/engine/auto_deskew.h"
#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/twain/color_to_argb.h"
#include "imaging/twain/image_info_members.h"
#include "imaging/twain/image_metadata_record.h"
#include "imaging/twain/pixel_conversion_members.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

constexpr int32_t kWhite = static_cast<int32_t>(0xFFFFFFFF);
constexpr uint32_t kWhiteArgb = 0xFFFFFFFF;
constexpr uint32_t kBlackArgb = 0xFF000000;
// 765 is the largest sum of three channel differences.
constexpr double kToleranceScale = 7.65;
constexpr int32_t kCropBordersConfidence = 90;
constexpr int32_t kFallbackConfidence = 98;
constexpr uint32_t kPaletteGreyScale = 2;
constexpr int32_t kMatrixOrderPrepend = 0;
constexpr int32_t kCoordinateWorld = 0, kCoordinateDevice = 2;

enum Side { Top = 1, Left = 2, Bottom = 3, Right = 4 };

MorvalenStatus Stored(TwainControl& control, MorvalenStatus status) {
    control.setLastStatus(status);
    return status;
}

// The confidence is not limited: any value gives a tolerance, which is kept
// to -1 (nothing matches) .. 766 (everything matches) so it cannot overflow.
int32_t Tolerance(int32_t confidence) {
    const double tolerance = std::floor((100.0 - static_cast<double>(confidence)) * kToleranceScale);
    return static_cast<int32_t>(std::clamp(tolerance, -1.0, 766.0));
}

// A new image made on the way, released unless it took the current image's place.
class PendingImage {
public:
    ~PendingImage() {
        if (id != 0) ReleaseImage(id);
    }
    int32_t id = 0;
};

MorvalenStatus TakePlace(TwainControl& control, ImageMetadataRecord& record, PendingImage& made) {
    record.Restore(made.id);
    if (ReplaceImageBitmap(control.currentImage(), made.id) == 0) return GenericError;
    made.id = 0;
    return OK;
}

// Palette flags of the current image; 0 with NotIndexedPixelFormat for one without a palette.
uint32_t GetPaletteFlags(TwainControl& control) {
    int32_t format = 0;
    if (GetImagePixelFormat(control.currentImage(), format) == OK && !gdiplus::IsIndexedPixelFormat(format)) {
        control.setLastStatus(NotIndexedPixelFormat);
        return 0;
    }
    gdiplus::ColorPalette palette;
    if (GetImagePalette(control.currentImage(), palette) != OK) return 0;
    return palette.Flags;
}

uint32_t GetPixelColor(TwainControl& control, int32_t x, int32_t y) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return 0;
    }
    uint32_t color = 0;
    control.setLastStatus(GetImagePixel(control.currentImage(), x, y, color));
    return color;
}

// The whole image as 32-bit ARGB pixels, rows from the top, for one search.
struct PixelBuffer {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Share of a border line's pixels within the tolerance of the reference, in
// percent. Line n (from 1) is counted inwards from its side.
double BorderLineMatch(const PixelBuffer& image, uint32_t reference, Side side, int32_t n, int32_t tolerance) {
    const bool row = side == Top || side == Bottom;
    const int32_t length = row ? image.width : image.height;
    int32_t index = n - 1;
    if (side == Bottom) index = image.height - n;
    if (side == Right) index = image.width - n;
    const int r = (reference >> 16) & 0xFF, g = (reference >> 8) & 0xFF, b = reference & 0xFF;
    int32_t matching = 0;
    for (int32_t i = 0; i < length; ++i) {
        const uint32_t c = row ? image.at(i, index) : image.at(index, i);
        const int difference =
            std::abs(static_cast<int>((c >> 16) & 0xFF) - r) + std::abs(static_cast<int>((c >> 8) & 0xFF) - g) +
            std::abs(static_cast<int>(c & 0xFF) - b);
        if (difference <= tolerance) ++matching;
    }
    return static_cast<double>(matching) / length * 100.0;
}

// The band of one side: the lines behind the skipped ones that match, never
// reaching the last line of the image.
int32_t BandOf(const PixelBuffer& image, uint32_t reference, Side side, int32_t skip, int32_t confidence,
               int32_t tolerance) {
    const int32_t limit = side == Top || side == Bottom ? image.height : image.width;
    // A count below zero skips nothing; one at or beyond the last line leaves
    // nothing to test (and n + 1 can no longer overflow).
    int32_t n = std::max(skip, 0);
    if (n >= limit) return 0;
    bool found = false;
    while (n + 1 < limit && BorderLineMatch(image, reference, side, n + 1, tolerance) >= confidence) {
        ++n;
        found = true;
    }
    return found ? n : 0;
}

bool CropBordersCore(TwainControl& control, int32_t confidence, uint32_t reference, int32_t skip, int32_t tolerance) {
    try {
        const int32_t id = control.currentImage();
        ImageMetadataRecord record;
        record.Save(id, control.keepPropertyItems());
        if (GetPixelDepth(control) == 1) tolerance = 0;
        PixelBuffer image;
        image.width = record.width();
        image.height = record.height();
        image.pixels.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
        gdiplus::BitmapData data{};
        data.Width = static_cast<uint32_t>(image.width);
        data.Height = static_cast<uint32_t>(image.height);
        data.Stride = 4 * image.width;
        data.PixelFormat = gdiplus::PixelFormat32bppARGB;
        data.Scan0 = image.pixels.data();
        MorvalenStatus status = LockImageBits(id, {0, 0, image.width, image.height}, kLockReadIntoCallerBuffer,
                                              gdiplus::PixelFormat32bppARGB, data);
        control.setLastStatus(status);
        if (status != OK) return false;
        control.setLastStatus(UnlockImageBits(id, data));

        const int32_t top = BandOf(image, reference, Top, skip, confidence, tolerance);
        const int32_t bottom = BandOf(image, reference, Bottom, skip, confidence, tolerance);
        const int32_t left = BandOf(image, reference, Left, skip, confidence, tolerance);
        const int32_t right = BandOf(image, reference, Right, skip, confidence, tolerance);
        image.pixels = {};
        if (top == 0 && bottom == 0 && left == 0 && right == 0) return false;
        Crop(control, left, top, image.width - left - right, image.height - top - bottom);
        return true;
    } catch (const std::bad_alloc&) {
        control.setLastStatus(OutOfMemory);
    } catch (...) {
        control.setLastStatus(GenericError);
    }
    return false;
}

MorvalenStatus CropToColour(TwainControl& control, uint32_t reference, int32_t confidence, int32_t skipLines) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t width = GetWidth(control), height = GetHeight(control);
    if (width >= kSmallestCroppableSize && height >= kSmallestCroppableSize)
        CropBordersCore(control, confidence, reference, skipLines, Tolerance(confidence));
    return control.GetStat();
}

}  // namespace

double MeasureSkewAngle(TwainControl& control) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return 0.0;
    }
    cAutoDeskew finder;
    finder.MaxAngleOfResearch = kDeskewSearchRange;
    finder.GetSkewAngle(control.currentImage());  // a page it cannot measure keeps angle 0
    return finder.SkewAngle;
}

MorvalenStatus RotateByAngle(TwainControl& control, float angle, int32_t background) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t id = control.currentImage();
    const uint32_t backgroundArgb = static_cast<uint32_t>(ColorToArgb(background));
    ImageMetadataRecord record;
    record.Save(id, control.keepPropertyItems());
    const int32_t width = record.width(), height = record.height(), format = record.pixelFormat();

    PendingImage made;
    MorvalenStatus status = ImageFromBuffer(width, height, 0, format, nullptr, made.id);
    if (status != OK) {
        made.id = 0;
        return Stored(control, status);
    }
    int32_t paletteSize = 0;
    if (GetImagePaletteSize(id, paletteSize) == OK && paletteSize > 8) {
        gdiplus::ColorPalette palette;
        if (GetImagePalette(id, palette) == OK) SetImagePaletteUnmarked(made.id, palette);
    }
    gdiplus::GpGraphics graphics{};
    status = GetImageGraphics(made.id, graphics, format);
    if (status == OK) status = ClearGpGraphics(graphics, backgroundArgb);
    if (status == OK) status = RotateGpWorldTransform(graphics, angle, kMatrixOrderPrepend);
    gdiplus::PointF corner{static_cast<float>(width), static_cast<float>(height)};
    if (status == OK) status = TransformGpPoints(graphics, kCoordinateWorld, kCoordinateDevice, &corner, 1);
    if (status == OK) {
        // Half the turned canvas corner less half the size: the image turns about the canvas centre.
        const auto x = static_cast<int32_t>(std::nearbyint(corner.X / 2.0 - width / 2.0));
        const auto y = static_cast<int32_t>(std::nearbyint(corner.Y / 2.0 - height / 2.0));
        status = DrawGpImageRect(graphics, id, x, y, width, height);
    }
    if (graphics != gdiplus::GpGraphics{}) DeleteGpGraphics(graphics);
    if (status == OK) status = TakePlace(control, record, made);
    return Stored(control, status);
}

MorvalenStatus AutoDeskew(TwainControl& control) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const double angle = MeasureSkewAngle(control);
    if (std::abs(angle) <= kDeskewThreshold) return control.GetStat();
    const int32_t depthBefore = GetPixelDepth(control);
    const bool greyPalette = depthBefore == 8 && GetPaletteFlags(control) == kPaletteGreyScale;
    if (MorvalenStatus status = RotateByAngle(control, static_cast<float>(-angle), kWhite); status != OK)
        return status;
    const int32_t depthAfter = GetPixelDepth(control);
    if (depthBefore == 1 && depthAfter != 1) ConvertToBlackWhite(control);
    else if (greyPalette && depthAfter != 8) ConvertTo8BppGrayScale(control);
    return control.GetStat();
}

MorvalenStatus CropWhiteBorders(TwainControl& control, int32_t confidence, int32_t skipLines) {
    return CropToColour(control, kWhiteArgb, confidence, skipLines);
}

MorvalenStatus CropBlackBorders(TwainControl& control, int32_t confidence, int32_t skipLines) {
    return CropToColour(control, kBlackArgb, confidence, skipLines);
}

MorvalenStatus CropBorders(TwainControl& control) { return CropBordersEX(control, kCropBordersConfidence, 1); }

MorvalenStatus CropBordersEX(TwainControl& control, int32_t confidence, int32_t pixelReference) {
    if (confidence < 0 || confidence > 100) confidence = kFallbackConfidence;
    if (pixelReference < 1 || pixelReference > 4) pixelReference = 1;
    const int32_t width = GetWidth(control), height = GetHeight(control);
    const int32_t tolerance = Tolerance(confidence);
    if (control.currentImage() == 0) return Stored(control, GenericError);
    if (width < kSmallestCroppableSize || height < kSmallestCroppableSize) return control.GetStat();
    const int32_t x = pixelReference == 2 || pixelReference == 3 ? width - 1 : 0;
    const int32_t y = pixelReference == 3 || pixelReference == 4 ? height - 1 : 0;
    const uint32_t reference = GetPixelColor(control, x, y);
    CropBordersCore(control, confidence, reference, 0, tolerance);
    return control.GetStat();
}

MorvalenStatus Crop(TwainControl& control, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t id = control.currentImage();
    ImageMetadataRecord record;
    record.Save(id, control.keepPropertyItems());
    int32_t format = 0;
    if (MorvalenStatus status = GetImagePixelFormat(id, format); status != OK) return Stored(control, status);
    PendingImage made;
    if (MorvalenStatus status = CloneImageArea(left, top, width, height, format, id, made.id); status != OK) {
        made.id = 0;
        return Stored(control, status);
    }
    return Stored(control, TakePlace(control, record, made));
}

namespace {

// Cuts `lines` off one edge of a side `size` long: the rest of the side, or
// nothing when the count is negative or leaves no pixel (never a size that
// overflows on the way).
bool RemainingSide(int32_t size, int32_t lines, int32_t& rest) {
    if (lines < 0 || lines >= size) return false;
    rest = size - lines;
    return true;
}

}  // namespace

MorvalenStatus CropTop(TwainControl& control, int32_t lines) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t width = GetWidth(control), height = GetHeight(control);
    int32_t rest = 0;
    if (!RemainingSide(height, lines, rest)) return Stored(control, InvalidParameter);
    return Crop(control, 0, lines, width, rest);
}

MorvalenStatus CropBottom(TwainControl& control, int32_t lines) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t width = GetWidth(control), height = GetHeight(control);
    int32_t rest = 0;
    if (!RemainingSide(height, lines, rest)) return Stored(control, InvalidParameter);
    return Crop(control, 0, 0, width, rest);
}

MorvalenStatus CropLeft(TwainControl& control, int32_t lines) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t width = GetWidth(control), height = GetHeight(control);
    int32_t rest = 0;
    if (!RemainingSide(width, lines, rest)) return Stored(control, InvalidParameter);
    return Crop(control, lines, 0, rest, height);
}

MorvalenStatus CropRight(TwainControl& control, int32_t lines) {
    if (control.currentImage() == 0) return Stored(control, GenericError);
    const int32_t width = GetWidth(control), height = GetHeight(control);
    int32_t rest = 0;
    if (!RemainingSide(width, lines, rest)) return Stored(control, InvalidParameter);
    return Crop(control, 0, 0, rest, height);
}

}  // namespace scanvelt
