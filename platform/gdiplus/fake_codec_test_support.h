#pragma once
// A codec for the tests of the plug-in point: "FAKE", a frame count, then per
// frame its width, height and 32-bit ARGB pixels. Multi-frame files decode
// with a frame source along FrameDimensionPage.
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec_registry.h"

namespace gdiplus::testing_support {

inline constexpr Guid kFakeFormat{0x0fa4e000, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
inline constexpr Guid kFakeClsid{0x0fa4e001, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

struct FakeFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// What the encoder was handed, for the tests to look at.
struct FakeEncoderLog {
    std::vector<EncoderParameters> parameters;
    int finished = 0;
};

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline bool GetU32(std::span<const std::uint8_t> in, std::size_t& at, std::uint32_t& v) {
    if (at + 4 > in.size()) return false;
    v = std::uint32_t{in[at]} | (std::uint32_t{in[at + 1]} << 8) | (std::uint32_t{in[at + 2]} << 16) |
        (std::uint32_t{in[at + 3]} << 24);
    at += 4;
    return true;
}

inline bool ParseFake(std::span<const std::uint8_t> bytes, std::vector<FakeFrame>& frames) {
    std::size_t at = 4;
    std::uint32_t count = 0;
    if (bytes.size() < 4 || std::memcmp(bytes.data(), "FAKE", 4) != 0 || !GetU32(bytes, at, count)) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        FakeFrame f;
        if (!GetU32(bytes, at, f.width) || !GetU32(bytes, at, f.height)) return false;
        const std::size_t size = std::size_t{f.width} * f.height * 4;
        if (at + size > bytes.size()) return false;
        f.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
        frames.push_back(std::move(f));
    }
    return count > 0;
}

inline Status BitmapOf(const FakeFrame& frame, std::unique_ptr<Bitmap>& bitmap) {
    const auto w = static_cast<std::int32_t>(frame.width), h = static_cast<std::int32_t>(frame.height);
    if (Status s = Bitmap::Create(w, h, PixelFormat32bppARGB, bitmap); s != Ok) return s;
    return bitmap->WritePixels(Rect{0, 0, w, h}, PixelFormat32bppARGB, w * 4, frame.pixels.data());
}

class FakeSession : public EncoderSession {
public:
    FakeSession(std::shared_ptr<FakeEncoderLog> log, bool failAtFinish) : log_(std::move(log)), fail_(failAtFinish) {}
    Status AddFrame(const Image& image, const EncoderParameters& parameters) override {
        log_->parameters.push_back(parameters);
        FakeFrame f{image.GetWidth(), image.GetHeight(), {}};
        f.pixels.resize(std::size_t{f.width} * f.height * 4);
        const Rect all{0, 0, static_cast<std::int32_t>(f.width), static_cast<std::int32_t>(f.height)};
        if (Status s = image.CopyPixels(all, PixelFormat32bppARGB, all.Width * 4, f.pixels.data()); s != Ok) return s;
        frames_.push_back(std::move(f));
        return Ok;
    }
    Status Finish(std::vector<std::uint8_t>& bytes) override {
        ++log_->finished;
        if (fail_) return Win32Error;
        bytes = {'F', 'A', 'K', 'E'};
        PutU32(bytes, static_cast<std::uint32_t>(frames_.size()));
        for (const auto& f : frames_) {
            PutU32(bytes, f.width);
            PutU32(bytes, f.height);
            bytes.insert(bytes.end(), f.pixels.begin(), f.pixels.end());
        }
        return Ok;
    }

private:
    std::shared_ptr<FakeEncoderLog> log_;
    bool fail_;
    std::vector<FakeFrame> frames_;
};

class FakeEncoder : public ImageEncoder {
public:
    explicit FakeEncoder(bool failAtFinish = false) : fail_(failAtFinish) {}
    std::unique_ptr<EncoderSession> StartSession() const override {
        return std::make_unique<FakeSession>(log, fail_);
    }
    std::shared_ptr<FakeEncoderLog> log = std::make_shared<FakeEncoderLog>();

private:
    bool fail_;
};

class FakeFrames : public FrameSource {
public:
    explicit FakeFrames(std::vector<FakeFrame> frames) : frames_(std::move(frames)) {}
    std::vector<Guid> Dimensions() const override { return {FrameDimensionPage}; }
    std::uint32_t FrameCount(const Guid& dimension) const override {
        return dimension == FrameDimensionPage ? static_cast<std::uint32_t>(frames_.size()) : 0;
    }
    Status DecodeFrame(const Guid&, std::uint32_t index, std::unique_ptr<Bitmap>& frame) const override {
        return BitmapOf(frames_[index], frame);
    }

private:
    std::vector<FakeFrame> frames_;
};

class FakeDecoder : public ImageDecoder {
public:
    Status Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const override {
        std::vector<FakeFrame> frames;
        if (!ParseFake(*bytes, frames)) return GenericError;
        std::unique_ptr<Bitmap> first;
        if (Status s = BitmapOf(frames[0], first); s != Ok) return s;
        first->SetRawFormat(kFakeFormat);
        if (frames.size() > 1) first->SetFrameSource(std::make_shared<FakeFrames>(std::move(frames)));
        image = std::move(first);
        return Ok;
    }
};

inline ImageCodecInfo FakeCodecInfo() {
    ImageCodecInfo info;
    info.Clsid = kFakeClsid;
    info.FormatID = kFakeFormat;
    info.CodecName = "Fake codec";
    info.FilenameExtension = "*.FAKE";
    info.MimeType = "image/x-fake";
    info.SigPatterns = {{'F', 'A', 'K', 'E'}};
    info.SigMasks = {{0xFF, 0xFF, 0xFF, 0xFF}};
    return info;
}

}  // namespace gdiplus::testing_support
