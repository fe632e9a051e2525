#include "imaging/twain/twain_control.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/engine/image_entry.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt {
namespace {

using testing_support::RegisterBitmap;

// A white 100 x 100 page with `dark` black pixels in its first rows.
int32_t pageWithDarkPixels(int dark) {
    int32_t id = RegisterBitmap(100, 100, gdiplus::PixelFormat24bppRGB);
    auto* bitmap = static_cast<gdiplus::Bitmap*>(FindImageEntry(id)->NativeImage.get());
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) bitmap->SetPixel(x, y, y * 100 + x < dark ? 0xFF000000 : 0xFFFFFFFF);
    return id;
}

TEST(TwainControl, AFreshControlHasItsStartValues) {
    TwainControl control;
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_DOUBLE_EQ(control.GetVersion(), 5.9901306);
    EXPECT_EQ(control.currentImage(), 0);
    EXPECT_EQ(control.roiMode(), RoiMode::WholeImage);
    EXPECT_EQ(control.httpBufferSize(), 4096);
    EXPECT_TRUE(control.ftpPassive());
    EXPECT_TRUE(control.keepPropertyItems());
    EXPECT_EQ(control.pdfCompressLevel(), 9);
    EXPECT_EQ(control.pdfJpegQuality(), 75);
    EXPECT_EQ(CurrentImagingSession().StartCount, 1);
}

TEST(TwainControl, EachInstanceStartsAndStopsTheEngineOnce) {
    {
        TwainControl first;
        {
            TwainControl second;
            EXPECT_EQ(CurrentImagingSession().StartCount, 2);
        }
        EXPECT_EQ(CurrentImagingSession().StartCount, 1);
    }
    EXPECT_EQ(CurrentImagingSession().StartCount, 0);
}

TEST(TwainControl, RegionModes) {
    TwainControl control;
    control.SetROI(10, 20, 30, 40);
    EXPECT_EQ(control.roiMode(), RoiMode::UserRectangle);
    control.setCurrentImage(RegisterBitmap(200, 100, gdiplus::PixelFormat24bppRGB));
    control.ResetRoiToImage();  // a user rectangle stays as set, whatever the image
    EXPECT_EQ(control.roi().Left, 10);
    EXPECT_EQ(control.roi().Height, 40);
    control.ResetROI();
    EXPECT_EQ(control.roiMode(), RoiMode::WholeImage);
    EXPECT_EQ(control.roi().Width, 0);
    control.ResetRoiToImage();
    EXPECT_EQ(control.roi().Width, 200);
    EXPECT_EQ(control.roi().Height, 100);
    control.setCurrentImage(987654);
    control.ResetRoiToImage();
    EXPECT_EQ(control.GetStat(), InvalidParameter);  // the size reads store their status
}

TEST(TwainControl, IsBlankWithoutAnImageFailsWithGenericError) {
    TwainControl control;
    EXPECT_FALSE(control.IsBlank());
    EXPECT_EQ(control.GetStat(), GenericError);
}

TEST(TwainControl, IsBlankCountsDarkPixelsAgainstTheConfidence) {
    TwainControl control;
    control.setCurrentImage(pageWithDarkPixels(90));  // 0.9 per cent dark
    EXPECT_TRUE(control.IsBlank());
    EXPECT_EQ(control.GetStat(), OK);
    control.setCurrentImage(pageWithDarkPixels(100));  // light share exactly 99.0
    EXPECT_FALSE(control.IsBlank());
    EXPECT_FALSE(control.IsBlank(100.0f));
    EXPECT_TRUE(control.IsBlank(-1.0f));
    // A rectangle of the user: only the white lower half is tested.
    control.SetROI(0, 50, 100, 50);
    EXPECT_TRUE(control.IsBlank(99.9f));
    control.SetROI(0, 90, 100, 50);  // does not fit the image: the filter's failure
    EXPECT_FALSE(control.IsBlank(-1.0f));
    EXPECT_NE(control.GetStat(), OK);
}

TEST(TwainControl, SmallMembers) {
    TwainControl control;
    EXPECT_EQ(control.Encode64String("Scan"), "U2Nhbg==");
    EXPECT_EQ(control.Decode64String("U2Nhbg=="), "Scan");
    EXPECT_EQ(control.Decode64String(control.Encode64String("é\x01")), "é\x01");
    control.SetHttpTransfertBufferSize(-5);
    EXPECT_EQ(control.httpBufferSize(), -5);
    EXPECT_EQ(control.GetStat(), OK);
    control.SetFtpPassiveMode(false);
    EXPECT_FALSE(control.ftpPassive());
    EXPECT_GT(control.GetDesktopHwnd(), 0);
    int32_t width = 5000, height = 1;
    control.Resize(width, height);
    EXPECT_EQ(width, 420);
    EXPECT_EQ(height, 420);
}

struct RecordingDocument : OpenDocument {
    explicit RecordingDocument(int& finished) : finished(finished) {}
    void Finish() noexcept override { ++finished; }
    int& finished;
};

TEST(TwainControl, TerminationFinishesOpenDocuments) {
    int finished = 0;
    {
        TwainControl control;
        control.adoptOpenDocument(std::make_unique<RecordingDocument>(finished));
    }
    EXPECT_EQ(finished, 1);
}

TEST(TwainControl, TerminationCompletesAnOpenMultiPageTiffWhileTheEngineRunsOn) {
    win::testing::ScratchFolder folder;
    std::string path = folder.file("pages.tif");
    StartImaging();  // another user keeps the engine running
    {
        TwainControl control;
        int32_t first = RegisterBitmap(40, 30, gdiplus::PixelFormat24bppRGB);
        ASSERT_EQ(TiffMultiPageStart(first, path, 6), OK);
        ASSERT_EQ(TiffMultiPageAdd(first, RegisterBitmap(40, 30, gdiplus::PixelFormat24bppRGB)), OK);
        control.setOpenMultiPageTiff(first);
        control.setCurrentImage(first);
    }
    int32_t loaded = 0;
    ASSERT_EQ(LoadImageFromFile(loaded, path, false, false, true, 0, true, false), OK);
    int32_t pages = 0;
    EXPECT_EQ(GetTiffPageCount(loaded, pages), OK);
    EXPECT_EQ(pages, 2);
    StopImaging();
}

}  // namespace
}  // namespace scanvelt
