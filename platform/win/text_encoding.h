#pragma once
// Text crossing a Windows boundary: "ANSI" is Windows-1252 (our own table,
// never the process locale), and UTF-16 as the Windows wide-string APIs hold
// it. Text inside the library is UTF-8.
#include <string>
#include <string_view>

namespace win {

// Each byte becomes the Windows-1252 character for it. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same code, as Windows converts them, so every
// byte string survives the round trip.
std::string AnsiToUtf8(std::string_view bytes);

// Each character becomes its Windows-1252 byte; characters the code page
// lacks, and malformed UTF-8 bytes, become '?'.
std::string Utf8ToAnsi(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Malformed UTF-8 bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Appends one code point (at most U+10FFFF, not a surrogate) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Number of code points in UTF-8 text (a malformed byte counts as one).
size_t Utf8Length(std::string_view text);

}  // namespace win
