#pragma once
// The library writes the index bits of a 1-bit bitmap into PBM and WBMP files
// as they are, whatever the palette says: PBM reads a set bit as black, WBMP
// as white, so a bitmap whose palette has the other sense would come out as
// its negative. The plug-in hands the encoder a copy in the file's sense.
#include <FreeImage.h>

#include <cstdint>

namespace mvimgplug {

// A copy of a 1-bit bitmap with its bits inverted and its two palette entries
// swapped, when `format` reads the bits in the other sense than the palette
// gives them; null when the bitmap can be written as it is.
FIBITMAP* CopyInFileSense(int32_t format, FIBITMAP* bitmap);

}  // namespace mvimgplug
