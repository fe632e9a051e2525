#include "imaging/output/stream_compression.h"

#include <zlib.h>

#include <cmath>
#include <exception>

#include "imaging/engine/imaging_session.h"
#include "imaging/engine/plugin_loader.h"

namespace scanvelt {

bool CompressBytes(CompressorKind kind, std::span<const uint8_t> source, std::vector<uint8_t>& out, int16_t level) {
    out.clear();
    if (kind != CompressorKind::ZlibLibrary || source.empty()) return false;
    // zlib's own bound: the 1 % + 12 rule of thumb falls short of it for
    // sources of a few bytes.
    uLongf length = compressBound(static_cast<uLong>(source.size()));
    out.resize(length);
    if (compress2(out.data(), &length, source.data(), static_cast<uLong>(source.size()), level) != Z_OK) {
        out.clear();
        return false;
    }
    out.resize(length);
    return true;
}

bool CompressText(CompressorKind kind, std::string_view text, std::vector<uint8_t>& out) {
    return CompressBytes(kind, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, out, 9);
}

bool CompressCcittG4(std::span<const uint8_t> rows, std::vector<uint8_t>& out, int32_t width, int32_t height,
                     int32_t stride, std::string& failure) {
    out.clear();
    CodecPlugin* plugin = ActiveCodecPlugin();
    if (plugin == nullptr) {
        failure = "File not found: " + std::string(kCodecPluginDll);
        return false;
    }
    try {
        const std::vector<uint8_t> source(rows.begin(), rows.end());
        if (plugin->VB_CompressCCITT4(out, source, width, height, stride, 0) == 0 && !out.empty()) return true;
        failure = "CCITT Group 4 compression failed";
    } catch (const std::exception& error) {
        failure = error.what();
    }
    out.clear();
    return false;
}

}  // namespace scanvelt
