#include "imaging/engine/save_gdiplus.h"

#include <algorithm>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/encoder_table.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/save_prepare.h"
#include "platform/gdiplus/image.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

namespace {

using gdiplus::EncoderParameter;
using gdiplus::EncoderParameters;

MorvalenStatus SaveWithOptionalParameters(int32_t imageId, const std::string& path, const gdiplus::Guid& clsid,
                                          const EncoderParameters& parameters) {
    return SaveWithEncoder(imageId, path, clsid, parameters.empty() ? nullptr : &parameters);
}

// BMP and PNG: encoder, resolution items, no parameters.
MorvalenStatus SaveWithoutParameters(int32_t imageId, const std::string& path, std::string_view pattern) {
    const std::optional<gdiplus::Guid> clsid = EncoderFor(pattern);
    if (!clsid) return UnknownImageFormat;
    SyncResolutionTags(imageId);
    return SaveWithEncoder(imageId, path, *clsid, nullptr);
}

bool IsGreyPaletteImage(int32_t imageId) { return BitDepthOf(imageId) == 8 && IsGreyscalePalette(imageId); }

}  // namespace

bool IsBilevelCompression(int32_t compression) {
    return compression == CompressionCCITT3 || compression == CompressionCCITT4 || compression == CompressionRLE;
}

std::optional<gdiplus::Guid> EncoderFor(std::string_view pattern) {
    const int32_t index = EncoderIndexOf(pattern);
    if (index < 0) return std::nullopt;
    return EncoderClsid(index);
}

int32_t ClampJpegQuality(int32_t quality) { return std::clamp(quality, 1, 100); }

MorvalenStatus SaveWithEncoder(int32_t imageId, const std::string& path, const gdiplus::Guid& encoderClsid,
                               const gdiplus::EncoderParameters* parameters) {
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->Save(win::ResolveWindowsPath(path), encoderClsid, parameters));
}

MorvalenStatus SaveImageAsBmp(int32_t imageId, const std::string& path) {
    return SaveWithoutParameters(imageId, path, "*.bmp");
}

MorvalenStatus SaveImageAsGif(int32_t imageId, const std::string& path) {
    SyncResolutionTags(imageId);
    const std::optional<gdiplus::Guid> clsid = EncoderFor("*.gif");
    if (!clsid) return UnknownImageFormat;
    return SaveWithEncoder(imageId, path, *clsid, nullptr);
}

MorvalenStatus SaveImageAsPng(int32_t imageId, const std::string& path) {
    return SaveWithoutParameters(imageId, path, "*.png");
}

MorvalenStatus SaveImageAsJpeg(int32_t imageId, const std::string& path, int32_t quality, bool gdiplusOnly) {
    if (!gdiplusOnly && IsGreyPaletteImage(imageId)) {
        // The plug-in takes the quality as its save flags; 0 is its default.
        const int32_t flags = quality < 0 ? 0 : ClampJpegQuality(quality);
        // Without the plug-in, or when it cannot write the image, GDI+ does.
        if (SaveImageWithPlugin(imageId, kPluginFormatJpeg, path, flags) == OK) return OK;
    }
    const std::optional<gdiplus::Guid> clsid = EncoderFor("*.jpg");
    if (!clsid) return UnknownImageFormat;
    PrepareForEncoder(imageId);
    SyncResolutionTags(imageId);
    EncoderParameters parameters;
    if (quality >= 0) {
        parameters.push_back(EncoderParameter::Long(gdiplus::EncoderQuality, static_cast<uint32_t>(ClampJpegQuality(quality))));
    }
    return SaveWithOptionalParameters(imageId, path, *clsid, parameters);
}

MorvalenStatus SaveImageAsTiff(int32_t imageId, const std::string& path, int32_t compression, int32_t colorDepth) {
    const std::optional<gdiplus::Guid> clsid = EncoderFor("*.tif");
    if (!clsid) return UnknownImageFormat;
    PrepareForEncoder(imageId);
    SyncResolutionTags(imageId);
    int32_t ownDepth = 0;
    GetImageBitDepth(imageId, ownDepth);

    if (colorDepth == 16) colorDepth = 24;
    // An older GDI+ cannot write an image below 24 bits in another depth.
    if (GdiplusBelowVersion6() && colorDepth > 0 && colorDepth < 24) colorDepth = 0;
    const int32_t writtenDepth = colorDepth != 0 ? colorDepth : ownDepth;
    if (IsBilevelCompression(compression) && writtenDepth > 1) compression = CompressionLZW;

    EncoderParameters parameters;
    if (compression != 0) {
        parameters.push_back(EncoderParameter::Long(gdiplus::EncoderCompression, static_cast<uint32_t>(compression)));
    }
    if (colorDepth != 0) {
        parameters.push_back(EncoderParameter::Long(gdiplus::EncoderColorDepth, static_cast<uint32_t>(colorDepth)));
    }
    return SaveWithOptionalParameters(imageId, path, *clsid, parameters);
}

}  // namespace scanvelt
