#include "imaging/output/pdf_ocr_layer.h"

#include <algorithm>

namespace scanvelt {
namespace {

constexpr int32_t kLayerFont = 1;
// A word wider than any page cannot keep the size search going for ever.
constexpr float kLargestWordSize = 1000.0f;

// The records of the word starting at `first`: on its line, and after the
// first one without spaces before them. Returns one past the last.
size_t wordEnd(const std::vector<OcrChar>& chars, size_t first, size_t count) {
    size_t i = first + 1;
    while (i < count && chars[i].line == chars[first].line && chars[i].spaces == 0) ++i;
    return i;
}

size_t readable(const std::vector<OcrChar>& chars, int32_t count) {
    return std::min(chars.size(), static_cast<size_t>(std::max(count, 0)));
}

bool reachesBelowBaseline(int32_t code) { return code == 'p' || code == 'q' || code == 'j' || code == 'g'; }

std::string trimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

float OcrWordBaseline(const std::vector<OcrChar>& chars, int32_t first, int32_t count, int32_t resolutionY,
                      const cPDF& writer) {
    const size_t n = readable(chars, count);
    if (first < 0 || static_cast<size_t>(first) >= n || resolutionY <= 0) return writer.PaperHeight();
    const size_t s = static_cast<size_t>(first);
    double sum = 0;
    int32_t letters = 0;
    for (size_t i = s, end = wordEnd(chars, s, n); i < end; ++i) {
        if (reachesBelowBaseline(chars[i].code)) continue;
        sum += chars[i].bottom;
        ++letters;
    }
    const double bottom = letters > 0 ? sum / letters : chars[s].bottom;
    return static_cast<float>(writer.PaperHeight() - bottom / resolutionY * 72);
}

float OcrWordFontSize(const std::vector<OcrChar>& chars, int32_t first, int32_t count, int32_t resolutionX,
                      const cPDF& writer) {
    const size_t n = readable(chars, count);
    std::string word;
    double target = 0;
    if (first >= 0 && static_cast<size_t>(first) < n && resolutionX > 0) {
        const size_t s = static_cast<size_t>(first);
        const size_t end = wordEnd(chars, s, n);
        for (size_t i = s; i < end; ++i) word += OcrCharText(chars[i].code);
        target = static_cast<double>(chars[end - 1].right - chars[s].left) / resolutionX * 72;
    }
    float size = 0.1f;
    float previous = -1;
    while (size <= kLargestWordSize) {
        const float width = writer.TextWidth(word, kLayerFont, size);
        if (width == previous) break;
        const bool reached = width >= target;
        size = static_cast<float>(size + 0.1f);
        previous = width;
        if (reached) break;
    }
    return size;
}

std::string DrawOcrTextToPdf(const std::vector<OcrChar>& chars, int32_t count, cPDF& writer, int32_t image) {
    const size_t n = readable(chars, count);
    const int32_t resX = writer.ImageResX(image);
    const int32_t resY = writer.ImageResY(image);
    if (n == 0 || resX <= 0 || resY <= 0) return {};

    std::string word, text;
    size_t wordFirst = 0;
    float wordX = 0;
    int32_t line = 1;
    bool lineChanged = false;
    auto draw = [&] {
        const float y = OcrWordBaseline(chars, static_cast<int32_t>(wordFirst), count, resY, writer);
        const float size = OcrWordFontSize(chars, static_cast<int32_t>(wordFirst), count, resX, writer);
        writer.DrawText(wordX, y, word, kLayerFont, size, 0, 0);
    };
    for (size_t i = 0; i < n; ++i) {
        const OcrChar& c = chars[i];
        const bool starts = i == 0 || c.spaces > 0 || c.line != chars[i - 1].line;
        if (starts && i > 0) {
            // A word followed by another on its line carries the space between them.
            if (i + 1 < n - 1 && chars[i].line == chars[i + 1].line) word += ' ';
            draw();
            text += word;
            if (!text.empty()) text += ' ';
        }
        if (starts) {
            word = OcrCharText(c.code);
            wordFirst = i;
            wordX = static_cast<float>(static_cast<double>(c.left) / resX * 72);
        } else {
            word += OcrCharText(c.code);
        }
        if (c.line != line) lineChanged = true;
        line = c.line;
        if (i + 1 == n) {
            if (!word.empty()) {
                draw();
                text += word;
            }
        } else if (lineChanged) {
            if (!text.empty()) text = trimSpaces(text) + "\r\n";
            lineChanged = false;
        }
    }
    return text;
}

}  // namespace scanvelt
