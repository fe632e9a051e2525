#pragma once
// Tesseract behind the plug-in: one engine, started for a language and folder
// and kept until another language or folder is asked for or the caller
// drops it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugins/mvocr/ocr_records.h"

namespace tesseract {
class TessBaseAPI;
}

namespace mvocr {

enum class RecogniseResult { Done, NoDictionary, Failed };

class OcrEngine {
public:
    OcrEngine();
    ~OcrEngine();
    OcrEngine(const OcrEngine&) = delete;
    OcrEngine& operator=(const OcrEngine&) = delete;

    // Recognises an 8-bit grey page (width x height bytes, 0 black) of
    // `resolution` dpi (0 unknown) and gives its symbols in reading order.
    // The white list ("" none) is set as the value of tesseract's white-list
    // variable, never read as configuration text.
    RecogniseResult Recognise(const std::string& language, const std::string& folder, const std::string& whiteList,
                              const std::vector<uint8_t>& grey, int32_t width, int32_t height, int32_t resolution,
                              std::vector<RecognisedSymbol>& symbols);

    // Drops the engine; the next recognition starts it anew.
    void Reset();

private:
    bool start(const std::string& language, const std::string& folder);

    std::unique_ptr<tesseract::TessBaseAPI> api_;
    std::string language_;
    std::string folder_;
};

}  // namespace mvocr
