#pragma once
// GIF through giflib. A file with one frame decodes to 8-bit indexed (the
// transparent index as palette alpha 0); an animated one to 32-bit ARGB
// frames along FrameDimensionTime, each composed on the logical screen as a
// viewer shows it (disposal methods honoured). Every frame carries the
// file's FrameDelay (0x5100, one LONG per frame in hundredths of a second),
// LoopCount (0x5101, SHORT 0-65535, when the file has a loop extension) and
// its first comment (0x9286, as an EXIF user comment: "ASCII\0\0\0" and the
// text).
//
// The encoder writes GIF89a, one frame per AddFrame (Save with
// EncoderValueMultiFrame, then SaveAdd), frames larger than 256 colours
// mapped onto the halftone palette, alpha below 128 transparent. Frame i
// takes value i of its FrameDelay item (value 0 when it has fewer); the first
// frame's LoopCount and comment items go into the file, and a file of more
// than one frame always gets a loop extension.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdiplus/codec.h"
#include "platform/gdiplus/property_item.h"

namespace gdiplus::codecs {

class GifDecoder final : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const override;
};

class GifEncoder final : public ImageEncoder {
public:
    std::unique_ptr<EncoderSession> StartSession() const override;
};

// The text of a comment item without the 8-byte character-code header of an
// EXIF user comment and without closing zero bytes.
std::string CommentTextOf(const PropertyItem& item);

}  // namespace gdiplus::codecs
