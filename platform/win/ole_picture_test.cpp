#include "platform/win/ole_picture.h"

#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/gdi_object.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(OlePicture, BitmapPictureMeasuresInHimetricAndOwnsItsBitmap) {
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 96, 48);
    HPICTURE picture{};
    ASSERT_EQ(OleCreatePictureIndirect({PictureType::Bitmap, handleValue(bitmap)}, true, picture), S_OK);
    PictureInfo info;
    ASSERT_TRUE(GetPictureInfo(picture, info));
    EXPECT_EQ(info.type, PictureType::Bitmap);
    EXPECT_EQ(info.handle, handleValue(bitmap));
    EXPECT_EQ(info.width, 2540);
    EXPECT_EQ(info.height, 1270);

    EXPECT_EQ(PictureAddRef(picture), 2u);
    EXPECT_EQ(PictureRelease(picture), 1u);
    EXPECT_NE(FindBitmap(bitmap), nullptr);
    EXPECT_EQ(PictureRelease(picture), 0u);
    EXPECT_EQ(FindBitmap(bitmap), nullptr) << "an owning picture frees its bitmap";
    EXPECT_FALSE(GetPictureInfo(picture, info));
    EXPECT_EQ(PictureRelease(picture), 0u) << "a stale picture is refused";
}

TEST(OlePicture, AHostDeletingTheHandleFirstLeavesReleaseHarmless) {
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    HBITMAP other = CreateCompatibleBitmap(HDC{}, 1, 1);
    HPICTURE picture{};
    ASSERT_EQ(OleCreatePictureIndirect({PictureType::Bitmap, handleValue(bitmap)}, true, picture), S_OK);
    PictureInfo info;
    GetPictureInfo(picture, info);
    EXPECT_TRUE(DeleteObject(info.handle));
    EXPECT_EQ(PictureRelease(picture), 0u);
    EXPECT_NE(FindBitmap(other), nullptr) << "release touched no other bitmap";
    DeleteObject(other);
}

TEST(OlePicture, WithoutOwnershipTheBitmapStays) {
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    HPICTURE picture{};
    ASSERT_EQ(OleCreatePictureIndirect({PictureType::Bitmap, handleValue(bitmap)}, false, picture), S_OK);
    PictureRelease(picture);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(OlePicture, IconPicturesAndRefusals) {
    HBITMAP mask = CreateDIBSection(HDC{}, BitmapInfoHeader{32, 64, 1, 1}, {}, nullptr);
    HICON icon = CreateIconIndirect({true, 0, 0, mask, HBITMAP{}});
    DeleteObject(mask);
    HPICTURE picture{};
    ASSERT_EQ(OleCreatePictureIndirect({PictureType::Icon, handleValue(icon)}, true, picture), S_OK);
    PictureInfo info;
    GetPictureInfo(picture, info);
    EXPECT_EQ(info.width, 847);
    EXPECT_EQ(info.height, 847) << "a monochrome icon is half its mask's height";
    PictureRelease(picture);
    EXPECT_FALSE(DestroyIcon(icon)) << "the picture destroyed it";

    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    EXPECT_EQ(OleCreatePictureIndirect({PictureType::Icon, handleValue(bitmap)}, true, picture), E_INVALIDARG);
    EXPECT_EQ(picture, HPICTURE{});
    EXPECT_EQ(OleCreatePictureIndirect({static_cast<PictureType>(9), 1}, true, picture), E_INVALIDARG);
    EXPECT_EQ(OleCreatePictureIndirect({PictureType::Metafile, 0}, true, picture), E_INVALIDARG);
    ASSERT_EQ(OleCreatePictureIndirect({PictureType::None, 0}, true, picture), S_OK);
    PictureRelease(picture);
    DeleteObject(bitmap);
}

}  // namespace
}  // namespace win
