#include "imaging/engine/morvalen_status.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

TEST(MorvalenStatus, GdiplusStatusesPassThroughUnderTheirOwnNames) {
    struct Case {
        gdiplus::Status gdiplus;
        MorvalenStatus library;
        int32_t value;
    } cases[] = {
        {gdiplus::Ok, OK, 0},
        {gdiplus::GenericError, GenericError, 1},
        {gdiplus::InvalidParameter, InvalidParameter, 2},
        {gdiplus::OutOfMemory, OutOfMemory, 3},
        {gdiplus::Aborted, Aborted, 9},
        {gdiplus::FileNotFound, FileNotFound, 10},
        {gdiplus::UnknownImageFormat, UnknownImageFormat, 13},
        {gdiplus::PropertyNotFound, PropertyNotFound, 19},
        {gdiplus::ProfileNotFound, ProfileNotFound, 21},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusOf(c.gdiplus), c.library) << c.value;
        EXPECT_EQ(static_cast<int32_t>(c.library), c.value);
    }
}

TEST(MorvalenStatus, TheLibrarysOwnValues) {
    struct Case {
        MorvalenStatus status;
        int32_t value;
    } cases[] = {
        {UnsupportedImageFormat, 22}, {StreamReadFailure, 23},      {UnsupportedPixelFormat, 62},
        {PdfRenderingPageError, 204}, {MvimgplugDllRequired, 300},
    };
    for (const Case& c : cases) EXPECT_EQ(static_cast<int32_t>(c.status), c.value);
}

}  // namespace
}  // namespace scanvelt
