#pragma once
// Turns what tesseract recognised, symbol by symbol, into the plug-in's
// records: UTF-16 code units, 1-based lines, spaces before a word, boxes
// clamped to 16 bits and the confidence on the plug-in's scale.
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/mvocr/mvocr.h"

namespace mvocr {

// One symbol of tesseract's result iterator.
struct RecognisedSymbol {
    std::string Utf8;      // the symbol's text (one or more characters)
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool StartsLine = false;
    bool StartsWord = false;
    float Confidence = 0;  // tesseract's: 0 to 100, higher is better
};

// Tesseract's confidence as the plug-in rates a character: 0 for 100 (sure)
// up to 255 for 0 (a guess), rounded; values outside 0..100 are clamped.
int16_t RecordConfidence(float tesseractConfidence);

// One record per UTF-16 code unit of each symbol (a character outside the
// basic plane gives two, with the same box); invalid UTF-8 gives one record
// of code -1. The first record of a word that does not start its line has
// spaces 1. At most `maxRecords` records are made.
std::vector<MvocrChar> BuildRecords(const std::vector<RecognisedSymbol>& symbols, size_t maxRecords);

}  // namespace mvocr
