#include "platform/gdiplus/pixel_format.h"

#include <algorithm>

namespace gdiplus {

bool IsSupportedPixelFormat(PixelFormat format) {
    return std::find(kAllPixelFormats.begin(), kAllPixelFormats.end(), format) != kAllPixelFormats.end();
}

std::int64_t RowBytes(std::int32_t width, PixelFormat format) {
    if (width < 1 || !IsSupportedPixelFormat(format)) return 0;
    return (static_cast<std::int64_t>(width) * GetPixelFormatSize(format) + 7) / 8;
}

std::int64_t DefaultStride(std::int32_t width, PixelFormat format) {
    if (width < 1 || !IsSupportedPixelFormat(format)) return 0;
    return (static_cast<std::int64_t>(width) * GetPixelFormatSize(format) + 31) / 32 * 4;
}

}  // namespace gdiplus
