#include "imaging/twain/file_output_members.h"

#include <filesystem>
#include <functional>
#include <system_error>

#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/writers/gif89a_writer.h"
#include "imaging/twain/resize_core.h"
#include "imaging/twain/twain_control.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/win/windows_path.h"

namespace scanvelt {
namespace {

MorvalenStatus Store(TwainControl& control, MorvalenStatus status) {
    control.setLastStatus(status);
    return status;
}

// The encoder writes under a temporary name beside the target; only a file
// it reported written and that holds bytes is renamed into place.
MorvalenStatus SaveCurrent(TwainControl& control, const std::string& path,
                           const std::function<MorvalenStatus(int32_t, const std::string&)>& save) {
    if (control.currentImage() == 0) return Store(control, GenericError);
    const std::filesystem::path target = win::ResolveWindowsPath(path);
    files::AtomicFileWriter file;
    if (file.open(target)) return Store(control, Win32Error);
    MorvalenStatus status = save(control.currentImage(), file.temporaryPath().string());
    if (status != OK) return Store(control, status);
    if (file.commitWrittenByName()) return Store(control, Win32Error);
    std::error_code error;
    if (!std::filesystem::is_regular_file(target, error)) return Store(control, Win32Error);
    return Store(control, OK);
}

}  // namespace

MorvalenStatus SaveAsJPEG(TwainControl& control, const std::string& path, int32_t quality) {
    return SaveCurrent(control, path, [quality](int32_t id, const std::string& file) {
        return SaveImageAsJpeg(id, file, quality, false);
    });
}

MorvalenStatus SaveAsPNG(TwainControl& control, const std::string& path) {
    return SaveCurrent(control, path, SaveImageAsPng);
}

MorvalenStatus SaveAsGIF(TwainControl& control, const std::string& path) {
    return SaveCurrent(control, path, SaveImageAsGif);
}

MorvalenStatus SaveAsGIFi(TwainControl& control, const std::string& path) {
    return SaveCurrent(control, path, SaveImageAsGif89a);
}

MorvalenStatus TiffSaveAsNativeMultiPage(TwainControl& control, const std::string& path, int32_t compression) {
    if (control.currentImage() == 0) return Store(control, GenericError);
    MorvalenStatus status = TiffMultiPageStart(control.currentImage(), path, compression);
    if (status == OK) control.setOpenMultiPageTiff(control.currentImage());
    return Store(control, status);
}

MorvalenStatus TiffAddToNativeMultiPage(TwainControl& control, int32_t imageId) {
    if (control.openMultiPageTiff() == 0) return Store(control, GenericError);
    return Store(control, TiffMultiPageAdd(control.openMultiPageTiff(), imageId));
}

MorvalenStatus TiffCloseNativeMultiPage(TwainControl& control) {
    const int32_t first = control.openMultiPageTiff();
    if (first == 0) return control.GetStat();
    // The file is written first, so that its failure is the answer, not lost
    // in the release.
    const MorvalenStatus written = TiffMultiPageFinish(first);
    const MorvalenStatus released = ReleaseImage(first);
    // The control still names the released image; members on it answer 2.
    control.setOpenMultiPageTiff(0);
    return Store(control, written != OK ? written : released);
}

MorvalenStatus Rotate(TwainControl& control, int32_t rotation) {
    return Store(control, RotateFlipImage(control.currentImage(), rotation, false));
}

MorvalenStatus ResizeImage(TwainControl& control, int32_t width, int32_t height, int32_t interpolationMode) {
    int32_t resized = 0;
    MorvalenStatus status =
        ResizeCore(control, control.currentImage(), resized, width, height, interpolationMode, 0, true);
    if (status != OK) return control.GetStat();
    if (ReplaceImageBitmap(control.currentImage(), resized) == 0) {
        // The current image and its ID stay as they were.
        ReleaseImage(resized);
        return Store(control, GenericError);
    }
    return control.GetStat();
}

MorvalenStatus CloseImage(TwainControl& control, int32_t imageId) {
    if (imageId == 0) return Store(control, InvalidParameter);
    if (imageId == control.openMultiPageTiff()) return Store(control, Aborted);
    MorvalenStatus status = ReleaseImage(imageId);
    if (status == OK && imageId == control.currentImage()) control.setCurrentImage(0);
    return Store(control, status);
}

MorvalenStatus CloseNativeImage(TwainControl& control) {
    if (control.currentImage() == 0) return control.GetStat();
    if (control.currentImage() == control.openMultiPageTiff()) return Store(control, Aborted);
    return CloseImage(control, control.currentImage());
}

}  // namespace scanvelt
