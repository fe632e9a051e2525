#pragma once
// The library's XPM reader runs off the end of a file whose colour or pixel
// strings are fewer or shorter than its header says. Before an XPM file
// reaches it, its strings are counted and measured here.
#include <cstdio>

namespace mvimgplug {

// Whether the XPM file in `stream` holds the strings its header promises:
// ncolours colour strings of at least cpp characters and height pixel strings
// of at least width x cpp characters, with a picture within the pixel budget.
bool XpmHoldsTogether(std::FILE* stream);

}  // namespace mvimgplug
