#include "platform/gdiplus/image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdiplus/fake_codec_test_support.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

class ImageTest : public StartedTest {
protected:
    void SetUp() override {
        ASSERT_EQ(registration_.AddDecoder(FakeCodecInfo(), std::make_shared<FakeDecoder>()), Ok);
    }

    // A three-frame fake file in memory, frame i all of colour i.
    static EncodedBytes ThreeFrames() {
        auto bytes = std::make_shared<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{'F', 'A', 'K', 'E'});
        PutU32(*bytes, 3);
        const ARGB colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
        for (std::uint32_t i = 0; i < 3; ++i) {
            PutU32(*bytes, i + 1);
            PutU32(*bytes, 1);
            for (std::uint32_t x = 0; x <= i; ++x) PutU32(*bytes, colours[i]);
        }
        return bytes;
    }

    ScopedCodecRegistration registration_;
};

TEST_F(ImageTest, ABitmapMadeInMemoryHasOnePage) {
    auto bitmap = MakeBitmap(2, 2, PixelFormat24bppRGB);
    EXPECT_EQ(bitmap->GetFrameDimensionsList(), std::vector<Guid>{FrameDimensionPage});
    EXPECT_EQ(bitmap->GetFrameDimensionsCount(), 1u);
    EXPECT_EQ(bitmap->GetFrameCount(FrameDimensionPage), 1u);
    EXPECT_EQ(bitmap->GetFrameCount(FrameDimensionTime), 0u);
    EXPECT_EQ(bitmap->SelectActiveFrame(FrameDimensionPage, 0), Ok);
    EXPECT_EQ(bitmap->SelectActiveFrame(FrameDimensionPage, 1), InvalidParameter);
    EXPECT_EQ(bitmap->SelectActiveFrame(FrameDimensionTime, 0), InvalidParameter);
    EXPECT_EQ(bitmap->ForceValidation(), Ok);
}

TEST_F(ImageTest, SelectingAFrameShowsItsPixels) {
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::FromBytes(ThreeFrames(), false, image), Ok);
    EXPECT_EQ(image->GetRawFormat(), kFakeFormat);
    EXPECT_EQ(image->GetFrameDimensionsList(), std::vector<Guid>{FrameDimensionPage});
    EXPECT_EQ(image->GetFrameCount(FrameDimensionPage), 3u);
    EXPECT_EQ(image->GetWidth(), 1u);

    ASSERT_EQ(image->SelectActiveFrame(FrameDimensionPage, 2), Ok);
    auto& bitmap = dynamic_cast<Bitmap&>(*image);
    EXPECT_EQ(bitmap.GetWidth(), 3u);
    EXPECT_EQ(PixelsOf(bitmap), std::vector<ARGB>(3, 0xFF0000FF));
    EXPECT_EQ(image->GetRawFormat(), kFakeFormat);

    EXPECT_EQ(image->SelectActiveFrame(FrameDimensionPage, 3), InvalidParameter);
    EXPECT_EQ(image->SelectActiveFrame(FrameDimensionTime, 0), InvalidParameter);
    EXPECT_EQ(bitmap.GetWidth(), 3u);
}

TEST_F(ImageTest, ReselectingTheShownFrameKeepsItsChanges) {
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::FromBytes(ThreeFrames(), false, image), Ok);
    auto& bitmap = dynamic_cast<Bitmap&>(*image);
    ASSERT_EQ(bitmap.SetPixel(0, 0, 0xFFFFFFFF), Ok);
    ASSERT_EQ(image->SelectActiveFrame(FrameDimensionPage, 0), Ok);
    EXPECT_EQ(PixelsOf(bitmap), std::vector<ARGB>{0xFFFFFFFF});
    ASSERT_EQ(image->SelectActiveFrame(FrameDimensionPage, 1), Ok);
    ASSERT_EQ(image->SelectActiveFrame(FrameDimensionPage, 0), Ok);
    EXPECT_EQ(PixelsOf(bitmap), std::vector<ARGB>{0xFFFF0000});
}

TEST_F(ImageTest, ACloneKeepsTheFrames) {
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::FromBytes(ThreeFrames(), false, image), Ok);
    ASSERT_EQ(image->SelectActiveFrame(FrameDimensionPage, 1), Ok);
    std::unique_ptr<Image> clone;
    ASSERT_EQ(image->Clone(clone), Ok);
    EXPECT_EQ(clone->GetWidth(), 2u);
    EXPECT_EQ(clone->GetFrameCount(FrameDimensionPage), 3u);
    ASSERT_EQ(clone->SelectActiveFrame(FrameDimensionPage, 2), Ok);
    EXPECT_EQ(clone->GetWidth(), 3u);
    EXPECT_EQ(image->GetWidth(), 2u);
}

TEST_F(ImageTest, LoadingFailuresSayWhatWentWrong) {
    ScratchFolder folder;
    std::ofstream(folder / "text.fake") << "not an image";
    std::ofstream(folder / "empty.fake");
    std::ofstream(folder / "broken.fake") << "FAKE\x05";
    std::unique_ptr<Image> image;
    EXPECT_EQ(Image::FromFile(folder / "missing.fake", false, image), FileNotFound);
    EXPECT_EQ(Image::FromFile(folder / "text.fake", false, image), UnknownImageFormat);
    EXPECT_EQ(Image::FromFile(folder / "empty.fake", false, image), UnknownImageFormat);
    EXPECT_EQ(Image::FromFile(folder / "broken.fake", false, image), GenericError);  // the decoder's status
    EXPECT_EQ(Image::FromBytes(nullptr, false, image), InvalidParameter);
    EXPECT_EQ(Image::FromBytes(std::make_shared<std::vector<std::uint8_t>>(), false, image), InvalidParameter);
    EXPECT_FALSE(image);
}

}  // namespace
}  // namespace gdiplus
