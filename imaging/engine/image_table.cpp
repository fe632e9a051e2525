#include "imaging/engine/image_table.h"

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/engine/image_format_name.h"
#include "imaging/engine/image_ids.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/native_frames.h"
#include "imaging/engine/temp_files.h"
#include "platform/win/global_memory.h"

namespace scanvelt {

namespace {

thread_local std::vector<ImageEntry> tSlots;

// Page files and temporary source files are the engine's own; a file that
// cannot be deleted is left without a report.
// Gives back what an entry holds in the codec plug-in. The plug-in image that
// borrows those pixels is gone by now.
void ReleasePluginHandles(const ImageEntry& entry) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return;
    if (entry.PluginFile != 0) plugin->CloseFileHandle(entry.PluginFile);
    if (entry.Kind == ImageKindPluginBitmap && entry.PluginBitmap != 0) {
        if (entry.IsMultiPage()) {
            plugin->CloseMultiBitmap(entry.PluginBitmap, 0);
        } else {
            plugin->Unload(entry.PluginBitmap);
        }
    }
    if (entry.Kind == ImageKindPluginPage && entry.PluginPage != 0) {
        plugin->UnlockPage(entry.PluginBitmap, entry.PluginPage, false);
    }
}

bool IsPageOf(const ImageEntry& container, int32_t imageId) {
    return std::find(container.PageImageIds.begin(), container.PageImageIds.end(), imageId) !=
           container.PageImageIds.end();
}

// The image ID of the current page of a multi-page entry, 0 when none is
// selected or loaded.
int32_t CurrentPageOf(const ImageEntry& entry) {
    if (entry.CurrentPage < 0 || entry.CurrentPage >= static_cast<int32_t>(entry.PageImageIds.size())) return 0;
    const int32_t pageId = entry.PageImageIds[entry.CurrentPage];
    return pageId == entry.ImageID ? 0 : pageId;
}

}  // namespace

int32_t FindFreeSlot() {
    for (size_t slot = 0; slot < tSlots.size(); ++slot) {
        if (tSlots[slot].ImageID == 0) return static_cast<int32_t>(slot);
    }
    tSlots.emplace_back();
    return static_cast<int32_t>(tSlots.size() - 1);
}

int32_t RegisterImage(int32_t& outId, std::unique_ptr<gdiplus::Image> image, std::string_view formatName,
                      std::string_view sourcePath, int32_t kind) {
    const int32_t slot = FindFreeSlot();
    const int32_t id = NewImageId();
    outId = id;
    ImageEntry& entry = tSlots[slot];
    entry.ImageID = id;
    if (!sourcePath.empty()) entry.SourcePath = sourcePath;
    entry.FormatName = formatName;
    entry.NativeImage = std::move(image);
    entry.Kind = kind;
    if (entry.NativeImage) CacheImageInfo(id);
    return slot;
}

int32_t FindImageIndex(int32_t imageId) {
    if (imageId == 0) return -1;
    for (size_t slot = 0; slot < tSlots.size(); ++slot) {
        if (tSlots[slot].ImageID == imageId) return static_cast<int32_t>(slot);
    }
    return -1;
}

int32_t FindImageIndexByDC(win::HDC dc) {
    for (size_t slot = 0; slot < tSlots.size(); ++slot) {
        if (tSlots[slot].ImageDC == dc) return static_cast<int32_t>(slot);
    }
    return -1;
}

ImageEntry* FindImageEntry(int32_t imageId) {
    const int32_t slot = FindImageIndex(imageId);
    return slot < 0 ? nullptr : &tSlots[slot];
}

ImageEntry& ImageSlot(int32_t slot) { return tSlots.at(static_cast<size_t>(slot)); }

int32_t ImageSlotCount() { return static_cast<int32_t>(tSlots.size()); }

void AttachGlobalMemory(int32_t imageId, win::HGLOBAL memory) {
    if (ImageEntry* entry = FindImageEntry(imageId)) {
        entry->Kind = ImageKindGlobalDib;
        entry->GlobalMemory = memory;
    }
}

void AttachPluginBitmap(int32_t imageId, PluginHandle bitmap) {
    if (ImageEntry* entry = FindImageEntry(imageId)) {
        entry->Kind = ImageKindPluginBitmap;
        entry->PluginBitmap = bitmap;
    }
}

void AttachPluginPage(int32_t imageId, PluginHandle multiBitmap, PluginHandle page) {
    if (ImageEntry* entry = FindImageEntry(imageId)) {
        entry->Kind = ImageKindPluginPage;
        entry->PluginBitmap = multiBitmap;
        entry->PluginPage = page;
    }
}

void SetImageTempFile(int32_t imageId, std::string_view path) {
    if (ImageEntry* entry = FindImageEntry(imageId)) {
        entry->DeleteSourceOnRelease = true;
        entry->SourcePath = path;
    }
}

void SetFormatName(int32_t imageId, std::string_view name) {
    if (ImageEntry* entry = FindImageEntry(imageId)) entry->FormatName = name;
}

