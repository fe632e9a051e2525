#include "imaging/engine/ocr_plugin.h"

#include <dlfcn.h>

#include <cmath>
#include <mutex>
#include <new>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/file_version.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {
namespace {

struct OcrPlugin {
    decltype(&MVOCR_GetVersion) GetVersion = nullptr;
    decltype(&MVOCR_HasDictionary) HasDictionary = nullptr;
    decltype(&MVOCR_OCR) Ocr = nullptr;
    decltype(&MVOCR_REINIT) Reinit = nullptr;
    decltype(&MVOCR_CLEAR) Clear = nullptr;
};

struct Binding {
    std::mutex mutex;
    std::string file{kOcrPluginDll};
    bool tried = false;
    bool bound = false;
    OcrPlugin plugin{};
};

Binding& binding() {
    static Binding* b = new Binding();  // the plug-in stays loaded for the process
    return *b;
}

template <class Function>
bool bindFunction(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

bool load(const std::string& file, OcrPlugin& p) {
    const std::string path = file.find('/') != std::string::npos ? file : win::FindLibraryFile(file);
    if (path.empty()) return false;
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return false;
    const bool all = bindFunction(library, "MVOCR_GetVersion", p.GetVersion) &&
                     bindFunction(library, "MVOCR_HasDictionary", p.HasDictionary) &&
                     bindFunction(library, "MVOCR_OCR", p.Ocr) && bindFunction(library, "MVOCR_REINIT", p.Reinit) &&
                     bindFunction(library, "MVOCR_CLEAR", p.Clear);
    return all && p.GetVersion() >= kMinimumOcrPluginVersion;
}

// The bound plug-in, or null when it cannot be had.
const OcrPlugin* boundPlugin() {
    Binding& b = binding();
    std::lock_guard lock(b.mutex);
    if (!b.tried) {
        b.tried = true;
        b.plugin = {};
        b.bound = load(b.file, b.plugin);
    }
    return b.bound ? &b.plugin : nullptr;
}

// The image recognised last on this thread, to start the plug-in anew for another.
thread_local const void* lastRecognisedImage = nullptr;

std::string_view trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Unlocks the image when it leaves scope locked.
struct HeldLock {
    int32_t Image;
    gdiplus::BitmapData& Data;
    bool Locked = false;
    ~HeldLock() {
        if (Locked) UnlockImageBits(Image, Data);
    }
};

}  // namespace

void SetOcrPluginFile(std::string nameOrPath) {
    Binding& b = binding();
    std::lock_guard lock(b.mutex);
    b.file = nameOrPath.empty() ? std::string(kOcrPluginDll) : std::move(nameOrPath);
    b.tried = false;
    b.bound = false;
    lastRecognisedImage = nullptr;
}

std::string OcrLanguageCode(int32_t dictionary) {
    static constexpr const char* kCodes[] = {"deu", "frk", "eng", "fra", "ita", "nld", "por", "spa", "vie", "pol"};
    if (dictionary < 0 || dictionary >= static_cast<int32_t>(std::size(kCodes))) return "eng";
    return kCodes[dictionary];
}

std::string OcrDictionaryFolder(std::string_view folder) {
    // The folder is a Windows path like every path a member takes; none means
    // the plug-in's own dictionaries.
    std::string out = win::ResolveWindowsPath(trimBlanks(folder));
    if (!out.empty() && out.back() != '/') out += '/';
    return out;
}

MorvalenStatus OcrImage(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height,
                        int32_t dictionary, std::string_view folder, std::string_view whiteList,
                        std::vector<OcrChar>& chars) {
    chars.clear();
    const std::string language = OcrLanguageCode(dictionary);
    const std::string dictionaryFolder = OcrDictionaryFolder(folder);
    // Nothing can be read from an image that is gone, a rectangle without
    // pixels, or an image without a resolution to place the words by: each
    // is a failure, never "read, and no text".
    const void* handle = NativeImageHandle(imageId);
    if (handle == nullptr) return InvalidParameter;
    // A plug-in that is missing or too old is its own failure, not a missing dictionary.
    const OcrPlugin* plugin = boundPlugin();
    if (plugin == nullptr) return OCRPluginNotLoaded;
    if (plugin->HasDictionary(language.c_str(), dictionaryFolder.c_str()) != 1) return OCRDictionaryNotFound;

    float dpiX = 0, dpiY = 0;
    GetImageHorizontalResolution(imageId, dpiX);
    GetImageVerticalResolution(imageId, dpiY);
    if (width <= 0 || height <= 0 || !(dpiX >= 0.5f) || !(dpiY >= 0.5f)) return InvalidParameter;

    if (handle != lastRecognisedImage) plugin->Reinit();
    lastRecognisedImage = handle;

    // The buffer is sized by the rectangle: one that does not lie inside the
    // image is refused before anything is allocated for it.
    int32_t imageWidth = 0, imageHeight = 0;
    GetImageWidth(imageId, imageWidth);
    GetImageHeight(imageId, imageHeight);
    if (left < 0 || top < 0 || int64_t{left} + width > imageWidth || int64_t{top} + height > imageHeight)
        return InvalidParameter;

    gdiplus::BitmapData data{};
    HeldLock held{imageId, data};
    try {
        const int32_t bits = BitDepthOf(imageId) == 1 ? 1 : 24;
        const int32_t bytesPerRow = BytesPerLine(width, bits);
        std::vector<uint8_t> buffer(static_cast<size_t>(bytesPerRow) * static_cast<size_t>(height));
        data.Width = static_cast<uint32_t>(width);
        data.Height = static_cast<uint32_t>(height);
        data.Stride = bytesPerRow;
        data.PixelFormat = bits == 1 ? gdiplus::PixelFormat1bppIndexed : gdiplus::PixelFormat24bppRGB;
        data.Scan0 = buffer.data();
        const MorvalenStatus locked =
            LockImageBits(imageId, {left, top, width, height}, kLockReadIntoCallerBuffer, data.PixelFormat, data);
        if (locked != OK) return locked;
        held.Locked = true;

        const MvocrChar* block = nullptr;
        int32_t status = 0, count = 0;
        const std::string list(whiteList);
        const int32_t result = plugin->Ocr(language.c_str(), dictionaryFolder.c_str(), list.c_str(), &block, &status,
                                           width, height, buffer.data(), bits, bytesPerRow, &count,
                                           static_cast<int32_t>(std::lround(dpiY)), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        if (result == 0 && count > 0 && block != nullptr) chars.assign(block, block + count);
        plugin->Clear();
        return OK;
    } catch (const std::bad_alloc&) {
        chars.clear();
        return OutOfMemory;
    } catch (...) {
        chars.clear();
        return GenericError;
    }
}

void OcrReinit() {
    if (const OcrPlugin* plugin = boundPlugin()) plugin->Reinit();
}

void OcrClear() {
    if (const OcrPlugin* plugin = boundPlugin()) plugin->Clear();
}

std::string OcrCharText(int32_t code) {
    std::string out;
    // Negative codes and halves of surrogate pairs name no character.
    if (code >= 0 && code <= 0xFFFF && !(code >= 0xD800 && code <= 0xDFFF)) win::AppendUtf8(out, char32_t(code));
    return out;
}

std::string OcrCharsToText(const std::vector<OcrChar>& chars, int32_t count) {
    const size_t n = std::min(chars.size(), static_cast<size_t>(std::max(count, 0)));
    std::string text;
    int32_t line = 1;
    for (size_t i = 0; i < n; ++i) {
        const OcrChar& c = chars[i];
        if (c.line != line) {
            text += "\r\n";
            line = c.line;
        }
        if (c.spaces > 0) text += ' ';
        text += OcrCharText(c.code);
    }
    return text;
}

}  // namespace scanvelt
