// How large the image is shown and where: the zoom of each zoom mode, the
// highest zoom the bars can serve, the placement of a small image and the
// scroll position of a large one.
#include <cmath>

#include "imaging/viewer/viewer_control.h"

namespace scanvelt {
namespace {

int32_t roundEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// The relative position an alignment gives on each axis; negative keeps it.
double columnOf(int32_t alignment) {
    switch (alignment) {
    case 0: case 4: case 7: return 0.0;
    case 2: case 6: case 9: return 0.5;
    case 1: case 5: case 8: return 1.0;
    default: return -1;
    }
}
double rowOf(int32_t alignment) {
    switch (alignment) {
    case 0: case 1: case 2: return 0.5;
    case 4: case 5: case 6: return 0.0;
    case 7: case 8: case 9: return 1.0;
    default: return -1;
    }
}

}  // namespace

void ViewerControl::ComputeClientArea() {
    int32_t widthReserve = roundEven(innerWidth() + 32765.0 - vScroll_.width);
    int32_t heightReserve = roundEven(innerHeight() + 32765.0 - hScroll_.height);
    double w = s_.ImageWidth, h = s_.ImageHeight;
    if (s_.ImageWidth < 1 || s_.ImageHeight < 1)
        MaxZoom_ = 1.0;
    else if (h / PixelAspect_ >= w)
        MaxZoom_ = heightReserve / (h / PixelAspect_);
    else
        MaxZoom_ = widthReserve / w;
    if (s_.Zoom > MaxZoom_) s_.Zoom = MaxZoom_;
}

void ViewerControl::UpdateLayout(int32_t imageId) {
    // A new layout may follow a change of the drawn pixels (a turn of the drawing copy).
    imageLayerValid_ = false;
    bool zoomChanged = false;
    QualityPassDone_ = false;
    if (imageId == 0) imageId = FastCopyID_ != 0 ? FastCopyID_ : NativeImageID_;
    const int32_t innerW = innerWidth(), innerH = innerHeight();
    double availW = innerW - (s_.ForceScrollBars ? vScroll_.width : 0);
    double availH = innerH - (s_.ForceScrollBars ? hScroll_.height : 0);
    if (LastDrawFailed_) LastStatus_ = 0;
    if (availH > 0 && availW > 0 && LastStatus_ == 0 && imageId != 0 && s_.ImageWidth > 0 && s_.ImageHeight > 0) {
        const double W = s_.ImageWidth, H = s_.ImageHeight;
        const double R = W / H * PixelAspect_;
        bool areaPlacement = false;
        double z;
        switch (s_.ZoomMode) {
        case 1: z = 1.0; break;
        case 2: z = R >= availW / availH ? availW / W : availH / H * PixelAspect_; break;
        case 3:
            z = availW / W;
            if (W * z / R > availH && s_.ScrollBars) {
                availW = innerW - vScroll_.width;
                z = availW / W;
                if (W * z / R < availH) z = availH / H * PixelAspect_;
            }
            break;
        case 5:
            z = availH / H * PixelAspect_;
            if (W * z > availW && s_.ScrollBars) {
                availH = innerH - hScroll_.height;
                z = availH / H * PixelAspect_;
                if (W * z < availW) z = availW / W;
            }
            break;
        case 6:
            DisplayWidth_ = roundEven(innerW - (s_.ForceScrollBars ? vScroll_.width : 0));
            DisplayHeight_ = roundEven(innerH - (s_.ForceScrollBars ? hScroll_.height : 0));
            z = innerH / H * PixelAspect_;
            break;
        case 7:
            z = s_.Zoom;
            if (ZoomTarget_[2] > 0) z = availW / ZoomTarget_[2];
            if (ZoomTarget_[3] > 0 && availH / ZoomTarget_[3] < z) z = availH / ZoomTarget_[3];
            areaPlacement = true;
            s_.ZoomMode = 4;
            break;
        default: z = s_.Zoom; break;
        }
        if (z > MaxZoom_) z = MaxZoom_;
        s_.Zoom = z;
        if (LastZoom_ != z) {
            raise(kEventBeforeZoomChange);
            zoomChanged = true;
        }
        LastZoom_ = z;
        if (s_.ZoomMode != 6) {
            DisplayWidth_ = roundEven(W * s_.Zoom);
            DisplayHeight_ = roundEven(DisplayWidth_ / R);
        }
        double relV = vScroll_.max >= 1 ? static_cast<double>(vScroll_.value) / vScroll_.max : 0;
        double relH = hScroll_.max >= 1 ? static_cast<double>(hScroll_.value) / hScroll_.max : 0;
        UpdateScrollRanges();
        ScrollEventsEnabled_ = false;
        if (areaPlacement) {
            ImageLeft_ = std::clamp(roundEven(-ZoomTarget_[0] * s_.Zoom), -hScroll_.max, 0);
            ImageTop_ = std::clamp(roundEven(-ZoomTarget_[1] * s_.Zoom), -vScroll_.max, 0);
            hScroll_.value = -ImageLeft_;
            vScroll_.value = -ImageTop_;
            RealignH_ = RealignV_ = false;
        }
        if (s_.ScrollBars) {
            availH = (hScroll_.max > 0 || s_.ForceScrollBars) ? innerH - hScroll_.height : innerH;
            availW = (vScroll_.max > 0 || s_.ForceScrollBars) ? innerW - vScroll_.width : innerW;
        }
        const bool keepPosition = s_.KeepImagePosition && !LayoutSettled_;
        // Horizontal placement.
        if (DisplayWidth_ > availW) {
            if (!areaPlacement) {
                if ((RealignH_ && (!s_.KeepImagePosition || LayoutSettled_) && !ContinuousPageTurn_) || ForceAlign_) {
                    double column = columnOf(s_.ImageAlignment);
                    if (column >= 0) relH = column;
                }
                hScroll_.value = roundEven(hScroll_.max * relH);
                ImageLeft_ = -hScroll_.value;
            }
            if (keepPosition) RealignH_ = false;
        } else {
            double column = columnOf(s_.ImagePosition);
            if (column == 0) ImageLeft_ = 0;
            else if (column == 0.5) ImageLeft_ = roundEven((availW - DisplayWidth_) / 2);
            else if (column == 1.0) ImageLeft_ = roundEven(availW - DisplayWidth_);
        }
        // Vertical placement.
        if (DisplayHeight_ > availH) {
            if (!areaPlacement) {
                if ((RealignV_ && (!s_.KeepImagePosition || LayoutSettled_)) || ForceAlign_) {
                    double row = rowOf(s_.ImageAlignment);
                    if (row >= 0) relV = row;
                }
                vScroll_.value = roundEven(vScroll_.max * relV);
                ImageTop_ = -vScroll_.value;
            }
            if (keepPosition) RealignV_ = false;
        } else {
            double row = rowOf(s_.ImagePosition);
            if (row == 0) ImageTop_ = 0;
            else if (row == 0.5) ImageTop_ = roundEven((availH - DisplayHeight_) / 2);
            else if (row == 1.0) ImageTop_ = roundEven(availH - DisplayHeight_);
        }
        RenderImage(imageId, false);
        if (zoomChanged) raise(kEventZoomChange);
        ApplyModePointer();  // the pan hand appears once an image is shown
        ForceAlign_ = false;
    }
    LayoutSettled_ = true;
    ScrollEventsEnabled_ = true;
}

void ViewerControl::setZoom(double value) {
    if (value > 0) {
        if (NativeImageID_ != 0 && value > MaxZoom_) value = MaxZoom_;
        if (value != s_.Zoom) {
            s_.Zoom = value;
            s_.ZoomMode = 4;
            if (NativeImageID_ != 0) UpdateLayout(0);
        }
    }
    changed_("Zoom");
}

int32_t ViewerControl::ZoomIN() {
    double next = s_.Zoom + s_.ZoomStep / 100.0;
    if (next <= MaxZoom_ && NativeImageID_ != 0) {
        s_.ZoomMode = 4;
        s_.Zoom = next;
        UpdateLayout(0);
    }
    return LastStatus_;
}

int32_t ViewerControl::ZoomOUT() {
    double next = s_.Zoom - s_.ZoomStep / 100.0;
    if (next > 0.001 && NativeImageID_ != 0) {
        s_.ZoomMode = 4;
        s_.Zoom = next;
        UpdateLayout(0);
    }
    return LastStatus_;
}

int32_t ViewerControl::SetZoom(float percent) {
    if (percent > 0 && static_cast<float>(MaxZoom_) >= percent / 100.0f) {
        s_.ZoomMode = 4;
        s_.Zoom = percent / 100.0;
        UpdateLayout(0);
    }
    return LastStatus_;
}

int32_t ViewerControl::SetZoomMode(int32_t mode) {
    if (s_.ZoomMode != mode) {
        s_.ZoomMode = mode;
        UpdateLayout(0);
    }
    return LastStatus_;
}

void ViewerControl::setZoomMode(int32_t mode) {
    if (mode != s_.ZoomMode) {
        switch (mode) {
        case 1: case 2: case 3: case 5: case 6: SetZoomMode(mode); break;
        case 4: s_.ZoomMode = 4; break;
        default: break;
        }
    }
    changed_("ZoomMode");
}

void ViewerControl::setZoomStep(int32_t value) {
    if (value > 0) s_.ZoomStep = value;
    changed_("ZoomStep");
}

int32_t ViewerControl::ZoomArea(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width < 1 || height < 1) return LastStatus_ = 2;
    ZoomTarget_[0] = left;
    ZoomTarget_[1] = top;
    ZoomTarget_[2] = width;
    ZoomTarget_[3] = height;
    s_.ZoomMode = 7;
    UpdateLayout(0);
    return LastStatus_;
}

