#include "platform/gdiplus/image.h"

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/file_io.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/startup.h"

namespace gdiplus {

Status Image::FromFile(const std::filesystem::path& path, bool useIcm, std::unique_ptr<Image>& image) {
    if (!IsStarted()) return GdiplusNotInitialized;
    return AnswerOutOfMemory([&] {
        EncodedBytes bytes;
        if (Status s = EncodedBytes::MapFile(path, bytes); s != Ok) return s;
        if (bytes->empty()) return UnknownImageFormat;
        std::unique_ptr<Image> decoded;
        if (Status s = FromBytes(bytes, useIcm, decoded); s != Ok) return s;
        // A decoder that kept the bytes for later frames keeps a copy: the
        // file may change once it has been loaded.
        if (bytes.HolderCount() > 1)
            if (Status s = bytes.KeepInMemory(); s != Ok) return s;
        image = std::move(decoded);
        return Ok;
    });
}

Status Image::FromBytes(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image) {
    if (!IsStarted()) return GdiplusNotInitialized;
    if (!bytes || bytes->empty()) return InvalidParameter;
    auto decoder = CodecRegistry::Global().FindDecoder(*bytes);
    if (!decoder) return UnknownImageFormat;
    std::unique_ptr<Image> decoded;
    const Status s = AnswerOutOfMemory([&] { return decoder->Decode(bytes, useIcm, decoded); });
    if (s != Ok) return s;
    if (!decoded) return GenericError;
    image = std::move(decoded);
    return Ok;
}

std::vector<Guid> Image::GetFrameDimensionsList() const {
    if (frameSource_) return frameSource_->Dimensions();
    return {FrameDimensionPage};
}

std::uint32_t Image::GetFrameDimensionsCount() const {
    return static_cast<std::uint32_t>(GetFrameDimensionsList().size());
}

std::uint32_t Image::GetFrameCount(const Guid& dimension) const {
    if (frameSource_) return frameSource_->FrameCount(dimension);
    return dimension == FrameDimensionPage ? 1 : 0;
}

Status Image::SelectActiveFrame(const Guid& dimension, std::uint32_t index) {
    if (IsLocked()) return ObjectBusy;
    if (index >= GetFrameCount(dimension)) return InvalidParameter;
    // Selecting the frame already shown keeps the changes made to it.
    if (!frameSource_ || (dimension == activeDimension_ && index == activeFrame_)) return Ok;
    std::unique_ptr<Bitmap> frame;
    const Status decoded = AnswerOutOfMemory([&] { return frameSource_->DecodeFrame(dimension, index, frame); });
    if (decoded != Ok) return decoded;
    if (!frame) return GenericError;
    AdoptFrame(std::move(frame));
    activeDimension_ = dimension;
    activeFrame_ = index;
    return Ok;
}

void Image::SetFrameSource(std::shared_ptr<const FrameSource> source) {
    frameSource_ = std::move(source);
    activeDimension_ = FrameDimensionPage;
    if (frameSource_) {
        const auto dimensions = frameSource_->Dimensions();
        if (!dimensions.empty()) activeDimension_ = dimensions.front();
    }
    activeFrame_ = 0;
}

void Image::CopyImageStateTo(Image& clone) const {
    clone.rawFormat_ = rawFormat_;
    clone.properties_ = properties_;
    clone.frameSource_ = frameSource_;
    clone.activeDimension_ = activeDimension_;
    clone.activeFrame_ = activeFrame_;
}

}  // namespace gdiplus
