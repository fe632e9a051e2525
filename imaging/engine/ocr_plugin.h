#pragma once
// The OCR plug-in as the controls reach it: "mvocr.dll" (found as
// libmvocr.so the way every library is found) bound by name at the first
// recognition and held for the life of the process, with its version check.
// A missing, unreadable or too old plug-in, or one that lacks a function,
// answers every recognition as a missing dictionary (500); no message is shown.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "plugins/mvocr/mvocr.h"

namespace scanvelt {

// One recognised character, 24 bytes, as the plug-in writes it. Its
// confidence runs from 0 (sure) to 255 (a guess): lower is better.
using OcrChar = MvocrChar;

inline constexpr std::string_view kOcrPluginDll = "mvocr.dll";
inline constexpr int32_t kMinimumOcrPluginVersion = 100;

// Points the binding at another plug-in file (tests); "" restores the default.
// Takes effect at the next recognition.
void SetOcrPluginFile(std::string nameOrPath);

// The language of a TesseractDictionary value: 0 "deu", 1 "frk" (German
// Fraktur), 2 "eng", 3 "fra", 4 "ita", 5 "nld", 6 "por", 7 "spa", 8 "vie",
// 9 "pol"; any other value "eng".
std::string OcrLanguageCode(int32_t dictionary);

// The tessdata folder as the plug-in is given it: trimmed of blanks, with one
// trailing "/"; "" (the system's folder) stays "".
std::string OcrDictionaryFolder(std::string_view folder);

// Recognises the rectangle (left, top, width, height) of an image with the
// dictionary's language from `folder` ("" the system's) and the UTF-8 white
// list ("" no restriction); `chars` receives the records, positions relative
// to the rectangle. OCRDictionaryNotFound when the folder lacks the
// language's file (or the plug-in cannot be had); InvalidParameter for a
// rectangle that does not lie inside the image, the lock's status when it
// cannot be read; OutOfMemory or GenericError for a failure on the
// way. A failed recognition, an empty rectangle and an image without a
// resolution give Ok and no characters. The plug-in is started anew whenever
// another image is recognised than last time on this thread.
MorvalenStatus OcrImage(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height,
                        int32_t dictionary, std::string_view folder, std::string_view whiteList,
                        std::vector<OcrChar>& chars);

// The plug-in's REINIT and CLEAR; nothing when it cannot be had.
void OcrReinit();
void OcrClear();

// The text of a character list: "\r\n" where the line changes from the
// previous one (the first against line 1), one space before a character that
// has spaces before it, then the character (nothing for a code that is no
// character). Only the first `count` records are read.
std::string OcrCharsToText(const std::vector<OcrChar>& chars, int32_t count);

// The UTF-8 of one record's code; "" when it is no character.
std::string OcrCharText(int32_t code);

}  // namespace scanvelt
