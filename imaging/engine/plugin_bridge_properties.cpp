// Resolution, palette, metadata records and saving of plug-in bitmaps.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_bridge.h"

namespace scanvelt {

namespace {

constexpr double kMetresPerInch = 0.0254;

int32_t DpiOf(uint32_t dotsPerMetre) { return static_cast<int32_t>(std::floor(dotsPerMetre * kMetresPerInch + 0.5)); }

uint32_t DotsPerMetreOf(int32_t dpi) {
    if (dpi <= 0) return 0;
    return static_cast<uint32_t>(std::floor(dpi / kMetresPerInch + 0.5));
}

}  // namespace

int32_t PluginDpiX(PluginHandle bitmap) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    return plugin == nullptr ? 0 : DpiOf(plugin->GetDotsPerMeterX(bitmap));
}

int32_t PluginDpiY(PluginHandle bitmap) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    return plugin == nullptr ? 0 : DpiOf(plugin->GetDotsPerMeterY(bitmap));
}

void SetPluginDpiX(PluginHandle bitmap, int32_t dpi) {
    if (CodecPlugin* plugin = ActiveCodecPlugin()) plugin->SetDotsPerMeterX(bitmap, DotsPerMetreOf(dpi));
}

void SetPluginDpiY(PluginHandle bitmap, int32_t dpi) {
    if (CodecPlugin* plugin = ActiveCodecPlugin()) plugin->SetDotsPerMeterY(bitmap, DotsPerMetreOf(dpi));
}

int32_t SetPluginPalette(PluginHandle bitmap, std::span<const uint32_t> colours) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return 0;
    const uint32_t count = plugin->GetColorsUsed(bitmap);
    uint8_t* palette = plugin->GetPalette(bitmap);
    if (count == 0 || palette == nullptr) return 0;
    // ARGB values are B, G, R, A in memory, the palette's own layout.
    const size_t copied = std::min<size_t>(count, colours.size());
    std::memcpy(palette, colours.data(), copied * sizeof(uint32_t));
    return static_cast<int32_t>(count);
}

int32_t ReadPluginMetadata(int32_t model, PluginHandle bitmap, std::vector<PluginTag>& tags) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return 0;
    const auto count = static_cast<int32_t>(plugin->GetMetadataCount(model, bitmap));
    if (count < 1) return 0;
    tags.assign(static_cast<size_t>(count), PluginTag{});
    PluginHandle tag = 0;
    const PluginHandle search = plugin->FindFirstMetadata(model, bitmap, tag);
    if (search == 0) return count;
    size_t next = 0;
    do {
        if (next < tags.size()) tags[next++] = plugin->TagRecord(tag);
    } while (plugin->FindNextMetadata(search, tag));
    plugin->FindCloseMetadata(search);
    return count;
}

PluginTag PluginTagRecord(PluginHandle tag) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    return plugin == nullptr || tag == 0 ? PluginTag{} : plugin->TagRecord(tag);
}

bool PluginSave(int32_t formatCode, PluginHandle bitmap, const std::string& path, int32_t flags) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    return plugin != nullptr && plugin->SaveU(formatCode, bitmap, path, flags) == 1;
}

}  // namespace scanvelt
