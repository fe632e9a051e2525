#pragma once
// What a graphics draws on. The bitmap is found again at every operation, so
// a graphics never reaches pixels that are gone: an image that was released,
// a device context that was deleted or holds another bitmap now.
#include <functional>
#include <memory>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/image.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/handles.h"

namespace gdiplus {

class DrawingTarget {
public:
    virtual ~DrawingTarget() = default;
    // The bitmap to draw into now, valid until the next call; null when it
    // is gone.
    virtual Bitmap* Acquire() = 0;
    // The device context drawn into, for a target that is one; else the null handle.
    virtual win::HDC DeviceContext() const { return win::HDC{}; }
};

// Finds the image drawn on; null once it is gone.
using ImageResolver = std::function<Image*()>;

// An image: the resolver's answer, when it is a bitmap.
std::unique_ptr<DrawingTarget> ImageTarget(ImageResolver resolve);

// The bitmap selected into a device context.
std::unique_ptr<DrawingTarget> DeviceContextTarget(win::HDC dc);
// The same for a window's context, which the target gives back to the window
// (ReleaseDC) when it ends.
std::unique_ptr<DrawingTarget> WindowTarget(std::uint32_t window, win::HDC windowDc);

}  // namespace gdiplus
