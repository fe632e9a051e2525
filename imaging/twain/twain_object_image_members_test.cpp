// The colour, conversion and file output members as a late-bound host
// reaches them: by dispatch ID, arguments in their declared order, out
// values handed back through the host's references.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/twain/colour_members.h"
#include "imaging/twain/testing/image_members_support.h"
#include "imaging/twain/twain_object.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt {
namespace {

using namespace com;
using namespace testing_support;

class TwainObjectImageMembersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain_)), S_OK); }
    void TearDown() override { EXPECT_EQ(twain_->Release(), 0u); }
    // The member's status; arguments in the host's order.
    int32_t status(DISPID id, std::vector<VARIANT> arguments) {
        Variant result;
        EXPECT_EQ(invoke(id, std::move(arguments), *result.get()), S_OK) << std::hex << id;
        EXPECT_EQ(result->vt, VT_I4);
        return result->lVal;
    }
    HRESULT invoke(DISPID id, std::vector<VARIANT> arguments, VARIANT& result) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        VariantInit(&result);
        HRESULT hr = twain_->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        for (auto& v : reversed) VariantClear(&v);
        return hr;
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain_)->control(); }
    IDispatch* twain_ = nullptr;
};

VARIANT RefTo(int32_t& value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.plVal = &value;
    return v;
}

VARIANT RefTo(uint8_t& value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_UI1;
    v.pbVal = &value;
    return v;
}

// Each member by its number: what it did to the current image.
TEST_F(TwainObjectImageMembersTest, MembersAnswerByTheirNumbers) {
    struct Case {
        DISPID id;
        std::vector<int32_t> arguments;
        std::function<MorvalenStatus(TwainControl&)> same;  // the member called directly
    };
    const Case cases[] = {
        {0x60030000, {25}, [](TwainControl& c) { return SetBrightness(c, 25); }},
        {0x60030001, {30}, [](TwainControl& c) { return SetContrast(c, 30); }},
        {0x60030002, {40}, [](TwainControl& c) { return SetGammaCorrection(c, 40); }},
        {0x60030003, {-50}, [](TwainControl& c) { return SetSaturation(c, -50); }},
        {0x60030004, {2}, [](TwainControl& c) { return FxSoften(c, 2); }},
        {0x60030005, {}, FxDespeckle},
        {0x60030006, {}, FxSmooth},
        {0x6003002a, {}, FxSepia},
        {0x6003002b, {}, FxStretchContrast},
        {0x6003002c, {}, FxNegative},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id));
        const int32_t page = MakePage(20, 16);
        int32_t expected = 0;
        ASSERT_EQ(CloneImage(expected, page), OK);
        TwainControl direct;
        direct.setCurrentImage(expected);
        ASSERT_EQ(c.same(direct), OK);
        control().setCurrentImage(page);
        std::vector<VARIANT> arguments;
        for (int32_t a : c.arguments) arguments.push_back(MakeI4(a));
        EXPECT_EQ(status(c.id, arguments), 0);
        EXPECT_EQ(PixelsOf(page), PixelsOf(expected));
        EXPECT_NE(PixelsOf(page), PixelsOf(MakePage(20, 16)));
    }
}

