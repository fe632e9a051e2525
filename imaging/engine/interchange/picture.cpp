#include "imaging/engine/image_table.h"
#include "imaging/engine/interchange/interchange.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {

MorvalenStatus ImageToPicture(int32_t imageId, win::HPICTURE& picture) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    win::HBITMAP bitmap{};
    if (const MorvalenStatus status = ImageToHBitmap(imageId, bitmap, 0); status != OK) return status;
    win::PictureDescription description;
    description.type = win::PictureType::Bitmap;
    description.handle = win::handleValue(bitmap);
    win::HPICTURE made{};
    // The picture owns the bitmap from here: its last release deletes it.
    if (win::OleCreatePictureIndirect(description, true, made) != win::S_OK || made == win::HPICTURE{}) {
        win::DeleteObject(bitmap);
        return GenericError;
    }
    picture = made;
    return OK;
}

win::HPICTURE PictureOf(int32_t imageId) {
    win::HPICTURE picture{};
    return ImageToPicture(imageId, picture) == OK ? picture : win::HPICTURE{};
}

}  // namespace scanvelt
