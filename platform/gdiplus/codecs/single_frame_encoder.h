#pragma once
// An encoder for formats that hold one image (BMP, PNG, JPEG): the session
// encodes the frame it is given at once and answers NotImplemented for a
// second one, since such a file cannot take more pages.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

using EncodeImageFn = Status (*)(const Image& image, const EncoderParameters& parameters,
                                 std::vector<std::uint8_t>& bytes);

class SingleFrameEncoder final : public ImageEncoder {
public:
    explicit SingleFrameEncoder(EncodeImageFn encode) : encode_(encode) {}
    std::unique_ptr<EncoderSession> StartSession() const override;

private:
    EncodeImageFn encode_;
};

}  // namespace gdiplus::codecs
