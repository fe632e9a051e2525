#pragma once
// TIFF pages are decoded here with libtiff, never by the library's own TIFF
// loader: that loader reads freed memory while it takes over a page's ICC
// profile and metadata. The bitmap made here has the library's layout (so
// every other export serves it as before), its rows top first as the plug-in
// hands bitmaps out, the file's resolution, a copy of its ICC profile and the
// page's metadata: its tags and EXIF sub-IFD, GPS, IPTC and XMP
// (metadata_import.h; of a BigTIFF page, its descriptive text tags alone).
//
// Kinds of page, and what they become:
//   1/2/4/8-bit grey and palette         1, 4 or 8 bits with a palette
//   8-bit grey + alpha, RGB, RGBA, CMYK  24 or 32 bits (alpha un-premultiplied)
//   12/16-bit grey                        unsigned 16-bit grey
//   12/16-bit RGB(A), CMYK                16-bit-per-channel RGB(A)
//   32/64-bit float grey or RGB           float grey or float RGB
//   CIELab and ICCLab of 8 or 16 bits     like RGB, converted to sRGB
//   anything else libtiff renders         24 or 32 bits (YCbCr, JPEG, LogLuv ...)
#include <FreeImage.h>

#include <cstdint>

#include "plugins/mvimgplug/input_file.h"

namespace mvimgplug {

// Number of pages of a TIFF file; 0 when libtiff cannot read it.
int32_t TiffPageCount(InputFile& file);

// Page `index` (from 0) of a TIFF file; null when it cannot be read, or when
// its pixels would not fit the pixel budget (pixel_budget.h).
FIBITMAP* ReadTiffPage(InputFile& file, int32_t index);

}  // namespace mvimgplug
