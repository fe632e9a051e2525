// The selection rectangle: placing it in image pixels, control pixels and
// millimetres, reading it back at several zooms and scroll positions, its
// drawing above the image, and the centring of the view on it.
#include <gtest/gtest.h>

#include <climits>

#include "imaging/viewer/testing/viewer_fixture.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr uint32_t kImageColour = 0xFF102030;

class ViewerSelection : public ViewerFixture {
protected:
    // A plain image of that size and resolution in a 400 x 300 face.
    void showImage(int32_t width, int32_t height, float dpiX = 96, float dpiY = 96) {
        show(400, 300);
        image = makeImage(width, height, [](int32_t, int32_t) { return kImageColour; }, dpiX, dpiY);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
    }
    void TearDown() override {
        if (image) ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    struct Rect {
        int32_t left, top, width, height;
        bool operator==(const Rect&) const = default;
    };
    Rect longs(const char* member) {
        std::vector<VARIANT> refs(4);
        int32_t v[4] = {-7, -7, -7, -7};
        for (int i = 0; i < 4; ++i) {
            refs[i].vt = VT_BYREF | VT_I4;
            refs[i].plVal = &v[i];
        }
        call(member, refs);
        return {v[0], v[1], v[2], v[3]};
    }
    std::array<float, 4> singles(const char* member, std::array<float, 4> v) {
        std::vector<VARIANT> refs(4);
        for (int i = 0; i < 4; ++i) {
            refs[i].vt = VT_BYREF | VT_R4;
            refs[i].pfltVal = &v[i];
        }
        call(member, refs);
        return v;
    }
    void set(const char* member, Rect r) {
        call(member, {MakeI4(r.left), MakeI4(r.top), MakeI4(r.width), MakeI4(r.height)});
    }
    bool drawn() { return call("isRectDrawed").boolVal != 0; }
    // Invokes a member whose error is the point; its HRESULT.
    HRESULT invoke(const char* member, std::vector<VARIANT> args, uint16_t flags = DISPATCH_METHOD) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                          static_cast<uint32_t>(reversed.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO info{};
        HRESULT hr = viewer->Invoke(id(member), IID_IUnknown, 0, flags, &params, &result, &info, nullptr);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        return hr;
    }
    // Image pixel to control pixel, as the viewer converts.
    std::pair<int32_t, int32_t> toObject(int32_t x, int32_t y) {
        VARIANT ox = MakeI4(0), oy = MakeI4(0);
        int32_t rx = 0, ry = 0;
        ox.vt = oy.vt = VT_BYREF | VT_I4;
        ox.plVal = &rx;
        oy.plVal = &ry;
        call("CoordImageToObject", {MakeI4(x), MakeI4(y), ox, oy});
        return {rx, ry};
    }
    int32_t image = 0;
};

// A rectangle set in image pixels reads back unchanged at any zoom and
// scroll position, and its outline sits where the image pixels are shown.
TEST_F(ViewerSelection, ImagePixelsSurviveZoomAndScrolling) {
    showImage(1000, 800);
    const Rect r{120, 80, 300, 200};
    set("SetRectValues", r);
    struct Step { const char* what; std::function<void()> act; };
    const Step steps[] = {
        {"as placed", [] {}},
        {"zoom 200", [&] { EXPECT_EQ(callLong("SetZoom", {MakeR4(200)}), 0); }},
        {"zoom 50", [&] { EXPECT_EQ(callLong("SetZoom", {MakeR4(50)}), 0); }},
        {"zoom 150 scrolled", [&] {
             EXPECT_EQ(callLong("SetZoom", {MakeR4(150)}), 0);
             call("SetHVScrollBarPosition", {MakeI4(100), MakeI4(40)});
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_TRUE(drawn());
        EXPECT_EQ(longs("GetRectValues"), r);
        EXPECT_EQ(callLong("GetRectX"), r.left);
        EXPECT_EQ(callLong("GetRectHeight"), r.height);
        auto [x1, y1] = toObject(r.left, r.top);
        auto [x2, y2] = toObject(r.left + r.width, r.top + r.height);
        EXPECT_EQ(longs("GetRectValuesObject"), (Rect{x1, y1, x2 - x1, y2 - y1}));
    }
}

TEST_F(ViewerSelection, EdgeCasesOfPlacingAndReading) {
    showImage(200, 100);  // shown at zoom 1, centred: image (0, 0) at control (100, 100)
    ASSERT_EQ(toObject(0, 0), (std::pair{100, 100}));
    struct Case {
        const char* what;
        const char* member;
        Rect given;
        bool drawn;
        Rect image, object;
    };
    const Case cases[] = {
        {"inside", "SetRectValues", {10, 20, 30, 40}, true, {10, 20, 30, 40}, {110, 120, 30, 40}},
        {"right part beyond the image is cut", "SetRectValues", {150, 10, 100, 20}, true, {150, 10, 50, 20},
         {250, 110, 50, 20}},
        {"lower part beyond the image is cut", "SetRectValues", {10, 90, 20, 40}, true, {10, 90, 20, 10},
         {110, 190, 20, 10}},
        {"width and height 0: the empty 1 x 1 outline", "SetRectValues", {10, 10, 0, 0}, false, {0, 0, 0, 0},
         {0, 0, 0, 0}},
        {"2 x 1 in control pixels is read although not drawn", "SetRectValuesObject", {120, 130, 2, 1}, false,
         {20, 30, 2, 1}, {120, 130, 2, 1}},
        {"control pixels", "SetRectValuesObject", {110, 105, 50, 20}, true, {10, 5, 50, 20}, {110, 105, 50, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        call("ClearRect");
        set(c.member, c.given);
        EXPECT_EQ(drawn(), c.drawn);
        EXPECT_EQ(longs("GetRectValues"), c.image);
        EXPECT_EQ(longs("GetRectValuesObject"), c.object);
    }
}

TEST_F(ViewerSelection, ObjectValuesWithoutASizeKeepTheOutline) {
    showImage(200, 100);
    set("SetRectValues", {10, 20, 30, 40});
    set("SetRectValuesObject", {0, 0, 0, 50});
    EXPECT_EQ(longs("GetRectValues"), (Rect{10, 20, 30, 40}));
    EXPECT_TRUE(drawn());
}

TEST_F(ViewerSelection, Millimetres) {
    // 254 dpi: ten pixels to the millimetre.
    showImage(2000, 1000, 254, 254);
    call("SetRectValuesMM", {MakeR4(1.0f), MakeR4(2.0f), MakeR4(3.05f), MakeR4(4.0f)});
    EXPECT_EQ(longs("GetRectValues"), (Rect{10, 20, 30, 40}));  // 30.5 pixels go to the even 30
    auto mm = singles("GetRectValuesMM", {-1, -1, -1, -1});
    EXPECT_FLOAT_EQ(mm[0], 1.0f);
    EXPECT_FLOAT_EQ(mm[1], 2.0f);
    EXPECT_FLOAT_EQ(mm[2], 3.0f);
    EXPECT_FLOAT_EQ(mm[3], 4.0f);
    // At the left edge the left is 0.
    set("SetRectValues", {0, 20, 30, 40});
    EXPECT_FLOAT_EQ(singles("GetRectValuesMM", {-1, -1, -1, -1})[0], 0.0f);
}

TEST_F(ViewerSelection, MillimetresWithoutAResolution) {
    showImage(200, 100, 96, 96);
    // An image without a horizontal resolution (a container's property bag
    // can carry one, too).
    static_cast<ViewerObject*>(viewer)->control().settings().HorizontalResolution = 0;
    set("SetRectValues", {10, 20, 30, 40});
    auto mm = singles("GetRectValuesMM", {-1, -1, 7.5f, -1});
    EXPECT_FLOAT_EQ(mm[0], 0.0f);   // left: 0
    EXPECT_FLOAT_EQ(mm[2], 7.5f);   // width: the caller's value
    EXPECT_FLOAT_EQ(mm[1], 20 / 96.0f * 25.4f);
    // Placing in millimetres then puts a 1 x 1 outline at the left edge: no rectangle.
    call("SetRectValuesMM", {MakeR4(5), MakeR4(5), MakeR4(5), MakeR4(5)});
    EXPECT_FALSE(drawn());
}

TEST_F(ViewerSelection, DisplayedArea) {
    showImage(1000, 800, 96, 192);
    call("SetHVScrollBarPosition", {MakeI4(100), MakeI4(40)});
    // The face is 400 x 300 with both bars (17 pixels): 383 x 283 of the image show.
    Rect area = longs("GetDisplayedArea");
    // Twice the vertical resolution: each shown row is two image rows.
    EXPECT_EQ(area, (Rect{100, 80, 383, 566}));
    auto mm = singles("GetDisplayedAreaMM", {-1, -1, -1, -1});
    EXPECT_FLOAT_EQ(mm[0], 100 / 96.0f * 25.4f);
    EXPECT_FLOAT_EQ(mm[1], 80 / 192.0f * 25.4f);
    EXPECT_FLOAT_EQ(mm[2], 383 / 96.0f * 25.4f);
    EXPECT_FLOAT_EQ(mm[3], 566 / 192.0f * 25.4f);
}

TEST_F(ViewerSelection, CenterOnRect) {
    showImage(1000, 800);
    int32_t h = callLong("GetHScrollBarPosition"), v = callLong("GetVScrollBarPosition");
    call("CenterOnRect");  // no rectangle: nothing moves
    EXPECT_EQ(callLong("GetHScrollBarPosition"), h);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), v);
    set("SetRectValues", {500, 400, 100, 50});
    call("CenterOnRect");
    // Client 383 x 283: 500 - (383 - 100) / 2 = 358.5 and 400 - (283 - 50) / 2 = 283.5, halves to even.
    EXPECT_EQ(callLong("GetHScrollBarPosition"), 358);
    EXPECT_EQ(callLong("GetVScrollBarPosition"), 284);
    EXPECT_EQ(longs("GetRectValues"), (Rect{500, 400, 100, 50}));
    EXPECT_EQ(longs("GetRectValuesObject"), (Rect{142, 116, 100, 50}));
}

TEST_F(ViewerSelection, ZoomRectZoomsToTheRectangleAndCentresTheViewOnIt) {
    showImage(1000, 800);
    const double zoom = get("ZOOM").dblVal;
    EXPECT_EQ(callLong("ZoomRect"), 0);  // no rectangle: nothing changes
    EXPECT_EQ(get("ZOOM").dblVal, zoom);
    set("SetRectValues", {500, 400, 100, 50});
    EXPECT_EQ(callLong("ZoomRect"), 0);
    // The face is 400 x 300: min(400 / 100, 300 / 50) = 4; the rectangle stays where it was in the image.
    EXPECT_DOUBLE_EQ(get("ZOOM").dblVal, 4.0);
    EXPECT_EQ(get("ZoomMode").lVal, 4);
    EXPECT_EQ(longs("GetRectValues"), (Rect{500, 400, 100, 50}));
    // Shown 400 x 200 control pixels in a client of 383 x 283, centred on both axes.
    const Rect outline = longs("GetRectValuesObject");
    EXPECT_EQ(outline.width, 400);
    EXPECT_EQ(outline.height, 200);
    EXPECT_NEAR(outline.left + outline.width / 2.0, 383 / 2.0, 1.0);
    EXPECT_NEAR(outline.top + outline.height / 2.0, 283 / 2.0, 1.0);
    EXPECT_EQ(callLong("GetImageLeft"), -callLong("GetHScrollBarPosition"));
    EXPECT_EQ(callLong("GetImageTop"), -callLong("GetVScrollBarPosition"));
}

TEST_F(ViewerSelection, OutlineIsDrawnAboveTheImageAndCleared) {
    showImage(200, 100);
    put("RectBorderColor", MakeI4(0x0000FF));  // red, as the host gives colours
    set("SetRectValues", {10, 20, 30, 40});    // control (110, 120) .. (139, 159)
    EXPECT_EQ(pixel(110, 120), 0xFFFF0000u);
    EXPECT_EQ(pixel(139, 159), 0xFFFF0000u);
    EXPECT_EQ(pixel(125, 140), kImageColour);  // inside
    EXPECT_EQ(pixel(109, 120), kImageColour);  // outside
    // NOT of the screen, three pixels wide.
    put("RectDrawMode", MakeI4(6));
    put("RectBorderSize", MakeI2(3));
    EXPECT_EQ(pixel(112, 140), 0xFFEFDFCFu);
    EXPECT_EQ(pixel(113, 140), kImageColour);
    call("ClearRect");
    EXPECT_FALSE(drawn());
    EXPECT_EQ(pixel(110, 120), kImageColour);
    EXPECT_EQ(longs("GetRectValues"), (Rect{0, 0, 0, 0}));
}

TEST_F(ViewerSelection, AppearanceValuesTheOutlineRefusesAreErrorsButKept) {
    showImage(200, 100);
    struct Case { const char* property; int32_t value; bool accepted; };
    const Case cases[] = {
        {"RectBorderStyle", 3, true}, {"RectBorderStyle", 6, false}, {"RectBorderStyle", 0, false},
        {"RectDrawMode", 16, true},   {"RectDrawMode", 17, false},   {"RectDrawMode", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " " + std::to_string(c.value));
        site.changed.clear();
        HRESULT hr = invoke(c.property, {MakeI4(c.value)}, DISPATCH_PROPERTYPUT);
        EXPECT_EQ(hr == S_OK, c.accepted);
        EXPECT_EQ(get(c.property).lVal, c.value);
        EXPECT_EQ(site.changed.size(), c.accepted ? 1u : 0u);
    }
    // A refused style still draws: as a solid line.
    put("RectBorderColor", MakeI4(0x00FF00));
    set("SetRectValues", {10, 20, 30, 40});
    EXPECT_EQ(pixel(110, 140), 0xFF00FF00u);
}

TEST_F(ViewerSelection, CoordinatesBeyondLongsAreAnOverflowError) {
    showImage(200, 100);
    set("SetRectValues", {10, 20, 30, 40});
    EXPECT_NE(invoke("SetRectValues", {MakeI4(INT_MAX), MakeI4(0), MakeI4(10), MakeI4(10)}), S_OK);
    EXPECT_NE(invoke("SetRectValuesMM", {MakeR4(1e12f), MakeR4(0), MakeR4(10), MakeR4(10)}), S_OK);
    call("SetZoom", {MakeR4(1000)});
    EXPECT_NE(invoke("SetRectValues", {MakeI4(INT_MAX / 2), MakeI4(0), MakeI4(10), MakeI4(10)}), S_OK);
    EXPECT_EQ(longs("GetRectValues"), (Rect{10, 20, 30, 40}));  // the rectangle stays
}

TEST_F(ViewerSelection, LoadingAnotherDocumentEndsTheRectangle) {
    showImage(200, 100);
    set("SetRectValues", {10, 20, 30, 40});
    int32_t other = makeImage(50, 50, [](int32_t, int32_t) { return 0xFFFFFFFFu; });
    ASSERT_EQ(callLong("SetNativeImage", {MakeI4(other)}), 0);
    EXPECT_FALSE(drawn());
    EXPECT_EQ(longs("GetRectValues"), (Rect{0, 0, 0, 0}));
    ReleaseImage(other);
}

}  // namespace
}  // namespace scanvelt::testing

namespace scanvelt::testing {
namespace {

// The outline on a plain 40 x 20 surface, its pen given.
std::vector<uint32_t> outlined(SelectionOutline outline, OutlinePen pen, uint32_t ground = 0xFF000000) {
    std::vector<uint32_t> pixels(40 * 20, ground);
    const int32_t clip[4] = {0, 0, 40, 20};
    DrawSelectionOutline(pixels.data(), 40 * 4, clip, 0, 0, outline, pen);
    return pixels;
}

TEST(SelectionOutlineDrawing, StylesInkTheirShareOfTheTopEdge) {
    struct Case { int32_t style; int inked; };
    // Along 38 pixels: solid all; dash 18 on 6 off; dot 3 on 3 off; dash-dot 9-6-3-6; dash-dot-dot 9-3-3-3-3-3.
    const Case cases[] = {{1, 38}, {2, 18 + 14}, {3, 3 * 6 + 2}, {4, 9 + 3 + 9}, {5, 9 + 3 + 3 + 9 + 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        OutlinePen pen;
        pen.color = 0xFFFFFF;
        pen.style = c.style;
        auto pixels = outlined({1, 1, 38, 10}, pen);
        int inked = 0;
        for (int32_t x = 0; x < 40; ++x) inked += pixels[40 + x] == 0xFFFFFFFFu;
        EXPECT_EQ(inked, c.inked);
        EXPECT_EQ(pixels[0], 0xFF000000u);  // outside
    }
}

TEST(SelectionOutlineDrawing, EachBorderPixelIsMixedOnce) {
    // XOR twice would give the ground back: corners and a thick line's inner
    // rows must be mixed exactly once.
    OutlinePen pen;
    pen.color = 0xFFFFFF;
    pen.drawMode = 7;
    pen.size = 3;
    auto pixels = outlined({2, 2, 20, 10}, pen, 0xFF123456);
    const uint32_t mixed = 0xFFEDCBA9;
    for (auto [x, y] : {std::pair{2, 2}, {21, 2}, {2, 11}, {21, 11}, {4, 6}, {19, 6}, {10, 4}})
        EXPECT_EQ(pixels[y * 40 + x], mixed) << x << "," << y;
    for (auto [x, y] : {std::pair{5, 5}, {18, 8}, {1, 1}, {22, 12}})
        EXPECT_EQ(pixels[y * 40 + x], 0xFF123456u) << x << "," << y;
}

TEST(SelectionOutlineDrawing, ClippedAndFarAwayOutlinesStayInside) {
    OutlinePen pen;
    pen.color = 0xFFFFFF;
    // Partly outside: only the part inside is drawn, nothing is written past the buffer.
    auto pixels = outlined({-5, -5, 100, 100}, pen);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu), 0);
    pixels = outlined({30, 15, 100, 100}, pen);
    EXPECT_EQ(pixels[15 * 40 + 35], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[19 * 40 + 30], 0xFFFFFFFFu);
    pixels = outlined({INT_MAX - 5, 5, 10, 10}, pen);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu), 0);
}

}  // namespace
}  // namespace scanvelt::testing