int32_t ImageKindOf(int32_t imageId) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return 0;
    if (!entry->IsMultiPage()) return entry->Kind;
    if (entry->Kind == ImageKindFile && entry->FramesNative) return ImageKindFile;
    if (entry->CurrentPage < 0) return 0;
    const int32_t pageId = CurrentPageOf(*entry);
    return pageId == 0 ? 0 : ImageKindOf(pageId);
}

gdiplus::Image* NativeImageOf(int32_t imageId) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr) return nullptr;
    if (!entry->IsMultiPage()) return entry->NativeImage.get();
    if (entry->PageCount < 1) return nullptr;
    if (entry->Kind == ImageKindFile && entry->FramesNative) return entry->NativeImage.get();
    const int32_t pageId = CurrentPageOf(*entry);
    return pageId == 0 ? nullptr : NativeImageOf(pageId);
}

gdiplus::Image* NativeImageHandle(int32_t imageId) { return NativeImageOf(imageId); }

gdiplus::Bitmap* NativeBitmapOf(int32_t imageId) { return dynamic_cast<gdiplus::Bitmap*>(NativeImageOf(imageId)); }

int32_t CurrentPageImageId(int32_t imageId) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr || !entry->IsMultiPage()) return imageId;
    // The frames of a file image stay inside its GDI+ image: the image is its own page.
    if (entry->Kind == ImageKindFile && entry->FramesNative) return imageId;
    return CurrentPageOf(*entry);
}

void MarkImageModified(int32_t imageId) {
    if (ImageEntry* entry = FindImageEntry(imageId);
        entry != nullptr && entry->Kind == ImageKindFile && entry->IsMultiPage() && entry->FramesNative) {
        int32_t frames = 0;
        const MorvalenStatus status =
            entry->MultiPageTiff ? GetNativeTiffPageCount(imageId, frames) : GetNativeGifFrameCount(imageId, frames);
        if (status != OK) frames = 0;
        entry = FindImageEntry(imageId);
        if (frames < 2) {
            entry->MultiPageTiff = false;
            entry->MultiFrameGif = false;
            entry->PageImageIds.clear();
            entry->PageFiles.clear();
        }
    }
    if (ImageEntry* page = FindImageEntry(CurrentPageImageId(imageId))) page->IsModified = true;
}

void ClearImageModified(int32_t imageId) {
    if (ImageEntry* page = FindImageEntry(CurrentPageImageId(imageId))) page->IsModified = false;
}

MorvalenStatus ReleaseImage(int32_t imageId) {
    const int32_t slot = FindImageIndex(imageId);
    if (slot < 0) return InvalidParameter;
    MorvalenStatus result = OK;

    // Pages first, each by its own rules; the container's slot stays where it is.
    if (tSlots[slot].IsMultiPage()) {
        for (int32_t page = 0; page < tSlots[slot].PageCount; ++page) {
            const ImageEntry& container = tSlots[slot];
            const int32_t pageId =
                page < static_cast<int32_t>(container.PageImageIds.size()) ? container.PageImageIds[page] : 0;
            if (pageId != 0 && pageId != imageId) result = ReleaseImage(pageId);
            if (page < static_cast<int32_t>(tSlots[slot].PageFiles.size())) DeleteFileQuietly(tSlots[slot].PageFiles[page]);
        }
    }

    ImageEntry& entry = tSlots[slot];
    // A drawing context must not outlive the image it draws on.
    entry.ImageDCGraphics.reset();
    if (entry.NativeImage) {
        entry.NativeImage.reset();  // the bitmap frees a pixel buffer it owns
        result = OK;
    }
    if (entry.Kind == ImageKindGlobalDib && entry.GlobalMemory != win::HGLOBAL{}) win::GlobalFree(entry.GlobalMemory);
    ReleasePluginHandles(entry);
    if (entry.DeleteSourceOnRelease) DeleteFileQuietly(entry.SourcePath);

    if (slot == static_cast<int32_t>(tSlots.size()) - 1) {
        tSlots.pop_back();
    } else {
        entry = ImageEntry{};
    }
    return result;
}

void ReleaseAllImages() {
    while (!tSlots.empty()) {
        if (tSlots.back().ImageID == 0) {
            tSlots.pop_back();
        } else {
            ReleaseImage(tSlots.back().ImageID);
        }
    }
}

int32_t ReplaceImageBitmap(int32_t targetId, int32_t newId) {
    const ImageEntry* target = FindImageEntry(targetId);
    // The new image is checked before anything is released, so a bad new ID
    // never costs the caller its image.
    if (target == nullptr || newId == targetId || FindImageEntry(newId) == nullptr || IsPageOf(*target, newId)) {
        return 0;
    }
    if (target->IsSplitMultiPage()) return ReplaceCurrentPage(targetId, newId);

    // A change made to the target before it was copied (a rotation marks the
    // image, then swaps a private copy in) is still a change under its ID.
    const bool targetModified = target->IsModified;
    ReleaseImage(targetId);
    ImageEntry* replacement = FindImageEntry(newId);
    replacement->ImageID = targetId;
    replacement->IsModified = replacement->IsModified || targetModified;
    return targetId;
}

}  // namespace scanvelt
