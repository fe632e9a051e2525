#include "imaging/engine/pixel_locks.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::CallerBuffer32;
using testing_support::EngineTest;
using testing_support::OnFreshThread;
using testing_support::PixelsOf;
using testing_support::RegisterBitmap;

using PixelLockTest = EngineTest;

TEST_F(PixelLockTest, StrideAndFirstRowOfTheImage) {
    std::vector<uint8_t> pixels(16 * 2);
    int32_t id = 0;
    ASSERT_EQ(ImageFromBuffer(5, 2, 16, gdiplus::PixelFormat24bppRGB, pixels.data(), id), OK);
    int32_t stride = 0;
    ASSERT_EQ(ImageStride(id, stride), OK);
    EXPECT_EQ(stride, 16);
    const void* address = nullptr;
    ASSERT_EQ(ImageScan0(id, address), OK);
    EXPECT_EQ(address, pixels.data());
    EXPECT_EQ(ImageStride(id + 1, stride), InvalidParameter);
    ReleaseImage(id);
}

TEST_F(PixelLockTest, AWriteLockMarksTheImageAReadLockDoesNot) {
    const int32_t id = RegisterBitmap(2, 2, gdiplus::PixelFormat32bppARGB);
    std::vector<uint32_t> buffer(4, 0xFF336699);
    gdiplus::BitmapData data = CallerBuffer32(buffer, 2, 2);
    const gdiplus::Rect all{0, 0, 2, 2};

    ASSERT_EQ(LockImageBits(id, all, kLockReadIntoCallerBuffer, gdiplus::PixelFormat32bppARGB, data), OK);
    ASSERT_EQ(UnlockImageBits(id, data), OK);
    EXPECT_FALSE(FindImageEntry(id)->IsModified);
    EXPECT_EQ(buffer, std::vector<uint32_t>(4, 0));  // the read brought the image's pixels

    buffer.assign(4, 0xFF336699);
    ASSERT_EQ(LockImageBits(id, all, kLockWriteFromCallerBuffer, gdiplus::PixelFormat32bppARGB, data), OK);
    ASSERT_EQ(UnlockImageBits(id, data), OK);
    EXPECT_TRUE(FindImageEntry(id)->IsModified);
    EXPECT_EQ(PixelsOf(id), std::vector<uint32_t>(4, 0xFF336699));
}

struct SwitchCase {
    const char* version;
    uint32_t mode;
    int32_t formatAfter;
};

class GdiplusVersionLockTest : public testing::TestWithParam<SwitchCase> {};

// Writing an 8-bit image through a 32-bit lock: an old GDI+ needs the image
// converted first; from version 6 on it keeps its format. Reads never convert.
TEST_P(GdiplusVersionLockTest, WriteLockOfAnIndexedImage) {
    const SwitchCase c = GetParam();
    OnFreshThread([c] {
        SetModuleVersionReader([c](std::string_view) { return std::string(c.version); });
        ASSERT_TRUE(StartImaging());
        const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat8bppIndexed);
        std::vector<uint32_t> buffer(2, 0xFFFFFFFF);
        gdiplus::BitmapData data = CallerBuffer32(buffer, 2, 1);
        ASSERT_EQ(LockImageBits(id, gdiplus::Rect{0, 0, 2, 1}, c.mode, gdiplus::PixelFormat32bppARGB, data), OK);
        ASSERT_EQ(UnlockImageBits(id, data), OK);
        EXPECT_EQ(PixelFormatOf(id), c.formatAfter);
        EXPECT_GE(FindImageIndex(id), 0);
        StopImaging();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Versions, GdiplusVersionLockTest,
    testing::Values(SwitchCase{"5.1.3102.5512", kLockWriteFromCallerBuffer, gdiplus::PixelFormat32bppARGB},
                    SwitchCase{"6.1.7601.0", kLockWriteFromCallerBuffer, gdiplus::PixelFormat8bppIndexed},
                    SwitchCase{"5.1.3102.5512", kLockReadIntoCallerBuffer, gdiplus::PixelFormat8bppIndexed}));

}  // namespace
}  // namespace scanvelt
