#pragma once
// The control's OCR members: recognition of the region of interest of the
// current image, the characters read one by one with 1-based numbers, and
// the page orientation guessed from recognising a part of it in four quarter
// turns. Texts are UTF-8.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// Recognises the region; its text ("\r\n" at a line change, a character's
// spaces before it). Without a current image: status 1 and "", the
// characters kept. The status becomes the last status; after a failure the
// count is 0. A result of one "~" alone reads as "".
std::string OCRTesseractDoOCR(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath,
                              const std::string& whiteList = "");
int32_t OCRTesseractGetCharCount(const TwainControl& control);
// Fields of character n (1-based); 0 outside 1..count.
int32_t OCRTesseractGetCharCode(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharLine(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharLeft(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharRight(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharTop(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharBottom(const TwainControl& control, int32_t n);
int32_t OCRTesseractGetCharSpaces(const TwainControl& control, int32_t n);
// The record's confidence as 0 to 100, lower is surer (tesseract's own
// certainty subtracted from 100); 100 outside 1..count.
float OCRTesseractGetCharConfidence(const TwainControl& control, int32_t n);
void OCRTesseractClear(TwainControl& control);

// The RotateFlipType the page lies in: 0 upright, 3, 2 or 1 when one, two or
// three quarter turns clockwise make it read best, and clearly better than
// upright. The accuracy level (1 to 5) picks the part recognised: the top-left
// 1 / (6 - level) of the page in each direction.
int32_t OCRTesseractGetOrientationEx(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath,
                                     float accuracyLevel);
int32_t OCRTesseractGetOrientation(TwainControl& control, int32_t dictionary, const std::string& dictionaryPath);

// The orientation chosen from the mean confidence of each pass (upright,
// then turned once, twice, three times) and whether it found characters.
int32_t ChooseOrientation(const float means[4], const bool found[4]);

}  // namespace scanvelt
