#include "platform/win/gdi_icon.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(GdiIcon, KeepsCopiesSoTheCallersBitmapsStayTheirs) {
    HBITMAP mask = CreateDIBSection(HDC{}, BitmapInfoHeader{16, 16, 1, 1}, {}, nullptr);
    HBITMAP color = CreateCompatibleBitmap(HDC{}, 16, 16);
    FindBitmap(color)->row(0)[0] = 0x5A;
    HICON icon = CreateIconIndirect({true, 0, 0, mask, color});
    ASSERT_NE(icon, HICON{});
    EXPECT_TRUE(DeleteObject(mask));
    EXPECT_TRUE(DeleteObject(color));
    ASSERT_NE(FindIcon(icon), nullptr);
    EXPECT_EQ(FindIcon(icon)->color->row(0)[0], 0x5A);

    IconInfo info;
    ASSERT_TRUE(GetIconInfo(icon, info));
    EXPECT_TRUE(info.isIcon);
    ASSERT_NE(info.color, HBITMAP{});
    EXPECT_EQ(FindBitmap(info.color)->row(0)[0], 0x5A);
    EXPECT_EQ(FindBitmap(info.mask)->bitsPerPixel, 1);
    EXPECT_TRUE(DeleteObject(info.mask));
    EXPECT_TRUE(DeleteObject(info.color));

    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(GetIconInfo(icon, info));
}

TEST(GdiIcon, RefusesMissingMaskAndForeignHandles) {
    HBITMAP color = CreateCompatibleBitmap(HDC{}, 2, 2);
    EXPECT_EQ(CreateIconIndirect({true, 0, 0, HBITMAP{}, color}), HICON{});
    EXPECT_EQ(CreateIconIndirect({true, 0, 0, color, HBITMAP{0x3000001u}}), HICON{});
    HICON posing{handleValue(color)};
    EXPECT_FALSE(DestroyIcon(posing)) << "a bitmap handle is not an icon";
    EXPECT_NE(FindBitmap(color), nullptr);
    DeleteObject(color);
}

}  // namespace
}  // namespace win
