#pragma once
// The small pieces of PDF syntax every part of the writer shares: numbers as
// the writer prints them, hex strings and the escapes of literal strings.
// Strings here are single-byte text: one char per byte of the file.
#include <string>
#include <string_view>

namespace scanvelt {

// Rounded to 3 decimals (halves to even) in its shortest decimal form with
// "." as separator: "842", "595.2", "0.333", "-0.5".
std::string FormatNumber(double value);
// Exactly `decimals` decimals with "." as separator, no grouping: "595.20".
std::string FormatFixed(double value, int decimals);
// Each byte as two upper-case hex digits.
std::string HexString(std::string_view bytes);
// "\" -> "\\", "(" -> "\(", ")" -> "\)", CR -> "\r", LF -> "\n".
std::string EscapePdfString(std::string_view bytes);
// "\" -> "\\", "(" -> "\(", ")" -> "\)" only.
std::string EscapePdfStringBasic(std::string_view bytes);

}  // namespace scanvelt
