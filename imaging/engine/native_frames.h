#pragma once
// The frames inside a GDI+ image itself: the pages of a TIFF and the frames of
// a GIF, as a multi-page image is made from them and as a file image whose
// frames stay native is read.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// InvalidParameter for an unregistered ID. Otherwise count := 0 and the
// status of reading the format name; for a "TIFF" image the number of its
// pages.
MorvalenStatus GetNativeTiffPageCount(int32_t imageId, int32_t& count);
// The same for a "GIF" image and its frames.
MorvalenStatus GetNativeGifFrameCount(int32_t imageId, int32_t& count);

}  // namespace scanvelt
