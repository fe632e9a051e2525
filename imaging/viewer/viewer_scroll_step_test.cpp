// A scroll step moves what is already drawn and draws only what it exposes:
// the face must show exactly what drawing the view whole at that position
// shows, over runs of steps in both directions, at several zooms and
// qualities, with and without the drawing copy and gamma.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "imaging/viewer/image_drawing_shift.h"
#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {
namespace {

using namespace com;

TEST(WholePixelShift, OnlyAnUnscaledNearestDrawingMovedWithinItsDestinationIsAShift) {
    constexpr int32_t kNearest = 5;
    const ImageDrawing base{7, 1, kNearest, 1.0f, 0xFFFFFF, 400, 300, {0, 0, 383, 283}, {100, 200, 383, 283}};
    struct Case {
        const char* what;
        void (*change)(ImageDrawing&);
        bool shifts;
        Shift shift;
    };
    const Case cases[] = {
        {"down", [](ImageDrawing& d) { d.source.y += 50; }, true, {0, 50}},
        {"up and left", [](ImageDrawing& d) { d.source.y -= 7, d.source.x -= 3; }, true, {-3, -7}},
        {"not at all", [](ImageDrawing&) {}, true, {0, 0}},
        {"a whole face down", [](ImageDrawing& d) { d.source.y += 283; }, false, {}},
        {"another image", [](ImageDrawing& d) { d.imageId = 8; }, false, {}},
        {"another drawing copy", [](ImageDrawing& d) { d.copyGeneration = 2; }, false, {}},
        {"another quality", [](ImageDrawing& d) { d.interpolation = 3; }, false, {}},
        {"another gamma", [](ImageDrawing& d) { d.gamma = 1.5f; }, false, {}},
        {"another back colour", [](ImageDrawing& d) { d.backColor = 0; }, false, {}},
        {"another face", [](ImageDrawing& d) { d.faceWidth = 401; }, false, {}},
        {"another destination", [](ImageDrawing& d) { d.destination.x = 1; }, false, {}},
        {"a scaled source", [](ImageDrawing& d) { d.source.height = 566; }, false, {}},
    };
    for (const Case& c : cases) {
        ImageDrawing after = base;
        c.change(after);
        const std::optional<Shift> shift = WholePixelShift(base, after, kNearest);
        ASSERT_EQ(shift.has_value(), c.shifts) << c.what;
        if (shift) {
            EXPECT_EQ((std::pair{shift->dx, shift->dy}), (std::pair{c.shift.dx, c.shift.dy})) << c.what;
        }
    }
    ImageDrawing scaledNearest = base;
    scaledNearest.interpolation = 3;
    ImageDrawing moved = scaledNearest;
    moved.source.y += 1;
    EXPECT_FALSE(WholePixelShift(scaledNearest, moved, kNearest)) << "only the nearest pixel is moved";
}

TEST(ExposedByShift, TheBandsCoverExactlyWhatTheMoveLeavesEmpty) {
    const FaceRect area{5, 10, 40, 30};
    for (Shift shift : {Shift{0, 12}, Shift{0, -12}, Shift{9, 0}, Shift{-9, 0}, Shift{9, 12}, Shift{-9, -12},
                        Shift{9, -12}, Shift{0, 0}}) {
        const std::vector<FaceRect> bands = ExposedByShift(area, shift);
        for (int32_t y = area.y; y < area.y + area.height; ++y) {
            for (int32_t x = area.x; x < area.x + area.width; ++x) {
                const bool fromInside = x + shift.dx >= area.x && x + shift.dx < area.x + area.width &&
                                        y + shift.dy >= area.y && y + shift.dy < area.y + area.height;
                int32_t covering = 0;
                for (const FaceRect& b : bands)
                    covering += x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
                ASSERT_EQ(covering, fromInside ? 0 : 1) << shift.dx << "," << shift.dy << " at " << x << "," << y;
            }
        }
    }
}

// A 900 x 700 image, every pixel its own, some of it see-through, in a
// 400 x 300 face with both bars.
class ViewerScrollStep : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(400, 300);
        image = makeImage(900, 700, [](int32_t x, int32_t y) {
            const uint32_t alpha = (x / 50 + y / 50) % 5 == 0 ? 0x80u : 0xFFu;
            return alpha << 24 | static_cast<uint32_t>((x * 7 + y) & 0xFF) << 16 |
                   static_cast<uint32_t>((y * 5 + x / 3) & 0xFF) << 8 | static_cast<uint32_t>((x ^ y) & 0xFF);
        });
    }
    void TearDown() override {
        ReleaseImage(image);
        ViewerFixture::TearDown();
    }
    std::vector<uint32_t> face() {
        ControlBackBuffer buffer{};
        EXPECT_EQ(surface->GetBackBuffer(&buffer), S_OK);
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < buffer.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(buffer.pixels) +
                                                                static_cast<size_t>(y) * buffer.stride);
            pixels.insert(pixels.end(), row, row + buffer.width);
        }
        return pixels;
    }
    // The first pixel (as x + width * y) where two faces differ; -1 for none.
    static int64_t firstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        if (a.size() != b.size()) return 0;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) return static_cast<int64_t>(i);
        return -1;
    }
    int32_t image = 0;
};

