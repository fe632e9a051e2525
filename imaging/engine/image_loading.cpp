#include "imaging/engine/image_loading.h"

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page.h"
#include "imaging/engine/plugin_bridge.h"
#include "imaging/engine/temp_files.h"

namespace scanvelt {

namespace {

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

MorvalenStatus LoadWithGdiplus(const std::string& path, int32_t& outId, bool useIcm, bool keepTiffNative,
                               bool keepGifNative) {
    int32_t newId = 0;
    const MorvalenStatus status = useIcm ? ImageFromFileIcm(path, newId) : ImageFromFile(path, newId);
    if (status != OK) return status;
    return SplitMultiFrame(path, newId, outId, keepTiffNative, keepGifNative);
}

// Files the OLE picture loader reads beyond GDI+'s decoders are metafiles
// and icons, neither of which this platform's picture services can load from
// a file: every file that reaches this route is one no route could read.
MorvalenStatus LoadWithPicture(int32_t& /*outId*/, const std::string& /*path*/) { return UnknownImageFormat; }

}  // namespace

MorvalenStatus LoadImageFromFile(int32_t& outId, const std::string& path, bool useIcm, bool gdiplusOnly,
                                 bool keepTiffNative, uint32_t ownerWindow, bool pathReady, bool keepGifNative) {
    std::string file = path;
    if (!pathReady && IsBlank(file)) file = ShowOpenFileDialog(ownerWindow);
    file = NormalizePath(file);
    if (IsBlank(file) || ExistingFilePath(file).empty()) return FileNotFound;

    if (useIcm || gdiplusOnly) {
        int32_t newId = 0;
        const MorvalenStatus status = LoadWithGdiplus(file, newId, useIcm, keepTiffNative, keepGifNative);
        if (status == OK) {
            if (PixelFormatOf(newId) == 0) {
                ReleaseImage(newId);
                outId = 0;
                return UnknownImageFormat;
            }
            outId = newId;
            return OK;
        }
        if (gdiplusOnly) return status;
    }

    const MorvalenStatus pluginStatus = LoadWithPlugin(outId, file, useIcm, keepTiffNative, keepGifNative);
    if (pluginStatus == OK) return OK;
    if (LoadWithGdiplus(file, outId, useIcm, keepTiffNative, keepGifNative) == OK) return OK;
    if (LoadWithPicture(outId, file) == OK) return OK;
    return pluginStatus;
}

MorvalenStatus LoadImageFromStream(int32_t& outId, const std::shared_ptr<win::Stream>& stream, bool useIcm) {
    if (!stream) return InvalidParameter;
    int32_t newId = 0;
    const MorvalenStatus status = ImageFromStream(stream, newId, useIcm);
    if (status != OK) return status;
    return SplitMultiFrame("", newId, outId, false, false);
}

}  // namespace scanvelt
