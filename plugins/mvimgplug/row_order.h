#pragma once
// The library keeps a bitmap's bottom row first in memory; the plug-in hands
// out every bitmap top row first (see mvimgplug.h). Each bitmap the library
// makes from a file is turned over once as it enters the object table, and
// turned back only for as long as one of the library's encoders reads it.
#include <FreeImage.h>

namespace mvimgplug {

// Turns a bitmap the library decoded into the plug-in's row order. Unloads it
// and gives null when that fails (or for a bitmap without pixels).
FIBITMAP* ToPluginRowOrder(FIBITMAP* decoded);

// Puts a bitmap into the library's row order for the scope of an encoder call.
class LibraryRowOrder {
public:
    explicit LibraryRowOrder(FIBITMAP* bitmap);
    ~LibraryRowOrder();
    LibraryRowOrder(const LibraryRowOrder&) = delete;
    LibraryRowOrder& operator=(const LibraryRowOrder&) = delete;
    bool Turned() const { return turned_; }

private:
    FIBITMAP* bitmap_;
    bool turned_;
};

}  // namespace mvimgplug
