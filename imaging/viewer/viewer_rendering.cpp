// Drawing the shown image into the back buffer: the visible part only,
// through GDI+ on the buffer's device context, with the chosen quality,
// gamma, the fall-backs when memory runs short, the drawing copy in 32-bit
// premultiplied ARGB, and the delayed high-quality second pass.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/graphics_wrappers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/viewer/image_drawing_shift.h"
#include "imaging/viewer/viewer_control.h"
#include "imaging/viewer/viewer_input_flags.h"

namespace scanvelt {
namespace {

constexpr int32_t kPixelFormat32bppPARGB = 0xE200B;
constexpr int32_t kUnitPixel = 2;
constexpr int32_t kSmoothingNone = 3;
constexpr int32_t kPixelOffsetNone = 3;
constexpr int32_t kPixelOffsetHalf = 4;
constexpr int32_t kCompositingHighSpeed = 1;
constexpr int32_t kNearestNeighbor = 5;
constexpr int32_t kOutOfMemory = 3;
constexpr int32_t kPixelFormat32bppARGB = 0x26200A;
constexpr int32_t kNoMaskColour = 0x10000;  // RGB(0,0,1)
// The largest scaled copy kept, in pixels (64 MB): beyond it a page zoomed
// in far is drawn from the drawing copy at each step.
constexpr int64_t kScaledCopyMaxPixels = int64_t{16} << 20;

int32_t roundEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// An OLE colour (0x00BBGGRR; the top byte marks a system colour and is
// ignored) as opaque ARGB.
uint32_t opaqueArgb(int32_t oleColor) {
    uint32_t c = static_cast<uint32_t>(oleColor);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}


}  // namespace

int32_t ViewerControl::CurrentDocumentKey() const { return CurrentDocumentType_ == 1 ? NativeImageID_ : PdfHandle_; }

int32_t ViewerControl::ChooseInterpolationMode() {
    if (s_.Zoom == 1.0) return kNearestNeighbor;
    if (s_.ViewerQualityAuto) {
        s_.ViewerQuality = QualityPassDone_ ? 4 : 0;
        return QualityPassDone_ ? 7 : kNearestNeighbor;
    }
    switch (s_.ViewerQuality) {
    case 0: return kNearestNeighbor;
    case 1: return 3;  // bilinear
    case 2: return 4;  // bicubic
    case 3: return 6;  // high-quality bilinear
    case 4: return 7;  // high-quality bicubic
    default: return 0;
    }
}

int32_t ViewerControl::BuildFastDisplayCopy() {
    ReleaseFastCopy();
    int32_t copy = 0;
    int32_t status = ConvertPixelFormat(NativeImageID_, kPixelFormat32bppPARGB, true, copy);
    if (status == 0) {
        ++FastCopyGeneration_;
        FastCopyID_ = copy;
        FastCopyPage_ = s_.CurrentPage;
    }
    return status;
}

int32_t ViewerControl::clientWidth() const {
    return innerWidth() - (vScroll_.visible ? vScroll_.width : 0);
}
int32_t ViewerControl::clientHeight() const {
    return innerHeight() - (hScroll_.visible ? hScroll_.height : 0);
}

// The drawing copy, unscaled with the nearest pixel, is drawn into a layer
// of the viewer's own, which nobody else draws on, and the layer is copied
// to the back buffer: a scroll step that moves the picture by whole pixels
// moves the layer and draws only the part it exposes. Any other drawing
// draws it whole.
int32_t ViewerControl::drawWithGdiplus(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH,
                                       int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) {
    const bool reusable = imageLayerValid_ && scrollStepDrawing_;
    imageLayerValid_ = false;
    // Only an unscaled nearest drawing can be moved by a later step: any
    // other goes straight to the back buffer.
    if (imageId == 0 || imageId != FastCopyID_ || ChooseInterpolationMode() != kNearestNeighbor || srcW != dstW ||
        srcH != dstH)
        return drawImageOn(buffer_, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, nullptr);
    if (imageLayer_.width() != buffer_.width() || imageLayer_.height() != buffer_.height()) {
        if (!imageLayer_.resize(buffer_.width(), buffer_.height(), opaqueArgb(s_.BackColor)))
            return drawImageOn(buffer_, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, nullptr);
    }
    const bool useGamma = s_.Gamma != 1.0f && !GifAnimatable_;
    const int32_t interpolation = ChooseInterpolationMode();
    const ImageDrawing now{imageId, FastCopyGeneration_, interpolation, useGamma ? s_.Gamma : 1.0f, s_.BackColor,
                           buffer_.width(), buffer_.height(), FaceRect{dstX, dstY, dstW, dstH},
                           FaceRect{srcX, srcY, srcW, srcH}};
    int32_t status = -1;
    bool plain = false;
    const std::optional<Shift> shift =
        reusable ? WholePixelShift(layerDrawing_, now, kNearestNeighbor) : std::nullopt;
    if (shift) status = drawExposedPart(now, *shift);
    if (status == 0) {
        plain = true;
    } else {
        status = drawImageOn(imageLayer_, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, &plain);
    }
    if (status != 0 || !buffer_.copyFrom(imageLayer_))
        return drawImageOn(buffer_, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, nullptr);
    imageLayerValid_ = plain;
    layerDrawing_ = now;
    return status;
}

// Moves the layer's picture and draws the exposed bands on the back colour,
// each from the source pixels a whole drawing puts there.
int32_t ViewerControl::drawExposedPart(const ImageDrawing& now, Shift shift) {
    const FaceRect& d = now.destination;
    if (!imageLayer_.moveWithin(d.x, d.y, d.width, d.height, shift.dx, shift.dy)) return -1;
    const std::vector<FaceRect> bands = ExposedByShift(d, shift);
    if (bands.empty()) return 0;
    gdiplus::GpGraphics graphics{};
    int32_t status = GpGraphicsFromHdc(imageLayer_.dc(), graphics);
    if (status != 0) return status;
    gdiplus::GpImageAttributes attributes{};
    if (now.gamma != 1.0f) {
        status = CreateGpImageAttributes(attributes);
        if (status == 0) status = SetGpAttributesGamma(attributes, 0, true, now.gamma);
    }
    if (status == 0) status = SetGpSmoothingMode(graphics, kSmoothingNone);
    if (status == 0) status = SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
    if (status == 0) status = SetGpCompositingQuality(graphics, kCompositingHighSpeed);
    if (status == 0) status = SetGpInterpolationMode(graphics, now.interpolation);
    for (const FaceRect& band : bands) {
        if (status != 0) break;
        imageLayer_.fill(band.x, band.y, band.width, band.height, opaqueArgb(now.backColor));
        status = DrawGpImageRectRect(graphics, now.imageId, band.x, band.y, band.width, band.height,
                                     now.source.x + (band.x - d.x), now.source.y + (band.y - d.y), band.width,
                                     band.height, kUnitPixel, attributes);
    }
    if (attributes != gdiplus::GpImageAttributes{}) DisposeGpImageAttributes(attributes);
    DeleteGpGraphics(graphics);
    return status;
}

// At a zoom other than 1 every pixel in view is a scaled one, which a scroll
// step would otherwise compute again. The drawing copy is scaled whole to
// the zoom once, on nothing (premultiplied, see-through where the page is),
// and each drawing lays the part in view over the back colour: the picture
// at a position is the same whether it was reached by steps or drawn anew.
std::optional<int32_t> ViewerControl::drawFromScaledCopy(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW,
                                                         int32_t dstH, bool pictureKept) {
    // A page that fits in the view has nothing to scroll: it is scaled straight into the view.
    const bool scrolls = DisplayWidth_ > clientWidth() || DisplayHeight_ > clientHeight();
    if (!keepsScaledCopy_ || imageId == 0 || imageId != FastCopyID_ || s_.Zoom == 1.0 || !scrolls || dstW < 1 ||
        dstH < 1 || int64_t{DisplayWidth_} * DisplayHeight_ > kScaledCopyMaxPixels) {
        releaseScaledCopy();
        return std::nullopt;
    }
    const bool useGamma = s_.Gamma != 1.0f && !GifAnimatable_;
    const ScaledCopySource now{imageId,       FastCopyGeneration_, ChooseInterpolationMode(),
                               useGamma ? s_.Gamma : 1.0f, DisplayWidth_, DisplayHeight_};
    if (scaledCopyId_ == 0 || !pictureKept || !(now == scaledCopySource_)) {
        releaseScaledCopy();
        int32_t copy = 0;
        if (ImageFromBuffer(now.width, now.height, 0, kPixelFormat32bppPARGB, nullptr, copy) != 0) return std::nullopt;
        gdiplus::GpGraphics graphics{};
        int32_t status = GetImageGraphics(copy, graphics, kPixelFormat32bppPARGB);
        if (status == 0) {
            gdiplus::GpImageAttributes attributes{};
            if (useGamma) {
                status = CreateGpImageAttributes(attributes);
                if (status == 0) status = SetGpAttributesGamma(attributes, 0, true, now.gamma);
            }
            if (status == 0) status = ClearGpGraphics(graphics, 0);
            if (status == 0) status = SetGpSmoothingMode(graphics, kSmoothingNone);
            if (status == 0) status = SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
            if (status == 0) status = SetGpCompositingQuality(graphics, kCompositingHighSpeed);
            if (status == 0) status = SetGpInterpolationMode(graphics, now.interpolation);
            if (status == 0)
                status = DrawGpImageRectRect(graphics, imageId, 0, 0, now.width, now.height, 0, 0, s_.ImageWidth,
                                             s_.ImageHeight, kUnitPixel, attributes);
            if (attributes != gdiplus::GpImageAttributes{}) DisposeGpImageAttributes(attributes);
            DeleteGpGraphics(graphics);
        }
        if (status != 0) {
            // Drawn from the drawing copy instead, with its own fall-backs.
            ReleaseImage(copy);
            return std::nullopt;
        }
        scaledCopyId_ = copy;
        scaledCopySource_ = now;
    }
    // Where the part in view starts in the scaled copy.
    const int32_t fromX = DisplayWidth_ > clientWidth() ? std::clamp(-ImageLeft_, 0, DisplayWidth_ - dstW) : 0;
    const int32_t fromY = DisplayHeight_ > clientHeight() ? std::clamp(-ImageTop_, 0, DisplayHeight_ - dstH) : 0;
    imageLayerValid_ = false;
    gdiplus::GpGraphics graphics{};
    int32_t status = GpGraphicsFromHdc(buffer_.dc(), graphics);
    if (status != 0) return status;
    status = ClearGpGraphics(graphics, opaqueArgb(s_.BackColor));
    if (status == 0) status = SetGpSmoothingMode(graphics, kSmoothingNone);
    if (status == 0) status = SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
    if (status == 0) status = SetGpCompositingQuality(graphics, kCompositingHighSpeed);
    if (status == 0) status = SetGpInterpolationMode(graphics, kNearestNeighbor);
    if (status == 0)
        status = DrawGpImageRectRect(graphics, scaledCopyId_, dstX, dstY, dstW, dstH, fromX, fromY, dstW, dstH,
                                     kUnitPixel, {});
    DeleteGpGraphics(graphics);
    return status;
}

void ViewerControl::releaseScaledCopy() {
    if (scaledCopyId_ != 0) ReleaseImage(scaledCopyId_);
    scaledCopyId_ = 0;
    scaledCopySource_ = {};
}

void ViewerControl::setKeepsScaledCopy(bool keep) {
    keepsScaledCopy_ = keep;
    if (!keep) releaseScaledCopy();
}

int32_t ViewerControl::drawImageOn(BackBuffer& target, int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW,
                                   int32_t dstH, int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH, bool* plain) {
    if (plain) *plain = false;
    gdiplus::GpGraphics graphics{};
    int32_t status = GpGraphicsFromHdc(target.dc(), graphics);
    if (status != 0) return status;
    gdiplus::GpImageAttributes attributes{};
    bool useGamma = s_.Gamma != 1.0f && !GifAnimatable_;  // an animated GIF shows its own colours
    bool gammaSet = false;
    if (useGamma && CreateGpImageAttributes(attributes) == 0)
        gammaSet = SetGpAttributesGamma(attributes, 0, true, s_.Gamma) == 0;
    ClearGpGraphics(graphics, opaqueArgb(s_.BackColor));
    status = SetGpSmoothingMode(graphics, kSmoothingNone);
    SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
    SetGpCompositingQuality(graphics, kCompositingHighSpeed);
    if (status == 0) status = SetGpInterpolationMode(graphics, ChooseInterpolationMode());
    if (status == 0)
        status = DrawGpImageRectRect(graphics, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, kUnitPixel,
                                     attributes);
    // Only a drawing with every setting in force is one a scroll step may move.
    if (plain) *plain = status == 0 && gammaSet == useGamma;
    if (status == kOutOfMemory) {
        // Less and less work until something fits: no gamma, no smoothing.
        if (attributes != gdiplus::GpImageAttributes{}) DisposeGpImageAttributes(attributes);
        attributes = {};
        SetGpPixelOffsetMode(graphics, kPixelOffsetNone);
        SetGpSmoothingMode(graphics, kSmoothingNone);
        SetGpInterpolationMode(graphics, kNearestNeighbor);
        status = DrawGpImageRectRect(graphics, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, kUnitPixel, {});
        if (status == kOutOfMemory && (SourceWidth_ < s_.ImageWidth || SourceHeight_ < s_.ImageHeight)) {
            int32_t part = 0;
            if (CloneImageArea(srcX, srcY, srcW, srcH, PixelFormatOf(imageId), imageId, part) == 0) {
                status = DrawGpImageRectRect(graphics, part, dstX, dstY, dstW, dstH, 0, 0, srcW, srcH, kUnitPixel, {});
                ReleaseImage(part);
            }
        } else if (status == kOutOfMemory) {
            status = DrawGpImageRect(graphics, imageId, dstX, dstY, dstW, dstH);
            if (status == kOutOfMemory) {
                int32_t thumbnail = 0;
                if (CreateImageThumbnail(imageId, dstW, dstH, thumbnail) == 0) {
                    status = DrawGpImageRect(graphics, thumbnail, dstX, dstY, dstW, dstH);
                    ReleaseImage(thumbnail);
                }
            }
        }
    }
    if (attributes != gdiplus::GpImageAttributes{}) DisposeGpImageAttributes(attributes);
    DeleteGpGraphics(graphics);
    return status;
}

// A see-through control, or one forced to draw through a picture: the image
// is drawn off screen into a picture of the client size (on BackColor when
// opaque, on nothing when transparent, where ImageMaskColor becomes clear too)
// and the picture is laid over the back buffer, which for a transparent
// control first receives what the host's window shows behind the face.
int32_t ViewerControl::drawThroughPicture(int32_t imageId, int32_t dstX, int32_t dstY, int32_t dstW, int32_t dstH,
                                          int32_t srcX, int32_t srcY, int32_t srcW, int32_t srcH) {
    const int32_t cw = clientWidth(), ch = clientHeight();
    if (cw < 1 || ch < 1) return 0;
    const bool transparent = s_.BackStyle == 0;
    int32_t picture = 0;
    int32_t status = ImageFromBuffer(cw, ch, 0, kPixelFormat32bppARGB, nullptr, picture);
    if (status != 0) return status;
    gdiplus::GpGraphics graphics{};
    status = GetImageGraphics(picture, graphics, kPixelFormat32bppARGB);
    if (status == 0) {
        if (!transparent) ClearGpGraphics(graphics, opaqueArgb(s_.BackColor));
        gdiplus::GpImageAttributes attributes{};
        if (!GifAnimatable_) {
            if (s_.Gamma != 1.0f && CreateGpImageAttributes(attributes) == 0)
                SetGpAttributesGamma(attributes, 0, true, s_.Gamma);
            if (transparent && s_.ImageMaskColor != kNoMaskColour &&
                (attributes != gdiplus::GpImageAttributes{} || CreateGpImageAttributes(attributes) == 0)) {
                const gdiplus::ColorMap clear{opaqueArgb(s_.ImageMaskColor), 0};
                SetGpAttributesRemapTable(attributes, 0, true, 1, &clear);
            }
        }
        SetGpCompositingQuality(graphics, kCompositingHighSpeed);
        SetGpSmoothingMode(graphics, kSmoothingNone);
        SetGpInterpolationMode(graphics, ChooseInterpolationMode());
        SetGpPixelOffsetMode(graphics, kPixelOffsetHalf);
        status = DrawGpImageRectRect(graphics, imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, kUnitPixel,
                                     attributes);
        DeleteGpGraphics(graphics);
        if (attributes != gdiplus::GpImageAttributes{}) DisposeGpImageAttributes(attributes);
    }
    if (transparent) paintBackdrop();
    gdiplus::GpGraphics onBuffer{};
    if (GpGraphicsFromHdc(buffer_.dc(), onBuffer) == 0) {
        const int32_t b = border();
        DrawGpImageRect(onBuffer, picture, b, b, cw, ch);  // over what lies behind, where the picture is clear
        DeleteGpGraphics(onBuffer);
    }
    ReleaseImage(picture);
    return status;
}

void ViewerControl::paintBackdrop() {
    const com::ControlBackBuffer face{buffer_.pixels(), buffer_.width(), buffer_.height(), buffer_.stride()};
    if (face.pixels && site_ && site_->GetBackdrop(&face) == com::S_OK) return;
    // A host that cannot tell what lies behind gets the back colour.
    buffer_.fill(0, 0, buffer_.width(), buffer_.height(), opaqueArgb(s_.BackColor));
}

void ViewerControl::RenderImage(int32_t imageId, bool qualityPass) {
    setQualityTimer(false);
    // Only a drawing straight after the layer's may build on it.
    const bool layerWasValid = std::exchange(imageLayerValid_, false);
    // Only the drawing it was set for may keep the scaled copy.
    const bool pictureKept = std::exchange(pictureKept_, false);
    if (imageId == 0) imageId = FastCopyID_ != 0 ? FastCopyID_ : NativeImageID_;
    if (s_.OptimizeDrawingSpeed && imageId != 0 && FormatNameOf(imageId) != "GIF" &&
        PixelFormatOf(imageId) != kPixelFormat32bppPARGB && BuildFastDisplayCopy() == 0)
        imageId = FastCopyID_;
    UpdateScrollBarVisibility();
    if (LastDrawFailed_) LastStatus_ = 0;
    bool pictureChangedDue = false, pageChangeDue = false;
    if (s_.Zoom > 0 && LastStatus_ == 0 && imageId != 0) {
        // Image IDs and PDF handles are counted apart: the kind of document
        // is part of what makes it another one.
        if (CurrentDocumentKey() != LastDrawnDocument_ || CurrentDocumentType_ != LastDrawnDocumentType_) {
            raise(kEventPictureChange);
            LastDrawnDocument_ = CurrentDocumentKey();
            LastDrawnDocumentType_ = CurrentDocumentType_;
            pictureChangedDue = true;
            pageChangeDue = CurrentDocumentType_ == 1;
        }
        if (!s_.LockControl && buffer_.pixels()) {
            if (s_.ViewerQualityAuto && !qualityPass) QualityPassDone_ = false;
            int32_t cw = clientWidth(), ch = clientHeight();
            int32_t srcX, srcY, srcW, srcH, dstX, dstY, dstW, dstH;
            if (DisplayWidth_ > cw) {
                SourceLeft_ = roundEven(-ImageLeft_ / s_.Zoom);
                SourceWidth_ = roundEven(cw / s_.Zoom);
                dstX = 0;
                dstW = cw;
            } else {
                SourceLeft_ = 0;
                SourceWidth_ = s_.ImageWidth;
                dstX = ImageLeft_;
                dstW = DisplayWidth_;
            }
            if (DisplayHeight_ > ch) {
                SourceTop_ = roundEven(-ImageTop_ / s_.Zoom * PixelAspect_);
                SourceHeight_ = roundEven(ch / s_.Zoom * PixelAspect_);
                dstY = 0;
                dstH = ch;
            } else {
                SourceTop_ = 0;
                SourceHeight_ = s_.ImageHeight;
                dstY = ImageTop_;
                dstH = DisplayHeight_;
            }
            srcX = SourceLeft_;
            srcY = SourceTop_;
            srcW = SourceWidth_;
            srcH = SourceHeight_;
            if (srcX + srcW > s_.ImageWidth) srcX = s_.ImageWidth - srcW;
            if (srcY + srcH > s_.ImageHeight) srcY = s_.ImageHeight - srcH;
            int32_t b = border();
            if (s_.BackStyle == 0 || s_.ForcePictureMode) {
                LastStatus_ = drawThroughPicture(imageId, dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH);
            } else if (const std::optional<int32_t> scaled =
                           drawFromScaledCopy(imageId, dstX + b, dstY + b, dstW, dstH, pictureKept)) {
                LastStatus_ = *scaled;
            } else {
                imageLayerValid_ = layerWasValid;
                LastStatus_ = drawWithGdiplus(imageId, dstX + b, dstY + b, dstW, dstH, srcX, srcY, srcW, srcH);
            }
            if (LastStatus_ == 0) {
                // The rectangle follows zoom and scrolling through its image pixels.
                if (SelectionDrawn_)
                    PlaceSelectionRect(SavedSelectionRect_[0], SavedSelectionRect_[1], SavedSelectionRect_[2],
                                       SavedSelectionRect_[3]);
                drawSelectionOutline();
                raise(kEventDisplay);
                if (s_.EnableMouseWheel) WheelHookInstalled_ = true;
                paintChrome();
                Refresh();
                if (!QualityPassDone_) setQualityTimer(s_.ViewerQualityAuto);
            } else {
                message("Can not display image error no: " + std::to_string(LastStatus_));
            }
        }
        if (pictureChangedDue) raise(kEventPictureChanged);
        if (pageChangeDue) raise(kEventPageChange);
        LastDrawFailed_ = LastStatus_ != 0;
    }
    if (!s_.DisableAutoFocus && FocusOwner_ != 0 && cornerVisible_) FocusOwner_ = 4;
    ScrollEventsEnabled_ = true;
}

void ViewerControl::Refresh() {
    bool was = viewerInputFlags().redrawInProgress;
    viewerInputFlags().redrawInProgress = true;
    invalidate();
    raise(kEventPaintControl);
    viewerInputFlags().redrawInProgress = was;
}

int32_t ViewerControl::Redraw() {
    if (NativeImageID_ == 0) return LastStatus_;
    ReleaseFastCopy();
    AnalyzeLoadedImage();
    UpdateLayout(0);
    return LastStatus_;
}

void ViewerControl::setViewerQuality(int32_t value) {
    s_.ViewerQuality = value;
    changed_("ViewerQuality");
    UpdateLayout(0);
}

void ViewerControl::setViewerQualityAuto(bool value) {
    s_.ViewerQualityAuto = value;
    setQualityTimer(value);
    changed_("ViewerQualityAuto");
}

void ViewerControl::setScrollOptimization(bool value) {
    s_.ScrollOptimization = value;
    if (value) s_.OptimizeDrawingSpeed = true;
    changed_("ScrollOptimization");
}

void ViewerControl::TimerFired(uint32_t id) {
    if (id == kAnimationTimerId) return AnimationTimerFired();
    if (id != kQualityTimerId || !qualityTimerOn_) return;
    if (s_.ViewerQualityAuto && !QualityPassDone_) {
        QualityPassDone_ = true;
        RenderImage(0, true);
    }
}

void ViewerControl::clearSurface() {
    buffer_.fill(0, 0, buffer_.width(), buffer_.height(), opaqueArgb(s_.BackColor));
    paintChrome();
    invalidate();
}

void ViewerControl::paintChrome() {
    if (!buffer_.pixels()) return;
    int32_t b = border();
    hScroll_.paint(buffer_.pixels(), buffer_.stride(), buffer_.width(), buffer_.height(), b, b);
    vScroll_.paint(buffer_.pixels(), buffer_.stride(), buffer_.width(), buffer_.height(), b, b);
    if (cornerVisible_) buffer_.fill(b + vScroll_.left, b + hScroll_.top, vScroll_.width, hScroll_.height, 0xFFF0F0F0);
    if (b > 0) {
        uint32_t dark = 0xFF646464, light = 0xFFE3E3E3;
        int32_t w = buffer_.width(), h = buffer_.height();
        buffer_.fill(0, 0, w, 1, dark);
        buffer_.fill(0, 0, 1, h, dark);
        buffer_.fill(0, h - 1, w, 1, b == 2 ? light : dark);
        buffer_.fill(w - 1, 0, 1, h, b == 2 ? light : dark);
        if (b == 2) {
            buffer_.fill(1, 1, w - 2, 1, 0xFF000000);
            buffer_.fill(1, 1, 1, h - 2, 0xFF000000);
        }
    }
}

}  // namespace scanvelt
