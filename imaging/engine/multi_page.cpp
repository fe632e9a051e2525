#include "imaging/engine/multi_page.h"

#include <string>
#include <vector>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/native_frames.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/temp_files.h"
#include "platform/gdiplus/property_item.h"

namespace scanvelt {

namespace {

constexpr int32_t kDefaultFrameDelay = 25;

bool IsTiff(std::string_view format) { return format == kTiffPages; }

// Writes the image (its current page) to a new page file: a TIFF page as an
// LZW TIFF in its own depth, a GIF frame as PNG. The file's name, empty when
// it could not be written (nothing is left behind then).
std::string WritePageFile(int32_t imageId, std::string_view format, MorvalenStatus& status) {
    const std::string file = NewTempFileName();
    if (file.empty()) {
        status = GenericError;
        return {};
    }
    status = IsTiff(format) ? SaveImageAsTiff(imageId, file, CompressionLZW, 0) : SaveImageAsPng(imageId, file);
    if (status == OK) return file;
    DeleteFileQuietly(file);
    return {};
}

MorvalenStatus SelectNativePage(int32_t imageId, int32_t page, std::string_view format) {
    return IsTiff(format) ? SelectNativeTiffPage(imageId, page) : SelectNativeGifFrame(imageId, page);
}

std::string JoinedDelays(const std::vector<int32_t>& delays) {
    std::string text;
    for (size_t i = 0; i < delays.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(delays[i]);
    }
    return text;
}

// The frame delays, loop count and comment go back on the current frame, so
// that a save of it animates as the file did. Bookkeeping: left unmarked.
void WriteAnimationItems(int32_t imageId) {
    const ImageEntry* entry = FindImageEntry(imageId);
    const std::string delays = JoinedDelays(entry->FrameDelays);
    const auto loopCount = static_cast<uint16_t>(entry->GifLoopCount);
    const std::string comment = entry->GifComment;
    SetPropertyItemLongs(imageId, static_cast<int32_t>(gdiplus::PropertyTagFrameDelay), delays, false, false);
    // Written unsigned: a SHORT item holds loop counts up to 65535.
    const uint8_t loopBytes[2] = {static_cast<uint8_t>(loopCount & 0xFF), static_cast<uint8_t>(loopCount >> 8)};
    SetPropertyItemValues(imageId, static_cast<int32_t>(gdiplus::PropertyTagLoopCount), gdiplus::PropertyTagTypeShort,
                          loopBytes, false);
    if (comment.find_first_not_of(' ') != std::string::npos) {
        SetPropertyItemAscii(imageId, static_cast<int32_t>(gdiplus::PropertyTagExifUserComment), comment, false);
    }
}

// Loads page n of a split image from its page file.
MorvalenStatus LoadPageFile(int32_t imageId, int32_t page) {
    const std::string file = FindImageEntry(imageId)->PageFiles[page];
    if (file.empty()) return GenericError;
    int32_t pageId = 0;
    const MorvalenStatus status = LoadImageFromFile(pageId, file, false, false, true, 0, false, true);
    if (status == OK) FindImageEntry(imageId)->PageImageIds[page] = pageId;
    return status;
}

MorvalenStatus LoadCurrentPage(int32_t imageId, int32_t page, std::string_view format) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (!entry->FramesNative) {
        return entry->PageImageIds[page] == 0 ? LoadPageFile(imageId, page) : OK;
    }
    if (entry->Kind == ImageKindPluginBitmap) return SelectPluginPage(imageId, page);
    return SelectNativePage(imageId, page, format);
}

// Turns the entry of `entryId` into a multi-page entry of n pages.
void MakeMultiPageEntry(int32_t entryId, int32_t sourceId, int32_t pages, std::string_view format) {
    std::vector<int32_t> delays;
    int32_t delayCount = 0;
    int32_t loopCount = 0;
    std::string comment;
    if (!IsTiff(format)) {
        delayCount = ReadGifFrameDelays(sourceId, delays);
        loopCount = ReadGifLoopCount(sourceId);
        comment = ReadGifComment(sourceId);
    }
    ImageEntry& entry = *FindImageEntry(entryId);
    entry.PageCount = pages;
    entry.PageImageIds.assign(static_cast<size_t>(pages), 0);
    entry.PageFiles.assign(static_cast<size_t>(pages), std::string());
    entry.FrameDelays.assign(static_cast<size_t>(pages), 0);
    if (IsTiff(format)) {
        entry.MultiPageTiff = true;
    } else {
        for (int32_t i = 0; i < delayCount && i < pages && i < static_cast<int32_t>(delays.size()); ++i) {
            entry.FrameDelays[i] = delays[i];
        }
        for (int32_t& delay : entry.FrameDelays) {
            if (delay <= 0) delay = kDefaultFrameDelay;
        }
        entry.GifLoopCount = loopCount;
        entry.GifComment = comment;
        entry.MultiFrameGif = true;
    }
    entry.CurrentPage = -1;
}

}  // namespace

