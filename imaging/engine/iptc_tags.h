#pragma once
// IPTC tags of an image. GDI+ does not read them: they come from the codec
// plug-in when an image is loaded through it and live in the image's entry,
// so every operation here needs the plug-in. Tags are numbered from 1.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// MvimgplugDllRequired without the plug-in; OK with count untouched for an
// unregistered ID; otherwise OK with the number of tags.
MorvalenStatus GetIptcTagCount(int32_t imageId, int32_t& count);
// MvimgplugDllRequired without the plug-in; PropertyNotFound for an
// unregistered ID or n outside the tags.
MorvalenStatus GetIptcTagId(int32_t imageId, int32_t n, int32_t& tagId);
// The same statuses; the tag's value as text (see PropertyValueText), and
// GenericError when a value cannot be written, such as a rational over 0.
MorvalenStatus GetIptcTagValueText(int32_t imageId, int32_t n, std::string& text);

}  // namespace scanvelt
