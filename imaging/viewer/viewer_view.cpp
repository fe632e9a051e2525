// Turning and flipping the shown image, copying it to the clipboard,
// clearing the view, its size in millimetres, and the stored options whose
// accessors do more than store.
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/variant.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt {
namespace {

constexpr double kMillimetresPerInch = 25.4;

}  // namespace

int32_t ViewerControl::ApplyRotateFlip(int32_t type) {
    // Only this call's failures stop the turn: an earlier failed member
    // (a clipboard copy, say) must not block every rotation after it.
    LastStatus_ = 0;
    int32_t target = NativeImageID_;
    bool hadCopy = false;
    bool framesInOneImage = CurrentDocumentType_ == 1 && GetTotalFrame() > 1 && !GifFramesSplit(NativeImageID_) &&
                            !TiffPagesSplit(NativeImageID_);
    if (framesInOneImage) {
        // Only the shown frame's display copy turns; the image keeps its frames.
        if (FastCopyID_ == 0 || FastCopyPage_ != s_.CurrentPage) LastStatus_ = BuildFastDisplayCopy();
        target = FastCopyID_;
    } else {
        hadCopy = FastCopyID_ != 0;
        ReleaseFastCopy();
    }
    if (LastStatus_ == 0) {
        LastStatus_ = RotateFlipImage(target, type, false);
        if (hadCopy) BuildFastDisplayCopy();
    }
    // The turn's failure is the result even when reading the size and
    // drawing afterwards succeed.
    int32_t status = LastStatus_;
    AnalyzeLoadedImage(target);
    UpdateLayout(target);
    if (status != 0) LastStatus_ = status;
    std::vector<com::VARIANT> args{com::MakeI4(type)};
    raise_(kEventRotation, args);
    return LastStatus_;
}

void ViewerControl::Copy2Clipboard() {
    int32_t drawn = FastCopyID_ != 0 ? FastCopyID_ : NativeImageID_;
    if (drawn != 0) CopyImageToClipboard(drawn);
}

void ViewerControl::CopyRegion2Clipboard(int32_t left, int32_t top, int32_t width, int32_t height) {
    int32_t drawn = FastCopyID_ != 0 ? FastCopyID_ : NativeImageID_;
    if (drawn == 0) {
        LastStatus_ = 1;
        return;
    }
    int32_t format = 0;
    LastStatus_ = GetImagePixelFormat(drawn, format);
    if (LastStatus_ != 0) return;
    int32_t region = 0;
    LastStatus_ = CloneImageArea(left, top, width, height, format, drawn, region);
    if (LastStatus_ != 0) return;
    LastStatus_ = CopyImageToClipboard(region);
    ReleaseImage(region);
}

void ViewerControl::Clear() {
    if (s_.LockControl) return;
    ClearRect();
    // The image stays loaded; the next draw shows it again.
    clearSurface();
}

float ViewerControl::GetHeightMM() const {
    if (!(s_.VerticalResolution > 0)) return 0;
    return static_cast<float>(s_.ImageHeight / s_.VerticalResolution * kMillimetresPerInch);
}

float ViewerControl::GetWidthMM() const {
    if (!(s_.HorizontalResolution > 0)) return 0;
    return static_cast<float>(s_.ImageWidth / s_.HorizontalResolution * kMillimetresPerInch);
}

int32_t ViewerControl::SetMouseIcon(const std::string& path) {
    int32_t icon = 0;
    int32_t status = LoadImageFromFile(icon, path, false, true, false, 0, false, false);
    if (status != 0) return status;
    gdiplus::Bitmap* bitmap = NativeBitmapOf(icon);
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0;
    if (bitmap) {
        width = static_cast<int32_t>(bitmap->GetWidth());
        height = static_cast<int32_t>(bitmap->GetHeight());
        gdiplus::BitmapData data;
        if (width > 0 && height > 0 &&
            bitmap->LockBits(gdiplus::Rect{0, 0, width, height}, gdiplus::ImageLockModeRead,
                             gdiplus::PixelFormat32bppPARGB, data) == gdiplus::Ok) {
            pixels.resize(static_cast<size_t>(width) * height);
            for (int32_t y = 0; y < height; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) +
                                                                     static_cast<ptrdiff_t>(y) * data.Stride);
                std::copy(row, row + width, pixels.begin() + static_cast<ptrdiff_t>(y) * width);
            }
            bitmap->UnlockBits(data);
        }
    }
    ReleaseImage(icon);
    if (pixels.empty()) return 1;
    CursorPixels_ = std::move(pixels);
    s_.MousePointer = com::kControlCursorCustom;
    CustomPointer_ = true;
    com::ControlCursorImage image{CursorPixels_.data(), width, height, 0, 0};
    if (site_) site_->SetCursor(com::kControlCursorCustom, &image);
    return 0;
}

int32_t ViewerControl::mouseButtonForMouseMode() {
    if (s_.MouseButtonForMouseMode == 0) s_.MouseButtonForMouseMode = 1;
    return s_.MouseButtonForMouseMode;
}

void ViewerControl::setMouseButtonForMouseMode(int32_t button) {
    s_.MouseButtonForMouseMode = button == 0 ? 1 : button;
    changed_("MouseButtonForMouseMode");
}

}  // namespace scanvelt
