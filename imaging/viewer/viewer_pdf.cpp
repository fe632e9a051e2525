// PDF documents in the viewer: the document stays open in the PDF plug-in
// while one page at a time is rasterised into an image of the engine.
#include <cmath>
#include <exception>
#include <stdexcept>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/temp_files.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/bstr.h"
#include "platform/com/variant.h"
#include "platform/forms/ui.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

namespace {

constexpr com::DISPID kEventPdfPasswordRequest = 25;

std::string copyText(const char16_t* text) { return text ? win::Utf16ToUtf8(text) : std::string(); }

// The password box; a host without a user-interface service cannot answer
// it, which reads as a cancelled box: the empty password.
std::string askPassword() {
    try {
        return forms::ui().inputBox("Password: ", "PDF password", "");
    } catch (const std::logic_error&) {
        return {};
    }
}

}  // namespace

int32_t ViewerControl::DisplayFromPdfFile(const std::string& pdfPath, const std::string& password) {
    if (CurrentDocumentType_ == 2) {
        ReleaseNativeImage();
        ClosePdfDocument();
    }
    prelude();
    std::string path = NormalizePath(pdfPath);
    if (ExistingFilePath(path).empty()) {
        message("File not found: " + std::string(TrimSpaces(path)));
        return LastStatus_ = FileNotFound;
    }
    LastStatus_ = 0;
    LastStatus_ = OpenPdfDocument(path, password);
    if (LastStatus_ != 0) return LastStatus_;
    s_.PageCount = GetPdfPageCount();
    if (s_.PageCount < 1) return LastStatus_ = PdfUnexpectedError;
    s_.CurrentPage = 1;
    RasterizePdfPage(1);
    raise(kEventPageChange);
    return LastStatus_;
}

int32_t ViewerControl::OpenPdfDocument(std::string path, std::string password) {
    password = std::string(TrimSpaces(password));
    try {
        if (s_.PdfForceTemporaryMode) {
            // The host may change or delete its file while the copy is shown.
            std::string copy = copyToFreshTempFile(path);
            if (!copy.empty()) {
                TempPdfFile_ = copy;
                TempPdfOwned_ = true;
                path = copy;
            }
        }
        PdfHandle_ = PdfPluginLoad(win::ResolveWindowsPath(path));
        if (PdfHandle_ == 0) {
            LastStatus_ = PdfCanNotOpenFile;
            message("This PDF seems to be corrupted.");
            // The copy of a file that cannot be opened is not left behind.
            ClosePdfDocument();
            if (TempPdfOwned_) DeleteFileQuietly(TempPdfFile_);
            TempPdfOwned_ = false;
            return LastStatus_;
        }
        const PdfPlugin& plugin = BoundPdfPlugin();
        if (plugin.HasEncryption(PdfHandle_) > 0 && PdfPluginSetPassword(PdfHandle_, password) < 1) {
            if (s_.PDFShowDialogForPassword) {
                password = askPassword();
            } else {
                com::Bstr answer(win::Utf8ToUtf16(password));
                com::VARIANT slot;
                com::VariantInit(&slot);
                slot.vt = com::VT_BSTR | com::VT_BYREF;
                slot.pbstrVal = answer.out();
                *slot.pbstrVal = com::AllocBstr(u"");
                std::vector<com::VARIANT> args{slot};
                raise_(static_cast<com::DISPID>(kEventPdfPasswordRequest), args);
                password = com::BstrToUtf8(answer.get());
            }
            password = std::string(TrimSpaces(password));
            if (PdfPluginSetPassword(PdfHandle_, password) < 1) {
                ClosePdfDocument();
                if (password.empty()) {
                    LastStatus_ = PdfPasswordNeeded;
                    message("Invalid password.");
                } else {
                    LastStatus_ = PdfBadPassword;
                    message("The password supplied is incorrect.");
                }
            }
        }
    } catch (const std::exception&) {
        LastStatus_ = PdfPlugNotLoaded;
    }
    return LastStatus_;
}

int32_t ViewerControl::GetPdfPageCount() {
    if (PdfHandle_ == 0) return 0;
    int32_t count = 0;
    try {
        count = BoundPdfPlugin().PageCount(PdfHandle_);
    } catch (const std::exception&) {
        return 0;
    }
    if (count == 0) message("This PDF file have no page");
    return count;
}

void ViewerControl::RasterizePdfPage(int32_t page) {
    try {
        if (s_.PdfDpiRendering == 0) s_.PdfDpiRendering = 200;
        const int32_t dpi = s_.PdfDpiRendering;
        ReleaseNativeImage();
        ResetDocument(true, false);
        s_.CurrentPage = page;
        const PdfPlugin& plugin = BoundPdfPlugin();
        if (plugin.SelectPage(PdfHandle_, page) != 1) {
            LastStatus_ = PdfRenderingPageError;
            CurrentDocumentType_ = 2;
            return;
        }
        const double width = std::ceil(plugin.PageWidth(PdfHandle_) / 72.0 * dpi);
        const double height = std::ceil(plugin.PageHeight(PdfHandle_) / 72.0 * dpi);
        // A huge or broken page size is refused here, before any raster is
        // allocated for it.
        if (!(width >= 1 && height >= 1) || width * height > static_cast<double>(kMaxPdfPagePixels)) {
            LastStatus_ = PdfRenderingPageError;
            CurrentDocumentType_ = 2;
            message("Error rendering page from the mvpdfplug library.");
            return;
        }
        int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
        const int32_t rotation = std::abs(plugin.PageRotation(PdfHandle_));
        if (rotation == 90 || rotation == 270) std::swap(w, h);
        int32_t id = 0;
        const int32_t status =
            PdfPageToImage(id, PdfHandle_, w, h, page, 1.0f, dpi, s_.SilentMode, s_.PdfDisplayFormField);
        LastStatus_ = status;
        if (status != 0) message("Error rendering page from the mvpdfplug library.");
        if (id != 0) {
            NativeImageID_ = id;
            imageOwned_ = true;  // the page image is the viewer's own
            CurrentDocumentType_ = 2;
            AnalyzeLoadedImage();
            UpdateLayout(0);
        }
        if (status != 0) LastStatus_ = status;
    } catch (const std::exception& error) {
        s_.CurrentPage = page;
        LastStatus_ = PdfUnexpectedError;
        message(std::string("Unexpected error was raised: ") + error.what());
    }
}

bool ViewerControl::ClosePdfDocument() {
    if (PdfHandle_ == 0) return true;
    try {
        BoundPdfPlugin().Close(PdfHandle_);
    } catch (const std::exception&) {
    }
    PdfHandle_ = 0;
    LastDrawnDocument_ = 0;
    if (TempPdfOwned_) {
        DeleteFileQuietly(TempPdfFile_);
        TempPdfOwned_ = false;
    }
    return false;
}

std::string ViewerControl::PdfDescription(int32_t item) const {
    if (PdfHandle_ == 0) return {};
    try {
        return copyText(BoundPdfPlugin().GetDescriptionW(PdfHandle_, item));
    } catch (const std::exception&) {
        return {};
    }
}

std::string ViewerControl::PdfMetadata() const {
    if (PdfHandle_ == 0) return {};
    try {
        return copyText(BoundPdfPlugin().GetMetadataW(PdfHandle_));
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace scanvelt
