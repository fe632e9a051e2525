#pragma once
// Metadata between plug-in bitmaps and engine images: IPTC tags go into the
// image's entry, EXIF, GPS and XMP tags become property items, and the
// property items of an image go out into the bitmap's EXIF model.
#include <cstdint>

#include "imaging/engine/codec_plugin.h"

namespace scanvelt {

// Plug-in metadata models (the numbering of the plug-in's library).
inline constexpr int32_t kPluginModelExifMain = 1;
inline constexpr int32_t kPluginModelExif = 2;
inline constexpr int32_t kPluginModelGps = 3;
inline constexpr int32_t kPluginModelIptc = 6;
inline constexpr int32_t kPluginModelXmp = 7;

// Copies the bitmap's metadata into the image; dpiX and dpiY receive the
// EXIF resolution (XResolution 282, YResolution 283) where the tags hold a
// positive rational, and keep the caller's values otherwise.
void ImportPluginMetadata(int32_t imageId, PluginHandle bitmap, float& dpiX, float& dpiY);

// Copies every property item of the image into the bitmap's EXIF model and
// gives the bitmap the image's resolution.
void ExportPluginMetadata(int32_t imageId, PluginHandle bitmap);

}  // namespace scanvelt
