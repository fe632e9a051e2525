#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdiplus/fake_codec_test_support.h"
#include "platform/gdiplus/file_io.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

class ImageSaveTest : public StartedTest {
protected:
    void SetUp() override {
        ASSERT_EQ(registration_.AddEncoder(FakeCodecInfo(), encoder_), Ok);
        ASSERT_EQ(registration_.AddDecoder(FakeCodecInfo(), std::make_shared<FakeDecoder>()), Ok);
    }

    std::unique_ptr<Bitmap> Picture(ARGB first) {
        auto bitmap = MakeBitmap(3, 2, PixelFormat24bppRGB);
        SetPixels(*bitmap, {first, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080});
        return bitmap;
    }

    ScratchFolder folder_;
    std::shared_ptr<FakeEncoder> encoder_ = std::make_shared<FakeEncoder>();
    ScopedCodecRegistration registration_;
};

TEST_F(ImageSaveTest, SavedFileLoadsBack) {
    auto bitmap = Picture(0xFFFF0000);
    const fs::path path = folder_ / "picture.fake";
    const EncoderParameters parameters = {EncoderParameter::Long(EncoderQuality, 75)};
    ASSERT_EQ(bitmap->Save(path, kFakeClsid, &parameters), Ok);
    EXPECT_EQ(folder_.names(), std::vector<fs::path>{"picture.fake"});
    ASSERT_EQ(encoder_->log->parameters.size(), 1u);
    EXPECT_EQ(encoder_->log->parameters[0], parameters);

    std::unique_ptr<Image> loaded;
    ASSERT_EQ(Image::FromFile(path, false, loaded), Ok);
    EXPECT_EQ(loaded->GetRawFormat(), kFakeFormat);
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*loaded)), PixelsOf(*bitmap));
}

TEST_F(ImageSaveTest, UnknownEncoderWritesNothing) {
    auto bitmap = Picture(0xFFFF0000);
    EXPECT_EQ(bitmap->Save(folder_ / "x.png", kPngCodec.clsid), UnknownImageFormat);
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(bitmap->Save(bytes, kPngCodec.clsid), UnknownImageFormat);
    EXPECT_TRUE(folder_.names().empty());
}

TEST_F(ImageSaveTest, FailedEncodingLeavesNoFileBehind) {
    ScopedCodecRegistration failing;
    const Guid failingClsid{0x0fa4e0ff, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    ImageCodecInfo info = FakeCodecInfo();
    info.Clsid = failingClsid;
    ASSERT_EQ(failing.AddEncoder(info, std::make_shared<FakeEncoder>(true)), Ok);
    const fs::path path = folder_ / "kept.fake";
    std::ofstream(path) << "what was there";
    EXPECT_EQ(Picture(0xFFFF0000)->Save(path, failingClsid), Win32Error);
    EXPECT_EQ(folder_.names(), std::vector<fs::path>{"kept.fake"});
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(path, bytes), Ok);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "what was there");
}

class GreedySession : public EncoderSession {
public:
    Status AddFrame(const Image&, const EncoderParameters&) override { throw std::bad_alloc(); }
    Status Finish(std::vector<std::uint8_t>&) override { return Ok; }
};
class GreedyEncoder : public ImageEncoder {
public:
    std::unique_ptr<EncoderSession> StartSession() const override { return std::make_unique<GreedySession>(); }
};

