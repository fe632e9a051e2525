#pragma once
// Paths arrive as UTF-16 and meet the file system as UTF-8.
#include <string>

namespace mvimgplug {

// The UTF-8 form of a NUL-terminated UTF-16 path; empty for null, an empty
// path, or one with an unpaired surrogate (no file can have that name).
std::string PathFromUtf16(const char16_t* path);

}  // namespace mvimgplug
