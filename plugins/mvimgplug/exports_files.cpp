// Files and whole bitmaps.
#include <FreeImage.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "plugins/mvimgplug/exr_guard.h"
#include "plugins/mvimgplug/format_allow_list.h"
#include "plugins/mvimgplug/input_file.h"
#include "plugins/mvimgplug/jpeg_reader.h"
#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/object_table.h"
#include "plugins/mvimgplug/one_bit_sense.h"
#include "plugins/mvimgplug/pixel_budget.h"
#include "plugins/mvimgplug/row_order.h"
#include "plugins/mvimgplug/tiff_jpeg_writer.h"
#include "plugins/mvimgplug/tiff_page_reader.h"
#include "plugins/mvimgplug/utf16_path.h"
#include "plugins/mvimgplug/xpm_guard.h"

using namespace mvimgplug;

namespace {

int32_t AllowedOrUnknown(FREE_IMAGE_FORMAT format) { return IsAllowedFormat(format) ? format : FIF_UNKNOWN; }

// The checks a file passes before the library's decoder sees it.
bool PassesGuards(int32_t format, InputFile& file) {
    if (format == FIF_XPM) return XpmHoldsTogether(file.Stream());
    if (format == FIF_EXR && !ExrHeaderHoldsTogether(file.Stream())) return false;
    return FitsPixelBudget(format, file);
}

// No format's signature is shorter than this: a file below it is no image.
constexpr uint64_t kShortestSignature = 4;
// The library's probes read their signatures into buffers of their own and
// compare them whether or not the read was whole: a file shorter than this is
// probed over a zero-filled copy of this size, so that no probe ever compares
// bytes that were never read.
constexpr size_t kProbeWindow = 4096;

FREE_IMAGE_FORMAT ProbeFileType(InputFile& file, int32_t size) {
    const uint64_t length = file.Size();
    if (length < kShortestSignature) return FIF_UNKNOWN;
    if (length >= kProbeWindow) return FreeImage_GetFileTypeFromHandle(StreamIo(), file.Rewound(), size);
    std::vector<BYTE> window(kProbeWindow, 0);
    auto* stream = static_cast<std::FILE*>(file.Rewound());
    if (std::fread(window.data(), 1, length, stream) != length) return FIF_UNKNOWN;
    std::unique_ptr<FIMEMORY, decltype(&FreeImage_CloseMemory)> memory(
        FreeImage_OpenMemory(window.data(), static_cast<DWORD>(window.size())), FreeImage_CloseMemory);
    if (!memory) return FIF_UNKNOWN;
    return FreeImage_GetFileTypeFromMemory(memory.get(), static_cast<int>(window.size()));
}

bool SavesWithLibTiffJpeg(int32_t format, int32_t flags) { return format == FIF_TIFF && (flags & TIFF_JPEG) != 0; }

bool SaveThroughLibrary(int32_t format, FIBITMAP* given, const std::string& path, int32_t flags) {
    std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> copy(CopyInFileSense(format, given), FreeImage_Unload);
    FIBITMAP* bitmap = copy ? copy.get() : given;
    OutputFile output;
    if (!output.Open(path)) return false;
    {
        LibraryRowOrder libraryOrder(bitmap);
        if (!libraryOrder.Turned()) return false;
        if (!FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(format), bitmap, StreamIo(), output.Handle(),
                                    flags)) {
            return false;
        }
    }
    return output.Commit();
}

}  // namespace

extern "C" {

MvimgplugHandle MVIMGPLUG_OpenFileU(const char16_t* path) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        std::shared_ptr<InputFile> file = InputFile::Open(PathFromUtf16(path));
        if (!file) return 0;
        PluginObject object;
        object.kind = ObjectKind::File;
        object.file = std::move(file);
        return Objects().Add(std::move(object));
    });
}

void MVIMGPLUG_CloseFileHandle(MvimgplugHandle file) {
    RunExport([&] {
        if (Objects().Find(file, {ObjectKind::File}) != nullptr) ReleaseObject(file);
    });
}

int32_t MVIMGPLUG_GetFileTypeU(const char16_t* path, int32_t size) {
    return RunExport<int32_t>(FIF_UNKNOWN, [&]() -> int32_t {
        std::shared_ptr<InputFile> file = InputFile::Open(PathFromUtf16(path));
        if (!file || size < 0) return FIF_UNKNOWN;
        return AllowedOrUnknown(ProbeFileType(*file, size));
    });
}

int32_t MVIMGPLUG_GetFIFFromFilenameU(const char16_t* path) {
    return RunExport<int32_t>(FIF_UNKNOWN, [&]() -> int32_t {
        const std::string name = PathFromUtf16(path);
        if (name.empty()) return FIF_UNKNOWN;
        return AllowedOrUnknown(FreeImage_GetFIFFromFilename(name.c_str()));
    });
}

MvimgplugHandle MVIMGPLUG_LoadU(int32_t format, const char16_t* path, int32_t flags) {
    return RunExport<MvimgplugHandle>(0, [&]() -> MvimgplugHandle {
        if (!IsAllowedFormat(format)) return 0;
        std::shared_ptr<InputFile> file = InputFile::Open(PathFromUtf16(path));
        if (!file) return 0;
        if (format == FIF_TIFF) return AddBitmap(ReadTiffPage(*file, 0));
        if (format == FIF_JPEG) return AddBitmap(ReadJpeg(*file));
        if (!PassesGuards(format, *file)) return 0;
        // A header-only bitmap is of no use to the engine: pixels are always loaded.
        const int32_t loadFlags = WithIconTransparency(format, flags & ~FIF_LOAD_NOPIXELS);
        FIBITMAP* decoded =
            FreeImage_LoadFromHandle(static_cast<FREE_IMAGE_FORMAT>(format), StreamIo(), file->Rewound(), loadFlags);
        return AddBitmap(ToPluginRowOrder(decoded));
    });
}

int32_t MVIMGPLUG_SaveU(int32_t format, MvimgplugHandle bitmap, const char16_t* path, int32_t flags) {
    return RunExport<int32_t>(0, [&]() -> int32_t {
        FIBITMAP* dib = FindBitmap(bitmap);
        const std::string target = PathFromUtf16(path);
        if (dib == nullptr || target.empty() || !IsAllowedFormat(format)) return 0;
        if (SavesWithLibTiffJpeg(format, flags)) return WriteTiffJpeg(dib, target) ? 1 : 0;
        return SaveThroughLibrary(format, dib, target, flags) ? 1 : 0;
    });
}

void MVIMGPLUG_Unload(MvimgplugHandle bitmap) {
    RunExport([&] {
        if (Objects().Find(bitmap, {ObjectKind::Bitmap}) != nullptr) ReleaseObject(bitmap);
    });
}

}  // extern "C"
