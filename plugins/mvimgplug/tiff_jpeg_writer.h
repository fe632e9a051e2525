#pragma once
// TIFF files with JPEG compression, written by libtiff so that the quality can
// be chosen (the library's own TIFF writer has a fixed one).
#include <FreeImage.h>

#include <cstdint>
#include <string>

namespace mvimgplug {

// The quality of the next saves, clamped to 1..100; 75 until set.
void SetTiffJpegQuality(int32_t quality);
int32_t TiffJpegQuality();

// Writes the bitmap (top row first) to `path` as one JPEG-compressed image:
// 8-bit grey as such, everything else as RGB (YCbCr inside the file), with
// the bitmap's resolution in dpi. False when the bitmap cannot be brought to
// 8-bit grey or 24-bit colour, or the file cannot be written.
bool WriteTiffJpeg(FIBITMAP* bitmap, const std::string& path);

}  // namespace mvimgplug
