#include "imaging/twain/pdf_ocr_members.h"

#include "imaging/engine/image_queries.h"
#include "imaging/engine/ocr_plugin.h"
#include "imaging/output/pdf_ocr_layer.h"
#include "imaging/twain/pdf_sessions.h"
#include "imaging/twain/twain_control.h"

namespace scanvelt {
namespace {

constexpr const char* kLayerFontName = "Courier New";
constexpr int16_t kInvisibleText = 3;

}  // namespace

std::string SaveAsPDFOCREx(TwainControl& control, const OcrRequest& ocr, const PdfDocumentRequest& request) {
    const int32_t image = control.currentImage();
    if (image == 0) {
        control.setLastStatus(InvalidParameter);
        return {};
    }
    control.setLastStatus(OK);
    int32_t width = 0, height = 0;
    float dpiX = 0, dpiY = 0;
    GetImageWidth(image, width);
    GetImageHeight(image, height);
    GetImageHorizontalResolution(image, dpiX);
    GetImageVerticalResolution(image, dpiY);
    // An image without a resolution has no page size.
    if (!(dpiX > 0) || !(dpiY > 0)) {
        control.setLastStatus(PdfErrorAddingImage);
        return {};
    }
    const auto pageWidth = static_cast<float>(width / static_cast<double>(dpiX) * 72);
    const auto pageHeight = static_cast<float>(height / static_cast<double>(dpiY) * 72);

    std::unique_ptr<cPDF> writer = MakeControlWriter(control, true);
    if (const MorvalenStatus opened = OpenControlDocument(*writer, request); opened != OK) {
        control.setLastStatus(opened);
        return {};
    }
    writer->SetPaperHeight(pageHeight);
    writer->SetPaperWidth(pageWidth);
    writer->LoadFont(kLayerFontName, false, false);
    if (writer->PdfAddImage(image, kPdfImageFromImageId) < 1) {
        // The unfinished writer takes its temporary file with it.
        control.setLastStatus(PdfErrorAddingImage);
        return {};
    }
    std::vector<OcrChar> chars;
    const MorvalenStatus recognised =
        OcrImage(image, 0, 0, width, height, ocr.Dictionary, ocr.DictionaryPath, ocr.WhiteList, chars);
    control.setLastStatus(recognised);

    writer->BeginPage();
    writer->SetTextMode(kInvisibleText);
    writer->DrawImg(1, 0, 0, pageWidth, pageHeight);
    std::string text = DrawOcrTextToPdf(chars, static_cast<int32_t>(chars.size()), *writer, 1);
    writer->EndPage();
    const MorvalenStatus closed = writer->ClosePdfFile();
    if (closed != OK) {
        control.setLastStatus(closed);
        return {};
    }
    return text;
}

std::string SaveAsPDFOCR(TwainControl& control, const std::string& filePath, const OcrRequest& ocr,
                         const std::string& title, const std::string& creator, const std::string& author,
                         const std::string& /*producer*/) {
    return SaveAsPDFOCREx(control, ocr, ShortFormRequest(filePath, title, creator, author));
}

MorvalenStatus TwainPdfOCRStartEx(TwainControl& control, const PdfDocumentRequest& request) {
    PdfSessions& sessions = control.pdfSessions();
    PdfSession& session = sessions.Ocr;
    if (session.IsOpen()) FinishPdfSession(session, control.GetStat(), OcrPageOverlay(sessions));
    session = {};
    sessions.OcrPages.clear();
    session.Writer = MakeControlWriter(control, true);
    const MorvalenStatus status = OpenControlDocument(*session.Writer, request);
    control.setLastStatus(status);
    if (status == OK) {
        session.OpenMarker = session.Writer->PdfGetNativePdf();
        session.Writer->LoadFont(kLayerFontName, false, false);
    } else {
        session = {};
    }
    return status;
}

MorvalenStatus TwainPdfOCRStart(TwainControl& control, const std::string& filePath, const std::string& title,
                                const std::string& creator, const std::string& author,
                                const std::string& /*producer*/) {
    return TwainPdfOCRStartEx(control, ShortFormRequest(filePath, title, creator, author));
}

std::string TwainAddMorvalenImageToPdfOCR(TwainControl& control, int32_t imageId, const OcrRequest& ocr) {
    if (imageId == 0) {
        control.setLastStatus(InvalidParameter);
        return {};
    }
    PdfSessions& sessions = control.pdfSessions();
    PdfSession& session = sessions.Ocr;
    if (!session.IsOpen()) {
        control.setLastStatus(TwainPdfMustBeCreatedFirst);
        return {};
    }
    cPDF& writer = *session.Writer;
    const int32_t image = writer.PdfAddImage(imageId, kPdfImageFromImageId);
    if (const MorvalenStatus failure = AcceptPdfPage(session, image); failure != OK) {
        control.setLastStatus(failure);
        return {};
    }
    sessions.OcrPages.resize(static_cast<size_t>(writer.ImageCount()));
    std::vector<OcrChar>& chars = sessions.OcrPages[static_cast<size_t>(image) - 1];
    const MorvalenStatus recognised = OcrImage(imageId, 0, 0, writer.ImageWidth(image), writer.ImageHeight(image),
                                               ocr.Dictionary, ocr.DictionaryPath, ocr.WhiteList, chars);
    control.setLastStatus(recognised);
    if (recognised != OK) chars.clear();
    return OcrCharsToText(chars, static_cast<int32_t>(chars.size()));
}

MorvalenStatus TwainPdfOCRStop(TwainControl& control) {
    PdfSessions& sessions = control.pdfSessions();
    PdfSession& session = sessions.Ocr;
    if (!session.IsOpen()) {
        sessions.OcrPages.clear();
        control.setLastStatus(TwainPdfMustBeCreatedFirst);
        return TwainPdfMustBeCreatedFirst;
    }
    const MorvalenStatus status = FinishPdfSession(session, control.GetStat(), OcrPageOverlay(sessions));
    sessions.OcrPages.clear();
    control.setLastStatus(status);
    return status;
}

}  // namespace scanvelt
