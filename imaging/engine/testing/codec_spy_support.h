#pragma once
// Codecs for the tests of the loaders, savers and multi-page images: a spy
// that stands in the place of a standard encoder (recording the parameters
// of every frame, then encoding with the encoder it replaced, or with the
// fake codec where there is none), and a decoder of test files whose frames
// come out as the pages of a TIFF or the frames of a GIF.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "imaging/engine/encoder_table.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codec_registry.h"
#include "platform/gdiplus/fake_codec_test_support.h"

namespace scanvelt::testing_support {

struct SpyLog {
    std::vector<gdiplus::EncoderParameters> frames;
    bool failNext = false;
};

class SpySession : public gdiplus::EncoderSession {
public:
    SpySession(std::unique_ptr<gdiplus::EncoderSession> inner, std::shared_ptr<SpyLog> log)
        : inner_(std::move(inner)), log_(std::move(log)) {}
    gdiplus::Status AddFrame(const gdiplus::Image& frame, const gdiplus::EncoderParameters& parameters) override {
        log_->frames.push_back(parameters);
        if (log_->failNext) return gdiplus::Win32Error;
        return inner_->AddFrame(frame, parameters);
    }
    gdiplus::Status Finish(std::vector<std::uint8_t>& bytes) override { return inner_->Finish(bytes); }

private:
    std::unique_ptr<gdiplus::EncoderSession> inner_;
    std::shared_ptr<SpyLog> log_;
};

class SpyEncoder : public gdiplus::ImageEncoder {
public:
    SpyEncoder(std::shared_ptr<const gdiplus::ImageEncoder> inner, std::shared_ptr<SpyLog> log)
        : inner_(std::move(inner)), log_(std::move(log)) {}
    std::unique_ptr<gdiplus::EncoderSession> StartSession() const override {
        return std::make_unique<SpySession>(inner_->StartSession(), log_);
    }

private:
    std::shared_ptr<const gdiplus::ImageEncoder> inner_;
    std::shared_ptr<SpyLog> log_;
};

// Puts a spy in the place of a standard encoder for the life of a scope and
// rebuilds the thread's encoder table around it; the encoder and decoder it
// replaced come back at the end.
class ScopedEncoderSpy {
public:
    explicit ScopedEncoderSpy(const gdiplus::KnownCodec& codec) : clsid_(codec.clsid) {
        auto& registry = gdiplus::CodecRegistry::Global();
        replaced_ = registry.FindEncoder(clsid_);
        gdiplus::ImageCodecInfo info = gdiplus::CodecInfoFor(codec, 0);
        for (const auto& existing : registry.Encoders()) {
            if (existing.Clsid == clsid_) info = existing;
        }
        for (const auto& existing : registry.Decoders()) {
            if (existing.Clsid == clsid_ && !existing.SigPatterns.empty()) {
                decoderInfo_ = existing;
                decoder_ = registry.FindDecoder(existing.SigPatterns.front());
            }
        }
        encoderInfo_ = info;
        registry.Remove(clsid_);
        std::shared_ptr<const gdiplus::ImageEncoder> inner = replaced_;
        if (!inner) inner = std::make_shared<gdiplus::testing_support::FakeEncoder>();
        EXPECT_EQ(registry.AddEncoder(info, std::make_shared<SpyEncoder>(inner, log)), gdiplus::Ok);
        if (decoder_) registry.AddDecoder(decoderInfo_, decoder_);
        BuildEncoderTable();
    }
    ~ScopedEncoderSpy() {
        auto& registry = gdiplus::CodecRegistry::Global();
        registry.Remove(clsid_);
        if (replaced_) registry.AddEncoder(encoderInfo_, replaced_);
        if (decoder_) registry.AddDecoder(decoderInfo_, decoder_);
        BuildEncoderTable();
    }
    ScopedEncoderSpy(const ScopedEncoderSpy&) = delete;
    ScopedEncoderSpy& operator=(const ScopedEncoderSpy&) = delete;

    // Whether a real encoder stands behind the spy (the codecs are linked in).
    bool wrapsRealEncoder() const { return replaced_ != nullptr; }
    const gdiplus::EncoderParameters& lastFrame() const { return log->frames.back(); }

