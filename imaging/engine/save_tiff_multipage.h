#pragma once
// A multi-page TIFF file written page by page: the first image starts the
// file and keeps it open; every page added is appended; releasing the first
// image's ID completes and closes the file.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// Starts the file with the image as page 1. A bilevel compression (CCITT3,
// CCITT4, RLE) is kept only for a 1-bit image, LZW is used otherwise; the
// compression is remembered with the image for the pages that follow.
// UnknownImageFormat without a TIFF encoder (nothing remembered); Win32Error
// for a path that can hold no file (empty, a folder).
MorvalenStatus TiffMultiPageStart(int32_t imageId, const std::string& path, int32_t compression);
// Appends the page (its current page) to the file the first image started,
// with the compression remembered for the file; a bilevel compression is
// replaced by LZW for a page deeper than 1 bit, so every page can be written.
// WrongState when the first image has no open file; InvalidParameter when
// either ID has no image.
MorvalenStatus TiffMultiPageAdd(int32_t firstImageId, int32_t pageImageId);
// Completes and closes the file the first image started, with the status of
// writing it (the first image stays registered; releasing it afterwards has
// nothing left to write). WrongState when it has no open file.
MorvalenStatus TiffMultiPageFinish(int32_t firstImageId);

}  // namespace scanvelt
