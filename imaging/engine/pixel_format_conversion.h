#pragma once
// Converting an image into another pixel format, and private copies of an
// image in a buffer of its own. The new image always owns its pixel buffer
// (kind 9) and gets the image's resolution and property items.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Converts the image into `pixelFormat`. With toNewId the copy comes back
// under a new ID and the image is untouched; without it the copy takes the
// image's place under its own ID (ReplaceImageBitmap). An indexed copy of an
// indexed image keeps the image's colours.
// InvalidParameter for an unregistered ID or a format no bitmap can hold;
// GenericError for an image without width or height, a size past 32 bits,
// or a copy that cannot take the image's place; OutOfMemory when there is no
// memory for the pixels. On failure the image is unchanged and no new ID is
// left behind.
MorvalenStatus ConvertPixelFormat(int32_t imageId, int32_t pixelFormat, bool toNewId, int32_t& newId);
// A new image in the image's own format and palette, in a buffer it owns.
MorvalenStatus CopyImageToOwnBuffer(int32_t imageId, int32_t& newId);
// ConvertPixelFormat into 32bppARGB in place, under the same ID.
MorvalenStatus ConvertToArgbInPlace(int32_t imageId);

}  // namespace scanvelt
