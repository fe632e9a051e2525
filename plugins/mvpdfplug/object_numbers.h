#pragma once
// poppler sizes its cross-reference table by the largest object number a file
// names ("N G obj", "/Size N"), even a damaged file's: a few bytes can claim a
// billion objects and make it allocate gigabytes. The plug-in refuses such a
// file before poppler reads it.
#include <cstdint>
#include <string>
#include <string_view>

namespace mvpdfplug {

// The largest object number `pdf` names, 0 when it names none.
uint64_t LargestObjectNumber(std::string_view pdf);

// Whether the file at `path` names no more objects than a file of its size can
// hold (with a generous allowance for sparse numbering); false when it cannot be read.
bool ObjectNumbersWithinReason(const std::string& path);

}  // namespace mvpdfplug
