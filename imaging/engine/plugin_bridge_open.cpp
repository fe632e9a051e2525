// Files opened in the plug-in, and the plug-in route of loading.
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/plugin_formats.h"

namespace scanvelt {

namespace {

constexpr int32_t kTiffLoadIcm = 1;

// Registers a paged image whose pages stay in the plug-in and selects page 0
// as any paged image's page is selected; the result is OK whatever that gave.
MorvalenStatus RegisterPagedTiff(int32_t& outId, const std::string& path, int32_t formatCode, PluginHandle multi,
                                 PluginHandle file, int32_t pageCount) {
    const int32_t slot = RegisterImage(outId, nullptr, PluginFormatName(formatCode), path, ImageKindPluginBitmap);
    ImageEntry& entry = ImageSlot(slot);
    entry.FramesNative = true;
    entry.MultiPageTiff = true;
    entry.PageCount = pageCount;
    entry.PageFiles.assign(static_cast<size_t>(pageCount), std::string());
    entry.PageImageIds.assign(static_cast<size_t>(pageCount), 0);
    entry.FrameDelays.assign(static_cast<size_t>(pageCount), 0);
    entry.CurrentPage = -1;
    entry.PluginFile = file;
    entry.PluginBitmap = multi;
    SelectTiffPage(outId, 0);
    return OK;
}

}  // namespace

PluginHandle PluginOpen(int32_t formatCode, const std::string& path, bool& isMulti, bool useIcm,
                        PluginHandle& fileHandle) {
    isMulti = false;
    fileHandle = 0;
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr || formatCode == kPluginFormatUnknown) return 0;
    const int32_t flags = useIcm && formatCode == kPluginFormatTiff ? kTiffLoadIcm : 0;
    if (formatCode == kPluginFormatTiff) {
        fileHandle = plugin->OpenFileU(path);
        const PluginHandle multi = fileHandle == 0 ? 0 : plugin->OpenMultiBitmapU(formatCode, flags, fileHandle);
        if (multi != 0 && plugin->GetPageCount(multi) >= 2) {
            isMulti = true;
            return multi;
        }
        if (multi != 0) plugin->CloseMultiBitmap(multi, 0);
        if (fileHandle != 0) plugin->CloseFileHandle(fileHandle);
        fileHandle = 0;
    }
    return plugin->LoadU(formatCode, path, flags);
}

MorvalenStatus LoadWithPlugin(int32_t& outId, const std::string& path, bool useIcm, bool keepTiffNative,
                              bool keepGifNative) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return Aborted;
    const int32_t format = PluginFileType(path);
    if (format < 0 || format == kPluginFormatBmp || format == kPluginFormatPng || format == kPluginFormatGif) {
        return UnknownImageFormat;
    }
    bool isMulti = false;
    PluginHandle file = 0;
    PluginHandle opened = PluginOpen(format, path, isMulti, useIcm, file);
    // A file the plug-in cannot read is damaged, or claims more pixels than it
    // can hold: it is refused as such, not reported as a lack of memory.
    if (opened == 0) return InvalidParameter;
    // The system always keeps paged TIFF files native; without that wish the
    // file is read as its first page alone.
    if (isMulti && keepTiffNative) {
        return RegisterPagedTiff(outId, path, format, opened, file, plugin->GetPageCount(opened));
    }
    if (isMulti) {
        plugin->CloseMultiBitmap(opened, 0);
        plugin->CloseFileHandle(file);
        opened = plugin->LoadU(format, path, 0);
        if (opened == 0) return InvalidParameter;
    }
    bool release = true;
    bool locked = false;
    const MorvalenStatus status = ImportPluginBitmap(opened, outId, release, locked, 0, format);
    if (release) {
        plugin->Unload(opened);
    } else {
        AttachPluginBitmap(outId, opened);
    }
    if (status == OK) SetFormatName(outId, PluginFormatName(format));
    return status;
}

MorvalenStatus SelectPluginPage(int32_t containerId, int32_t page) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    ImageEntry* entry = FindImageEntry(containerId);
    if (plugin == nullptr || entry == nullptr || !entry->FramesNative || entry->Kind != ImageKindPluginBitmap) {
        return GenericError;
    }
    if (page < 0 || page >= entry->PageCount) return InvalidParameter;
    const PluginHandle multi = entry->PluginBitmap;
    PluginHandle bitmap = plugin->LockPage(multi, page);
    if (bitmap == 0) return OK;
    int32_t pageId = 0;
    bool release = true;
    bool locked = true;
    const MorvalenStatus status = ImportPluginBitmap(bitmap, pageId, release, locked, multi, kPluginFormatTiff);
    if (release) {
        if (locked) {
            plugin->UnlockPage(multi, bitmap, false);
        } else {
            plugin->Unload(bitmap);
        }
    } else if (locked) {
        AttachPluginPage(pageId, multi, bitmap);
    } else {
        AttachPluginBitmap(pageId, bitmap);
    }
    // The table may have grown: find the container again.
    if (status == OK) {
        if (ImageEntry* container = FindImageEntry(containerId)) {
            container->PageImageIds[static_cast<size_t>(page)] = pageId;
        }
    }
    return status;
}

}  // namespace scanvelt
