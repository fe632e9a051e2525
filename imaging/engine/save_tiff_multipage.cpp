#include "imaging/engine/save_tiff_multipage.h"

#include <optional>

#include "imaging/engine/file_target.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "platform/gdiplus/image.h"

namespace scanvelt {

namespace {

using gdiplus::EncoderParameter;

// Bilevel compressions need a 1-bit image; deeper images get LZW.
int32_t CompressionForDepth(int32_t compression, int32_t depth) {
    return IsBilevelCompression(compression) && depth > 1 ? CompressionLZW : compression;
}

int32_t BitDepthOrZero(int32_t imageId) {
    int32_t depth = 0;
    GetImageBitDepth(imageId, depth);
    return depth;
}

}  // namespace

MorvalenStatus TiffMultiPageStart(int32_t imageId, const std::string& path, int32_t compression) {
    // Checked now: a folder would fail only when the last page is written.
    if (!FileTargetOf(path)) return Win32Error;
    compression = CompressionForDepth(compression, BitDepthOrZero(imageId));
    const std::optional<gdiplus::Guid> clsid = EncoderFor("*.tif");
    if (!clsid) return UnknownImageFormat;
    SyncResolutionTags(imageId);
    const gdiplus::EncoderParameters parameters{
        EncoderParameter::Long(gdiplus::EncoderSaveFlag, gdiplus::EncoderValueMultiFrame),
        EncoderParameter::Long(gdiplus::EncoderCompression, static_cast<uint32_t>(compression)),
    };
    if (ImageEntry* entry = FindImageEntry(imageId)) entry->TiffCompression = compression;
    return SaveWithEncoder(imageId, path, *clsid, &parameters);
}

MorvalenStatus TiffMultiPageAdd(int32_t firstImageId, int32_t pageImageId) {
    gdiplus::Image* file = NativeImageOf(firstImageId);
    const gdiplus::Image* page = NativeImageOf(pageImageId);
    if (file == nullptr || page == nullptr) return InvalidParameter;
    const int32_t compression = CompressionForDepth(FindImageEntry(firstImageId)->TiffCompression,
                                                    BitDepthOrZero(pageImageId));
    const gdiplus::EncoderParameters parameters{
        EncoderParameter::Long(gdiplus::EncoderSaveFlag, gdiplus::EncoderValueFrameDimensionPage),
        EncoderParameter::Long(gdiplus::EncoderCompression, static_cast<uint32_t>(compression)),
    };
    return StatusOf(file->SaveAdd(*page, parameters));
}

MorvalenStatus TiffMultiPageFinish(int32_t firstImageId) {
    gdiplus::Image* file = NativeImageOf(firstImageId);
    if (file == nullptr) return InvalidParameter;
    const gdiplus::EncoderParameters parameters{
        EncoderParameter::Long(gdiplus::EncoderSaveFlag, gdiplus::EncoderValueFlush)};
    return StatusOf(file->SaveAdd(parameters));
}

}  // namespace scanvelt
