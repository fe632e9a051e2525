// Documents coming into the viewer and going out again: the loaders, the
// host's images, closing, and the analysis every load ends with.
//
// Who releases what: an image the viewer loaded itself is its own until the
// host asks for its ID; it goes when another document comes, when it is
// closed and when the viewer is torn down. An image a host lent through
// SetNativeImage is released only by CloseImage or CloseImageEx. The drawing
// copy and the temporary files are always the viewer's own.
#include <cctype>
#include <filesystem>
#include <system_error>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/temp_files.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/win/global_memory.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

void ViewerControl::prelude() {
    ClosePdfDocument();
    ResetDocument(false, false);
}

int32_t ViewerControl::epilogue() {
    imageOwned_ = true;
    CurrentDocumentType_ = 1;
    s_.CurrentPage = 1;
    AnalyzeLoadedImage();
    UpdateLayout(0);
    return LastStatus_;
}

int32_t ViewerControl::DisplayFromSource(const std::function<int32_t(int32_t& id)>& load) {
    prelude();
    int32_t id = 0;
    LastStatus_ = load(id);
    if (LastStatus_ != 0) return LastStatus_;
    NativeImageID_ = id;
    return epilogue();
}

std::string ViewerControl::copyToFreshTempFile(const std::string& path) {
    // A fresh name of our own for every copy: never a name another viewer or
    // program may be using.
    std::string copy = NewTempFileName();
    if (copy.empty()) return copy;
    std::error_code error;
    if (std::filesystem::copy_file(win::ResolveWindowsPath(path), win::ResolveWindowsPath(copy),
                                   std::filesystem::copy_options::overwrite_existing, error) &&
        !error)
        return copy;
    DeleteFileQuietly(copy);
    return {};
}

namespace {

// A name whose last three characters read "PDF" in any case goes straight to
// the PDF path; names of three characters or fewer never do.
bool namesPdf(std::string_view path) {
    path = TrimSpaces(path);
    if (path.size() <= 3) return false;
    std::string last(path.substr(path.size() - 3));
    for (char& c : last) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return last == "PDF";
}

// The statuses of an image load after which the file may still be a PDF:
// with colour management or without, a PDF under another name is refused as
// the unknown format, or as aborted when no codec plug-in is there to try it.
bool mayBePdf(int32_t status) {
    return status == UnknownImageFormat || status == OutOfMemory || status == Aborted;
}

}  // namespace

int32_t ViewerControl::displayFromFileOnce(std::string path, bool useIcm) {
    if (TrimSpaces(path).empty()) path = ShowOpenFileDialog(static_cast<uint32_t>(windowNumber_));
    path = NormalizePath(path);
    if (namesPdf(path)) return LastStatus_ = DisplayFromPdfFile(path, {});
    const std::string named = path;
    bool forcedCopy = false;
    if (s_.ImageForceTemporaryMode && !ExistingFilePath(path).empty()) {
        std::string copy = copyToFreshTempFile(path);
        if (!copy.empty()) {
            TempImageFile_ = copy;
            TempImageOwned_ = true;
            forcedCopy = true;
            path = copy;
        }
    }
    int32_t id = 0;
    LastStatus_ = LoadImageFromFile(id, path, useIcm, false, true, 0, true, true);
    if (LastStatus_ == 0) {
        NativeImageID_ = id;
        return epilogue();
    }
    // A copy made for a load that failed is not left behind; the PDF attempt
    // reads the file the host named.
    if (forcedCopy) deleteTempFile();
    if (!mayBePdf(LastStatus_)) return LastStatus_;
    // Not an image the engine reads: perhaps a PDF under another name. The
    // attempt is silent, and any failure of it reads as the unknown format.
    const bool silent = s_.SilentMode;
    s_.SilentMode = true;
    const int32_t status = DisplayFromPdfFile(named, {});
    s_.SilentMode = silent;
    return LastStatus_ = status == 0 ? 0 : UnknownImageFormat;
}

int32_t ViewerControl::DisplayFromFile(const std::string& path, bool useIcm) {
    prelude();
    return displayFromFileOnce(path, useIcm);
}

void ViewerControl::adoptTempFileOfPdf(const std::string& name) {
    if (TempPdfOwned_) {
        // The plug-in reads a forced copy of its own: the file it was made from goes.
        DeleteFileQuietly(name);
        return;
    }
    TempPdfFile_ = name;
    TempPdfOwned_ = true;
}

