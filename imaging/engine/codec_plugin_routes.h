#pragma once
// The routes of loading, saving and page selection that go through the codec
// plug-in, as the loaders, savers and multi-page images take them. The codec
// bridge (which turns plug-in bitmaps into images and back) installs them;
// until it has, and whenever the plug-in is not available, each route
// answers as it does without the plug-in.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

struct CodecPluginRoutes {
    // The plug-in route of LoadImageFromFile (outId, path, useIcm,
    // keepTiffNative, keepGifNative): UnknownImageFormat for the formats it
    // leaves to GDI+ (BMP, PNG, GIF, unknown), else the status of loading.
    std::function<MorvalenStatus(int32_t&, const std::string&, bool, bool, bool)> load;
    // Saves an image (imageId, plug-in format code, path, save flags); true
    // when the plug-in reported success.
    std::function<bool(int32_t, int32_t, const std::string&, int32_t)> save;
    // Page `page` of the plug-in multi-bitmap of a container (containerId,
    // page, plug-in format code, out page ID): the status of importing it; OK
    // with page ID 0 when the plug-in gives no page.
    std::function<MorvalenStatus(int32_t, int32_t, int32_t, int32_t&)> loadPage;
};

// Installs the routes for this thread's engine; empty members (or a
// default-made struct) put back the answers without the plug-in.
void SetCodecPluginRoutes(CodecPluginRoutes routes);

// Aborted without the plug-in or a load route.
MorvalenStatus LoadThroughPlugin(int32_t& outId, const std::string& path, bool useIcm, bool keepTiffNative,
                                 bool keepGifNative);
// False without the plug-in or a save route: the caller falls back.
bool SaveThroughPlugin(int32_t imageId, int32_t formatCode, const std::string& path, int32_t flags);
// OK with pageId 0 without the plug-in or a page route.
MorvalenStatus LoadPluginPage(int32_t containerId, int32_t page, int32_t pluginFormat, int32_t& pageId);

}  // namespace scanvelt
