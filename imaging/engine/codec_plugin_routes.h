#pragma once
// The routes of loading, saving and page selection that go through the codec
// plug-in, as the loaders, savers and multi-page images take them. Each one
// asks PluginAvailable first; the plug-in side of the work is the codec
// bridge's.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

// The plug-in route of LoadImageFromFile: Aborted without the plug-in,
// UnknownImageFormat for the formats it leaves to GDI+ (BMP, PNG, GIF,
// unknown), otherwise the status of loading the file through it.
MorvalenStatus LoadThroughPlugin(int32_t& outId, const std::string& path, bool useIcm, bool keepTiffNative,
                                 bool keepGifNative);

// Saves the image in the plug-in's format `formatCode` with the plug-in's
// save flags; true when the plug-in reported success. False without the
// plug-in or when the image cannot be handed to it: the caller falls back.
bool SaveThroughPlugin(int32_t imageId, int32_t formatCode, const std::string& path, int32_t flags);

// Loads page `page` of the plug-in multi-bitmap of container `containerId`
// (kind 3) as an image of its own; its ID goes to pageId. The status of the
// import; OK with pageId 0 when the plug-in gives no page.
MorvalenStatus LoadPluginPage(int32_t containerId, int32_t page, int32_t pluginFormat, int32_t& pageId);

}  // namespace scanvelt
