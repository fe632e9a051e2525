#include "imaging/twain/twain_control.h"

#include "imaging/engine/base64.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "platform/win/desktop_window.h"

namespace scanvelt {

TwainControl::TwainControl() {
    // The engine's own start-up failure message is all the user sees; the
    // control goes on either way.
    StartImaging();
    linearReader_ = std::make_unique<Barcode1DReader>();
    dataMatrixReader_ = std::make_unique<BarcodeDMReader>();
}

TwainControl::~TwainControl() {
    // Finish what is open: releasing the image that began a multi-page TIFF
    // completes that file even while another control keeps the engine running.
    if (openMultiPageTiff_ != 0) {
        ReleaseImage(openMultiPageTiff_);
        if (currentImage_ == openMultiPageTiff_) currentImage_ = 0;
        openMultiPageTiff_ = 0;
    }
    for (auto& document : openDocuments_) document->Finish();
    openDocuments_.clear();
    StopImaging();
}

void TwainControl::SetROI(int32_t left, int32_t top, int32_t width, int32_t height) {
    roiMode_ = RoiMode::UserRectangle;
    roi_ = {left, top, width, height};
}

void TwainControl::ResetROI() {
    roiMode_ = RoiMode::WholeImage;
    roi_ = {};
}

void TwainControl::ResetRoiToImage() {
    if (roiMode_ != RoiMode::WholeImage) return;
    int32_t width = 0, height = 0;
    lastStatus_ = GetImageWidth(currentImage_, width);
    lastStatus_ = GetImageHeight(currentImage_, height);
    roi_ = {0, 0, width, height};
}

MorvalenStatus TwainControl::CheckRegionHasPixels() {
    if (roi_.Width > 0 && roi_.Height > 0) return OK;
    lastStatus_ = InvalidParameter;
    return InvalidParameter;
}

bool TwainControl::IsBlank(float confidence) {
    if (currentImage_ == 0) {
        lastStatus_ = GenericError;
        return false;
    }
    ResetRoiToImage();
    if (CheckRegionHasPixels() != OK) return false;
    double blank = 0.0;
    lastStatus_ = ApplyFilter(kBlankTestCode, currentImage_, 0.0, roi_, 0, 0, 0, confidence, 0, 0, blank);
    return blank == 1.0;
}

std::string TwainControl::Encode64String(std::string_view text) const { return Base64Encode(text); }

std::string TwainControl::Decode64String(std::string_view text) const { return Base64Decode(text); }

int32_t TwainControl::GetDesktopHwnd() const { return static_cast<int32_t>(win::handleValue(win::GetDesktopWindow())); }

void TwainControl::Resize(int32_t& widthTwips, int32_t& heightTwips) const {
    widthTwips = kSizeTwips;
    heightTwips = kSizeTwips;
}

}  // namespace scanvelt
