#include "imaging/engine/codec_plugin_routes.h"

#include "imaging/engine/imaging_session.h"

namespace scanvelt {

// Turning plug-in bitmaps into images and back is the codec bridge's; until
// it is linked in, the plug-in routes report what they report without the
// plug-in, and every caller falls back to GDI+.

MorvalenStatus LoadThroughPlugin(int32_t& /*outId*/, const std::string& /*path*/, bool /*useIcm*/,
                                 bool /*keepTiffNative*/, bool /*keepGifNative*/) {
    return Aborted;
}

bool SaveThroughPlugin(int32_t /*imageId*/, int32_t /*formatCode*/, const std::string& /*path*/, int32_t /*flags*/) {
    return false;
}

MorvalenStatus LoadPluginPage(int32_t /*containerId*/, int32_t /*page*/, int32_t /*pluginFormat*/, int32_t& pageId) {
    pageId = 0;
    return OK;
}

}  // namespace scanvelt