int32_t ViewerControl::DisplayFromByteArray(const std::vector<uint8_t>& bytes, bool useIcm) {
    std::string name = NewTempFileName();
    if (name.empty()) return LastStatus_ = Win32Error;
    std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (files::writeFileAtomically(win::ResolveWindowsPath(name), content, 0600)) {
        DeleteFileQuietly(name);
        return LastStatus_ = Win32Error;
    }
    int32_t status = DisplayFromFile(name, useIcm);
    LastStatus_ = status;
    if (status != 0) {
        DeleteFileQuietly(name);
    } else if (CurrentDocumentType_ == 1) {
        deleteTempFile();  // a forced copy of the temporary file itself
        TempImageFile_ = name;
        TempImageOwned_ = true;
    } else if (CurrentDocumentType_ == 2) {
        // The plug-in keeps reading the file while the document is open.
        adoptTempFileOfPdf(name);
    } else {
        DeleteFileQuietly(name);
    }
    return LastStatus_;
}

int32_t ViewerControl::DisplayFromMemory(uint32_t block, int32_t length) {
    // The 32-bit value names a global memory block the host allocated: an
    // address could not travel in 32 bits, and a value that names no block,
    // or a length beyond the block, is refused before any byte is read.
    std::vector<uint8_t> bytes;
    if (length < 1 || !win::CopyGlobalBytes(win::HGLOBAL{block}, static_cast<size_t>(length), bytes))
        return LastStatus_ = InvalidParameter;
    return LastStatus_ = DisplayFromByteArray(bytes, false);
}

int32_t ViewerControl::DisplayFromString(std::u16string_view text) {
    if (text.empty()) return LastStatus_ = 1;
    std::string bytes = win::Utf8ToAnsi(win::Utf16ToUtf8(text));
    if (bytes.size() < 2) return LastStatus_ = 21;
    return DisplayFromByteArray(std::vector<uint8_t>(bytes.begin(), bytes.end()), false);
}

int32_t ViewerControl::SetNativeImage(int32_t imageId) {
    if (CurrentDocumentType_ == 2 && imageId != 0 && imageId == NativeImageID_) {
        // The open PDF's page named again: the PDF stays open on that page,
        // and the page is only analysed and drawn again.
        LastStatus_ = 0;
        AnalyzeLoadedImage();
        UpdateLayout(0);
        return LastStatus_;
    }
    ClosePdfDocument();
    bool sameAgain = imageId != 0 && imageId == NativeImageID_;
    if (sameAgain) {
        // The host names the image shown: it holds that ID from now on, so
        // the reset below must neither release it nor leave its ID dangling.
        imageOwned_ = false;
        int32_t keep = NativeImageID_;
        int32_t page = s_.CurrentPage;
        NativeImageID_ = 0;
        ResetDocument(false, false);
        NativeImageID_ = keep;
        s_.CurrentPage = page;
        CurrentDocumentType_ = 1;
    } else {
        ResetDocument(false, false);
        CurrentDocumentType_ = 1;
    }
    if (imageId == 0) return LastStatus_ = InvalidParameter;
    LastStatus_ = 0;
    NativeImageID_ = imageId;
    imageOwned_ = false;
    if (!sameAgain) {
        if (IsMultiPageTiff(imageId))
            s_.CurrentPage = GetCurrentTiffPage(imageId) + 1;
        else if (IsMultiFrameGif(imageId))
            s_.CurrentPage = GetCurrentGifFrame(imageId) + 1;
        else
            s_.CurrentPage = 1;
    }
    AnalyzeLoadedImage();
    UpdateLayout(0);
    return LastStatus_;
}

void ViewerControl::ImageClosed() { ResetDocument(false, true); }

void ViewerControl::CloseImage() {
    CloseImageEx();
    clearSurface();
}

void ViewerControl::CloseImageEx() {
    ReleaseNativeImage();
    ClosePdfDocument();
    ResetDocument(false, false);
}

int32_t ViewerControl::GetNativeImage() {
    imageOwned_ = false;
    return NativeImageID_;
}

std::string ViewerControl::GetImageFormat() const { return FormatNameOf(NativeImageID_); }

void ViewerControl::ResetDocument(bool keepPageCount, bool keepGeometry) {
    if (!keepGeometry) {
        s_.ImageWidth = s_.ImageHeight = 0;
        s_.HorizontalResolution = s_.VerticalResolution = 0;
        PixelAspect_ = 1.0;
        ImageLeft_ = ImageTop_ = DisplayWidth_ = DisplayHeight_ = 0;
        SourceLeft_ = SourceTop_ = SourceWidth_ = SourceHeight_ = 0;
    }
    if (!keepPageCount) s_.PageCount = 0;
    s_.CurrentPage = 0;
    if (Animating_) StopGif();
    KillAnimationTimer();
    GifAnimatable_ = false;
    FrameDelays_.clear();
    LastStatus_ = 0;
    CurrentDocumentType_ = 0;
    if (!s_.KeepImagePosition) {
        for (ScrollBar* bar : {&hScroll_, &vScroll_}) {
            if (bar->value != 0) bar->value = 0;
            if (bar->max != 0) bar->max = 0;
        }
    }
    hScroll_.enabled = hScroll_.max > 0;
    vScroll_.enabled = vScroll_.max > 0;
    hScroll_.visible = vScroll_.visible = s_.ForceScrollBars;
    cornerVisible_ = false;
    if (!CustomPointer_ && site_) site_->SetCursor(0, nullptr);
    MaxZoom_ = 1.0;
    RealignH_ = RealignV_ = true;
    LastDrawFailed_ = false;
    updateFrameMenu();
    if (imageOwned_) {
        // Nobody else knows this ID: it goes with the document.
        ReleaseNativeImage();
    } else {
        deleteTempFile();
    }
    ReleaseFastCopy();
    NativeImageID_ = 0;
    imageOwned_ = false;
    ClearRect();
}

