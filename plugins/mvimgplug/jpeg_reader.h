#pragma once
// JPEG files are decoded here with libjpeg-turbo, never by the library's own
// JPEG loader (whose metadata readers trust the offsets in a file): the
// accurate integer transform and smooth chroma upsampling, as every JPEG
// route of the engine decodes. The bitmap has the library's layout, its rows
// top first as the plug-in hands bitmaps out, the JFIF resolution, the ICC
// profile, and the EXIF, GPS, IPTC and XMP metadata (metadata_import.h).
//
//   grey            8 bits with a grey palette
//   YCbCr, RGB      24 bits
//   CMYK, YCCK      24 bits (inverted ink where an Adobe marker says so)
#include <FreeImage.h>

#include "plugins/mvimgplug/input_file.h"

namespace mvimgplug {

// Null when the file is not a JPEG libjpeg-turbo reads whole, or when its
// pixels would not fit the pixel budget (pixel_budget.h).
FIBITMAP* ReadJpeg(InputFile& file);

}  // namespace mvimgplug
