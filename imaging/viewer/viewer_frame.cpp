// The viewer's frame: creation, the simple property lets, show, resize and
// teardown.
#include <atomic>
#include <cmath>

#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/temp_files.h"
#include "imaging/output/inet/cinet.h"
#include "imaging/output/print/cprinter.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/variant.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

// The control has no window of its own; each instance gets a number of its own
// where the window handle would stand.
std::atomic<int32_t> nextWindowNumber{0x10000};

}  // namespace

ViewerControl::ViewerControl(RaiseEvent raise, PropertyChanged changed)
    : raise_(std::move(raise)), changed_(std::move(changed)), windowNumber_(nextWindowNumber += 4),
      m_oPrinter(std::make_unique<cPrinter>()) {
    m_oPrinter->PrintPage = [this](int32_t& page, int32_t& pagesLeft) { relayPrintPage(page, pagesLeft); };
    hScroll_.horizontal = true;
    hScroll_.height = kScrollBarThickness;
    vScroll_.width = kScrollBarThickness;
    hScroll_.smallChange = vScroll_.smallChange = s_.ScrollSmallChange;
    hScroll_.largeChange = vScroll_.largeChange = s_.ScrollLargeChange;
    initMenu();
    imagingStarted_ = StartImaging();
    if (!imagingStarted_) {
        LastStatus_ = 1;
        plainMessage("Init Error: the image engine did not start");
    }
}

ViewerControl::~ViewerControl() { Terminate(); }

void ViewerControl::setSite(com::IControlSite* site) {
    if (site_ && !site) {
        setQualityTimer(false);
        KillAnimationTimer();
    }
    site_ = site;
    if (site_) site_->AcceptFiles(s_.ViewerDrop ? 1 : 0);
}

void ViewerControl::raise(ViewerEvent id) {
    std::vector<com::VARIANT> none;
    raise_(id, none);
}

namespace {

void showBox(const std::string& text, uint32_t style) {
    win::MessageBoxRequest request;
    request.text = text;
    request.style = style;
    win::ShowMessageBox(request);
}

}  // namespace

void ViewerControl::message(const std::string& text) {
    if (!s_.SilentMode) showBox(text, win::MB_OK | win::MB_ICONERROR);
}

void ViewerControl::plainMessage(const std::string& text) {
    if (!s_.SilentMode) showBox(text, win::MB_OK);
}

void ViewerControl::invalidate(const com::ControlRect* rect) {
    if (site_) site_->InvalidateRect(rect);
}

void ViewerControl::setQualityTimer(bool on) {
    if (on == qualityTimerOn_) return;
    qualityTimerOn_ = on;
    if (!site_) return;
    if (on)
        site_->SetTimer(kQualityTimerId, 1000);
    else
        site_->KillTimer(kQualityTimerId);
}

int32_t ViewerControl::border() const {
    if (s_.BorderStyle != 1) return 0;
    return s_.Appearance == 1 ? 2 : 1;
}
int32_t ViewerControl::innerWidth() const { return std::max(faceWidth_ - 2 * border(), 0); }
int32_t ViewerControl::innerHeight() const { return std::max(faceHeight_ - 2 * border(), 0); }

void ViewerControl::InitProperties() {
    // The member-kept settings take their defaults; the bars, the selection
    // outline and the surface keep what they were made with.
    ViewerSettings fresh;
    fresh.RectBorderSize = s_.RectBorderSize;
    fresh.ClipControls = s_.ClipControls;
    fresh.RectBorderColor = s_.RectBorderColor;
    fresh.BorderStyle = s_.BorderStyle;
    fresh.Appearance = s_.Appearance;
    fresh.BackStyle = s_.BackStyle;
    fresh.BackColor = s_.BackColor;
    s_ = fresh;
}

