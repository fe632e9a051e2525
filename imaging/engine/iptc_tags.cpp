#include "imaging/engine/iptc_tags.h"

#include <optional>

#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/property_value_text.h"

namespace scanvelt {

namespace {

// Tag n of a registered image, null outside its tags.
const IptcTag* IptcTagAt(int32_t imageId, int32_t n) {
    const ImageEntry* entry = FindImageEntry(imageId);
    if (entry == nullptr || n < 1 || n > static_cast<int32_t>(entry->IptcTags.size())) return nullptr;
    return &entry->IptcTags[static_cast<size_t>(n) - 1];
}

}  // namespace

MorvalenStatus GetIptcTagCount(int32_t imageId, int32_t& count) {
    if (!PluginAvailable()) return MvimgplugDllRequired;
    if (const ImageEntry* entry = FindImageEntry(imageId)) count = static_cast<int32_t>(entry->IptcTags.size());
    return OK;
}

MorvalenStatus GetIptcTagId(int32_t imageId, int32_t n, int32_t& tagId) {
    if (!PluginAvailable()) return MvimgplugDllRequired;
    const IptcTag* tag = IptcTagAt(imageId, n);
    if (tag == nullptr) return PropertyNotFound;
    tagId = tag->TagId;
    return OK;
}

MorvalenStatus GetIptcTagValueText(int32_t imageId, int32_t n, std::string& text) {
    if (!PluginAvailable()) return MvimgplugDllRequired;
    const IptcTag* tag = IptcTagAt(imageId, n);
    if (tag == nullptr) return PropertyNotFound;
    std::optional<std::string> value = PropertyValueText(tag->TagId, tag->Type, tag->Length, tag->Count, tag->Data);
    if (!value) return GenericError;
    text = std::move(*value);
    return OK;
}

}  // namespace scanvelt
