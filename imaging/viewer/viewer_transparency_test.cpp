// Transparent drawing: a see-through control shows the host's window behind
// it wherever the image is clear or has the mask colour; a control forced to
// draw through a picture looks as it does otherwise; an animated GIF is drawn
// without gamma.
#include <gtest/gtest.h>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using namespace testing_support;

constexpr uint32_t kOpaqueBlue = 0xFF2040C0u;
constexpr uint32_t kMaskRed = 0xFFFF0000u;  // ImageMaskColor RGB(255, 0, 0) = 0x0000FF

// Behind the face: a left half of one colour and a right half of another.
uint32_t Behind(int32_t x, int32_t) { return x < 100 ? 0xFF10A010u : 0xFFE0E000u; }

class ViewerTransparency : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        site.backdrop = Behind;
        put("BackColor", MakeI4(0x00FFFFFF));  // white
        put("ZoomMode", MakeI4(1));
        show(200, 100);
        // 40 x 20 at the centre (80, 40): a clear column, a column of the mask colour, the rest blue.
        image_ = makeImage(40, 20, [](int32_t x, int32_t) {
            return x < 10 ? 0x00000000u : x < 20 ? kMaskRed : kOpaqueBlue;
        });
    }
    void TearDown() override {
        if (image_) ReleaseImage(image_);
        ViewerFixture::TearDown();
    }
    void showImage() { ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image_)}), 0); }
    int32_t image_ = 0;
};

TEST_F(ViewerTransparency, ASeeThroughControlShowsTheWindowBehindWhereTheImageIsClearOrMasked) {
    put("BackStyle", MakeI4(0));
    put("ImageMaskColor", MakeI4(0x0000FF));
    showImage();
    ASSERT_EQ(callLong("GetImageLeft"), 80);
    ASSERT_EQ(callLong("GetImageTop"), 40);
    EXPECT_EQ(pixel(10, 10), Behind(10, 10)) << "around the image";
    EXPECT_EQ(pixel(190, 90), Behind(190, 90));
    EXPECT_EQ(pixel(85, 50), Behind(85, 50)) << "a clear pixel";
    EXPECT_EQ(pixel(95, 50), Behind(95, 50)) << "the mask colour";
    EXPECT_EQ(pixel(110, 50), kOpaqueBlue);
    // Without a mask colour that column is drawn.
    put("ImageMaskColor", MakeI4(0x10000));
    ASSERT_EQ(callLong("Redraw"), 0);
    EXPECT_EQ(pixel(95, 50), kMaskRed);
    EXPECT_EQ(pixel(85, 50), Behind(85, 50));
}

TEST_F(ViewerTransparency, AnOpaqueControlDrawsOnItsBackColourThroughEitherPath) {
    put("ImageMaskColor", MakeI4(0x0000FF));  // only a see-through control masks
    for (const bool picture : {false, true}) {
        SCOPED_TRACE(picture ? "through a picture" : "directly");
        put("ForcePictureMode", MakeBool(picture));
        showImage();
        EXPECT_EQ(pixel(10, 10), 0xFFFFFFFFu);
        EXPECT_EQ(pixel(85, 50), 0xFFFFFFFFu) << "a clear pixel on the back colour";
        EXPECT_EQ(pixel(95, 50), kMaskRed);
        EXPECT_EQ(pixel(110, 50), kOpaqueBlue);
    }
}

TEST_F(ViewerTransparency, GammaIsNotAppliedToAnAnimatedGif) {
    // Frames of the colour 0xFF000001 and 0xFF000002.
    const auto shownWithGamma = [&](const gdiplus::Guid& format, float gamma) {
        ScopedTestFramesDecoder decoder(format);
        put("gamma", MakeR4(gamma));
        int32_t id = 0;
        EXPECT_EQ(LoadImageFromStream(id, StreamOf(TestFramesFile({{40, 20}, {40, 20}})), false), OK);
        EXPECT_EQ(callLong("DisplayFromMorvalenImage", {MakeI4(id)}), 0);
        const uint32_t shown = pixel(100, 50);
        call("ImageClosed");
        ReleaseImage(id);
        return shown;
    };
    EXPECT_EQ(shownWithGamma(gdiplus::ImageFormatGIF, 0.5f), shownWithGamma(gdiplus::ImageFormatGIF, 1.0f));
    EXPECT_NE(shownWithGamma(gdiplus::ImageFormatTIFF, 0.5f), shownWithGamma(gdiplus::ImageFormatTIFF, 1.0f))
        << "gamma does reach other multi-page images";
}

}  // namespace
}  // namespace scanvelt::testing
