#include "platform/win/gdi_bitmap.h"

#include "platform/win/gdi_object.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace win {
namespace {

BitmapInfoHeader header(int32_t width, int32_t height, uint16_t bits, uint32_t colorsUsed = 0) {
    BitmapInfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = bits;
    h.clrUsed = colorsUsed;
    return h;
}

TEST(GdiBitmap, DibStrideTable) {
    struct Case { int32_t width; uint16_t bits; uint32_t stride; } cases[] = {
        {1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {5, 4, 4}, {9, 4, 8}, {5, 8, 8}, {4, 8, 4},
        {5, 24, 16}, {1, 24, 4}, {3, 16, 8}, {7, 32, 28}, {0, 8, 0}, {-3, 8, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(DibStride(c.width, c.bits), c.stride) << c.width << "x" << c.bits;
}

TEST(GdiBitmap, DibSectionHandsOutItsPixelsAndKeepsItsColourTable) {
    uint32_t colors[] = {0x00000000, 0x00FFFFFF, 0x000000FF};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(HDC{}, header(5, -3, 8, 3), colors, &bits);
    ASSERT_NE(bitmap, HBITMAP{});
    auto object = FindBitmap(bitmap);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(bits, object->bits.data());
    EXPECT_EQ(object->stride, 8u);
    EXPECT_TRUE(object->topDown);
    EXPECT_EQ(object->height, 3);
    EXPECT_EQ(object->colorTable, std::vector<uint32_t>(colors, colors + 3));
    static_cast<uint8_t*>(bits)[8] = 7;  // memory row 1 = image row 1 of a top-down DIB
    EXPECT_EQ(object->row(1)[0], 7);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(FindBitmap(bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)) << "a stale handle is refused";
}

TEST(GdiBitmap, FullColourTableWhenColorsUsedIsZeroMissingEntriesZero) {
    uint32_t colors[] = {0x11223344};
    HBITMAP bitmap = CreateDIBSection(HDC{}, header(2, 2, 4), colors, nullptr);
    auto object = FindBitmap(bitmap);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->colorTable.size(), 16u);
    EXPECT_EQ(object->colorTable[0], 0x11223344u);
    EXPECT_EQ(object->colorTable[15], 0u);
    EXPECT_FALSE(object->topDown);
    DeleteObject(bitmap);
}

TEST(GdiBitmap, RefusesShapesABitmapCannotHave) {
    BitmapInfoHeader compressed = header(4, 4, 8);
    compressed.compression = 1;
    for (const BitmapInfoHeader& bad : {header(0, 4, 8), header(4, 0, 8), header(-4, 4, 8), header(4, 4, 2),
                                        header(4, INT32_MIN, 8), header(100000, 100000, 32), compressed}) {
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(HDC{}, bad, {}, &bits), HBITMAP{}) << bad.width << "x" << bad.height;
        EXPECT_EQ(bits, nullptr);
    }
    EXPECT_EQ(CreateCompatibleBitmap(HDC{}, 0, 5), HBITMAP{});
}

TEST(GdiBitmap, SetDIBitsCopiesRowsInScanOrder) {
    // The pixel rows of Image8bppFromBits: top-down, 8 bytes per row for width 5.
    HBITMAP bitmap = CreateDIBSection(HDC{}, header(5, -2, 8), {}, nullptr);
    uint8_t topDown[16] = {1, 2, 3, 4, 5, 0, 0, 0, 6, 7, 8, 9, 10, 0, 0, 0};
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 2, topDown, header(5, -2, 8)), 2);
    auto object = FindBitmap(bitmap);
    EXPECT_EQ(object->row(0)[0], 1);
    EXPECT_EQ(object->row(1)[4], 10);

    // A bottom-up source: its first row is the bottom one.
    uint8_t bottomUp[16] = {11, 0, 0, 0, 0, 0, 0, 0, 22, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 2, bottomUp, header(5, 2, 8)), 2);
    EXPECT_EQ(object->row(1)[0], 11);
    EXPECT_EQ(object->row(0)[0], 22);

    // Only scan 1 of a bottom-up source (the top row) is given.
    uint8_t one[8] = {33};
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 1, 1, one, header(5, 2, 8)), 1);
    EXPECT_EQ(object->row(0)[0], 33);

    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 2, topDown, header(5, -2, 24)), 0) << "another depth";
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 2, topDown, header(4, -2, 8)), 0) << "another width";
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 2, 1, topDown, header(5, -2, 8)), 0) << "start past the rows";
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 2, nullptr, header(5, -2, 8)), 0);
    EXPECT_EQ(SetDIBits(HDC{}, bitmap, 0, 9, topDown, header(5, -2, 8)), 2) << "lines beyond the DIB are not read";
    DeleteObject(bitmap);
}

TEST(DeviceContext, SelectingAndDeleting) {
    HDC screen = GetDC(0);
    HDC memory = CreateCompatibleDC(screen);
    ASSERT_NE(memory, HDC{});
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 3);
    EXPECT_EQ(FindBitmap(bitmap)->bitsPerPixel, kScreenBitsPerPixel);

    HBITMAP starting = SelectObject(memory, bitmap);
    ASSERT_NE(starting, HBITMAP{}) << "a memory context is born holding a 1 x 1 bitmap";
    EXPECT_EQ(FindBitmap(starting)->width, 1);
    EXPECT_EQ(SelectedBitmap(memory), bitmap);
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap cannot be deleted";

    HDC other = CreateCompatibleDC(HDC{});
    EXPECT_EQ(SelectObject(other, bitmap), HBITMAP{}) << "one context at a time";
    EXPECT_EQ(SelectObject(screen, bitmap), HBITMAP{}) << "not into a window's context";
    EXPECT_TRUE(DeleteDC(other));

    EXPECT_EQ(SelectObject(memory, starting), bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_EQ(FindBitmap(starting), nullptr) << "the starting bitmap goes with its context";
    EXPECT_FALSE(DeleteDC(memory));
    EXPECT_EQ(SelectedBitmap(memory), HBITMAP{});

    EXPECT_EQ(ReleaseDC(5, screen), 0) << "another window's context";
    EXPECT_EQ(ReleaseDC(0, screen), 1);
    EXPECT_EQ(ReleaseDC(0, screen), 0);
}

TEST(DeviceContext, DeletingAContextReleasesItsBitmap) {
    HDC memory = CreateCompatibleDC(HDC{});
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 2, 2);
    SelectObject(memory, bitmap);
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiObject, RawValuesDeleteByTheirKind) {
    HBITMAP bitmap = CreateCompatibleBitmap(HDC{}, 1, 1);
    HDC dc = CreateCompatibleDC(HDC{});
    EXPECT_FALSE(DeleteObject(handleValue(dc))) << "a device context is no GDI object to DeleteObject";
    EXPECT_TRUE(DeleteObject(handleValue(bitmap)));
    EXPECT_FALSE(DeleteObject(handleValue(bitmap)));
    EXPECT_FALSE(DeleteObject(0u));
    DeleteDC(dc);
}

}  // namespace
}  // namespace win