    std::shared_ptr<SpyLog> log = std::make_shared<SpyLog>();

private:
    gdiplus::Guid clsid_;
    gdiplus::ImageCodecInfo encoderInfo_;
    gdiplus::ImageCodecInfo decoderInfo_;
    std::shared_ptr<const gdiplus::ImageEncoder> replaced_;
    std::shared_ptr<const gdiplus::ImageDecoder> decoder_;
};

// The fake codec's decoder, so that page files the fake encoder wrote load.
class ScopedFakeDecoder {
public:
    ScopedFakeDecoder() {
        registration_.AddDecoder(gdiplus::testing_support::FakeCodecInfo(),
                                 std::make_shared<gdiplus::testing_support::FakeDecoder>());
    }

private:
    gdiplus::ScopedCodecRegistration registration_;
};

// Frames of a test file decoded as TIFF pages or GIF frames, each frame
// carrying the same property items (as a GIF's animation items are).
class TestFrames : public gdiplus::FrameSource {
public:
    TestFrames(std::vector<gdiplus::testing_support::FakeFrame> frames, gdiplus::Guid dimension,
               std::vector<gdiplus::PropertyItem> items)
        : frames_(std::move(frames)), dimension_(dimension), items_(std::move(items)) {}
    std::vector<gdiplus::Guid> Dimensions() const override { return {dimension_}; }
    std::uint32_t FrameCount(const gdiplus::Guid& dimension) const override {
        return dimension == dimension_ ? static_cast<std::uint32_t>(frames_.size()) : 0;
    }
    gdiplus::Status DecodeFrame(const gdiplus::Guid&, std::uint32_t index,
                                std::unique_ptr<gdiplus::Bitmap>& frame) const override {
        if (gdiplus::Status s = gdiplus::testing_support::BitmapOf(frames_[index], frame); s != gdiplus::Ok) return s;
        for (const auto& item : items_) frame->SetPropertyItem(item);
        return gdiplus::Ok;
    }

private:
    std::vector<gdiplus::testing_support::FakeFrame> frames_;
    gdiplus::Guid dimension_;
    std::vector<gdiplus::PropertyItem> items_;
};

inline constexpr std::uint8_t kTestFramesMagic[4] = {'T', 'S', 'T', 'F'};
inline constexpr gdiplus::Guid kTestFramesClsid{0x7e57f000, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

// Decodes "TSTF" followed by a fake-codec file as a multi-frame image of the
// raw format (TIFF pages or GIF frames) with the items on every frame.
class TestFramesDecoder : public gdiplus::ImageDecoder {
public:
    TestFramesDecoder(gdiplus::Guid rawFormat, std::vector<gdiplus::PropertyItem> items)
        : rawFormat_(rawFormat), items_(std::move(items)) {}
    gdiplus::Status Decode(const gdiplus::EncodedBytes& bytes, bool, std::unique_ptr<gdiplus::Image>& image) const override {
        std::vector<gdiplus::testing_support::FakeFrame> frames;
        const std::vector<std::uint8_t> payload(bytes->begin() + 4, bytes->end());
        if (!gdiplus::testing_support::ParseFake(payload, frames)) return gdiplus::GenericError;
        const gdiplus::Guid dimension =
            rawFormat_ == gdiplus::ImageFormatGIF ? gdiplus::FrameDimensionTime : gdiplus::FrameDimensionPage;
        auto source = std::make_shared<TestFrames>(std::move(frames), dimension, items_);
        std::unique_ptr<gdiplus::Bitmap> first;
        if (gdiplus::Status s = source->DecodeFrame(dimension, 0, first); s != gdiplus::Ok) return s;
        first->SetRawFormat(rawFormat_);
        if (source->FrameCount(dimension) > 1) first->SetFrameSource(source);
        image = std::move(first);
        return gdiplus::Ok;
    }

private:
    gdiplus::Guid rawFormat_;
    std::vector<gdiplus::PropertyItem> items_;
};

// The bytes of a test file of frames of the given sizes, frame i filled with
// the colour 0xFF000000 + i + 1.
inline std::vector<std::uint8_t> TestFramesFile(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sizes) {
    std::vector<std::uint8_t> bytes(kTestFramesMagic, kTestFramesMagic + 4);
    bytes.insert(bytes.end(), {'F', 'A', 'K', 'E'});
    gdiplus::testing_support::PutU32(bytes, static_cast<std::uint32_t>(sizes.size()));
    for (std::uint32_t i = 0; i < sizes.size(); ++i) {
        gdiplus::testing_support::PutU32(bytes, sizes[i].first);
        gdiplus::testing_support::PutU32(bytes, sizes[i].second);
        for (std::uint32_t p = 0; p < sizes[i].first * sizes[i].second; ++p) {
            gdiplus::testing_support::PutU32(bytes, 0xFF000000u + i + 1);
        }
    }
    return bytes;
}

// The frame delays of an animated GIF (hundredths of a second each), as the
// item a ScopedTestFramesDecoder hands out with its frames.
inline gdiplus::PropertyItem FrameDelayItem(const std::vector<std::uint32_t>& hundredths) {
    gdiplus::PropertyItem item{gdiplus::PropertyTagFrameDelay, static_cast<std::uint32_t>(4 * hundredths.size()),
                               gdiplus::PropertyTagTypeLong, {}};
    for (std::uint32_t v : hundredths)
        for (int i = 0; i < 4; ++i) item.value.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return item;
}

// Registers a TestFramesDecoder for the life of a scope.
class ScopedTestFramesDecoder {
public:
    ScopedTestFramesDecoder(gdiplus::Guid rawFormat, std::vector<gdiplus::PropertyItem> items = {}) {
        gdiplus::ImageCodecInfo info;
        info.Clsid = kTestFramesClsid;
        info.FormatID = rawFormat;
        info.CodecName = "Test frames";
        info.FilenameExtension = "*.TSTF";
        info.SigPatterns = {{'T', 'S', 'T', 'F'}};
        info.SigMasks = {{0xFF, 0xFF, 0xFF, 0xFF}};
        EXPECT_EQ(registration_.AddDecoder(info, std::make_shared<TestFramesDecoder>(rawFormat, std::move(items))),
                  gdiplus::Ok);
    }

private:
    gdiplus::ScopedCodecRegistration registration_;
};

}  // namespace scanvelt::testing_support
