#pragma once
// The rotation of a page in degrees (0, 90, 180, 270), which poppler's GLib
// binding does not tell: read through its C++ binding over the same file.
#include <string>

namespace mvpdfplug {

int PageRotation(const std::string& path, const std::string& password, int page);

}  // namespace mvpdfplug
