#include "imaging/engine/native_frames.h"

#include <string>
#include <string_view>

#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_table.h"
#include "platform/gdiplus/frame.h"

namespace scanvelt {

namespace {

MorvalenStatus NativeFrameCount(int32_t imageId, std::string_view formatName, const gdiplus::Guid& dimension,
                                int32_t& count) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    count = 0;
    std::string name;
    const MorvalenStatus status = ImageFormatName(imageId, name);
    if (status != OK || name != formatName) return status;
    count = static_cast<int32_t>(NativeImageOf(imageId)->GetFrameCount(dimension));
    return OK;
}

}  // namespace

MorvalenStatus GetNativeTiffPageCount(int32_t imageId, int32_t& count) {
    return NativeFrameCount(imageId, "TIFF", gdiplus::FrameDimensionPage, count);
}

MorvalenStatus GetNativeGifFrameCount(int32_t imageId, int32_t& count) {
    return NativeFrameCount(imageId, "GIF", gdiplus::FrameDimensionTime, count);
}

}  // namespace scanvelt
