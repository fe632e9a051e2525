// libFuzzer target of the codec plug-in: the bytes are written to a file and
// loaded as the plug-in identifies them (or, when it does not, as the format
// their first byte picks from the allowed ones), and every page of a TIFF is
// locked. scripts/fuzz runs it with a memory limit, so a file that makes the
// plug-in allocate far beyond its size fails the run.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/win/text_encoding.h"
#include "plugins/mvimgplug/mvimgplug.h"

namespace {

constexpr int32_t kTiff = 18;
constexpr int32_t kTried[] = {1, 2, 7, 8, 11, 12, 14, 15, 17, 18, 19, 23, 29, 30, 31};
constexpr int32_t kMaxPagesVisited = 8;

const std::u16string& InputPath() {
    static const std::u16string path =
        win::Utf8ToUtf16("/tmp/mvimgplug-fuzz-" + std::to_string(::getpid()) + ".input");
    return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
    std::FILE* out = std::fopen(win::Utf16ToUtf8(InputPath()).c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(data, 1, size, out) == size;
    return std::fclose(out) == 0 && written;
}

void VisitPages(const char16_t* path) {
    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(path);
    const MvimgplugHandle multi = MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file);
    const int32_t pages = MVIMGPLUG_GetPageCount(multi);
    for (int32_t i = 0; i < pages && i < kMaxPagesVisited; ++i) {
        const MvimgplugHandle page = MVIMGPLUG_LockPage(multi, i);
        // The engine's next step for a page of a palette with transparency.
        if (page != 0) MVIMGPLUG_Unload(MVIMGPLUG_ConvertTo32Bits(page));
        MVIMGPLUG_UnlockPage(multi, page, 0);
    }
    MVIMGPLUG_CloseMultiBitmap(multi, 0);
    MVIMGPLUG_CloseFileHandle(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || !WriteInput(data, size)) return 0;
    const char16_t* path = InputPath().c_str();
    int32_t format = MVIMGPLUG_GetFileTypeU(path, 0);
    if (format < 0) format = kTried[data[0] % (sizeof(kTried) / sizeof(kTried[0]))];
    const MvimgplugHandle bitmap = MVIMGPLUG_LoadU(format, path, 0);
    if (bitmap != 0) {
        MVIMGPLUG_Unload(MVIMGPLUG_ConvertTo32Bits(bitmap));
        MVIMGPLUG_Unload(bitmap);
    }
    if (format == kTiff) VisitPages(path);
    return 0;
}
