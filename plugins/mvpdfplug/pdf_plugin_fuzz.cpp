// Fuzz target: any bytes as a PDF file, opened, every page (up to a few)
// selected and rendered small, with and without form fields, and the
// document's texts read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "plugins/mvpdfplug/mvpdfplug.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/mvpdfplug-fuzz-" + std::to_string(::getpid()) + ".pdf";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    const std::u16string wide(path.begin(), path.end());
    const int32_t pdf = MVPDFPLUG_LoadFromFileW(wide.c_str());
    if (pdf == 0) return 0;
    if (MVPDFPLUG_HasEncryption(pdf)) MVPDFPLUG_SetPasswordW(pdf, u"password");
    const int32_t pages = MVPDFPLUG_PageCount(pdf);
    for (int32_t page = 1; page <= pages && page <= 3; ++page) {
        if (MVPDFPLUG_SelectPage(pdf, page) != 1) continue;
        for (int32_t fields : {0, 1}) {
            MvpdfplugImage* image = nullptr;
            MVPDFPLUG_Rasterize(pdf, 18, &image, 64, 64, 0, fields);
            MVPDFPLUG_FreeImage(image);
        }
    }
    for (int32_t item = 0; item <= 8; ++item) MVPDFPLUG_GetDescriptionW(pdf, item);
    MVPDFPLUG_GetMetadataW(pdf);
    MVPDFPLUG_Close(pdf);
    return 0;
}