int32_t ViewerControl::ReleaseNativeImage() {
    if (NativeImageID_ != 0) {
        LastStatus_ = ReleaseImage(NativeImageID_);
        deleteTempFile();
    }
    NativeImageID_ = 0;
    imageOwned_ = false;
    ReleaseFastCopy();
    return LastStatus_;
}

void ViewerControl::ReleaseFastCopy() {
    releaseScaledCopy();
    if (FastCopyID_ != 0) ReleaseImage(FastCopyID_);
    FastCopyID_ = 0;
    FastCopyPage_ = 0;
}

void ViewerControl::AnalyzeLoadedImage(int32_t imageId) {
    int32_t image = imageId != 0 ? imageId : NativeImageID_;
    if (CurrentDocumentType_ == 1) {
        std::string format = FormatNameOf(NativeImageID_);
        int32_t count = 1;
        if (format == "GIF") {
            if (GetGifFrameCount(NativeImageID_, count) != 0) count = 1;
        } else if (format == "TIFF") {
            if (GetTiffPageCount(NativeImageID_, count) != 0) count = 1;
        }
        s_.PageCount = count;
        analyzeAnimation();
    }
    updateFrameMenu();
    if (image == 0) return;
    if ((LastStatus_ = GetImageHeight(image, s_.ImageHeight)) != 0) {
        message("Invalid image: Can not get picture height.");
        return;
    }
    if ((LastStatus_ = GetImageWidth(image, s_.ImageWidth)) != 0) {
        message("Invalid image: Can not get picture width");
        return;
    }
    LastStatus_ = GetImageHorizontalResolution(image, s_.HorizontalResolution);
    if (LastStatus_ != 0 && s_.HorizontalResolution != 0) {
        message("Invalid image: Can not get picture horizontal resolution");
        return;
    }
    LastStatus_ = GetImageVerticalResolution(image, s_.VerticalResolution);
    if (LastStatus_ != 0 || s_.VerticalResolution == 0)
        message("Invalid image: Can not get picture vertical resolution");
    if (LastStatus_ != 0) return;
    // Either resolution 0 leaves square pixels: never a zero aspect that
    // later divides a height.
    if (s_.HorizontalResolution == 0 || s_.VerticalResolution == 0 || s_.SkipImageResolution)
        PixelAspect_ = 1.0;
    else
        PixelAspect_ = static_cast<double>(s_.VerticalResolution) / s_.HorizontalResolution;
    s_.ImageWidth = std::max(s_.ImageWidth, 1);
    s_.ImageHeight = std::max(s_.ImageHeight, 1);
    ComputeClientArea();
    if (GifAnimatable_ && s_.AnimateGIF && !Animating_) PlayGif();
}

void ViewerControl::FilesDropped(const std::vector<std::string>& paths) {
    if (!s_.ViewerDrop) return;
    std::vector<std::string> kept;
    for (const auto& path : paths)
        if (!ExistingFilePath(path).empty()) kept.push_back(path);
    if (kept.empty()) return;
    std::vector<com::VARIANT> first{com::MakeBstrUtf8(kept.front())};
    raise_(kEventFileDrop, first);
    com::SAFEARRAY* array = com::SafeArrayCreateVector(com::VT_BSTR, 0, static_cast<uint32_t>(kept.size()));
    void* data = nullptr;
    if (!array || com::FAILED(com::SafeArrayAccessData(array, &data))) {
        if (array) com::SafeArrayDestroy(array);
        return;
    }
    for (size_t i = 0; i < kept.size(); ++i) static_cast<com::BSTR*>(data)[i] = com::AllocBstrUtf8(kept[i]);
    com::SafeArrayUnaccessData(array);
    com::VARIANT list;
    com::VariantInit(&list);
    list.vt = com::VT_ARRAY | com::VT_BSTR;
    list.parray = array;
    std::vector<com::VARIANT> all{list, com::MakeI4(static_cast<int32_t>(kept.size()))};
    raise_(kEventFilesDrop, all);
}

}  // namespace scanvelt
