#include "imaging/engine/interchange/interchange.h"
#include "platform/win/clipboard.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {

namespace {

MorvalenStatus StatusOfClipboard(win::ClipboardResult result) {
    switch (result) {
        case win::ClipboardResult::Done: return OK;
        case win::ClipboardResult::NoMemory: return OutOfMemory;
        default: return GenericError;
    }
}

}  // namespace

MorvalenStatus CopyImageToClipboard(int32_t imageId) {
    win::HPICTURE picture{};
    if (const MorvalenStatus status = ImageToPicture(imageId, picture); status != OK) return status;
    win::PictureInfo info;
    MorvalenStatus result = win::GetPictureInfo(picture, info) ? OK : GenericError;
    if (result == OK) result = StatusOfClipboard(win::EmptyClipboard());
    if (result == OK) result = StatusOfClipboard(win::SetClipboardBitmap(win::HBITMAP{info.handle}));
    // The clipboard keeps its own copy; the picture and its bitmap go.
    win::PictureRelease(picture);
    return result;
}

}  // namespace scanvelt
