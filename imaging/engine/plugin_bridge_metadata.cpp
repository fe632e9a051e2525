#include "imaging/engine/plugin_bridge_metadata.h"

#include <cstring>
#include <string>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_metadata.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_bridge.h"

namespace scanvelt {

namespace {

constexpr uint16_t kTypeRational = 5;

int32_t Le32(const std::vector<uint8_t>& bytes, size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Writes each tag as a property item; the resolution tags also give the dpi.
void ApplyPluginTags(int32_t imageId, const std::vector<PluginTag>& tags, float& dpiX, float& dpiY) {
    for (const PluginTag& tag : tags) {
        SetPropertyItemRaw(imageId, tag.id, tag.type, static_cast<int32_t>(tag.value.size()),
                           tag.value.empty() ? nullptr : tag.value.data(), false);
        const bool resolution = tag.id == kTagXResolution || tag.id == kTagYResolution;
        if (!resolution || tag.length != 8 || tag.value.size() != 8 || tag.type != kTypeRational || tag.count != 1) {
            continue;
        }
        const int32_t numerator = Le32(tag.value, 0);
        const int32_t denominator = Le32(tag.value, 4);
        if (numerator <= 0 || denominator <= 0) continue;
        (tag.id == kTagXResolution ? dpiX : dpiY) = static_cast<float>(numerator) / static_cast<float>(denominator);
    }
}

}  // namespace

void ImportPluginMetadata(int32_t imageId, PluginHandle bitmap, float& dpiX, float& dpiY) {
    std::vector<PluginTag> tags;
    if (ReadPluginMetadata(kPluginModelIptc, bitmap, tags) > 0) {
        if (ImageEntry* entry = FindImageEntry(imageId)) {
            entry->IptcTags.clear();
            for (const PluginTag& tag : tags) {
                IptcTag iptc;
                iptc.TagId = tag.id;
                iptc.Length = static_cast<int32_t>(tag.length);
                iptc.Type = static_cast<int16_t>(tag.type);
                iptc.Count = static_cast<int32_t>(tag.count);
                iptc.Data = tag.value;
                entry->IptcTags.push_back(std::move(iptc));
            }
        }
    }
    for (int32_t model : {kPluginModelExif, kPluginModelGps, kPluginModelExifMain, kPluginModelXmp}) {
        tags.clear();
        if (ReadPluginMetadata(model, bitmap, tags) > 0) ApplyPluginTags(imageId, tags, dpiX, dpiY);
    }
}

void ExportPluginMetadata(int32_t imageId, PluginHandle bitmap) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return;
    int32_t count = 0;
    GetPropertyCountOrZero(imageId, count);
    PluginHandle tag = 0;
    for (int32_t n = 1; n <= count; ++n) {
        const auto item = PropertyItemAt(imageId, n, count);
        if (!item) continue;
        if (tag == 0) tag = plugin->CreateTag();
        if (tag == 0) continue;
        const std::string key(TrimSpaces(item->name()));
        plugin->SetTagKey(tag, key);
        plugin->SetTagLength(tag, static_cast<uint32_t>(item->Length()));
        plugin->SetTagCount(tag, static_cast<uint32_t>(item->ValueCount()));
        plugin->SetTagType(tag, static_cast<uint16_t>(item->ItemType()));
        plugin->SetTagID(tag, static_cast<uint16_t>(item->ID()));
        if (plugin->SetTagValue(tag, item->DataPtr())) {
            plugin->SetMetadata(kPluginModelExif, bitmap, key, tag);
            plugin->DeleteTag(tag);
            tag = 0;
        }
    }
    if (tag != 0) plugin->DeleteTag(tag);
    float dpiX = 0, dpiY = 0;
    GetImageHorizontalResolution(imageId, dpiX);
    GetImageVerticalResolution(imageId, dpiY);
    if (dpiX > 0 && dpiY > 0) {
        SetPluginDpiX(bitmap, RoundToInt32(dpiX));
        SetPluginDpiY(bitmap, RoundToInt32(dpiY));
    }
}

}  // namespace scanvelt
