#include "platform/gdiplus/codecs/single_frame_encoder.h"

namespace gdiplus::codecs {
namespace {

class SingleFrameSession final : public EncoderSession {
public:
    explicit SingleFrameSession(EncodeImageFn encode) : encode_(encode) {}

    Status AddFrame(const Image& frame, const EncoderParameters& parameters) override {
        if (encoded_) return NotImplemented;
        if (Status s = encode_(frame, parameters, bytes_); s != Ok) return s;
        encoded_ = true;
        return Ok;
    }

    Status Finish(std::vector<std::uint8_t>& bytes) override {
        if (!encoded_) return WrongState;
        bytes = std::move(bytes_);
        return Ok;
    }

private:
    EncodeImageFn encode_;
    bool encoded_ = false;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<EncoderSession> SingleFrameEncoder::StartSession() const {
    return std::make_unique<SingleFrameSession>(encode_);
}

}  // namespace gdiplus::codecs
