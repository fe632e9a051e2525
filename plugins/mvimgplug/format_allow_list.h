#pragma once
// The formats that reach the library: those the imaging engine reads or
// writes through the plug-in (JPEG, TIFF, JPEG 2000, OpenEXR, ICO, the PNM
// family, TGA, WBMP, XPM). The library's other decoders are switched off, so
// neither a content test nor a load ever runs them; a format code outside the
// list is answered like an unknown one.
#include <cstdint>
#include <span>

namespace mvimgplug {

std::span<const int32_t> AllowedFormats();
bool IsAllowedFormat(int32_t format);
// Formats whose files the plug-in opens page by page (TIFF, ICO).
bool IsMultiPageFormat(int32_t format);
// The load flags for `format`: an icon is always read with the transparency
// of its AND mask as alpha (32-bit icons keep their own), as every reader of
// icons shows them; other formats keep `flags`.
int32_t WithIconTransparency(int32_t format, int32_t flags);
// Enables exactly the allowed formats in the library.
void RestrictLibraryToAllowedFormats();

}  // namespace mvimgplug
