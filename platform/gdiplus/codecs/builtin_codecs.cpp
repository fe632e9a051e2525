#include "platform/gdiplus/codecs/builtin_codecs.h"

#include <algorithm>
#include <mutex>

#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/codecs/bmp_codec.h"
#include "platform/gdiplus/codecs/gif_codec.h"
#include "platform/gdiplus/codecs/ico_codec.h"
#include "platform/gdiplus/codecs/jpeg_codec.h"
#include "platform/gdiplus/codecs/png_codec.h"
#include "platform/gdiplus/codecs/single_frame_encoder.h"
#include "platform/gdiplus/codecs/tiff_codec.h"

namespace gdiplus {
namespace {

using Signature = std::vector<std::uint8_t>;

struct Builtin {
    const KnownCodec& known;
    std::vector<Signature> signatures;
    std::shared_ptr<const ImageDecoder> decoder;
    std::shared_ptr<const ImageEncoder> encoder;  // null for a format that is only read
};

std::vector<Builtin> BuiltinCodecs() {
    using namespace codecs;
    return {
        {kBmpCodec, {{'B', 'M'}}, std::make_shared<BmpDecoder>(), std::make_shared<SingleFrameEncoder>(EncodeBmp)},
        {kJpegCodec, {{0xFF, 0xD8, 0xFF}}, std::make_shared<JpegDecoder>(),
         std::make_shared<SingleFrameEncoder>(EncodeJpeg)},
        {kGifCodec, {{'G', 'I', 'F', '8', '7', 'a'}, {'G', 'I', 'F', '8', '9', 'a'}}, std::make_shared<GifDecoder>(),
         std::make_shared<GifEncoder>()},
        {kTiffCodec, {{'I', 'I', 42, 0}, {'M', 'M', 0, 42}, {'I', 'I', 43, 0}, {'M', 'M', 0, 43}}, std::make_shared<TiffDecoder>(),
         std::make_shared<TiffEncoder>()},
        {kPngCodec, {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}}, std::make_shared<PngDecoder>(),
         std::make_shared<SingleFrameEncoder>(EncodePng)},
        {kIcoCodec, {{0, 0, 1, 0}}, std::make_shared<IcoDecoder>(), nullptr},
    };
}

ImageCodecInfo InfoOf(const Builtin& codec) {
    ImageCodecInfo info = CodecInfoFor(codec.known, ImageCodecFlagsSupportBitmap | ImageCodecFlagsBuiltin);
    info.DllName = "";
    for (const auto& signature : codec.signatures) {
        info.SigPatterns.push_back(signature);
        info.SigMasks.emplace_back(signature.size(), 0xFF);
    }
    return info;
}

bool Listed(const std::vector<ImageCodecInfo>& infos, const Guid& clsid) {
    return std::any_of(infos.begin(), infos.end(), [&](const ImageCodecInfo& i) { return i.Clsid == clsid; });
}

}  // namespace

Status RegisterBuiltinCodecs() {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    CodecRegistry& registry = CodecRegistry::Global();
    const auto encoders = registry.Encoders();
    const auto decoders = registry.Decoders();
    for (const Builtin& codec : BuiltinCodecs()) {
        if (codec.encoder && !Listed(encoders, codec.known.clsid)) {
            if (Status s = registry.AddEncoder(InfoOf(codec), codec.encoder); s != Ok) return s;
        }
        if (!Listed(decoders, codec.known.clsid)) {
            if (Status s = registry.AddDecoder(InfoOf(codec), codec.decoder); s != Ok) return s;
        }
    }
    return Ok;
}

}  // namespace gdiplus
