#pragma once
// cPDF, Scanvelt's PDF writer: one object writes one PDF document straight
// into a file in a single forward pass (PDF 1.3, or 1.4 for 128-bit
// encryption and PDF/A-1b), with a classic cross-reference table. The file is
// written under a temporary name and renamed into place when ClosePdfFile
// finishes it; a document that failed on the way (a write refused, too many
// objects) is removed instead and ClosePdfFile reports why.
//
// Text arguments are UTF-8; what reaches the file is single-byte
// Windows-1252 text, except where PDF/A metadata needs UTF-8 or UTF-16.
// Coordinates and sizes are in points from the bottom left of the page.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "imaging/output/pdf_font_metrics.h"
#include "imaging/output/pdf_metadata.h"
#include "imaging/output/pdf_object_writer.h"
#include "imaging/output/pdf_security.h"
#include "imaging/output/stream_compression.h"

namespace scanvelt {

// What a writer takes from its surroundings; tests replace them.
struct PdfWriterServices {
    CompressorKind Compressor = CompressorKind::ZlibLibrary;
    // The current local time with the machine's real offset.
    std::function<PdfTimestamp()> Clock;
    // Uniform numbers in [0, 1) for the file identifiers and XMP UUIDs.
    std::function<double()> Random;
    // Shows a message box (a failed CCITT Group 4 compression); standard error by default.
    std::function<void(const std::string&)> ShowMessage;
};

// One image added to the document.
struct PdfImageInfo {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ResX = 0;
    int32_t ResY = 0;
};

// PdfAddImage's source kinds.
inline constexpr int32_t kPdfImageFromFile = 1;
inline constexpr int32_t kPdfImageFromImageId = 2;

// Painting options of the path members.
inline constexpr int32_t kPaintStroke = 1;
inline constexpr int32_t kPaintClose = 2;
inline constexpr int32_t kPaintFill = 4;

class cPDF {
public:
    explicit cPDF(PdfWriterServices services = {});
    cPDF(const cPDF&) = delete;
    cPDF& operator=(const cPDF&) = delete;
    // A document still open is not finished: its temporary file is removed.
    ~cPDF() = default;

    // Properties.
    bool PdfHeaderDone() const { return headerDone_; }
    void SetXMP(std::string packet) { xmp_ = std::move(packet); }
    void SetPdfA(bool value) { pdfA_ = value; }
    bool PdfA() const { return pdfA_; }
    int32_t CompressLevel() const { return compressLevel_; }
    void SetCompressLevel(int32_t level);
    int32_t JpegQuality() const { return jpegQuality_; }
    void SetJpegQuality(int32_t quality);
    bool CompressData() const { return compressData_; }
    void SetCompressData(bool value) { compressData_ = value; }
    float Margin() const { return margin_; }
    void SetMargin(float value) { margin_ = value; }
    float ImageCount() const { return static_cast<float>(imageCount_); }
    float PaperWidth() const { return paperWidth_; }
    float PaperHeight() const { return paperHeight_; }
    void SetPaperWidth(float value);
    void SetPaperHeight(float value);
    int32_t PaperSize() const { return paperSize_; }
    void SetPaperSize(int32_t code);
    int32_t Orientation() const { return orientation_; }
    void SetOrientation(int32_t value) { orientation_ = value; }
    // Pages begun.
    int16_t Pages() const { return static_cast<int16_t>(pageCounter_); }
    int32_t PdfGetNativePdf() const { return out_.FileNumber(); }
    const std::string& PdfGetPath() const { return path_; }
    // Ok, or the failure that will make ClosePdfFile remove the document.
    MorvalenStatus Status() const { return out_.Status(); }

    // Lifecycle.
    bool NewPdf(const std::string& path, const std::string& title, const std::string& author,
                const std::string& creator, const std::string& keywords, const std::string& subject,
                int32_t encryption, int32_t rights, const std::string& userPassword, const std::string& ownerPassword);
    void InitPdfFile();
    // The new page's number; 0 when the document cannot take another page.
    int16_t BeginPage();
    void EndPage();
    // Finishes the document and renames it into place: Ok, or the failure
    // for which the document was removed. Ok when no document is open.
    MorvalenStatus ClosePdfFile();

    // Text and fonts.
    void SetWordSpacing(float w);
    void SetCharSpacing(float w);
    void SetTextHorizontalScaling(float w);
    void DrawText(float x, float y, const std::string& text, int32_t font, float size, int32_t alignment, float angle);
    void SetTextMode(int16_t mode);
    int32_t LoadFont(const std::string& name, bool bold, bool italic);
    float TextWidth(const std::string& text, int32_t font, float size) const;