MorvalenStatus SplitMultiFrame(const std::string& sourcePath, int32_t imageId, int32_t& outId, bool keepTiffNative,
                               bool keepGifNative) {
    const std::string name = RawFormatNameOf(imageId);
    outId = imageId;
    if (name != kTiffPages && name != kGifFrames) return OK;
    const std::string_view format = name == kTiffPages ? kTiffPages : kGifFrames;
    int32_t pages = 0;
    const MorvalenStatus counted =
        IsTiff(format) ? GetNativeTiffPageCount(imageId, pages) : GetNativeGifFrameCount(imageId, pages);
    if (counted != OK) pages = 0;
    if (pages < 2) return OK;

    const bool keep = IsTiff(format) ? keepTiffNative : keepGifNative;
    int32_t containerId = imageId;
    if (!keep) RegisterImage(containerId, nullptr, format, sourcePath, ImageKindMemory);
    MakeMultiPageEntry(containerId, imageId, pages, format);

    if (keep) {
        FindImageEntry(containerId)->FramesNative = true;
        SelectPage(containerId, 0, format);
        return OK;
    }

    bool anyWritten = false;
    for (int32_t page = 0; page < pages; ++page) {
        if (SelectNativePage(imageId, page, format) != OK) continue;
        MorvalenStatus written = OK;
        std::string file = WritePageFile(imageId, format, written);
        if (file.empty()) continue;
        FindImageEntry(containerId)->PageFiles[page] = std::move(file);
        anyWritten = true;
    }
    ReleaseImage(imageId);
    if (!anyWritten) {
        ReleaseImage(containerId);
        outId = 0;
        return UnknownImageFormat;
    }
    outId = containerId;
    SelectPage(containerId, 0, format);
    return OK;
}

MorvalenStatus SelectPage(int32_t imageId, int32_t page, std::string_view format) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return GenericError;
    if (!(IsTiff(format) ? entry->MultiPageTiff : entry->MultiFrameGif)) return UnsupportedImageFormat;
    if (page < 0 || page >= entry->PageCount) return InvalidParameter;

    MorvalenStatus result = OK;
    if (page != entry->CurrentPage) {
        if (const MorvalenStatus flushed = FlushPagesToFiles(imageId, format); flushed != OK) return flushed;
        FindImageEntry(imageId)->CurrentPage = page;
        result = LoadCurrentPage(imageId, page, format);
    }
    if (!IsTiff(format) && result == OK) WriteAnimationItems(imageId);
    return result;
}

MorvalenStatus SelectTiffPage(int32_t imageId, int32_t page) { return SelectPage(imageId, page, kTiffPages); }

MorvalenStatus SelectGifFrame(int32_t imageId, int32_t frame) { return SelectPage(imageId, frame, kGifFrames); }

MorvalenStatus FlushPagesToFiles(int32_t imageId, std::string_view format) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr || entry->CurrentPage < 0 || entry->PageCount < 1 ||
        entry->CurrentPage >= static_cast<int32_t>(entry->PageImageIds.size())) {
        return OK;
    }
    const int32_t current = entry->CurrentPage;
    const int32_t pageId = entry->PageImageIds[current];
    if (pageId == 0) return OK;

    const ImageEntry* pageEntry = FindImageEntry(pageId);
    const bool changed = !entry->FramesNative && pageEntry != nullptr && pageEntry->IsModified;
    if (changed) {
        MorvalenStatus written = OK;
        const std::string file = WritePageFile(pageId, format, written);
        // The change stays loaded rather than lost.
        if (file.empty()) return written;
        DeleteFileQuietly(FindImageEntry(imageId)->PageFiles[current]);
        FindImageEntry(imageId)->PageFiles[current] = file;
    }
    ReleaseImage(pageId);
    ImageEntry* container = FindImageEntry(imageId);
    container->PageImageIds[current] = 0;
    container->CurrentPage = -1;
    return OK;
}

int32_t ReplaceCurrentPage(int32_t targetId, int32_t newId) {
    const ImageEntry* target = FindImageEntry(targetId);
    if (target == nullptr || !target->IsSplitMultiPage() || FindImageEntry(newId) == nullptr) return 0;
    const int32_t current = target->CurrentPage;
    if (current < 0 || current >= static_cast<int32_t>(target->PageFiles.size())) return 0;
    const std::string_view format = target->MultiPageTiff ? kTiffPages : kGifFrames;

    // The new page file first: until it is written the old page stays.
    MorvalenStatus written = OK;
    const std::string file = WritePageFile(newId, format, written);
    if (file.empty()) return 0;

    const int32_t oldPageId = FindImageEntry(targetId)->PageImageIds[current];
    if (oldPageId != 0 && oldPageId != newId) ReleaseImage(oldPageId);
    ImageEntry* container = FindImageEntry(targetId);
    DeleteFileQuietly(container->PageFiles[current]);
    container->PageFiles[current] = file;
    container->PageImageIds[current] = newId;
    ClearImageModified(targetId);
    return targetId;
}

}  // namespace scanvelt