TEST_F(ViewerScrollStep, EachStepShowsWhatDrawingTheViewWholeThereShows) {
    struct Setting {
        double zoom;
        int32_t quality;
        bool drawingCopy;
        float gamma;
    };
    const Setting settings[] = {
        {1.0, 0, true, 1.0f},  {1.0, 4, true, 1.0f},  {1.0, 0, true, 1.8f}, {1.0, 1, false, 1.0f},
        {1.5, 0, true, 1.0f},  {1.5, 1, true, 1.0f},  {0.8, 3, true, 1.0f}, {1.37, 4, true, 1.0f},
        {0.73, 2, false, 1.0f}, {2.0, 0, true, 1.0f},
    };
    // Steps of the bars, both ways, small and large, one bar and both, and
    // one a face long; a press on an arrow or the track in between; a pan
    // with the hand.
    struct Step {
        char bar;  // 'h', 'v', 'a' for the arrow of the vertical bar, 'p' for a pan of `by` both ways
        int32_t by;
    };
    const Step steps[] = {{'v', 50}, {'v', 50}, {'v', -23}, {'h', 31},  {'h', -70}, {'v', 283}, {'h', 1},
                          {'v', -1}, {'a', 0},  {'p', 17},  {'v', -90}, {'p', -40}, {'h', 400}};
    for (const Setting& setting : settings) {
        SCOPED_TRACE(::testing::Message() << "zoom " << setting.zoom << ", quality " << setting.quality
                                          << (setting.drawingCopy ? ", drawing copy" : "") << ", gamma "
                                          << setting.gamma);
        put("OptimizeDrawingSpeed", MakeBool(setting.drawingCopy));
        put("ViewerQuality", MakeI4(setting.quality));
        put("gamma", MakeR4(setting.gamma));
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        put("ZOOM", MakeR8(setting.zoom));
        call("SetHVScrollBarPosition", {MakeI4(40), MakeI4(60)});
        struct Seen {
            int32_t h, v;
            std::vector<uint32_t> pixels;
        };
        std::vector<Seen> seen;
        for (const Step& step : steps) {
            const int32_t h = callLong("GetHScrollBarPosition"), v = callLong("GetVScrollBarPosition");
            if (step.bar == 'h') call("SetHScrollBarPosition", {MakeI4(h + step.by)});
            if (step.bar == 'v') call("SetVScrollBarPosition", {MakeI4(v + step.by)});
            if (step.bar == 'a') {
                surface->MouseDown(kControlButtonLeft, 0, 390, 5);  // the up arrow
                surface->MouseUp(kControlButtonLeft, 0, 390, 5);
            }
            if (step.bar == 'p') {
                surface->MouseDown(kControlButtonLeft, 0, 200, 150);
                surface->MouseMove(kControlButtonLeft, 0, 200 - step.by, 150 - step.by);
                surface->MouseUp(kControlButtonLeft, 0, 200 - step.by, 150 - step.by);
            }
            seen.push_back({callLong("GetHScrollBarPosition"), callLong("GetVScrollBarPosition"), face()});
            if (step.bar == 'p')
                EXPECT_NE((std::pair{h, v}), (std::pair{seen.back().h, seen.back().v})) << "the pan moved";
        }
        ASSERT_NE(firstDifference(seen.front().pixels, seen.back().pixels), -1) << "the view moved";
        for (const Seen& s : seen) {
            call("SetHVScrollBarPosition", {MakeI4(s.h), MakeI4(s.v)});  // drawn whole
            ASSERT_EQ(firstDifference(face(), s.pixels), -1) << "at " << s.h << "," << s.v;
        }
    }
}

