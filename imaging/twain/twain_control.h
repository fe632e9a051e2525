#pragma once
// The scanning control's frame: the state one instance holds (current image,
// open multi-page TIFF, region of interest, last status, transfer settings,
// the barcode readers and open documents), its life from initialisation to
// termination, and the small members that belong to no member family.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/morvalen_status.h"
#include "imaging/engine/ocr_plugin.h"
#include "imaging/twain/barcode_readers.h"
#include "imaging/twain/open_document.h"

namespace scanvelt {

class PdfSessions;

enum class RoiMode : int32_t { WholeImage = 1, UserRectangle = 2 };

// The characters of the last recognition; only the first Count are read.
struct OcrResult {
    std::vector<OcrChar> Chars;
    int32_t Count = 0;
};

class TwainControl {
public:
    static constexpr double kVersion = 5.9901306;
    static constexpr int32_t kSizeTwips = 420;
    static constexpr float kDefaultBlankConfidence = 99.0f;

    // Initialisation: start values, the image engine started for this
    // instance, the two barcode readers created.
    TwainControl();
    // Termination: finishes an open multi-page TIFF and open documents, then
    // stops the image engine for this instance. Never fails.
    ~TwainControl();
    TwainControl(const TwainControl&) = delete;
    TwainControl& operator=(const TwainControl&) = delete;

    double GetVersion() const { return kVersion; }
    // The last status stored by a member; not stored itself.
    MorvalenStatus GetStat() const { return lastStatus_; }
    void SetROI(int32_t left, int32_t top, int32_t width, int32_t height);
    void ResetROI();
    // Blank-page test of the region of the current image; stores the filter's status.
    bool IsBlank(float confidence = kDefaultBlankConfidence);
    // Texts are UTF-8; each character counts as one byte of Windows-1252.
    std::string Encode64String(std::string_view text) const;
    std::string Decode64String(std::string_view text) const;
    void SetHttpTransfertBufferSize(int32_t size) { httpBufferSize_ = size; }
    void SetFtpPassiveMode(bool passive) { ftpPassive_ = passive; }
    int32_t GetDesktopHwnd() const;
    // The container resized the control: it keeps 420 x 420 twips.
    void Resize(int32_t& widthTwips, int32_t& heightTwips) const;

    // Before each operation on the region: in mode 1 the region becomes the
    // whole current image (its width and height statuses are stored).
    void ResetRoiToImage();
    // After ResetRoiToImage: OK when the region holds pixels; otherwise
    // InvalidParameter, stored (a rectangle of no positive size, given by
    // the host or left by an image that is gone, is never done "with success").
    MorvalenStatus CheckRegionHasPixels();

    // State shared by the member families.
    int32_t currentImage() const { return currentImage_; }
    void setCurrentImage(int32_t id) { currentImage_ = id; }
    void setLastStatus(MorvalenStatus status) { lastStatus_ = status; }
    RoiMode roiMode() const { return roiMode_; }
    const RoiRect& roi() const { return roi_; }
    // The region itself, for the readers that fill in its size.
    RoiRect& roiForUpdate() { return roi_; }
    Barcode1DReader& linearReader() { return *linearReader_; }
    BarcodeDMReader& dataMatrixReader() { return *dataMatrixReader_; }
    int32_t openMultiPageTiff() const { return openMultiPageTiff_; }
    void setOpenMultiPageTiff(int32_t id) { openMultiPageTiff_ = id; }
    // Documents written page by page; finished at termination unless closed before.
    void adoptOpenDocument(std::unique_ptr<OpenDocument> document) { openDocuments_.push_back(std::move(document)); }
    // The scan-to-PDF documents (pdf_sessions.cpp), made on first use and
    // finished at termination with the other open documents.
    PdfSessions& pdfSessions();
    OcrResult& ocrResult() { return ocrResult_; }
    int32_t httpBufferSize() const { return httpBufferSize_; }
    bool ftpPassive() const { return ftpPassive_; }
    int32_t pdfCompressLevel() const { return pdfCompressLevel_; }
    int32_t pdfJpegQuality() const { return pdfJpegQuality_; }
    bool keepPropertyItems() const { return keepPropertyItems_; }
    // The GDI+ unit (UnitMode) of every font the text members make.
    int32_t fontUnit() const { return fontUnit_; }
    void setFontUnit(int32_t unit) { fontUnit_ = unit; }
    std::string& transferFilePath() { return transferFilePath_; }

private:
    int32_t currentImage_ = 0;
    int32_t openMultiPageTiff_ = 0;
    MorvalenStatus lastStatus_ = OK;
    int32_t pdfCompressLevel_ = 9;
    int32_t pdfJpegQuality_ = 75;
    int32_t httpBufferSize_ = 4096;
    bool ftpPassive_ = true;
    bool keepPropertyItems_ = true;
    int32_t fontUnit_ = 3;  // UnitPoint
    std::string transferFilePath_;
    RoiMode roiMode_ = RoiMode::WholeImage;
    RoiRect roi_;
    std::vector<std::unique_ptr<OpenDocument>> openDocuments_;
    PdfSessions* pdfSessions_ = nullptr;  // owned by openDocuments_
    OcrResult ocrResult_;
    std::unique_ptr<Barcode1DReader> linearReader_;
    std::unique_ptr<BarcodeDMReader> dataMatrixReader_;
};

}  // namespace scanvelt