void ViewerControl::ApplyReadProperties() {
    UpdateMouseModeMenuChecks();
    UpdateZoomMenuChecks();
    hScroll_.smallChange = vScroll_.smallChange = s_.ScrollSmallChange;
    hScroll_.largeChange = vScroll_.largeChange = s_.ScrollLargeChange;
    if (site_) site_->AcceptFiles(s_.ViewerDrop ? 1 : 0);
}

void ViewerControl::Show() {
    ClearRect();
    // The property bag may have set the modes the menu ticks.
    UpdateMouseModeMenuChecks();
    UpdateZoomMenuChecks();
    UpdateScrollRanges();
    UpdateScrollBarVisibility();
    if (s_.MousePointer != 0) {
        CustomPointer_ = true;
        if (site_) site_->SetCursor(s_.MousePointer, nullptr);
    }
    paintChrome();
}

void ViewerControl::Resize(int32_t width, int32_t height) {
    faceWidth_ = std::max(width, 0);
    faceHeight_ = std::max(height, 0);
    uint32_t back = 0xFF000000u | ((s_.BackColor & 0xFF) << 16) | (s_.BackColor & 0xFF00) | ((s_.BackColor >> 16) & 0xFF);
    buffer_.resize(faceWidth_, faceHeight_, back);
    if (innerHeight() <= 0 || innerWidth() <= 0) return;
    placeScrollBars();
    UpdateLayout(0);
    ComputeClientArea();
    paintChrome();
    invalidate();
    raise(kEventResizeControl);
}

void ViewerControl::placeScrollBars() {
    int32_t w = innerWidth(), h = innerHeight();
    if (h - hScroll_.height > 0) {
        vScroll_.left = w - vScroll_.width;
        vScroll_.top = 0;
        vScroll_.height = h - hScroll_.height;
        hScroll_.left = 0;
        hScroll_.top = h - hScroll_.height;
    }
    if (w - vScroll_.width > 0) hScroll_.width = w - vScroll_.width;
}

void ViewerControl::deleteTempFile() {
    if (!TempImageOwned_) return;
    DeleteFileQuietly(TempImageFile_);
    TempImageOwned_ = false;
    TempImageFile_.clear();
}

void ViewerControl::Terminate() {
    if (Terminated_) return;
    // A download running under a host handler ends with its current chunk.
    DisplayFromURLStop();
    dragBar_ = nullptr;
    setQualityTimer(false);
    if (Animating_) StopGif();
    KillAnimationTimer();
    ClosePdfDocument();
    // What the viewer made or loaded for itself goes with it; an image the
    // host lent it, or took from it, stays the host's.
    if (imageOwned_ && NativeImageID_ != 0) ReleaseImage(NativeImageID_);
    imageOwned_ = false;
    ReleaseFastCopy();
    deleteTempFile();
    if (imagingStarted_) StopImaging();
    imagingStarted_ = false;
    NativeImageID_ = 0;
    Terminated_ = true;
}

void ViewerControl::setMousePointer(int32_t value) {
    s_.MousePointer = value;
    CustomPointer_ = value != 0;
    if (site_) site_->SetCursor(value, nullptr);
    changed_("MousePointer");
}

void ViewerControl::setBorderStyle(int16_t value) {
    s_.BorderStyle = value;
    if (faceWidth_ > 0) Resize(faceWidth_, faceHeight_);
    changed_("BorderStyle");
}

void ViewerControl::setBackColor(int32_t value) {
    s_.BackColor = value;
    changed_("BackColor");
}

void ViewerControl::setPdfDpiRendering(int32_t value) {
    if (value >= 1 && value <= 1200) s_.PdfDpiRendering = value;
    changed_("PdfDpiRendering");
}

void ViewerControl::setViewerDrop(bool value) {
    s_.ViewerDrop = value;
    if (site_) site_->AcceptFiles(value ? 1 : 0);
    changed_("ViewerDrop");
}

void ViewerControl::setEnabled(bool value) {
    s_.Enabled = value;
    changed_("Enabled");
}

}  // namespace scanvelt
