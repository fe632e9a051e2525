#include "imaging/engine/plugin_formats.h"

#include <array>
#include <string_view>

#include "imaging/engine/imaging_session.h"

namespace scanvelt {

namespace {

constexpr std::array<std::string_view, 36> kFormatNames = {
    "BMP",    "ICO", "JPEG",  "JNG",  "KOALA", "LBM", "MNG", "PBM",  "PBMRAW", "PCD", "PCX", "PGM",
    "PGMRAW", "PNG", "PPM",   "PPMRAW", "RAS", "TARGA", "TIFF", "WBMP", "PSD", "CUT", "XBM", "XPM",
    "DDS",    "GIF", "HDR",   "FAXG3", "SGI", "EXR", "J2K", "JP2",  "PFM",    "PICT", "RAW", "JBIG",
};

}  // namespace

std::string PluginFormatName(int32_t formatCode) {
    if (formatCode == kPluginFormatUnknown) return "UNKNOWN";
    if (formatCode < 0 || formatCode >= static_cast<int32_t>(kFormatNames.size())) return {};
    return std::string(kFormatNames[static_cast<size_t>(formatCode)]);
}

int32_t PluginFileType(const std::string& path) {
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) return kPluginFormatUnknown;
    const int32_t byContent = plugin->GetFileTypeU(path, 0);
    const int32_t byName = plugin->GetFIFFromFilenameU(path);
    if (byContent != kPluginFormatUnknown && byName != kPluginFormatUnknown &&
        (byName == byContent || byName == kPluginFormatTiff)) {
        return byName;
    }
    return byContent;
}

}  // namespace scanvelt
