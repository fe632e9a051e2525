#pragma once
// The process-wide table of codecs, in the order they were added: the list of
// encoders a host builds its encoder table from, the encoder a save asks for
// by class ID, and the decoder whose signature matches a file's first bytes.
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/gdiplus/codec.h"

namespace gdiplus {

class CodecRegistry {
public:
    static CodecRegistry& Global();

    // InvalidParameter for a missing codec, a null or already registered
    // class ID (per kind), or signatures whose masks do not match their
    // patterns. The info's Flags gain ImageCodecFlagsEncoder / Decoder.
    Status AddEncoder(ImageCodecInfo info, std::shared_ptr<const ImageEncoder> encoder);
    Status AddDecoder(ImageCodecInfo info, std::shared_ptr<const ImageDecoder> decoder);
    // Removes the encoder and the decoder of that class ID; false when there
    // was neither.
    bool Remove(const Guid& clsid);

    std::vector<ImageCodecInfo> Encoders() const;
    std::vector<ImageCodecInfo> Decoders() const;
    std::shared_ptr<const ImageEncoder> FindEncoder(const Guid& clsid) const;
    // The first decoder one of whose signatures matches the start of `head`.
    std::shared_ptr<const ImageDecoder> FindDecoder(std::span<const std::uint8_t> head) const;

private:
    template <class Codec>
    struct Entry {
        ImageCodecInfo info;
        std::shared_ptr<const Codec> codec;
    };

    mutable std::mutex mutex_;
    std::vector<Entry<ImageEncoder>> encoders_;
    std::vector<Entry<ImageDecoder>> decoders_;
};

// The encoders and decoders of the global registry (GdipGetImageEncoders,
// GdipGetImageDecoders).
std::vector<ImageCodecInfo> GetImageEncoders();
std::vector<ImageCodecInfo> GetImageDecoders();

// Adds codecs to the global registry for the life of a scope, and removes
// them again; meant for tests and for plug-ins loaded for a while.
class ScopedCodecRegistration {
public:
    ScopedCodecRegistration() = default;
    ~ScopedCodecRegistration();
    ScopedCodecRegistration(const ScopedCodecRegistration&) = delete;
    ScopedCodecRegistration& operator=(const ScopedCodecRegistration&) = delete;

    Status AddEncoder(ImageCodecInfo info, std::shared_ptr<const ImageEncoder> encoder);
    Status AddDecoder(ImageCodecInfo info, std::shared_ptr<const ImageDecoder> decoder);

private:
    std::vector<Guid> added_;
};

}  // namespace gdiplus
