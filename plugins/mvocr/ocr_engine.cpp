#include "plugins/mvocr/ocr_engine.h"

#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>

#include "plugins/mvocr/tessdata_folder.h"

namespace mvocr {
namespace {

std::string takeText(char* text) {
    std::string out = text != nullptr ? text : "";
    delete[] text;
    return out;
}

}  // namespace

OcrEngine::OcrEngine() = default;
OcrEngine::~OcrEngine() { Reset(); }

void OcrEngine::Reset() {
    if (api_) api_->End();
    api_.reset();
    language_.clear();
    folder_.clear();
}

bool OcrEngine::start(const std::string& language, const std::string& folder) {
    if (api_ && language == language_ && folder == folder_) return true;
    Reset();
    if (!IsPlainLanguageName(language) || !HasDictionary(language, folder)) return false;
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // Tesseract's own chatter (resolution estimates, warnings) stays out of the host's output.
    api->SetVariable("debug_file", "/dev/null");
    if (api->Init(TessdataFolder(folder).c_str(), language.c_str(), tesseract::OEM_DEFAULT) != 0) return false;
    api->SetPageSegMode(tesseract::PSM_AUTO);
    // No hunt for vertical text: a page turned a quarter clockwise then reads
    // as poorly as it looks, which is what tells a turned page from an upright
    // one. (Tesseract still turns and reads a page lying the other way.)
    api->SetVariable("textord_tabfind_vertical_text", "0");
    api_ = std::move(api);
    language_ = language;
    folder_ = folder;
    return true;
}

RecogniseResult OcrEngine::Recognise(const std::string& language, const std::string& folder,
                                     const std::string& whiteList, const std::vector<uint8_t>& grey, int32_t width,
                                     int32_t height, int32_t resolution, std::vector<RecognisedSymbol>& symbols) {
    symbols.clear();
    // Tesseract runs on the caller's thread alone: its OpenMP workers would
    // spin against the host's threads on a busy machine and outlive the call.
    // The setting holds for parallel regions this thread starts only.
    omp_set_max_active_levels(0);
    if (!start(language, folder)) return RecogniseResult::NoDictionary;
    // Words stay apart whatever the list: without the space tesseract would
    // run a whole line into one word it cannot rate.
    std::string allowed = whiteList;
    if (!allowed.empty() && allowed.find(' ') == std::string::npos) allowed += ' ';
    if (!api_->SetVariable("tessedit_char_whitelist", allowed.c_str())) return RecogniseResult::Failed;
    api_->SetImage(grey.data(), width, height, 1, width);
    if (resolution > 0) api_->SetSourceResolution(resolution);
    if (api_->Recognize(nullptr) != 0) {
        api_->Clear();
        return RecogniseResult::Failed;
    }
    std::unique_ptr<tesseract::ResultIterator> it(api_->GetIterator());
    if (it) {
        constexpr auto kSymbol = tesseract::RIL_SYMBOL;
        // A line or word whose first symbol has no text starts at its next one.
        bool lineStarts = false, wordStarts = false;
        float wordConfidence = 100;
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_WORD)) wordConfidence = it->Confidence(tesseract::RIL_WORD);
            lineStarts = lineStarts || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE);
            wordStarts = wordStarts || it->IsAtBeginningOf(tesseract::RIL_WORD);
            if (it->Empty(kSymbol)) continue;
            RecognisedSymbol symbol;
            symbol.Utf8 = takeText(it->GetUTF8Text(kSymbol));
            if (symbol.Utf8.empty()) continue;
            it->BoundingBox(kSymbol, &symbol.Left, &symbol.Top, &symbol.Right, &symbol.Bottom);
            symbol.StartsLine = lineStarts;
            symbol.StartsWord = wordStarts;
            lineStarts = wordStarts = false;
            // A letter is no surer than its word: the recogniser rates single
            // letters of a misread word (a turned page) as sure as clear print.
            symbol.Confidence = std::min(it->Confidence(kSymbol), wordConfidence);
            symbols.push_back(std::move(symbol));
        } while (it->Next(kSymbol));
    }
    api_->Clear();
    return RecogniseResult::Done;
}

}  // namespace mvocr
