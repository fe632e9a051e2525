// The control's image information and handle members, held against the
// engine's own answers for the same image.
#include "imaging/twain/image_info_members.h"

#include <gtest/gtest.h>

#include <cmath>

#include "imaging/engine/graphics_on_image.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/save_memory.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"
#include "platform/win/ole_picture.h"

namespace scanvelt {
namespace {

using testing_support::RegisterBitmap;

int32_t Page(int32_t width, int32_t height, int32_t format, float horizontalDpi, float verticalDpi) {
    const int32_t id = RegisterBitmap(width, height, format);
    NativeBitmapOf(id)->SetResolution(horizontalDpi, verticalDpi);
    return id;
}

struct InfoCase {
    int32_t width, height, format;
    float horizontalDpi, verticalDpi;
};

class ImageInfoMembersTest : public ::testing::TestWithParam<InfoCase> {
protected:
    TwainControl control;
};

TEST_P(ImageInfoMembersTest, AnswerWhatTheEngineAnswersAndStoreItsStatus) {
    const InfoCase c = GetParam();
    const int32_t id = Page(c.width, c.height, c.format, c.horizontalDpi, c.verticalDpi);
    control.setCurrentImage(id);

    int32_t width = 0, height = 0, format = 0, depth = 0;
    float horizontal = 0, vertical = 0;
    std::string formatName;
    ASSERT_EQ(GetImageWidth(id, width), OK);
    ASSERT_EQ(GetImageHeight(id, height), OK);
    ASSERT_EQ(GetImagePixelFormat(id, format), OK);
    ASSERT_EQ(GetImageBitDepth(id, depth), OK);
    ASSERT_EQ(GetImageHorizontalResolution(id, horizontal), OK);
    ASSERT_EQ(GetImageVerticalResolution(id, vertical), OK);
    ASSERT_EQ(GetPixelFormatName(id, formatName), OK);

    control.setLastStatus(GenericError);
    EXPECT_EQ(GetWidth(control), width);
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_EQ(GetHeight(control), height);
    EXPECT_EQ(GetPixelFormat(control), format);
    EXPECT_EQ(GetPixelDepth(control), depth);
    EXPECT_EQ(IsPixelFormatIndexed(control), IsIndexedFormat(format));
    EXPECT_EQ(IsPixelFormatHasAlpha(control), IsAlphaFormat(format));
    EXPECT_EQ(GetHorizontalResolution(control), horizontal);
    EXPECT_EQ(GetVerticalResolution(control), vertical);
    EXPECT_EQ(GetPixelFormatString(control), formatName);
    EXPECT_EQ(GetImageFormat(control), FormatNameOf(id));
    EXPECT_FLOAT_EQ(GetWidthMM(control), static_cast<float>(width / static_cast<double>(horizontal) * 25.4));
    EXPECT_FLOAT_EQ(GetHeightMM(control), static_cast<float>(height / static_cast<double>(vertical) * 25.4));
    EXPECT_EQ(control.GetStat(), OK);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageInfoMembersTest,
    ::testing::Values(InfoCase{2480, 20, gdiplus::PixelFormat24bppRGB, 300, 300},
                      InfoCase{64, 48, gdiplus::PixelFormat1bppIndexed, 200, 100},
                      InfoCase{33, 17, gdiplus::PixelFormat8bppIndexed, 72.5f, 96},
                      InfoCase{10, 10, gdiplus::PixelFormat32bppARGB, 96, 150}));

TEST(ImageInfoMembers, AnA4WidthAt300DpiIsTheSingleNearest209Point97Millimetres) {
    TwainControl control;
    control.setCurrentImage(Page(2480, 10, gdiplus::PixelFormat24bppRGB, 300, 300));
    EXPECT_EQ(GetWidthMM(control), static_cast<float>(2480 / 300.0 * 25.4));
    EXPECT_NEAR(GetWidthMM(control), 209.97333f, 1e-4);
}

TEST(ImageInfoMembers, AZeroOrBrokenResolutionCountsAs96DpiNeverAsAnInfiniteSize) {
    const struct {
        int32_t pixels;
        float dpi, millimetres;
    } cases[] = {{96, 0.0f, 25.4f},   {192, -5.0f, 50.8f}, {96, std::nanf(""), 25.4f},
                 {96, INFINITY, 25.4f}, {300, 300.0f, 25.4f}, {0, 0.0f, 0.0f}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(MillimetresAt(c.pixels, c.dpi), c.millimetres) << c.dpi;
}

TEST(ImageInfoMembers, WithoutAnImageTheyAnswerZeroAndTheEnginesStatus) {
    TwainControl control;
    for (int32_t id : {0, 4711}) {
        control.setCurrentImage(id);
        control.setLastStatus(OK);
        EXPECT_EQ(GetWidth(control), 0);
        EXPECT_EQ(control.GetStat(), InvalidParameter);
        EXPECT_EQ(GetWidthMM(control), 0.0f);
        EXPECT_EQ(GetPixelFormatString(control), "");
        EXPECT_FALSE(IsPixelFormatIndexed(control));
        EXPECT_EQ(control.GetStat(), InvalidParameter);
        EXPECT_EQ(GetHBitmap(control), 0u);
        EXPECT_EQ(GetDib(control), 0u);
        EXPECT_EQ(GetHICON(control), 0u);
        EXPECT_NE(control.GetStat(), OK);
    }
    control.setCurrentImage(0);
    EXPECT_EQ(SetVerticalResolution(control, 200), GenericError);
    EXPECT_EQ(control.GetStat(), GenericError);
    std::vector<uint8_t> bytes;
    int32_t count = 0;
    EXPECT_EQ(SaveAsByteArray(control, bytes, count, "PNG"), GenericError);
    EXPECT_TRUE(bytes.empty());
    control.setLastStatus(OK);
    EXPECT_EQ(SaveAsString(control, "PNG"), "");
    EXPECT_EQ(control.GetStat(), GenericError);
}

TEST(ImageInfoMembers, OneResolutionSetterKeepsTheOtherDirectionAndWritesBothTags) {
    TwainControl control;
    const int32_t id = Page(30, 30, gdiplus::PixelFormat24bppRGB, 300, 300);
    control.setCurrentImage(id);
    EXPECT_EQ(SetHorizontalResolution(control, 200), OK);
    EXPECT_EQ(testing_support::ResolutionOf(id), std::make_pair(200.0f, 300.0f));
    EXPECT_EQ(SetVerticalResolution(control, 150), OK);
    EXPECT_EQ(testing_support::ResolutionOf(id), std::make_pair(200.0f, 150.0f));
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    for (int32_t tag : {kTagXResolution, kTagYResolution}) {
        uint32_t size = 0;
        EXPECT_EQ(bitmap->GetPropertyItemSize(tag, size), gdiplus::Ok) << tag;
    }
}

TEST(ImageInfoMembers, HandlesComeFromTheTablesAndTheMatchingMemberFreesThem) {
    TwainControl control;
    control.setCurrentImage(Page(20, 10, gdiplus::PixelFormat24bppRGB, 96, 96));
    const size_t bitmaps = win::LiveBitmapCount(), icons = win::LiveIconCount(), blocks = win::LiveGlobalBlockCount();

    const uint32_t bitmap = GetHBitmap(control);
    EXPECT_EQ(win::handleKindOf(bitmap), win::HandleKind::Bitmap);
    const uint32_t icon = GetHICON(control);
    EXPECT_EQ(win::handleKindOf(icon), win::HandleKind::Icon);
    const uint32_t dib = GetDib(control);
    EXPECT_EQ(win::handleKindOf(dib), win::HandleKind::GlobalMemory);
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps + 1);
    EXPECT_EQ(win::LiveIconCount(), icons + 1);
    EXPECT_EQ(win::LiveGlobalBlockCount(), blocks + 1);

    // A handle of another kind is refused by every member but its own.
    DeleteHICON(bitmap);
    RemoveDib(icon);
    DeleteHBitmap(dib);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps + 1);
    EXPECT_EQ(win::LiveIconCount(), icons + 1);
    EXPECT_EQ(win::LiveGlobalBlockCount(), blocks + 1);

