#include "plugins/mvocr/ocr_records.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mvocr {
namespace {

int16_t clamp16(int32_t value) {
    return static_cast<int16_t>(
        std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

// The code points of a UTF-8 text; -1 for each byte that starts no valid sequence.
std::vector<int32_t> codePoints(const std::string& text) {
    std::vector<int32_t> out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        int length = 0;
        int32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= size;
        for (int k = 1; valid && k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (bytes[i + k] & 0x3F);
        }
        static constexpr int32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
        if (!valid) {
            out.push_back(-1);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += length;
    }
    return out;
}

}  // namespace

int16_t RecordConfidence(float tesseractConfidence) {
    float sure = std::isnan(tesseractConfidence) ? 0.0f : std::clamp(tesseractConfidence, 0.0f, 100.0f);
    return static_cast<int16_t>(std::lround((100.0f - sure) * 255.0f / 100.0f));
}

std::vector<MvocrChar> BuildRecords(const std::vector<RecognisedSymbol>& symbols, size_t maxRecords) {
    std::vector<MvocrChar> records;
    int32_t line = 0;
    for (const RecognisedSymbol& symbol : symbols) {
        if (symbol.StartsLine || line == 0) ++line;
        MvocrChar record{};
        record.line = clamp16(line);
        record.left = clamp16(symbol.Left);
        record.top = clamp16(symbol.Top);
        record.right = clamp16(symbol.Right);
        record.bottom = clamp16(symbol.Bottom);
        record.confidence = RecordConfidence(symbol.Confidence);
        bool first = true;
        for (int32_t cp : codePoints(symbol.Utf8)) {
            if (records.size() >= maxRecords) return records;
            record.spaces = (first && symbol.StartsWord && !symbol.StartsLine) ? 1 : 0;
            first = false;
            if (cp > 0xFFFF) {
                const int32_t v = cp - 0x10000;
                record.code = 0xD800 + (v >> 10);
                records.push_back(record);
                if (records.size() >= maxRecords) return records;
                record.spaces = 0;
                record.code = 0xDC00 + (v & 0x3FF);
            } else {
                record.code = cp;
            }
            records.push_back(record);
        }
    }
    return records;
}

}  // namespace mvocr
