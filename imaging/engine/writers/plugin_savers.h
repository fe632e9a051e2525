#pragma once
// Image files in the formats of the codec plug-in: JPEG 2000 codestream and
// JP2, OpenEXR, ICO, PBM, TGA, JPEG-compressed TIFF, WBMP and XPM. Each saver
// answers MvimgplugDllRequired without the plug-in, InvalidParameter for an
// unregistered ID, UnsupportedPixelFormat for a pixel format its file format
// does not take, the status of making the plug-in bitmap (InvalidParameter
// instead for WBMP and XPM), GenericError when the plug-in's save fails (a
// format it lacks among them), OutOfMemory or GenericError for a run-time
// failure; OK only when the file was written.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Handed to the plug-in as its save flags unchanged.
enum ExrCompression : int32_t {
    ExrCompressionDefault = 0,
    ExrCompressionFloat = 1,
    ExrCompressionNone = 2,
    ExrCompressionZip = 4,
    ExrCompressionPiz = 8,
    ExrCompressionPxr24 = 16,
    ExrCompressionB44 = 32,
    ExrCompressionLC = 64,
};

// 24- and 32-bit RGB, 32-bit ARGB and 8-bit indexed images; the rate is the
// plug-in's save flags.
MorvalenStatus SaveImageAsJ2k(int32_t imageId, const std::string& path, int32_t rate);
MorvalenStatus SaveImageAsJp2(int32_t imageId, const std::string& path, int32_t rate);
// Any image, converted to floating-point RGB first (OutOfMemory when that fails).
MorvalenStatus SaveImageAsExr(int32_t imageId, const std::string& path, int32_t compression);
// Any image.
MorvalenStatus SaveImageAsIco(int32_t imageId, const std::string& path);
// 24- and 32-bit RGB, 1- and 8-bit indexed images.
MorvalenStatus SaveImageAsPbm(int32_t imageId, const std::string& path);
// Images of 8 to 32 bits per pixel.
MorvalenStatus SaveImageAsTga(int32_t imageId, const std::string& path);
// Images of 8 or 24 bits per pixel; the quality (brought into 0..100) goes to
// the plug-in before the pixel format is looked at.
MorvalenStatus SaveImageAsTiffJpeg(int32_t imageId, const std::string& path, int32_t quality);
// 1-bit images.
MorvalenStatus SaveImageAsWbmp(int32_t imageId, const std::string& path);
// Images of 8 or 24 bits per pixel.
MorvalenStatus SaveImageAsXpm(int32_t imageId, const std::string& path);

}  // namespace scanvelt