    DeleteHBitmap(bitmap);
    DeleteHICON(icon);
    RemoveDib(dib);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
    EXPECT_EQ(win::LiveIconCount(), icons);
    EXPECT_EQ(win::LiveGlobalBlockCount(), blocks);
    DeleteHBitmap(bitmap);  // twice: ignored
}

TEST(ImageInfoMembers, APictureOwnsItsBitmapWhichDeletePictureObjectFrees) {
    TwainControl control;
    const int32_t id = Page(8, 8, gdiplus::PixelFormat24bppRGB, 96, 96);
    control.setCurrentImage(id);
    const size_t bitmaps = win::LiveBitmapCount(), pictures = win::LivePictureCount();
    const uint32_t picture = GetPictureOf(control, id);
    ASSERT_NE(picture, 0u);
    EXPECT_EQ(win::LivePictureCount(), pictures + 1);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps + 1);
    win::PictureInfo info;
    ASSERT_TRUE(win::GetPictureInfo(win::HPICTURE{picture}, info));
    DeletePictureHandle(info.handle);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
    win::PictureRelease(win::HPICTURE{picture});
    EXPECT_EQ(win::LivePictureCount(), pictures);

    EXPECT_EQ(GetPictureOf(control, 999), 0u);
    EXPECT_EQ(control.GetStat(), InvalidParameter);
    EXPECT_EQ(win::LivePictureCount(), pictures);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
}

