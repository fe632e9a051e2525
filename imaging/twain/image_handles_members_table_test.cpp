// The members that hand the current image out as a GDI, DIB, icon, picture
// or drawing handle, and take such handles back, called by dispatch ID on a
// page of 40 x 30 pixels at 300 x 200 dpi whose every pixel differs: each
// handle must hold that page (size, pixels, resolutions where it carries
// them), and each giving back must end the handle.
#include <gtest/gtest.h>

#include <cstring>

#include "imaging/twain/testing/twain_tables.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr int32_t kWidth = 40, kHeight = 30;

// The colour of pixel (x, y) of a GDI bitmap, as 0xRRGGBB.
uint32_t bitmapPixel(const win::GdiBitmap& b, int32_t x, int32_t y) {
    const uint8_t* p = b.row(y) + static_cast<size_t>(x) * (b.bitsPerPixel / 8);
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}
// The bitmap is the page: its size and its corners' and an inner pixel's colours.
void expectPage(const win::GdiBitmap& b) {
    ASSERT_EQ(b.width, kWidth);
    ASSERT_EQ(b.height, kHeight);
    ASSERT_GE(b.bitsPerPixel, 24);
    for (const auto [x, y] : {std::pair{0, 0}, std::pair{39, 0}, std::pair{0, 29}, std::pair{17, 11}})
        EXPECT_EQ(bitmapPixel(b, x, y), PageAt(x, y) & 0xFFFFFF) << x << "," << y;
}
void expectBitmapIsThePage(uint32_t handle) {
    std::shared_ptr<win::GdiBitmap> b = win::FindBitmap(win::HBITMAP{handle});
    ASSERT_TRUE(b);
    expectPage(*b);
}

