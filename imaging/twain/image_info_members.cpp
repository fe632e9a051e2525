#include "imaging/twain/image_info_members.h"

#include <cmath>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/save_memory.h"
#include "imaging/twain/twain_control.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {
namespace {

constexpr double kMillimetresPerInch = 25.4;
// What a physical size is computed at when an image carries no usable resolution.
constexpr double kFallbackDpi = 96.0;

int32_t PixelFormatStored(TwainControl& control) {
    int32_t format = 0;
    MorvalenStatus status = GetImagePixelFormat(control.currentImage(), format);
    control.setLastStatus(status);
    return status == OK ? format : 0;
}

}  // namespace

float MillimetresAt(int32_t pixels, float dpi) {
    const double usable = std::isfinite(dpi) && dpi > 0.0f ? dpi : kFallbackDpi;
    return static_cast<float>(pixels / usable * kMillimetresPerInch);
}

int32_t GetWidth(TwainControl& control) {
    int32_t width = 0;
    control.setLastStatus(GetImageWidth(control.currentImage(), width));
    return width;
}

int32_t GetHeight(TwainControl& control) {
    int32_t height = 0;
    control.setLastStatus(GetImageHeight(control.currentImage(), height));
    return height;
}

float GetWidthMM(TwainControl& control) {
    int32_t width = 0;
    MorvalenStatus status = GetImageWidth(control.currentImage(), width);
    control.setLastStatus(status);
    if (status != OK) return 0.0f;
    float dpi = 0.0f;
    control.setLastStatus(GetImageHorizontalResolution(control.currentImage(), dpi));
    return MillimetresAt(width, dpi);
}

float GetHeightMM(TwainControl& control) {
    int32_t height = 0;
    MorvalenStatus status = GetImageHeight(control.currentImage(), height);
    control.setLastStatus(status);
    if (status != OK) return 0.0f;
    float dpi = 0.0f;
    control.setLastStatus(GetImageVerticalResolution(control.currentImage(), dpi));
    return MillimetresAt(height, dpi);
}

std::string GetImageFormat(const TwainControl& control) { return FormatNameOf(control.currentImage()); }

std::string GetPixelFormatString(TwainControl& control) {
    std::string name;
    control.setLastStatus(GetPixelFormatName(control.currentImage(), name));
    return name;
}

int32_t GetPixelFormat(TwainControl& control) { return PixelFormatStored(control); }

int32_t GetPixelDepth(TwainControl& control) {
    int32_t depth = 0;
    control.setLastStatus(GetImageBitDepth(control.currentImage(), depth));
    return depth;
}

bool IsPixelFormatIndexed(TwainControl& control) { return IsIndexedFormat(PixelFormatStored(control)); }

bool IsPixelFormatHasAlpha(TwainControl& control) { return IsAlphaFormat(PixelFormatStored(control)); }

float GetHorizontalResolution(TwainControl& control) {
    float dpi = 0.0f;
    control.setLastStatus(GetImageHorizontalResolution(control.currentImage(), dpi));
    return dpi;
}

float GetVerticalResolution(TwainControl& control) {
    float dpi = 0.0f;
    control.setLastStatus(GetImageVerticalResolution(control.currentImage(), dpi));
    return dpi;
}

MorvalenStatus SetHorizontalResolution(TwainControl& control, float dpi) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return GenericError;
    }
    const float vertical = GetVerticalResolution(control);
    MorvalenStatus status = SetImageResolution(control.currentImage(), dpi, vertical, false);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus SetVerticalResolution(TwainControl& control, float dpi) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return GenericError;
    }
    const float horizontal = GetHorizontalResolution(control);
    MorvalenStatus status = SetImageResolution(control.currentImage(), horizontal, dpi, false);
    control.setLastStatus(status);
    return status;
}

uint32_t GetHBitmap(TwainControl& control) {
    win::HBITMAP bitmap{};
    MorvalenStatus status = ImageToHBitmap(control.currentImage(), bitmap, 0);
    control.setLastStatus(status);
    if (status != OK) {
        if (bitmap != win::HBITMAP{}) win::DeleteObject(bitmap);
        return 0;
    }
    return win::handleValue(bitmap);
}

uint32_t GetHICON(TwainControl& control) {
    win::HICON icon{};
    MorvalenStatus status = ImageToHIcon(control.currentImage(), icon);
    control.setLastStatus(status);
    if (status != OK) {
        if (icon != win::HICON{}) win::DestroyIcon(icon);
        return 0;
    }
    return win::handleValue(icon);
}

uint32_t GetDib(TwainControl& control) {
    win::HGLOBAL block{};
    MorvalenStatus status = ImageToPackedDib(control.currentImage(), block);
    control.setLastStatus(status);
    if (status != OK) {
        if (block != win::HGLOBAL{}) win::GlobalFree(block);
        return 0;
    }
    return win::handleValue(block);
}

uint32_t GetMorvalenImageDC(TwainControl& control, int32_t imageId) {
    win::HDC dc{};
    MorvalenStatus status = GetImageDC(imageId, dc);
    control.setLastStatus(status);
    return status == OK ? win::handleValue(dc) : 0;
}

uint32_t GetPictureOf(TwainControl& control, int32_t imageId) {
    win::HPICTURE picture{};
    MorvalenStatus status = ImageToPicture(imageId, picture);
    control.setLastStatus(status);
    if (status != OK) {
        if (picture != win::HPICTURE{}) win::PictureRelease(picture);
        return 0;
    }
    return win::handleValue(picture);
}

void DeleteHBitmap(uint32_t bitmap) { win::DeleteObject(win::HBITMAP{bitmap}); }

void DeleteHICON(uint32_t icon) { win::DestroyIcon(win::HICON{icon}); }

void RemoveDib(uint32_t dib) { win::GlobalFree(win::HGLOBAL{dib}); }

MorvalenStatus ReleaseMorvalenImageDC(uint32_t dc) { return ReleaseImageDC(win::HDC{dc}); }

void DeletePictureHandle(uint32_t handle) { win::DeleteObject(win::HBITMAP{handle}); }

int32_t GetGdiplusImage(const TwainControl& control) {
    if (NativeImageHandle(control.currentImage()) == nullptr) return 0;
    return CurrentPageImageId(control.currentImage());
}

MorvalenStatus SaveAsByteArray(TwainControl& control, std::vector<uint8_t>& bytes, int32_t& count,
                               const std::string& format, int32_t encoderParameter) {
    MorvalenStatus status = GenericError;
    if (control.currentImage() != 0)
        status = SaveImageToBytes(control.currentImage(), count, bytes, format, encoderParameter);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus SaveAsStream(TwainControl& control, std::shared_ptr<win::Stream>& stream, const std::string& format,
                            int32_t encoderParameter) {
    MorvalenStatus status = GenericError;
    if (control.currentImage() != 0)
        status = SaveImageToStream(control.currentImage(), stream, format, encoderParameter);
    control.setLastStatus(status);
    return status;
}

std::string SaveAsString(TwainControl& control, const std::string& format, int32_t encoderParameter) {
    if (control.currentImage() == 0) {
        control.setLastStatus(GenericError);
        return "";
    }
    std::string text;
    control.setLastStatus(SaveImageToString(control.currentImage(), text, format, encoderParameter));
    return text;
}

}  // namespace scanvelt