TEST_F(TwainObjectImageMembersTest, ConversionsResizeRotateAndCloseByNumber) {
    const int32_t page = MakePage(20, 16);
    control().setCurrentImage(page);
    const std::pair<DISPID, int32_t> conversions[] = {
        {0x6003001a, gdiplus::PixelFormat1bppIndexed}, {0x6003001f, gdiplus::PixelFormat24bppRGB},
        {0x6003001b, gdiplus::PixelFormat4bppIndexed}, {0x6003001c, gdiplus::PixelFormat8bppIndexed},
        {0x6003001e, gdiplus::PixelFormat16bppRGB555}, {0x6003001d, gdiplus::PixelFormat8bppIndexed},
        {0x60030020, gdiplus::PixelFormat32bppARGB},   {0x60030021, gdiplus::PixelFormat48bppRGB},
        {0x60030022, gdiplus::PixelFormat64bppPARGB},
    };
    for (const auto& [id, format] : conversions) {
        EXPECT_EQ(status(id, {}), 0) << std::hex << id;
        EXPECT_EQ(PixelFormatOf(page), format) << std::hex << id;
        EXPECT_EQ(control().currentImage(), page);
    }
    EXPECT_EQ(status(0x6003002d, {MakeI4(10), MakeI4(4)}), 0);  // ResizeImage, default interpolation
    EXPECT_EQ(SizeOf(page), std::make_pair(10, 4));
    EXPECT_EQ(status(0x6003002d, {MakeI4(12), MakeI4(6), MakeI4(5)}), 0);
    EXPECT_EQ(SizeOf(page), std::make_pair(12, 6));
    ExpectPageMetadata(page, 180.0f, 75.0f);  // 300 x 200 dpi over 20 x 16 pixels, the same size in inches
    EXPECT_EQ(status(0x6003004f, {MakeI4(1)}), 0);  // Rotate
    EXPECT_EQ(SizeOf(page), std::make_pair(6, 12));
    EXPECT_EQ(status(0x60030051, {MakeI4(0)}), InvalidParameter);  // CloseImage
    EXPECT_EQ(status(0x6003002e, {}), 0);                          // CloseNativeImage
    EXPECT_EQ(control().currentImage(), 0);
}

TEST_F(TwainObjectImageMembersTest, SaversAndMultiPageTiffByNumber) {
    win::testing::ScratchFolder folder;
    control().setCurrentImage(MakePage(20, 16));
    EXPECT_EQ(status(0x6003005d, {MakeBstrUtf8(folder.file("a.jpg"))}), 0);  // SaveAsJPEG, default quality
    EXPECT_EQ(status(0x6003005d, {MakeBstrUtf8(folder.file("b.jpg")), MakeI4(20)}), 0);
    EXPECT_LT(std::filesystem::file_size(folder.file("b.jpg")), std::filesystem::file_size(folder.file("a.jpg")));
    EXPECT_EQ(status(0x60030052, {MakeBstrUtf8(folder.file("a.png"))}), 0);
    EXPECT_EQ(status(0x60030053, {MakeBstrUtf8(folder.file("a.gif"))}), 0);
    EXPECT_EQ(status(0x60030054, {MakeBstrUtf8(folder.file("i.gif"))}), 0);
    for (const char* name : {"a.png", "a.gif", "i.gif"}) EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;

    const int32_t first = control().currentImage();
    EXPECT_EQ(status(0x60030043, {MakeBstrUtf8(folder.file("p.tif"))}), 0);  // default LZW
    EXPECT_EQ(status(0x60030045, {MakeI4(MakePage(5, 5))}), 0);
    EXPECT_EQ(status(0x60030051, {MakeI4(first)}), Aborted);
    EXPECT_EQ(status(0x60030044, {}), 0);
    EXPECT_GT(std::filesystem::file_size(folder.file("p.tif")), 0u);
}

