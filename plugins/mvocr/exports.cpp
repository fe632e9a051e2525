// The plug-in's exports: one engine and the last results, behind one lock.
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "plugins/mvocr/grey_page.h"
#include "plugins/mvocr/mvocr.h"
#include "plugins/mvocr/ocr_engine.h"
#include "plugins/mvocr/ocr_records.h"
#include "plugins/mvocr/tessdata_folder.h"

namespace {

// More records than a page could hold; a forged result cannot grow past it.
constexpr size_t kMaxRecords = 1'000'000;

struct PluginState {
    std::mutex mutex;
    mvocr::OcrEngine engine;
    std::vector<MvocrChar> results;
};

PluginState& state() {
    static PluginState* s = new PluginState();  // lives as long as the loaded plug-in
    return *s;
}

int32_t fail(int32_t* status, int32_t code) {
    if (status != nullptr) *status = code;
    return code;
}

}  // namespace

extern "C" {

MVOCR_API int32_t MVOCR_HasDictionary(const char* language, const char* folder) {
    if (language == nullptr) return 0;
    try {
        return mvocr::HasDictionary(language, folder != nullptr ? folder : "") ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

MVOCR_API int32_t MVOCR_OCR(const char* language, const char* folder, const char* whiteList, const MvocrChar** block,
                            int32_t* status, int32_t width, int32_t height, const uint8_t* pixels,
                            int32_t bitsPerPixel, int32_t bytesPerRow, int32_t* count, int32_t resolution,
                            int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                            int32_t) {
    if (count != nullptr) *count = 0;
    if (block != nullptr) *block = nullptr;
    if (status != nullptr) *status = MVOCR_STATUS_OK;
    if (language == nullptr || block == nullptr || count == nullptr) return fail(status, MVOCR_STATUS_BAD_ARGUMENT);
    PluginState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    try {
        s.results.clear();
        std::vector<uint8_t> grey;
        switch (mvocr::MakeGreyPage(pixels, width, height, bitsPerPixel, bytesPerRow, grey)) {
            case mvocr::GreyPageResult::Made: break;
            case mvocr::GreyPageResult::BadArgument: return fail(status, MVOCR_STATUS_BAD_ARGUMENT);
            case mvocr::GreyPageResult::TooLarge: return fail(status, MVOCR_STATUS_OUT_OF_MEMORY);
        }
        std::vector<mvocr::RecognisedSymbol> symbols;
        switch (s.engine.Recognise(language, folder != nullptr ? folder : "", whiteList != nullptr ? whiteList : "",
                                   grey, width, height, resolution, symbols)) {
            case mvocr::RecogniseResult::Done: break;
            case mvocr::RecogniseResult::NoDictionary: return fail(status, MVOCR_STATUS_NO_DICTIONARY);
            case mvocr::RecogniseResult::Failed: return fail(status, MVOCR_STATUS_NOT_RECOGNISED);
        }
        s.results = mvocr::BuildRecords(symbols, kMaxRecords);
    } catch (const std::bad_alloc&) {
        s.results.clear();
        return fail(status, MVOCR_STATUS_OUT_OF_MEMORY);
    } catch (...) {
        s.results.clear();
        return fail(status, MVOCR_STATUS_NOT_RECOGNISED);
    }
    *block = s.results.empty() ? nullptr : s.results.data();
    *count = static_cast<int32_t>(s.results.size());
    return 0;
}

MVOCR_API void MVOCR_REINIT(void) {
    PluginState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.engine.Reset();
}

MVOCR_API void MVOCR_CLEAR(void) {
    PluginState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<MvocrChar>().swap(s.results);
}

}  // extern "C"
