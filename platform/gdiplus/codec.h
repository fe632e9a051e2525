#pragma once
// The plug-in point for image codecs: how a codec describes itself
// (ImageCodecInfo, the shape of GDI+'s record) and the interfaces an encoder
// and a decoder implement. Codecs are made known through the CodecRegistry.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdiplus/encoded_bytes.h"
#include "platform/gdiplus/encoder_parameters.h"
#include "platform/gdiplus/guid.h"
#include "platform/gdiplus/image_format.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class Image;

enum ImageCodecFlags : std::uint32_t {
    ImageCodecFlagsEncoder = 0x00000001,
    ImageCodecFlagsDecoder = 0x00000002,
    ImageCodecFlagsSupportBitmap = 0x00000004,
    ImageCodecFlagsSupportVector = 0x00000008,
    ImageCodecFlagsSeekableEncode = 0x00000010,
    ImageCodecFlagsBlockingDecode = 0x00000020,
    ImageCodecFlagsBuiltin = 0x00010000,
    ImageCodecFlagsSystem = 0x00020000,
    ImageCodecFlagsUser = 0x00040000,
};

struct ImageCodecInfo {
    Guid Clsid;
    Guid FormatID;
    std::string CodecName;
    std::string DllName;
    std::string FormatDescription;
    // File-name patterns separated by ";", such as "*.JPG;*.JPEG".
    std::string FilenameExtension;
    std::string MimeType;
    std::uint32_t Flags = 0;
    std::uint32_t Version = 1;
    // Signatures that recognise the format at the start of a file: a byte
    // matches when (byte & mask) == pattern; each mask as long as its pattern.
    std::vector<std::vector<std::uint8_t>> SigPatterns;
    std::vector<std::vector<std::uint8_t>> SigMasks;

    friend bool operator==(const ImageCodecInfo&, const ImageCodecInfo&) = default;
};

// The description of a standard codec (image_format.h) with the given flags.
ImageCodecInfo CodecInfoFor(const KnownCodec& codec, std::uint32_t flags);


// One output being written. A single-frame save adds one frame and finishes;
// a multi-frame save keeps the session open while frames are added.
class EncoderSession {
public:
    virtual ~EncoderSession() = default;
    // Takes from the frame all it needs (pixels, palette, resolution, property
    // items): the image may be gone when Finish runs.
    virtual Status AddFrame(const Image& frame, const EncoderParameters& parameters) = 0;
    // Completes the output: `bytes` receives the whole encoded file.
    virtual Status Finish(std::vector<std::uint8_t>& bytes) = 0;
    // Completes the output into a file: `write` takes the file's bytes in
    // order, in one or more parts. A session whose file is made of parts it
    // already holds (a page's strips) hands them over as they are instead of
    // joining them first; the others hand over what Finish makes.
    using PartWriter = std::function<Status(std::span<const std::uint8_t>)>;
    virtual Status FinishInto(const PartWriter& write) {
        std::vector<std::uint8_t> bytes;
        if (Status s = Finish(bytes); s != Ok) return s;
        return write(bytes);
    }
    // Writes `frame` as the only frame of a new output into `write`: AddFrame
    // and FinishInto in one, for a session that can read the frame's pixels
    // while it writes them (the frame lives until this returns) instead of
    // keeping a copy of them first. By default AddFrame, then FinishInto.
    virtual Status WriteOnlyFrame(const Image& frame, const EncoderParameters& parameters, const PartWriter& write) {
        if (Status s = AddFrame(frame, parameters); s != Ok) return s;
        return FinishInto(write);
    }
};

class ImageEncoder {
public:
    virtual ~ImageEncoder() = default;
    virtual std::unique_ptr<EncoderSession> StartSession() const = 0;
};

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // Decodes the first frame (the bytes matched one of the codec's
    // signatures). A decoder that finds more frames gives the image a
    // FrameSource; it sets the image's raw format to its FormatID.
    virtual Status Decode(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) const = 0;
};

}  // namespace gdiplus
