#pragma once
// Pages of printed text drawn in code for the OCR tests: lines of text in a
// sans-serif face on white, with where each word was drawn.
#include <cstdint>
#include <string>
#include <vector>

namespace mvocr::testing {

struct DrawnWord {
    std::string Text;
    // Ink box in pixels, and the baseline's y.
    double Left = 0, Top = 0, Right = 0, Bottom = 0, Baseline = 0;
};

struct TextPage {
    int32_t Width = 0, Height = 0;
    int32_t Stride = 0;              // bytes per row of Bgr
    std::vector<uint8_t> Bgr;        // 24-bit rows, B, G, R, top row first
    std::vector<DrawnWord> Words;
};

// A page of width x height pixels at `dpi` with `lines` drawn from (left,
// top) in points of `pointSize`, one line every 1.5 x pointSize.
TextPage DrawTextPage(int32_t width, int32_t height, double dpi, const std::vector<std::string>& lines,
                      double pointSize = 12, double leftInches = 1, double topInches = 1);

// The page's rows packed to 1 bit (first pixel in the high bit, 0 black).
std::vector<uint8_t> OneBitRows(const TextPage& page, int32_t& bytesPerRow);

}  // namespace mvocr::testing
