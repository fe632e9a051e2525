// Pages and frames of the shown document, GIF animation on a one-shot timer
// of the host, and the EXIF and IPTC tags of the shown image.
#include <string>

#include "imaging/engine/gdip_property_item.h"
#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/iptc_tags.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/viewer/viewer_control.h"

namespace scanvelt {

namespace {

// Items of the context menu these members keep enabled or disabled.
enum FrameMenuItem : int32_t {
    kGotoFirst = 2,
    kGotoPrevious = 3,
    kGotoNext = 4,
    kGotoLast = 5,
    kPlayGif = 6,
    kStopGif = 7,
};

}  // namespace

int32_t ViewerControl::DisplayFrame(int32_t frame) {
    const int32_t previous = s_.CurrentPage;
    LastStatus_ = 0;
    if (frame >= 1 && frame <= s_.PageCount) {
        // An image's new frame keeps the scroll position (KeepImagePosition)
        // until its layout ends; a PDF page is laid out afresh.
        LayoutSettled_ = CurrentDocumentType_ != 1;
        if (CurrentDocumentType_ == 1) {
            if (!Animating_) RealignH_ = RealignV_ = true;
            ReleaseFastCopy();
            if (GifAnimatable_) {
                LastStatus_ = SelectGifFrame(NativeImageID_, frame - 1);
                s_.CurrentPage = frame;
            } else {
                LastStatus_ = SelectTiffPage(NativeImageID_, frame - 1);
                s_.CurrentPage = GetCurrentTiffPage(NativeImageID_) + 1;
            }
        } else if (CurrentDocumentType_ == 2) {
            RasterizePdfPage(frame);
        }
        if (LastStatus_ != 0) {
            clearSurface();
        } else {
            AnalyzeLoadedImage();
            UpdateLayout(0);
        }
    }
    updateFrameMenu();
    if (previous != 0) raise(kEventPageChange);
    return LastStatus_;
}

void ViewerControl::updateFrameMenu() {
    const bool paged = s_.PageCount >= 2;
    SetItemMenuEnabled(kGotoNext, paged && s_.CurrentPage < s_.PageCount);
    SetItemMenuEnabled(kGotoLast, paged && s_.CurrentPage < s_.PageCount);
    SetItemMenuEnabled(kGotoPrevious, paged && s_.CurrentPage > 1);
    SetItemMenuEnabled(kGotoFirst, paged && s_.CurrentPage > 1);
    SetItemMenuEnabled(kPlayGif, GifAnimatable_ && !Animating_);
    SetItemMenuEnabled(kStopGif, Animating_);
}

void ViewerControl::turnPageContinuously(bool back) {
    const bool keep = s_.KeepImagePosition;
    const int32_t alignment = s_.ImageAlignment;
    s_.KeepImagePosition = false;
    s_.ImageAlignment = back ? 9 : 6;  // bottom centre, top centre
    ContinuousPageTurn_ = true;
    if (back) DisplayPreviousFrame();
    else DisplayNextFrame();
    ContinuousPageTurn_ = false;
    s_.KeepImagePosition = keep;
    s_.ImageAlignment = alignment;
}

int32_t ViewerControl::DisplayNextFrame() {
    if (s_.CurrentPage < s_.PageCount) DisplayFrame(s_.CurrentPage + 1);
    return LastStatus_;
}

int32_t ViewerControl::DisplayPreviousFrame() {
    if (s_.CurrentPage > 1) DisplayFrame(s_.CurrentPage - 1);
    return LastStatus_;
}

int32_t ViewerControl::DisplayFirstFrame() {
    if (s_.CurrentPage != 1) DisplayFrame(1);
    return LastStatus_;
}

int32_t ViewerControl::DisplayLastFrame() {
    if (s_.CurrentPage != s_.PageCount) DisplayFrame(s_.PageCount);
    return LastStatus_;
}

// Called by AnalyzeLoadedImage for an image document: whether it animates,
// and the delay after each frame in milliseconds.
void ViewerControl::analyzeAnimation() {
    if (Animating_) return;  // a tick of the running animation: nothing changed
    GifAnimatable_ = IsMultiFrameGif(NativeImageID_) && s_.PageCount > 1;
    FrameDelays_.clear();
    if (!GifAnimatable_) return;
    // The delays as the file holds them: a 0 must stay 0 here to be read as 100 ms.
    std::vector<int32_t> hundredths;
    if (ReadGifFrameDelays(NativeImageID_, hundredths) == 0) GetGifFrameDelays(NativeImageID_, hundredths);
    FrameDelays_.assign(static_cast<size_t>(s_.PageCount), 100);
    for (size_t i = 0; i < hundredths.size() && i < FrameDelays_.size(); ++i)
        if (hundredths[i] > 0) FrameDelays_[i] = hundredths[i] * 10;
}

int32_t ViewerControl::PlayGif() {
    if (LastStatus_ == 0 && !Animating_ && GifAnimatable_) {
        s_.AnimateGIF = true;
        Animating_ = true;
        KillAnimationTimer();
        AnimationFrame_ = 1;
        ShowNextAnimationFrame();
        SetItemMenuEnabled(kStopGif, true);
        SetItemMenuEnabled(kPlayGif, false);
    }
    return LastStatus_;
}

void ViewerControl::StopGif() {
    KillAnimationTimer();
    SetItemMenuEnabled(kStopGif, false);
    SetItemMenuEnabled(kPlayGif, GifAnimatable_);
    Animating_ = false;
    s_.AnimateGIF = false;
}

void ViewerControl::setAnimateGIF(bool value) {
    if (!value) {
        StopGif();
    } else {
        s_.AnimateGIF = true;
        PlayGif();
    }
    changed_("AnimateGIF");
}

void ViewerControl::ShowNextAnimationFrame() {
    if (!Animating_) return;
    if (FastCopyID_ != 0) {
        ReleaseFastCopy();
        UpdateLayout(NativeImageID_);
    }
    DisplayFrame(AnimationFrame_);
    const size_t index = static_cast<size_t>(AnimationFrame_ - 1);
    StartAnimationTimer(index < FrameDelays_.size() ? FrameDelays_[index] : 100);
    AnimationFrame_ = AnimationFrame_ + 1 > s_.PageCount ? 1 : AnimationFrame_ + 1;
}

void ViewerControl::StartAnimationTimer(int32_t delay) {
    if (!site_) return;
    // Arming again replaces a pending tick: at most one per control.
    site_->KillTimer(kAnimationTimerId);
    site_->SetTimer(kAnimationTimerId, static_cast<uint32_t>(delay));
    AnimationTimerID_ = kAnimationTimerId;
}

void ViewerControl::KillAnimationTimer() {
    if (AnimationTimerID_ == 0) return;
    if (site_) site_->KillTimer(AnimationTimerID_);
    AnimationTimerID_ = 0;
}

// The host's timers repeat: each tick kills this one before showing the
// frame and arms it again with the new frame's delay.
void ViewerControl::AnimationTimerFired() {
    KillAnimationTimer();
    ShowNextAnimationFrame();
}

int32_t ViewerControl::ExifTagCount() {
    if (NativeImageID_ == 0) return 0;
    int32_t count = 0;
    LastStatus_ = GetImagePropertyCount(NativeImageID_, count);
    return LastStatus_ == 0 ? count : 0;
}

std::string ViewerControl::ExifTagGetName(int32_t n) {
    if (NativeImageID_ == 0) return {};
    const int32_t count = ExifTagCount();
    if (n < 1 || n > count) return {};
    auto item = PropertyItemAt(NativeImageID_, n, count);
    return item ? item->name() : std::string();
}

std::string ViewerControl::ExifTagGetValue(int32_t n) {
    std::string text;
    if (NativeImageID_ == 0) return text;
    ExifTagValueText(NativeImageID_, n, text);
    return text;
}

int32_t ViewerControl::ExifTagGetID(int32_t n) {
    if (NativeImageID_ == 0) return 0;
    const int32_t count = ExifTagCount();
    if (n < 1 || n > count) return 0;
    auto item = PropertyItemAt(NativeImageID_, n, count);
    return item ? item->ID() : 0;
}

int32_t ViewerControl::IPTCTagCount() {
    int32_t count = 0;
    LastStatus_ = GetIptcTagCount(NativeImageID_, count);
    return LastStatus_ == 0 ? count : 0;
}

int32_t ViewerControl::IPTCTagGetID(int32_t n) {
    int32_t id = 0;
    LastStatus_ = GetIptcTagId(NativeImageID_, n, id);
    return LastStatus_ == 0 ? id : 0;
}

std::string ViewerControl::IPTCTagGetValueString(int32_t n) {
    std::string text;
    LastStatus_ = GetIptcTagValueText(NativeImageID_, n, text);
    return text;
}

}  // namespace scanvelt
