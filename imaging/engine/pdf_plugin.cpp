#include "imaging/engine/pdf_plugin.h"

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_resolution.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/bitmap_data.h"
#include "platform/win/file_version.h"
#include "platform/win/message_box.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

namespace {

struct Binding {
    std::mutex mutex;
    std::string file{kPdfPluginDll};
    bool tried = false;
    PdfPlugin plugin{};
    std::string failure;
};

Binding& binding() {
    static Binding* b = new Binding();  // the plug-in stays loaded for the process
    return *b;
}

template <class Function>
bool bind(void* library, const char* name, Function& function, std::string& failure) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (function == nullptr && failure.empty()) failure = std::string("Can't find DLL entry point ") + name;
    return function != nullptr;
}

// Binds the plug-in, or says why it cannot be had.
std::string load(const std::string& file, PdfPlugin& p) {
    const std::string path = file.find('/') != std::string::npos ? file : win::FindLibraryFile(file);
    if (path.empty()) return "Can't find " + file;
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return "Can't load " + path;
    std::string failure;
    bind(library, "MVPDFPLUG_GetVersion", p.GetVersion, failure);
    bind(library, "MVPDFPLUG_LoadFromFileW", p.LoadFromFileW, failure);
    bind(library, "MVPDFPLUG_SetPasswordW", p.SetPasswordW, failure);
    bind(library, "MVPDFPLUG_HasEncryption", p.HasEncryption, failure);
    bind(library, "MVPDFPLUG_PageCount", p.PageCount, failure);
    bind(library, "MVPDFPLUG_SelectPage", p.SelectPage, failure);
    bind(library, "MVPDFPLUG_PageWidth", p.PageWidth, failure);
    bind(library, "MVPDFPLUG_PageHeight", p.PageHeight, failure);
    bind(library, "MVPDFPLUG_PageRotation", p.PageRotation, failure);
    bind(library, "MVPDFPLUG_Rasterize", p.Rasterize, failure);
    bind(library, "MVPDFPLUG_FreeImage", p.FreeImage, failure);
    bind(library, "MVPDFPLUG_Close", p.Close, failure);
    bind(library, "MVPDFPLUG_GetDescriptionW", p.GetDescriptionW, failure);
    bind(library, "MVPDFPLUG_GetMetadataW", p.GetMetadataW, failure);
    if (!failure.empty()) return failure + " in " + file;
    if (p.GetVersion() < kMinimumPdfPluginVersion) return "Bad " + file + " version.";
    return {};
}

// The text without the blanks at its ends.
std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The plug-in's page, freed with this.
struct RenderedPage {
    const PdfPlugin& plugin;
    MvpdfplugImage* image = nullptr;
    ~RenderedPage() { plugin.FreeImage(image); }
};

// A 32-bit bitmap holding a copy of the page's pixels.
std::unique_ptr<gdiplus::Bitmap> bitmapOf(const MvpdfplugImage& page) {
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    if (gdiplus::Bitmap::Create(page.width, page.height, gdiplus::PixelFormat32bppARGB, bitmap) != gdiplus::Ok)
        return nullptr;
    gdiplus::BitmapData data{};
    const gdiplus::Rect all{0, 0, page.width, page.height};
    if (bitmap->LockBits(all, gdiplus::ImageLockModeWrite, gdiplus::PixelFormat32bppARGB, data) != gdiplus::Ok)
        return nullptr;
    for (int32_t y = 0; y < page.height; ++y)
        std::memcpy(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    page.pixels + static_cast<size_t>(y) * page.stride, static_cast<size_t>(page.width) * 4);
    bitmap->UnlockBits(data);
    return bitmap;
}

}  // namespace

const PdfPlugin& BoundPdfPlugin() {
    Binding& b = binding();
    std::lock_guard lock(b.mutex);
    if (!b.tried) {
        b.tried = true;
        b.failure = load(b.file, b.plugin);
    }
    if (!b.failure.empty()) throw PdfPluginUnavailable(b.failure);
    return b.plugin;
}

void SetPdfPluginFile(std::string nameOrPath) {
    Binding& b = binding();
    std::lock_guard lock(b.mutex);
    b.file = nameOrPath.empty() ? std::string(kPdfPluginDll) : std::move(nameOrPath);
    b.tried = false;
    b.failure.clear();
}

int32_t PdfPluginLoad(std::string_view path) {
    return BoundPdfPlugin().LoadFromFileW(win::Utf8ToUtf16(trimBlanks(path)).c_str());
}

int32_t PdfPluginSetPassword(int32_t document, std::string_view password) {
    return BoundPdfPlugin().SetPasswordW(document, win::Utf8ToUtf16(trimBlanks(password)).c_str());
}

MorvalenStatus PdfPageToImage(int32_t& outId, int32_t document, int32_t width, int32_t height, int32_t /*page*/,
                              float scale, double dpi, bool silent, bool displayFormFields) {
    const PdfPlugin& plugin = BoundPdfPlugin();
    const double resolution = scale == 1.0f ? dpi : dpi * scale;
    RenderedPage page{plugin};
    const int32_t result =
        plugin.Rasterize(document, resolution, &page.image, width, height, 0, displayFormFields ? 1 : 0);
    if (page.image != nullptr) {
        std::unique_ptr<gdiplus::Bitmap> bitmap = bitmapOf(*page.image);
        if (bitmap) AdoptNativeImage(outId, std::move(bitmap));
    }
    if (result != 1) {
        if (!silent) win::ShowMessageBox({0, "Error rendering page.", "", win::MB_OK | win::MB_ICONERROR});
        return PdfRenderingPageError;
    }
    SetImageResolution(outId, static_cast<float>(resolution), static_cast<float>(resolution), false);
    return OK;
}

}  // namespace scanvelt