TEST_F(ImageSaveTest, AnEncoderRunningOutOfMemoryIsOutOfMemory) {
    ScopedCodecRegistration greedy;
    ImageCodecInfo info = FakeCodecInfo();
    info.Clsid = Guid{0x0fa4e0ee, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    ASSERT_EQ(greedy.AddEncoder(info, std::make_shared<GreedyEncoder>()), Ok);
    EXPECT_EQ(Picture(0xFFFF0000)->Save(folder_ / "big.fake", info.Clsid), OutOfMemory);
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(Picture(0xFFFF0000)->Save(bytes, info.Clsid), OutOfMemory);
    EXPECT_TRUE(folder_.names().empty());
}

TEST_F(ImageSaveTest, SavingIntoAMissingFolderIsFileNotFound) {
    EXPECT_EQ(Picture(0xFFFF0000)->Save(folder_ / "no" / "x.fake", kFakeClsid), FileNotFound);
    EXPECT_EQ(encoder_->log->finished, 0);
}

TEST_F(ImageSaveTest, MultiFrameFileGrowsUntilFlushed) {
    auto first = Picture(0xFFFF0000);
    auto second = Picture(0xFF00FFFF);
    ASSERT_EQ(second->RotateFlip(Rotate90FlipNone), Ok);
    const fs::path path = folder_ / "pages.fake";
    const EncoderParameters start = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    const EncoderParameters page = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueFrameDimensionPage)};
    const EncoderParameters flush = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueFlush)};

    EXPECT_EQ(first->SaveAdd(flush), WrongState);
    ASSERT_EQ(first->Save(path, kFakeClsid, &start), Ok);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(first->Save(path, kFakeClsid, &start), WrongState);
    ASSERT_EQ(first->SaveAdd(*second, page), Ok);
    EXPECT_EQ(first->SaveAdd(page), InvalidParameter);
    ASSERT_EQ(first->SaveAdd(flush), Ok);
    EXPECT_EQ(first->SaveAdd(flush), WrongState);

    std::unique_ptr<Image> loaded;
    ASSERT_EQ(Image::FromFile(path, false, loaded), Ok);
    EXPECT_EQ(loaded->GetFrameCount(FrameDimensionPage), 2u);
    ASSERT_EQ(loaded->SelectActiveFrame(FrameDimensionPage, 1), Ok);
    EXPECT_EQ(loaded->GetWidth(), 2u);
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*loaded)), PixelsOf(*second));
}

TEST_F(ImageSaveTest, TheEndOfTheFirstImageCompletesAMultiFrameFile) {
    const fs::path path = folder_ / "closed.fake";
    {
        auto first = Picture(0xFFFF0000);
        const EncoderParameters start = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
        ASSERT_EQ(first->Save(path, kFakeClsid, &start), Ok);
        ASSERT_EQ(first->SaveAdd(*Picture(0xFF0000FF), {}), Ok);
        EXPECT_FALSE(fs::exists(path));
    }
    std::unique_ptr<Image> loaded;
    ASSERT_EQ(Image::FromFile(path, false, loaded), Ok);
    EXPECT_EQ(loaded->GetFrameCount(FrameDimensionPage), 2u);
}

TEST_F(ImageSaveTest, LastFrameCompletesTheFile) {
    auto first = Picture(0xFFFF0000);
    const fs::path path = folder_ / "last.fake";
    const EncoderParameters start = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    const EncoderParameters last = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueLastFrame)};
    ASSERT_EQ(first->Save(path, kFakeClsid, &start), Ok);
    ASSERT_EQ(first->SaveAdd(*Picture(0xFF0000FF), last), Ok);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(encoder_->log->finished, 1);
}

TEST_F(ImageSaveTest, SavingToMemoryCompletesAtOnce) {
    auto bitmap = Picture(0xFFFF0000);
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(bitmap->Save(bytes, kFakeClsid), Ok);
    std::unique_ptr<Image> loaded;
    ASSERT_EQ(Image::FromBytes(std::make_shared<std::vector<std::uint8_t>>(bytes), false, loaded), Ok);
    EXPECT_EQ(PixelsOf(dynamic_cast<Bitmap&>(*loaded)), PixelsOf(*bitmap));

    const EncoderParameters start = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    std::vector<std::uint8_t> untouched = {1, 2, 3};
    EXPECT_EQ(bitmap->Save(untouched, kFakeClsid, &start), NotImplemented);
    EXPECT_EQ(untouched, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(ImageSaveTest, ALockedImageIsNotSaved) {
    auto bitmap = Picture(0xFFFF0000);
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(Rect{0, 0, 1, 1}, ImageLockModeRead, PixelFormat32bppARGB, data), Ok);
    EXPECT_EQ(bitmap->Save(folder_ / "busy.fake", kFakeClsid), ObjectBusy);
    ASSERT_EQ(bitmap->UnlockBits(data), Ok);
    EXPECT_TRUE(folder_.names().empty());
}

}  // namespace
}  // namespace gdiplus
