#include "imaging/engine/multi_page_queries.h"

#include <algorithm>

#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/native_frames.h"
#include "platform/gdiplus/frame.h"
#include "platform/gdiplus/image.h"

namespace scanvelt {

namespace {

using PageFlag = bool ImageEntry::*;

MorvalenStatus PageCountOf(int32_t imageId, PageFlag flag, int32_t& count) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return UnsupportedImageFormat;
    if (!(entry->*flag)) {
        count = 0;
        return UnsupportedImageFormat;
    }
    count = entry->PageCount;
    return OK;
}

bool FlagOf(int32_t imageId, PageFlag flag) {
    const ImageEntry* entry = FindImageEntry(imageId);
    return entry != nullptr && entry->*flag;
}

bool SplitOf(int32_t imageId, PageFlag flag) {
    const ImageEntry* entry = FindImageEntry(imageId);
    return entry != nullptr && entry->*flag && !entry->FramesNative;
}

int32_t CurrentPageOf(int32_t imageId, PageFlag flag) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return 0;
    return entry->*flag ? entry->CurrentPage : -1;
}

MorvalenStatus SelectNativeFrame(int32_t imageId, const gdiplus::Guid& dimension, int32_t index) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr || index < 0) return InvalidParameter;
    return StatusOf(image->SelectActiveFrame(dimension, static_cast<uint32_t>(index)));
}

// The GIF's own item with that tag, when the image is a GIF of two or more frames.
bool AnimationItem(int32_t imageId, gdiplus::PROPID tag, gdiplus::PropertyItem& item) {
    int32_t frames = 0;
    if (GetNativeGifFrameCount(imageId, frames) != OK || frames < 2) return false;
    return NativeImageOf(imageId)->GetPropertyItem(tag, item) == gdiplus::Ok;
}

uint32_t LittleEndianAt(const std::vector<uint8_t>& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
    return value;
}

}  // namespace

MorvalenStatus GetGifFrameCount(int32_t imageId, int32_t& count) {
    return PageCountOf(imageId, &ImageEntry::MultiFrameGif, count);
}

MorvalenStatus GetTiffPageCount(int32_t imageId, int32_t& count) {
    return PageCountOf(imageId, &ImageEntry::MultiPageTiff, count);
}

bool IsMultiFrameGif(int32_t imageId) { return FlagOf(imageId, &ImageEntry::MultiFrameGif); }
bool IsMultiPageTiff(int32_t imageId) { return FlagOf(imageId, &ImageEntry::MultiPageTiff); }
bool GifFramesSplit(int32_t imageId) { return SplitOf(imageId, &ImageEntry::MultiFrameGif); }
bool TiffPagesSplit(int32_t imageId) { return SplitOf(imageId, &ImageEntry::MultiPageTiff); }
int32_t GetCurrentGifFrame(int32_t imageId) { return CurrentPageOf(imageId, &ImageEntry::MultiFrameGif); }
int32_t GetCurrentTiffPage(int32_t imageId) { return CurrentPageOf(imageId, &ImageEntry::MultiPageTiff); }

MorvalenStatus GetGifFrameDelays(int32_t imageId, std::vector<int32_t>& delays) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return InvalidParameter;
    if (entry->MultiFrameGif && entry->PageCount >= 1) delays = entry->FrameDelays;
    return OK;
}

MorvalenStatus SelectNativeTiffPage(int32_t imageId, int32_t page) {
    return SelectNativeFrame(imageId, gdiplus::FrameDimensionPage, page);
}

MorvalenStatus SelectNativeGifFrame(int32_t imageId, int32_t frame) {
    return SelectNativeFrame(imageId, gdiplus::FrameDimensionTime, frame);
}

int32_t ReadGifFrameDelays(int32_t imageId, std::vector<int32_t>& delays) {
    gdiplus::PropertyItem item;
    if (!AnimationItem(imageId, gdiplus::PropertyTagFrameDelay, item) || item.value.size() < 4) return 0;
    int32_t frames = 0;
    GetNativeGifFrameCount(imageId, frames);
    const size_t values = std::min(item.value.size() / 4, static_cast<size_t>(frames));
    delays.assign(static_cast<size_t>(frames), 0);
    for (size_t i = 0; i < values; ++i) delays[i] = static_cast<int32_t>(LittleEndianAt(item.value, 4 * i, 4));
    return frames;
}

int32_t ReadGifLoopCount(int32_t imageId) {
    gdiplus::PropertyItem item;
    // Exactly one SHORT value, read unsigned: loop counts go up to 65535.
    if (!AnimationItem(imageId, gdiplus::PropertyTagLoopCount, item) || item.value.size() != 2) return 0;
    return static_cast<int32_t>(LittleEndianAt(item.value, 0, 2));
}

std::string ReadGifComment(int32_t imageId) {
    gdiplus::PropertyItem item;
    if (!AnimationItem(imageId, gdiplus::PropertyTagExifUserComment, item)) return {};
    const std::vector<gdiplus::PROPID> ids = NativeImageOf(imageId)->GetPropertyIdList();
    const auto found = std::find(ids.begin(), ids.end(), gdiplus::PropertyTagExifUserComment);
    std::string text;
    ExifTagValueText(imageId, static_cast<int32_t>(found - ids.begin()) + 1, text);
    return text;
}

}  // namespace scanvelt
