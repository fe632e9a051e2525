#pragma once
// Multi-page images: an animated GIF or a multi-page TIFF shown to callers as
// one image ID whose current page every other operation works on. Three
// forms: split (a container whose pages are temporary page files, at most the
// current one loaded as a page image), native GDI+ (the frames stay inside
// the file image) and native plug-in (the pages stay in a plug-in
// multi-bitmap).
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

inline constexpr std::string_view kTiffPages = "TIFF";
inline constexpr std::string_view kGifFrames = "GIF";

// Makes a freshly registered GIF or TIFF image of two or more pages
// multi-page; outId receives the ID the caller uses from then on. With the
// keep flag of its format the image itself keeps its frames (outId = imageId);
// without it every page is written to a page file (a TIFF page as LZW TIFF,
// a GIF frame as PNG), the image is released and a container takes its place
// with page 0 selected. Any other image stays as it is (outId = imageId, OK).
// UnknownImageFormat, with nothing left registered and outId 0, when no page
// could be written.
MorvalenStatus SplitMultiFrame(const std::string& sourcePath, int32_t imageId, int32_t& outId, bool keepTiffNative,
                               bool keepGifNative);

// Makes page n (from 0) current. GenericError for an unregistered ID,
// UnsupportedImageFormat for an image that is not multi-page in `format`,
// InvalidParameter for a page outside the pages. A changed page of the
// split form is written back to a new page file first; when that cannot be
// done the status of the write is the result and the changed page stays
// current and loaded, so nothing is lost. Otherwise the status of selecting
// or loading the page. For a GIF the animation items (frame delays, loop
// count, comment) are written again on the current page.
MorvalenStatus SelectPage(int32_t imageId, int32_t page, std::string_view format);
MorvalenStatus SelectTiffPage(int32_t imageId, int32_t page);
MorvalenStatus SelectGifFrame(int32_t imageId, int32_t frame);

// Writes the current page back to a new page file when it changed (split
// form; the old file is deleted only after the new one is written) and
// unloads it, leaving no page current. The status of writing it; OK when
// there was nothing to write. A page that cannot be written stays loaded and
// current.
MorvalenStatus FlushPagesToFiles(int32_t imageId, std::string_view format);

// Puts the image newId in the place of the current page of the split
// multi-page image targetId: newId is written to a new page file, then the
// old page image and page file go, and newId becomes the loaded current page.
// Result targetId; 0 when no page is current or newId cannot be written, and
// then nothing changes (newId stays registered under its own ID).
int32_t ReplaceCurrentPage(int32_t targetId, int32_t newId);

}  // namespace scanvelt