TEST_F(TwainObjectImageMembersTest, PaletteThroughTheHostsArray) {
    const int32_t page = MakePage(8, 8, gdiplus::PixelFormat4bppIndexed);
    control().setCurrentImage(page);
    EXPECT_EQ(ColorPaletteGetColorsCount(control()), 16);

    // The host's array of Variants, as a script passes it.
    SAFEARRAY* given = SafeArrayCreateVector(VT_VARIANT, 1, 3);
    auto* items = static_cast<VARIANT*>(given->pvData);
    items[0] = MakeI4(argb(255, 1, 2, 3));
    items[1] = MakeR8(-16777216.0);  // opaque black as a script's number
    items[2] = MakeI4(argb(255, 9, 8, 7));
    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_VARIANT;
    array.parray = given;
    EXPECT_EQ(status(0x60030009, {array}), 0);  // ColorPaletteSet
    gdiplus::ColorPalette palette;
    ASSERT_EQ(GetImagePalette(page, palette), OK);
    ASSERT_EQ(palette.Count, 3u);
    EXPECT_EQ(palette.Entries[1], 0xFF000000u);
    EXPECT_EQ(palette.Flags, gdiplus::PaletteFlagsHalftone);

    SAFEARRAY* colours = nullptr;
    int32_t count = -1;
    VARIANT colourRef;
    VariantInit(&colourRef);
    colourRef.vt = VT_BYREF | VT_ARRAY | VT_I4;
    colourRef.pparray = &colours;
    EXPECT_EQ(status(0x60030007, {colourRef, RefTo(count)}), 0);  // ColorPaletteGet
    EXPECT_EQ(count, 3);
    ASSERT_NE(colours, nullptr);
    int32_t lower = -1, upper = -1;
    SafeArrayGetLBound(colours, 1, &lower);
    SafeArrayGetUBound(colours, 1, &upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 2);
    EXPECT_EQ(static_cast<int32_t*>(colours->pvData)[2], argb(255, 9, 8, 7));
    SafeArrayDestroy(colours);

    // Not indexed: 61, count 0, the array untouched.
    control().setCurrentImage(MakePage(4, 4));
    colours = nullptr;
    count = 9;
    EXPECT_EQ(status(0x60030007, {colourRef, RefTo(count)}), NotIndexedPixelFormat);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(colours, nullptr);
}

TEST_F(TwainObjectImageMembersTest, ColourValuesThroughTheHostsVariables) {
    uint8_t a = 0, r = 0, g = 0, b = 0;
    Variant none;
    ASSERT_EQ(invoke(0x6003000a, {MakeI4(0x00123456), RefTo(r), RefTo(g), RefTo(b)}, *none.get()), S_OK);
    EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(0x56, 0x34, 0x12));
    ASSERT_EQ(invoke(0x6003000c, {MakeI4(static_cast<int32_t>(0x80FF1020u)), RefTo(a), RefTo(r), RefTo(g), RefTo(b)},
                     *none.get()),
              S_OK);
    EXPECT_EQ(std::make_tuple(a, r, g, b), std::make_tuple(0x80, 0xFF, 0x10, 0x20));
    int32_t la = 0, lr = 0, lg = 0, lb = 0;
    ASSERT_EQ(invoke(0x6003000b, {MakeI4(0x00123456), RefTo(lr), RefTo(lg), RefTo(lb)}, *none.get()), S_OK);
    EXPECT_EQ(std::make_tuple(lr, lg, lb), std::make_tuple(0x56, 0x34, 0x12));
    ASSERT_EQ(invoke(0x6003000d, {MakeI4(static_cast<int32_t>(0xFE010203u)), RefTo(la), RefTo(lr), RefTo(lg), RefTo(lb)},
                     *none.get()),
              S_OK);
    EXPECT_EQ(std::make_tuple(la, lr, lg, lb), std::make_tuple(0xFE, 1, 2, 3));

    EXPECT_EQ(status(0x6003000e, {MakeI4(300), MakeI4(-5), MakeI4(128), MakeI4(0)}), static_cast<int32_t>(0xFF008000u));
    EXPECT_EQ(status(0x6003000f, {MakeI4(255), MakeI4(0), MakeI4(0)}), 255);
    // A component beyond 16 bits is the caller's error.
    Variant failed;
    EXCEPINFO exception{};
    std::vector<VARIANT> reversed = {MakeI4(0), MakeI4(0), MakeI4(70000)};
    DISPPARAMS params{reversed.data(), nullptr, 3, 0};
    EXPECT_EQ(twain_->Invoke(0x6003000f, IID_IUnknown, 0, DISPATCH_METHOD, &params, failed.get(), &exception, nullptr),
              DISP_E_EXCEPTION);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
}

}  // namespace
}  // namespace scanvelt
