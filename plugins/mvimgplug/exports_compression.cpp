// Compression for the engine's savers and its PDF writer.
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <span>

#include "plugins/mvimgplug/ccitt_g4.h"
#include "plugins/mvimgplug/library_lock.h"
#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/tiff_jpeg_writer.h"

using namespace mvimgplug;

namespace {

enum CcittResult : int32_t {
    kCcittDone = 0,
    kCcittBadArguments = 1,
    kCcittCodingFailed = 2,
    kCcittNoRoom = 3,
};

}  // namespace

extern "C" {

void MVIMGPLUG_SetTiffJpegCompression(int32_t quality) {
    RunExport([&] { SetTiffJpegQuality(quality); });
}

int32_t MVIMGPLUG_VB_CompressCCITT4(MvimgplugByteSink* out, const MvimgplugBytes* source, int32_t width,
                                    int32_t height, int32_t stride, int32_t flags) {
    return RunExport<int32_t>(kCcittCodingFailed, [&]() -> int32_t {
        if (out == nullptr || out->resize == nullptr || source == nullptr || source->data == nullptr ||
            source->length < 0) {
            return kCcittBadArguments;
        }
        auto code = EncodeCcittG4(std::span(source->data, static_cast<size_t>(source->length)), width, height, stride);
        if (!code || code->size() > static_cast<size_t>(INT32_MAX)) return kCcittCodingFailed;
        uint8_t* room = out->resize(out->context, static_cast<int32_t>(code->size()));
        if (room == nullptr) return kCcittNoRoom;
        std::memcpy(room, code->data(), code->size());
        return kCcittDone;
    });
}

int32_t MVIMGPLUG_ZLibCompress2(uint8_t* dest, int32_t destCapacity, const uint8_t* source, int32_t sourceLength) {
    if (dest == nullptr || destCapacity < 1 || sourceLength < 0 || (source == nullptr && sourceLength > 0)) {
        return Z_STREAM_ERROR;
    }
    uLongf length = static_cast<uLongf>(destCapacity);
    static constexpr Bytef kNothing = 0;
    const int status = compress2(dest, &length, source != nullptr ? source : &kNothing,
                                 static_cast<uLong>(sourceLength), Z_DEFAULT_COMPRESSION);
    return status == Z_OK ? static_cast<int32_t>(length) : (status < 0 ? status : Z_STREAM_ERROR);
}

}  // extern "C"
