#pragma once
// The invisible text layer of a searchable PDF: recognised characters laid as
// words in text rendering mode 3 over the page image, each word at its place
// and sized to its width, so that a reader finds, marks and copies them.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/engine/ocr_plugin.h"
#include "imaging/output/pdf_document.h"

namespace scanvelt {

// Draws the words of the first `count` records over the open page in font 1
// of the writer (the caller loaded it first and set text mode 3) and returns
// their text: words separated by one space, lines by "\r\n". `image` is the
// writer's number of the page image, whose resolution maps pixels to points;
// without a resolution nothing is drawn and the text is empty.
std::string DrawOcrTextToPdf(const std::vector<OcrChar>& chars, int32_t count, cPDF& writer, int32_t image);

// The PDF y of the baseline of the word starting at record `first`: the mean
// bottom of its letters that do not reach below the line (all but g, j, p, q),
// or its first letter's bottom when every letter does.
float OcrWordBaseline(const std::vector<OcrChar>& chars, int32_t first, int32_t count, int32_t resolutionY,
                      const cPDF& writer);

// The font size (points, steps of 0.1) at which the word starting at record
// `first` is as wide in font 1 as its box: one step above the first size
// whose width reaches the box. Never above 1000 points.
float OcrWordFontSize(const std::vector<OcrChar>& chars, int32_t first, int32_t count, int32_t resolutionX,
                      const cPDF& writer);

}  // namespace scanvelt
