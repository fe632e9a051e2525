#include "platform/gdiplus/graphics/drawing_target.h"

#include "platform/gdiplus/graphics/gdi_bitmap_view.h"

namespace gdiplus {
namespace {

class ResolvedImageTarget final : public DrawingTarget {
public:
    explicit ResolvedImageTarget(ImageResolver resolve) : resolve_(std::move(resolve)) {}
    Bitmap* Acquire() override { return dynamic_cast<Bitmap*>(resolve_()); }

private:
    ImageResolver resolve_;
};

class SelectedBitmapTarget : public DrawingTarget {
public:
    explicit SelectedBitmapTarget(win::HDC dc) : dc_(dc) {}

    Bitmap* Acquire() override {
        view_.reset();
        gdi_ = win::FindBitmap(win::SelectedBitmap(dc_));
        if (!gdi_ || ViewOfGdiBitmap(*gdi_, view_) != Ok) return nullptr;
        // Units other than pixels convert at the device's resolution (a printer page's, not the screen's).
        view_->SetResolution(static_cast<float>(win::GetDeviceCaps(dc_, win::LOGPIXELSX)),
                             static_cast<float>(win::GetDeviceCaps(dc_, win::LOGPIXELSY)));
        return view_.get();
    }
    win::HDC DeviceContext() const override { return dc_; }

private:
    win::HDC dc_;
    // Held while the view is in use, so that the pixels outlive a DeleteObject.
    std::shared_ptr<win::GdiBitmap> gdi_;
    std::unique_ptr<Bitmap> view_;
};

class WindowDcTarget final : public SelectedBitmapTarget {
public:
    WindowDcTarget(std::uint32_t window, win::HDC dc) : SelectedBitmapTarget(dc), window_(window) {}
    ~WindowDcTarget() override { win::ReleaseDC(window_, DeviceContext()); }

private:
    std::uint32_t window_;
};

}  // namespace

std::unique_ptr<DrawingTarget> ImageTarget(ImageResolver resolve) {
    return std::make_unique<ResolvedImageTarget>(std::move(resolve));
}

std::unique_ptr<DrawingTarget> DeviceContextTarget(win::HDC dc) { return std::make_unique<SelectedBitmapTarget>(dc); }

std::unique_ptr<DrawingTarget> WindowTarget(std::uint32_t window, win::HDC windowDc) {
    return std::make_unique<WindowDcTarget>(window, windowDc);
}

}  // namespace gdiplus
