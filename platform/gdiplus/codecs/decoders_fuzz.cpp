// libFuzzer target: the bytes go to every registered decoder (each one's
// signature written over their start, and once as they are), every frame of
// every decoded image is selected, and the same bytes are read as a packed
// DIB and as a TIFF tag block.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/codecs/bmp_codec.h"
#include "platform/gdiplus/codecs/builtin_codecs.h"
#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/tiff_tags.h"
#include "platform/gdiplus/startup.h"

namespace {

using namespace gdiplus;

// Files may ask for large images; the run stays within libFuzzer's memory limit.
constexpr std::uint64_t kFuzzDecodeBudget = 64u << 20;
constexpr std::uint32_t kMaxFramesVisited = 32;

void DecodeEverything(std::vector<std::uint8_t> bytes) {
    std::unique_ptr<Image> image;
    if (Image::FromBytes(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes)), false, image) != Ok)
        return;
    for (const Guid& dimension : image->GetFrameDimensionsList()) {
        const std::uint32_t frames = std::min(image->GetFrameCount(dimension), kMaxFramesVisited);
        for (std::uint32_t i = frames; i-- > 0;) image->SelectActiveFrame(dimension, i);
    }
    std::vector<std::uint8_t> row(std::size_t{image->GetWidth()} * 4);
    image->CopyPixels(Rect{0, 0, static_cast<std::int32_t>(image->GetWidth()), 1}, PixelFormat32bppARGB,
                      static_cast<std::int32_t>(row.size()), row.data());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static std::uintptr_t token = 0;
    Startup(token);
    RegisterBuiltinCodecs();
    codecs::SetMaxDecodedImageBytes(kFuzzDecodeBudget);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> input(data, data + size);
    if (input.empty()) return 0;
    DecodeEverything(input);
    for (const ImageCodecInfo& decoder : GetImageDecoders()) {
        const std::vector<std::uint8_t>& signature = decoder.SigPatterns.front();
        std::vector<std::uint8_t> bytes = input;
        if (bytes.size() < signature.size()) bytes.resize(signature.size());
        if (std::equal(signature.begin(), signature.end(), bytes.begin())) continue;  // done above
        std::copy(signature.begin(), signature.end(), bytes.begin());
        DecodeEverything(std::move(bytes));
    }
    std::unique_ptr<Bitmap> dib;
    codecs::DecodePackedDib(input, dib);
    std::vector<PropertyItem> items;
    codecs::ReadTiffTags(input, 0, items);
    codecs::ReadTiffTags(input, 1, items);
    return 0;
}
