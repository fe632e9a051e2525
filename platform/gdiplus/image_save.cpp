// Saving an image through a registered encoder, to a file or to memory, with
// the multi-frame save that keeps its output open between frames.
#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/file_io.h"
#include "platform/gdiplus/image.h"
#include "platform/gdiplus/memory.h"

namespace gdiplus {
namespace {

std::optional<std::uint32_t> SaveFlagOf(const EncoderParameters& parameters) {
    return FindEncoderLong(parameters, EncoderSaveFlag);
}

// Encoders size their memory by the image: running out is a status, not an
// exception.
Status AddFrameTo(EncoderSession& session, const Image& frame, const EncoderParameters& parameters) {
    return AnswerOutOfMemory([&] { return session.AddFrame(frame, parameters); });
}

Status FinishSession(EncoderSession& session, std::vector<std::uint8_t>& bytes) {
    return AnswerOutOfMemory([&] { return session.Finish(bytes); });
}

Status FinishSessionInto(EncoderSession& session, const EncoderSession::PartWriter& write) {
    return AnswerOutOfMemory([&] { return session.FinishInto(write); });
}

Status StartEncoding(const Guid& clsid, std::unique_ptr<EncoderSession>& session) {
    auto encoder = CodecRegistry::Global().FindEncoder(clsid);
    if (!encoder) return UnknownImageFormat;
    session = encoder->StartSession();
    return session ? Ok : GenericError;
}

}  // namespace

struct Image::PendingSave {
    std::unique_ptr<EncoderSession> session;
    AtomicFileWriter file;
};

// Made here, where PendingSave is complete.
Image::Image() = default;

Image::~Image() {
    // The end of the image completes an open multi-frame file, as GDI+ does;
    // there is no one left to tell about a failure.
    if (pendingSave_) FinishPendingSave();
}

Status Image::Save(const std::filesystem::path& path, const Guid& encoderClsid,
                   const EncoderParameters* parameters) {
    if (pendingSave_) return WrongState;
    if (IsLocked()) return ObjectBusy;
    static const EncoderParameters kNone;
    const EncoderParameters& params = parameters ? *parameters : kNone;

    auto pending = std::make_unique<PendingSave>();
    if (Status s = StartEncoding(encoderClsid, pending->session); s != Ok) return s;
    if (Status s = pending->file.Open(path); s != Ok) return s;
    if (SaveFlagOf(params) != EncoderValueMultiFrame) {
        // One frame: the encoder may take the pixels from the image as it writes.
        AtomicFileWriter& file = pending->file;
        const Status written = AnswerOutOfMemory([&] {
            return pending->session->WriteOnlyFrame(
                *this, params, [&file](std::span<const std::uint8_t> part) { return file.Write(part); });
        });
        if (written != Ok) return written;
        return file.Commit();
    }
    if (Status s = AddFrameTo(*pending->session, *this, params); s != Ok) return s;
    pendingSave_ = std::move(pending);
    return Ok;
}

Status Image::Save(std::vector<std::uint8_t>& bytes, const Guid& encoderClsid,
                   const EncoderParameters* parameters) {
    if (pendingSave_) return WrongState;
    if (IsLocked()) return ObjectBusy;
    static const EncoderParameters kNone;
    const EncoderParameters& params = parameters ? *parameters : kNone;
    if (SaveFlagOf(params) == EncoderValueMultiFrame) return NotImplemented;

    std::unique_ptr<EncoderSession> session;
    if (Status s = StartEncoding(encoderClsid, session); s != Ok) return s;
    if (Status s = AddFrameTo(*session, *this, params); s != Ok) return s;
    std::vector<std::uint8_t> encoded;
    if (Status s = FinishSession(*session, encoded); s != Ok) return s;
    bytes = std::move(encoded);
    return Ok;
}

Status Image::SaveAdd(const EncoderParameters& parameters) {
    if (!pendingSave_) return WrongState;
    if (SaveFlagOf(parameters) != EncoderValueFlush) return InvalidParameter;
    return FinishPendingSave();
}

Status Image::SaveAdd(const Image& newImage, const EncoderParameters& parameters) {
    if (!pendingSave_) return WrongState;
    if (newImage.IsLocked()) return ObjectBusy;
    if (Status s = AddFrameTo(*pendingSave_->session, newImage, parameters); s != Ok) return s;
    if (SaveFlagOf(parameters) == EncoderValueLastFrame) return FinishPendingSave();
    return Ok;
}

Status Image::FinishPendingSave() {
    std::unique_ptr<PendingSave> pending = std::move(pendingSave_);
    AtomicFileWriter& file = pending->file;
    const Status finished =
        FinishSessionInto(*pending->session, [&file](std::span<const std::uint8_t> part) { return file.Write(part); });
    if (finished != Ok) return finished;
    return file.Commit();
}

}  // namespace gdiplus