void ViewerControl::setImageAlignment(int32_t value) {
    if (value == s_.ImageAlignment) return;
    s_.ImageAlignment = value;
    changed_("ImageAlignment");
    if (NativeImageID_ != 0) {
        RealignH_ = RealignV_ = true;
        AnalyzeLoadedImage();
        UpdateLayout(0);
    }
}

void ViewerControl::setImagePosition(int32_t value) {
    if (value == s_.ImagePosition) return;
    s_.ImagePosition = value;
    changed_("ImagePosition");
    if (NativeImageID_ != 0) {
        AnalyzeLoadedImage();
        UpdateLayout(0);
    }
}

void ViewerControl::CoordObjectToImage(int32_t objectX, int32_t objectY, int32_t& imageX, int32_t& imageY) const {
    if (s_.Zoom == 0) return;
    imageY = roundEven((objectY - ImageTop_) / s_.Zoom * PixelAspect_);
    imageX = roundEven((objectX - ImageLeft_) / s_.Zoom);
}

void ViewerControl::CoordImageToObject(int32_t imageX, int32_t imageY, int32_t& objectX, int32_t& objectY) const {
    if (PixelAspect_ != 0) objectY = ImageTop_ + roundEven(imageY * s_.Zoom / PixelAspect_);
    objectX = ImageLeft_ + roundEven(imageX * s_.Zoom);
}

}  // namespace scanvelt
