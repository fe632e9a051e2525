#pragma once
// The keys under which tags read from a file are stored: the names that EXIF,
// GPS and IPTC give their fields, so that a search over a bitmap's metadata
// names what it finds. A field without a name here is keyed by its number.
#include <cstdint>
#include <string>

#include "platform/gdiplus/codecs/tiff_tags.h"

namespace mvimgplug {

// The field's name in its directory, or "Tag 0xNNNN".
std::string ExifTagKey(gdiplus::codecs::TagDirectory directory, uint16_t id);

// The name of IPTC data set `id` (record << 8 | data set), or "Tag 0xNNNN".
std::string IptcTagKey(uint16_t id);

}  // namespace mvimgplug
