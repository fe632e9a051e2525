#include "imaging/twain/pdf_output_members.h"

#include "imaging/engine/image_queries.h"
#include "imaging/output/pdf_security.h"
#include "imaging/twain/pdf_sessions.h"
#include "imaging/twain/twain_control.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

struct PageSize {
    float Width = 0;
    float Height = 0;
};

// The page of a one-page document: the image at its own resolution, in
// points. False when the image has no usable resolution (or is unknown).
bool OnePageSize(int32_t image, PageSize& page) {
    int32_t width = 0, height = 0;
    float dpiX = 0, dpiY = 0;
    GetImageWidth(image, width);
    GetImageHeight(image, height);
    GetImageHorizontalResolution(image, dpiX);
    GetImageVerticalResolution(image, dpiY);
    if (!(dpiX > 0) || !(dpiY > 0)) return false;
    page.Width = static_cast<float>(width / static_cast<double>(dpiX) * 72);
    page.Height = static_cast<float>(height / static_cast<double>(dpiY) * 72);
    return true;
}

bool SaveOnePage(TwainControl& control, const PdfDocumentRequest& request, bool pdfA) {
    const int32_t image = control.currentImage();
    if (image == 0) return false;
    PageSize page;
    if (!OnePageSize(image, page)) {
        control.setLastStatus(PdfErrorAddingImage);
        return false;
    }
    std::unique_ptr<cPDF> writer = MakeControlWriter(control, pdfA);
    if (const MorvalenStatus opened = OpenControlDocument(*writer, request); opened != OK) {
        control.setLastStatus(opened);
        return false;
    }
    writer->SetPaperHeight(page.Height);
    writer->SetPaperWidth(page.Width);
    if (writer->PdfAddImage(image, kPdfImageFromImageId) < 1) {
        // The writer goes unfinished, and with it its temporary file: a
        // document without its page is not left behind.
        control.setLastStatus(PdfErrorAddingImage);
        return false;
    }
    writer->BeginPage();
    writer->DrawImg(1, 0, 0, page.Width, page.Height);
    writer->EndPage();
    const MorvalenStatus closed = writer->ClosePdfFile();
    if (closed != OK) {
        control.setLastStatus(closed);
        return false;
    }
    return true;
}

}  // namespace

MorvalenStatus OpenControlDocument(cPDF& writer, const PdfDocumentRequest& r) {
    if (r.Encryption != kPdfEncryptionNone && r.Encryption != kPdfEncryption40BitRC4 &&
        r.Encryption != kPdfEncryption128BitRC4)
        return InvalidParameter;
    return writer.NewPdf(r.FilePath, r.Title, r.Author, r.Creator, r.Keywords, r.Subject, r.Encryption, r.Rights,
                         r.UserPassword, r.OwnerPassword)
               ? OK
               : CanNotCreateFile;
}

PdfDocumentRequest ShortFormRequest(const std::string& filePath, const std::string& title, const std::string& creator,
                                    const std::string& author) {
    PdfDocumentRequest request;
    request.FilePath = filePath;
    request.Title = title;
    request.Author = author;
    request.Creator = creator;
    return request;
}

std::unique_ptr<cPDF> MakeControlWriter(const TwainControl& control, bool pdfA) {
    PdfWriterServices services;
    services.ShowMessage = [](const std::string& text) {
        win::ShowMessageBox({0, text, "Scanvelt", win::MB_OK});
    };
    auto writer = std::make_unique<cPDF>(std::move(services));
    writer->SetOrientation(0);
    writer->SetJpegQuality(control.pdfJpegQuality());
    writer->SetCompressLevel(control.pdfCompressLevel());
    if (pdfA) writer->SetPdfA(true);
    return writer;
}

bool SaveAsPDFEx(TwainControl& control, const PdfDocumentRequest& request) {
    return SaveOnePage(control, request, false);
}

bool SaveAsPDFAEx(TwainControl& control, const PdfDocumentRequest& request) {
    PdfDocumentRequest plain = request;
    plain.Encryption = kPdfEncryptionNone;
    plain.Rights = -1;
    plain.UserPassword.clear();
    plain.OwnerPassword.clear();
    return SaveOnePage(control, plain, true);
}

bool SaveAsPDF(TwainControl& control, const std::string& filePath, const std::string& title,
               const std::string& creator, const std::string& author, const std::string& /*producer*/) {
    return SaveAsPDFEx(control, ShortFormRequest(filePath, title, creator, author));
}

bool SaveAsPDFA(TwainControl& control, const std::string& filePath, const std::string& title,
                const std::string& creator, const std::string& author, const std::string& /*producer*/) {
    return SaveAsPDFAEx(control, ShortFormRequest(filePath, title, creator, author));
}

int32_t PdfCreateRights(bool canPrint, bool canModify, bool canCopy, bool canAddNotes, bool canFillFields,
                        bool canCopyAccess, bool canAssemble, bool canPrintFull) {
    int32_t rights = kPdfRightCanView;
    if (canPrint) rights += kPdfRightCanPrint;
    if (canCopy) rights += kPdfRightCanCopy;
    if (canModify) rights += kPdfRightCanModify;
    if (canAddNotes) rights += kPdfRightCanAddNotes;
    if (canFillFields) rights += kPdfRightCanFillFields;
    if (canCopyAccess) rights += kPdfRightCanCopyAccess;
    if (canAssemble) rights += kPdfRightCanAssemble;
    if (canPrintFull) rights += kPdfRightCanPrintFull;
    return rights;
}

MorvalenStatus TwainPdfStartEx(TwainControl& control, const PdfDocumentRequest& request) {
    PdfSession& session = control.pdfSessions().Scan;
    // A document still open is finished, not left behind with an open writer.
    if (session.IsOpen()) FinishPdfSession(session, control.GetStat());
    session = {};
    // The session always asks for PDF/A; the writer gives it up for encryption.
    session.Writer = MakeControlWriter(control, true);
    const MorvalenStatus status = OpenControlDocument(*session.Writer, request);
    control.setLastStatus(status);
    if (status == OK) {
        session.OpenMarker = session.Writer->PdfGetNativePdf();
    } else {
        session = {};
    }
    return status;
}

MorvalenStatus TwainPdfStart(TwainControl& control, const std::string& filePath, const std::string& title,
                             const std::string& creator, const std::string& author, const std::string& /*producer*/) {
    return TwainPdfStartEx(control, ShortFormRequest(filePath, title, creator, author));
}

MorvalenStatus TwainAddMorvalenImageToPdf(TwainControl& control, int32_t imageId) {
    if (imageId == 0) {
        control.setLastStatus(InvalidParameter);
        return InvalidParameter;
    }
    PdfSession& session = control.pdfSessions().Scan;
    if (!session.IsOpen()) {
        control.setLastStatus(TwainPdfMustBeCreatedFirst);
        return TwainPdfMustBeCreatedFirst;
    }
    const int32_t image = session.Writer->PdfAddImage(imageId, kPdfImageFromImageId);
    const MorvalenStatus status = AcceptPdfPage(session, image);
    control.setLastStatus(status);
    return status;
}

MorvalenStatus TwainPdfStop(TwainControl& control) {
    PdfSession& session = control.pdfSessions().Scan;
    if (!session.IsOpen()) {
        control.setLastStatus(TwainPdfMustBeCreatedFirst);
        return TwainPdfMustBeCreatedFirst;
    }
    const MorvalenStatus status = FinishPdfSession(session, control.GetStat());
    control.setLastStatus(status);
    return status;
}

}  // namespace scanvelt
