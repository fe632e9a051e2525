#pragma once
// Small stateless helpers the library shares. None of them throws: each
// reports failure through its result.
#include "platform/win/guid.h"

#include <cstdint>
#include <span>
#include <string>

namespace scanvelt {

// The 16-byte GUID of a registry-form text "{...}"; the null GUID for a text
// that does not parse (callers pass only fixed GUID texts).
win::Guid GuidFromString(std::string_view text);

// Copies of NUL-terminated strings that outside libraries return by address
// (the memory stays theirs); empty for a null address. ANSI is Windows-1252.
std::string StringFromAnsiPtr(const char* text);
std::string StringFromWidePtr(const char16_t* text);

// `path` itself when it names a regular file that opens for reading (the
// path is resolved as a Windows path: "\" separators, names in any case);
// otherwise an empty string.
std::string ExistingFilePath(const std::string& path);

// The text without the spaces at either end (tabs and other blanks stay).
std::string_view TrimSpaces(std::string_view text);
// ASCII letters in lower case, every other byte as it is.
std::string LowerCaseAscii(std::string_view text);

// Elements of a one-dimensional array (upper bound - lower bound + 1); 0 for
// an array that was never dimensioned (empty) and for a count past 32 bits.
int32_t StringArrayCount(std::span<const std::string> array);
int32_t LongArrayCount(std::span<const int32_t> array);
int32_t DoubleArrayCount(std::span<const double> array);
int32_t ByteArrayCount(std::span<const uint8_t> array);

double MaxDouble(double a, double b);
double MinDouble(double a, double b);

// The smallest i >= 0 for which x * 10^i, rounded to single precision, is a
// whole number (72 gives 0, 72.5 gives 1, 0.1 gives 1); 0 for NaN.
int32_t DecimalPlaces(float x);

// 32 random upper-case hexadecimal digits as 8-4-4-4-12, joined by "-".
std::string RandomGuidString();

// The one UTF-16 character of a code from -32768 to 65535 (a negative code
// stands for code + 65536) as UTF-8; a lone surrogate half cannot be held in
// UTF-8 and comes out as U+FFFD. Empty for any other code.
std::string SafeChrW(int32_t code);

uint16_t HighWord(int32_t value);
uint16_t LowWord(int32_t value);

}  // namespace scanvelt
