#pragma once
// Icon files: of the images an icon holds (DIBs with their AND mask, or PNG
// streams) the decoder takes the largest, and of equal sizes the deepest, as
// a 32-bit ARGB bitmap (a PNG entry keeps its own format).
#include <memory>

#include "platform/gdiplus/codec.h"

namespace gdiplus::codecs {

class IcoDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

}  // namespace gdiplus::codecs
