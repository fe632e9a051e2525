#include "imaging/engine/codec_plugin_routes.h"

#include "imaging/engine/imaging_session.h"

namespace scanvelt {

namespace {

thread_local CodecPluginRoutes tRoutes;

}  // namespace

void SetCodecPluginRoutes(CodecPluginRoutes routes) { tRoutes = std::move(routes); }

MorvalenStatus LoadThroughPlugin(int32_t& outId, const std::string& path, bool useIcm, bool keepTiffNative,
                                 bool keepGifNative) {
    if (!PluginAvailable() || !tRoutes.load) return Aborted;
    return tRoutes.load(outId, path, useIcm, keepTiffNative, keepGifNative);
}

bool SaveThroughPlugin(int32_t imageId, int32_t formatCode, const std::string& path, int32_t flags) {
    if (!PluginAvailable() || !tRoutes.save) return false;
    return tRoutes.save(imageId, formatCode, path, flags);
}

MorvalenStatus LoadPluginPage(int32_t containerId, int32_t page, int32_t pluginFormat, int32_t& pageId) {
    pageId = 0;
    if (!PluginAvailable() || !tRoutes.loadPage) return OK;
    return tRoutes.loadPage(containerId, page, pluginFormat, pageId);
}

}  // namespace scanvelt
