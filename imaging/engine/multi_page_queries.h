#pragma once
// The page questions the controls ask of multi-page images, and reading the
// frames and animation items of a GDI+ image itself.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// OK with the page count for a multi-frame GIF; UnsupportedImageFormat with
// count 0 for another image, with count untouched for an unregistered ID.
MorvalenStatus GetGifFrameCount(int32_t imageId, int32_t& count);
// The same for a multi-page TIFF.
MorvalenStatus GetTiffPageCount(int32_t imageId, int32_t& count);
bool IsMultiFrameGif(int32_t imageId);
bool IsMultiPageTiff(int32_t imageId);
// True for a multi-frame GIF whose frames are page files (split form).
bool GifFramesSplit(int32_t imageId);
bool TiffPagesSplit(int32_t imageId);
// The current frame of a multi-frame GIF; -1 for another image, 0 for an
// unregistered ID.
int32_t GetCurrentGifFrame(int32_t imageId);
int32_t GetCurrentTiffPage(int32_t imageId);
// InvalidParameter for an unregistered ID. For a multi-frame GIF `delays`
// becomes its frame delays in hundredths of a second; another image leaves
// it alone. OK otherwise.
MorvalenStatus GetGifFrameDelays(int32_t imageId, std::vector<int32_t>& delays);

// The GDI+ image's own frames. InvalidParameter for an unregistered ID;
// otherwise the status of making that frame active.
MorvalenStatus SelectNativeTiffPage(int32_t imageId, int32_t page);
MorvalenStatus SelectNativeGifFrame(int32_t imageId, int32_t frame);
// For a GIF of two or more frames whose frame-delay item holds values: one
// delay per frame (0 past the values the item holds) and the frame count as
// the result; otherwise 0 with `delays` untouched.
int32_t ReadGifFrameDelays(int32_t imageId, std::vector<int32_t>& delays);
// The loop count item (0 to 65535) of a GIF of two or more frames; 0 without one.
int32_t ReadGifLoopCount(int32_t imageId);
// The comment item of a GIF of two or more frames; empty without one.
std::string ReadGifComment(int32_t imageId);

}  // namespace scanvelt