// At a zoom other than 1 the steps draw from the drawing copy scaled to the
// zoom. Whatever changes what the view shows must reach the steps after it:
// a step there and back must show what drawing the view whole then shows,
// and that is not what it showed before the change.
TEST_F(ViewerScrollStep, AStepAfterAChangeShowsTheChange) {
    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"zoom", [this] { put("ZOOM", MakeR8(0.7)); }},
        {"quality", [this] { put("ViewerQuality", MakeI4(4)); }},
        {"gamma", [this] { put("gamma", MakeR4(1.7f)); }},
        {"back colour", [this] { put("BackColor", MakeI4(0x00FF00)); }},
        {"another image",
         [this] {
             const int32_t other = makeImage(900, 700, [](int32_t x, int32_t y) { return 0xFF000000u | (x * y); });
             EXPECT_EQ(callLong("SetNativeImage", {MakeI4(other)}), 0);
             ReleaseImage(image);
             image = other;
         }},
        {"its pixels, redrawn",
         [this] {
             gdiplus::Bitmap* bitmap = NativeBitmapOf(image);
             gdiplus::BitmapData data;
             ASSERT_EQ(bitmap->LockBits(gdiplus::Rect{0, 0, 900, 700},
                                        gdiplus::ImageLockModeRead | gdiplus::ImageLockModeWrite,
                                        gdiplus::PixelFormat32bppARGB, data),
                       gdiplus::Ok);
             for (int32_t y = 0; y < 700; ++y) {
                 auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) +
                                                         static_cast<ptrdiff_t>(y) * data.Stride);
                 for (int32_t x = 0; x < 900; ++x) row[x] ^= 0x00FFFFFFu;
             }
             bitmap->UnlockBits(data);
             call("Redraw");
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        put("BackColor", MakeI4(0xFFFFFF));
        put("OptimizeDrawingSpeed", MakeBool(true));
        put("ViewerQuality", MakeI4(1));
        put("gamma", MakeR4(1.0f));
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(image)}), 0);
        put("ZOOM", MakeR8(0.8));
        call("SetHVScrollBarPosition", {MakeI4(40), MakeI4(60)});
        call("SetVScrollBarPosition", {MakeI4(80)});
        const std::vector<uint32_t> before = face();
        change.apply();
        const int32_t h = callLong("GetHScrollBarPosition"), v = callLong("GetVScrollBarPosition");
        call("SetVScrollBarPosition", {MakeI4(v + 20)});
        call("SetVScrollBarPosition", {MakeI4(v)});
        const std::vector<uint32_t> stepped = face();
        call("SetHVScrollBarPosition", {MakeI4(h), MakeI4(v)});  // drawn whole
        const std::vector<uint32_t> whole = face();
        EXPECT_EQ(firstDifference(stepped, whole), -1) << "at " << h << "," << v;
        EXPECT_NE(firstDifference(before, whole), -1) << "the change shows";
    }
}

}  // namespace
}  // namespace scanvelt::testing
