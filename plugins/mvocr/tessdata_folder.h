#pragma once
// Where a language's dictionary lies: the caller's tessdata folder, or the
// system's when the caller gives none.
#include <string>

namespace mvocr {

// The folder tesseract reads: `folder` as given, or for "" the one named by
// TESSDATA_PREFIX, else the one the system's tesseract ships its data in.
std::string TessdataFolder(const std::string& folder);

// A language name that can only name a file in that folder: letters, digits,
// "_" and "-" (no path separator, no "+" list of languages).
bool IsPlainLanguageName(const std::string& language);

// <folder>/<language>.traineddata exists and is a regular file.
bool HasDictionary(const std::string& language, const std::string& folder);

}  // namespace mvocr