TEST(ImageInfoMembers, TheDrawingLayersImageIsNamedByTheCurrentPage) {
    TwainControl control;
    EXPECT_EQ(GetGdiplusImage(control), 0);
    const int32_t id = Page(8, 8, gdiplus::PixelFormat24bppRGB, 96, 96);
    control.setCurrentImage(id);
    control.setLastStatus(Aborted);
    EXPECT_EQ(GetGdiplusImage(control), id);
    EXPECT_EQ(NativeImageHandle(GetGdiplusImage(control)), NativeImageHandle(id));
    control.setCurrentImage(4711);
    EXPECT_EQ(GetGdiplusImage(control), 0);
    EXPECT_EQ(control.GetStat(), Aborted);
}

TEST(ImageInfoMembers, TheImageDeviceContextIsOnePerImageAndGivenBackOnce) {
    TwainControl control;
    const int32_t id = Page(8, 8, gdiplus::PixelFormat24bppRGB, 96, 96);
    const uint32_t dc = GetMorvalenImageDC(control, id);
    ASSERT_NE(dc, 0u);
    EXPECT_EQ(GetMorvalenImageDC(control, id), dc);
    control.setLastStatus(Aborted);
    EXPECT_EQ(ReleaseMorvalenImageDC(dc), OK);
    EXPECT_EQ(ReleaseMorvalenImageDC(dc), GenericError);
    EXPECT_EQ(control.GetStat(), Aborted);
    EXPECT_EQ(GetMorvalenImageDC(control, 0), 0u);
    EXPECT_EQ(control.GetStat(), GenericError);
}

TEST(ImageInfoMembers, EncodedOutputIsTheEnginesEncodingOfTheCurrentImage) {
    TwainControl control;
    const int32_t id = Page(16, 9, gdiplus::PixelFormat24bppRGB, 96, 96);
    control.setCurrentImage(id);
    for (const char* format : {"PNG", "JPEG", "BMP"}) {
        std::vector<uint8_t> expected, bytes;
        int32_t expectedCount = 0, count = 0;
        ASSERT_EQ(SaveImageToBytes(id, expectedCount, expected, format, 0), OK);
        EXPECT_EQ(SaveAsByteArray(control, bytes, count, format), OK) << format;
        EXPECT_EQ(count, expectedCount);
        EXPECT_EQ(bytes, expected) << format;
        const std::string text = SaveAsString(control, format);
        EXPECT_EQ(text.empty(), false);
        std::string engineText;
        ASSERT_EQ(SaveImageToString(id, engineText, format, 0), OK);
        EXPECT_EQ(text, engineText);
    }
    std::shared_ptr<win::Stream> stream;
    EXPECT_EQ(SaveAsStream(control, stream, "png"), OK);
    ASSERT_NE(stream, nullptr);
    win::StreamStat stat;
    ASSERT_EQ(stream->Stat(&stat), win::S_OK);
    EXPECT_GT(stat.size, 8u);
}

}  // namespace
}  // namespace scanvelt