    // Drawing.
    void SetColorStroke(int32_t color);
    void SetColorFill(int32_t color);
    void SetDash(float on, float off);
    void SetLineWidth(float w);
    void SetLineCap(int16_t cap);
    void SetLineJoin(int16_t join);
    void MoveTo(float x, float y);
    void LineTo(float x, float y, int32_t options);
    // `radius` is clamped to half the width and height and handed back.
    void Rectangle(float x, float y, float width, float height, int32_t options, float& radius);
    void Curve(float x1, float y1, float x2, float y2, float x3, float y3, int32_t options);
    void DrawCircle(float x, float y, float radius, int32_t options);
    void Arc(float x, float y, float radius, float startAngle, float endAngle, float ratio, bool pie, float rotation,
             int16_t step, int32_t options);

    // Images.
    int32_t PdfAddImage(const std::variant<std::string, int32_t>& source, int32_t kind);
    int32_t ImageWidth(int32_t image) const;
    int32_t ImageHeight(int32_t image) const;
    int32_t ImageResX(int32_t image) const;
    int32_t ImageResY(int32_t image) const;
    void DrawImg(int32_t image, float x, float y, float width, float height);

    // Templates: the drawing between StartObject and EndObject goes into the
    // template's stream.
    void StartObject(const std::string& name, int32_t options);
    void EndObject();
    void DrawObject(const std::string& name);

private:
    struct LoadedFont {
        PdfFontMetrics Metrics;
        int32_t DictionaryNumber = 0;
        // Drawn in a visible rendering mode (not 3) somewhere in the document.
        bool DrawnVisibly = false;
    };
    struct PdfTemplate {
        std::string Name;
        int32_t Options = 0;
    };
    enum class ImageEncoding { Raw = 0, Flate = 1, CcittG4 = 2, Dct = 3 };

    void ResetDocument();
    void AddContent(std::string_view text);
    // Where drawing goes: the open template, else the open page (begun when none is).
    bool BeginDrawing();
    void AddPaintOperator(int32_t options);
    std::string EncodeStringForObject(const std::string& bytes, int32_t objectNumber) const;
    std::string InfoString(const std::string& utf8) const;
    std::string ColorOperands(int32_t color) const;
    void WriteFontDescriptor(const LoadedFont& font, int32_t fontFileNumber);
    int32_t WriteFontProgram(const LoadedFont& font);
    void WriteDeferredFontDescriptors();
    // A content stream's bytes as object `objectNumber` stores them: Flate
    // data when compression is on and works (`compressed` says so), then
    // encrypted when the document is.
    std::vector<uint8_t> StoredContent(const std::string& content, int32_t objectNumber, bool& compressed) const;
    void WriteImageXObject(const std::string& name, std::vector<uint8_t> samples, const std::vector<uint8_t>& palette,
                           int32_t width, int32_t height, int32_t depth, int32_t stride, ImageEncoding encoding,
                           bool blackThenWhite, bool whiteThenBlack);
    void DrawTemplatesForPage(int32_t page);

    PdfWriterServices services_;
    PdfObjectWriter out_;

    // Properties.
    bool headerDone_ = false;
    bool compressData_ = true;
    bool pdfA_ = false;
    int32_t orientation_ = 0;
    int32_t paperSize_ = 0;
    float paperWidth_ = 595.2f;
    float paperHeight_ = 842.0f;
    float margin_ = 0;
    int32_t compressLevel_ = 9;
    int32_t jpegQuality_ = 75;
    std::string xmp_;

    // The document.
    std::string path_;
    std::string title_, author_, subject_, keywords_, creator_;  // UTF-8
    std::string fileId1_, fileId2_;
    int32_t encryption_ = kPdfEncryptionNone;
    int32_t rights_ = -1;
    std::string ownerPassword_, userPassword_;
    PdfSecurity security_;
    int32_t encryptNumber_ = 0;

    // Pages.
    int32_t pageCounter_ = 0;
    bool pageOpen_ = false;
    float pageWidth_ = 0, pageHeight_ = 0, pageMargin_ = 0;
    float charSpacing_ = 0, wordSpacing_ = 0, horizontalScaling_ = 100;
    int16_t textMode_ = 0;
    std::string pageReferences_;
    std::string content_;

    // Resources.
    std::vector<LoadedFont> fonts_;
    std::string fontResources_;
    std::vector<PdfImageInfo> images_;
    int32_t imageCount_ = 0;
    std::string imageResources_;
    std::vector<PdfTemplate> templates_;
    std::string templateResources_;
    bool templateOpen_ = false;
    std::string templateName_;
    std::string templateContent_;
};

}  // namespace scanvelt