class ImageHandleTable : public TwainTable {
protected:
    void SetUp() override {
        page = testing_support::MakePage(kWidth, kHeight);
        ASSERT_NE(page, 0);
        control().setCurrentImage(page);
    }
    void TearDown() override {
        control().setCurrentImage(0);
        if (page) ReleaseImage(page);
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    uint32_t handleFrom(const char* member, std::vector<VARIANT> args = {}) {
        VARIANT r = call(member, std::move(args));
        EXPECT_EQ(r.vt, VT_I4) << member;
        return static_cast<uint32_t>(r.lVal);
    }

    int32_t page = 0;
};

// ---- Handing out -------------------------------------------------------------------

struct HandleRow {
    const char* member;
    void (*check)(uint32_t handle);  // then gives the handle back
};
const HandleRow kHandleRows[] = {
    {"GetHBitmap",
     [](uint32_t h) {
         expectBitmapIsThePage(h);
         win::DeleteObject(win::HBITMAP{h});
     }},
    {"GetHICON",
     [](uint32_t h) {
         std::shared_ptr<const win::GdiIcon> icon = win::FindIcon(win::HICON{h});
         ASSERT_TRUE(icon);
         ASSERT_TRUE(icon->color);
         expectPage(*icon->color);
         win::DestroyIcon(win::HICON{h});
     }},
    // A packed DIB: its header, then the rows from the bottom; the resolutions in pixels a metre.
    {"GetDib",
     [](uint32_t h) {
         const auto* dib = static_cast<const uint8_t*>(win::GlobalLock(win::HGLOBAL{h}));
         ASSERT_NE(dib, nullptr);
         int32_t width = 0, height = 0, xPels = 0, yPels = 0;
         uint16_t bits = 0;
         std::memcpy(&width, dib + 4, 4);
         std::memcpy(&height, dib + 8, 4);
         std::memcpy(&bits, dib + 14, 2);
         std::memcpy(&xPels, dib + 24, 4);
         std::memcpy(&yPels, dib + 28, 4);
         EXPECT_EQ(width, kWidth);
         EXPECT_EQ(height, kHeight);
         EXPECT_NEAR(xPels, 300 / 0.0254, 1);
         EXPECT_NEAR(yPels, 200 / 0.0254, 1);
         ASSERT_GE(bits, 24);
         uint32_t compression = 0;
         std::memcpy(&compression, dib + 16, 4);
         const size_t masks = compression == 3 ? 12 : 0;  // BI_BITFIELDS
         const size_t stride = (static_cast<size_t>(kWidth) * (bits / 8) + 3) & ~size_t{3};
         const uint8_t* top = dib + 40 + masks + stride * (kHeight - 1);  // the page's first row
         EXPECT_EQ(static_cast<uint32_t>(top[2]) << 16 | static_cast<uint32_t>(top[1]) << 8 | top[0],
                   PageAt(0, 0) & 0xFFFFFF);
         win::GlobalUnlock(win::HGLOBAL{h});
         win::GlobalFree(win::HGLOBAL{h});
     }},
};
const bool kHandleRowsRegistered = RegisterMemberTable("_Twain", kHandleRows);

TEST_F(ImageHandleTable, EachHandleHoldsThePage) {
    ASSERT_TRUE(kHandleRowsRegistered);
    for (const HandleRow& row : kHandleRows) {
        SCOPED_TRACE(row.member);
        const uint32_t handle = handleFrom(row.member);
        ASSERT_NE(handle, 0u);
        EXPECT_EQ(call("GetStat").lVal, 0);
        row.check(handle);
    }
}

// A drawing context holding the page, given back by ReleaseMorvalenImageDC.
TEST_F(ImageHandleTable, TheImagesDrawingContextHoldsThePage) {
    const uint32_t dc = handleFrom("GetMorvalenImageDC", {MakeI4(page)});
    ASSERT_NE(dc, 0u);
    const win::HBITMAP held = win::SelectedBitmap(win::HDC{dc});
    expectBitmapIsThePage(win::handleValue(held));
    EXPECT_EQ(call("ReleaseMorvalenImageDC", {MakeI4(static_cast<int32_t>(dc))}).lVal, 0);
    EXPECT_EQ(win::SelectedBitmap(win::HDC{dc}), win::HBITMAP{}) << "the context is gone";
    EXPECT_NE(call("ReleaseMorvalenImageDC", {MakeI4(static_cast<int32_t>(dc))}).lVal, 0) << "twice";
    EXPECT_EQ(handleFrom("GetMorvalenImageDC", {MakeI4(987654)}), 0u) << "no such image";
    EXPECT_NE(call("GetStat").lVal, 0);
}
const struct {
    const char* member;
} kContextRows[] = {{"GetMorvalenImageDC"}, {"ReleaseMorvalenImageDC"}};
const bool kContextRowsRegistered = RegisterMemberTable("_Twain", kContextRows);

// ---- Giving back ------------------------------------------------------------------

struct GiveBackRow {
    const char* member;  // takes the handle back
    const char* maker;
    bool (*alive)(uint32_t handle);
};
const GiveBackRow kGiveBackRows[] = {
    {"DeleteHBitmap", "GetHBitmap", [](uint32_t h) { return win::FindBitmap(win::HBITMAP{h}) != nullptr; }},
    {"DeleteHICON", "GetHICON", [](uint32_t h) { return win::FindIcon(win::HICON{h}) != nullptr; }},
    {"RemoveDib", "GetDib", [](uint32_t h) { return win::GlobalSize(win::HGLOBAL{h}) > 0; }},
};
const bool kGiveBackRowsRegistered = RegisterMemberTable("_Twain", kGiveBackRows);

TEST_F(ImageHandleTable, EachGivingBackEndsItsOwnKindOfHandle) {
    ASSERT_TRUE(kGiveBackRowsRegistered && kContextRowsRegistered);
    for (const GiveBackRow& row : kGiveBackRows) {
        SCOPED_TRACE(row.member);
        const uint32_t handle = handleFrom(row.maker);
        ASSERT_NE(handle, 0u);
        ASSERT_TRUE(row.alive(handle));
        // A handle of another kind is left alone.
        for (const GiveBackRow& other : kGiveBackRows) {
            if (&other == &row) continue;
            VARIANT r = call(other.member, {MakeI4(static_cast<int32_t>(handle))});
            VariantClear(&r);
        }
        EXPECT_TRUE(row.alive(handle));
        VARIANT r = call(row.member, {MakeI4(static_cast<int32_t>(handle))});
        VariantClear(&r);
        EXPECT_FALSE(row.alive(handle));
    }
}

// ---- Pictures -----------------------------------------------------------------------

// The handle behind a picture object (its default property).
uint32_t pictureHandle(const VARIANT& picture) {
    if (picture.vt != VT_DISPATCH || !picture.pdispVal) return 0;
    VARIANT handle;
    VariantInit(&handle);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    if (picture.pdispVal->Invoke(0, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &handle, nullptr, nullptr) != S_OK)
        return 0;
    VARIANT number;
    VariantInit(&number);
    VariantChangeType(&number, &handle, 0, VT_I4);
    VariantClear(&handle);
    return static_cast<uint32_t>(number.lVal);
}

TEST_F(ImageHandleTable, PicturesHoldTheirImageAndDeletingOneFreesItsBitmap) {
    VARIANT current = call("GetPicture");
    const uint32_t bitmap = pictureHandle(current);
    ASSERT_NE(bitmap, 0u);
    expectBitmapIsThePage(bitmap);

    // Another image than the current one: 20 x 10 pixels.
    const int32_t other = testing_support::MakePage(20, 10);
    VARIANT named = call("GetPictureFromMorvalenImage", {MakeI4(other)});
    const uint32_t otherBitmap = pictureHandle(named);
    ASSERT_NE(otherBitmap, 0u);
    std::shared_ptr<win::GdiBitmap> b = win::FindBitmap(win::HBITMAP{otherBitmap});
    ASSERT_TRUE(b);
    EXPECT_EQ(b->width, 20);
    EXPECT_EQ(b->height, 10);
    b.reset();
    ReleaseImage(other);

    // Deleting a picture frees the bitmap behind it and only that one.
    VARIANT argument = current;
    argument.pdispVal->AddRef();
    VARIANT r = call("DeletePictureObject", {argument});
    VariantClear(&r);
    EXPECT_FALSE(win::FindBitmap(win::HBITMAP{bitmap}));
    EXPECT_TRUE(win::FindBitmap(win::HBITMAP{otherBitmap}));
    argument = named;
    argument.pdispVal->AddRef();
    r = call("DeletePictureObject", {argument});
    VariantClear(&r);
    EXPECT_FALSE(win::FindBitmap(win::HBITMAP{otherBitmap}));
    VariantClear(&current);
    VariantClear(&named);
}
const struct {
    const char* member;
} kPictureRows[] = {{"GetPicture"}, {"GetPictureFromMorvalenImage"}, {"DeletePictureObject"}};
const bool kPictureRowsRegistered = RegisterMemberTable("_Twain", kPictureRows);

// ---- The image itself ---------------------------------------------------------------

const struct {
    const char* member;
} kImageRows[] = {{"GetGdiplusImage"}, {"CloseNativeImage"}};
const bool kImageRowsRegistered = RegisterMemberTable("_Twain", kImageRows);

TEST_F(ImageHandleTable, TheDrawingImageIsTheCurrentPageAndClosingReleasesIt) {
    ASSERT_TRUE(kPictureRowsRegistered && kImageRowsRegistered);
    EXPECT_EQ(call("GetGdiplusImage").lVal, page);
    EXPECT_EQ(call("CloseNativeImage").lVal, 0);
    EXPECT_EQ(call("GetNativeImage").lVal, 0);
    EXPECT_EQ(FindImageEntry(page), nullptr);
    page = 0;
    EXPECT_EQ(call("GetGdiplusImage").lVal, 0) << "no image";
}
}  // namespace
}  // namespace scanvelt::testing
