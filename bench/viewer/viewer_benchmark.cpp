// The viewer drawing an A4 page at 300 dpi (2480 x 3508) into a 1200 x 900
// face: fitted to the face at each quality, and scrolled by 50 pixels at
// zoom 1 (one step of a scroll bar's page change). Beside each case, cairo
// painting the same page scaled into a surface of the same size with the
// filter of that quality: what the drawing under the viewer can do at best.
// Each viewer case runs twice: drawing the page itself, and drawing from its
// premultiplied drawing copy (OptimizeDrawingSpeed), which the drawing takes
// without converting it; a scroll step of the drawing copy moves what is
// drawn and draws only the exposed band. Each fit really scales the page (a
// change of quality rebuilds the scaled copy the viewer keeps). At a zoom
// other than 1 a scroll step lays the part in view of the drawing copy
// scaled to the zoom, built once; the rows without it scale anew at each
// step, beside cairo doing so. Goals: a scroll step at most 4 ms (median), a
// fit at most twice cairo's scale-and-paint at each quality. Run with
// --benchmark_repetitions and --benchmark_enable_random_interleaving to get
// medians and spread.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr int32_t kFaceWidth = 1200;
constexpr int32_t kFaceHeight = 900;
constexpr int32_t kScrollStep = 50;

// A page of text lines on cream paper, as a scanned bill looks.
uint32_t PagePixel(int32_t x, int32_t y) {
    bool ink = (y / 40) % 2 == 1 && (x / 9) % 7 != 0 && x > 150 && x < 2330 && y > 200 && y < 3300;
    return ink ? 0xFF3A2A1Au : 0xFFFAF6EBu;
}

struct Page {
    Page() {
        StartImaging();
        std::unique_ptr<gdiplus::Bitmap> bitmap;
        gdiplus::Bitmap::Create(kPageWidth, kPageHeight, gdiplus::PixelFormat32bppARGB, bitmap);
        gdiplus::BitmapData data;
        bitmap->LockBits(gdiplus::Rect{0, 0, kPageWidth, kPageHeight}, gdiplus::ImageLockModeWrite,
                         gdiplus::PixelFormat32bppARGB, data);
        pixels.resize(static_cast<size_t>(kPageWidth) * kPageHeight);
        for (int32_t y = 0; y < kPageHeight; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
            for (int32_t x = 0; x < kPageWidth; ++x) row[x] = pixels[static_cast<size_t>(y) * kPageWidth + x] = PagePixel(x, y);
        }
        bitmap->UnlockBits(data);
        bitmap->SetResolution(300, 300);
        RegisterImage(id, std::move(bitmap), "", "", 0);
    }
    int32_t id = 0;
    std::vector<uint32_t> pixels;  // the same page for cairo
};

Page& ThePage() {
    static Page page;
    return page;
}

// A viewer without a host: events and notices go nowhere.
struct Viewer {
    Viewer(int32_t zoomMode, int32_t quality, bool drawingCopy)
        : control([](com::DISPID, std::vector<com::VARIANT>&) {}, [](const std::string&) {}) {
        control.settings().BorderStyle = 0;
        control.settings().OptimizeDrawingSpeed = drawingCopy;
        control.settings().ZoomMode = zoomMode;
        control.settings().ViewerQuality = quality;
        control.Resize(kFaceWidth, kFaceHeight);
        control.SetNativeImage(ThePage().id);
    }
    ViewerControl control;
};

const char* const kQualityNames[] = {"nearest", "bilinear", "bicubic", "bilinearHQ", "bicubicHQ"};
// The cairo filter of each quality, as the drawing layer maps them.
const cairo_filter_t kCairoFilters[] = {CAIRO_FILTER_NEAREST, CAIRO_FILTER_BILINEAR, CAIRO_FILTER_BEST,
                                        CAIRO_FILTER_GOOD, CAIRO_FILTER_BEST};

// One step of the vertical bar, turning back at either end.
void StepDown(ViewerControl& control, int32_t& direction) {
    const int32_t now = control.vScroll().value;
    if (now + direction > control.vScroll().max || now + direction < 0) direction = -direction;
    control.SetVScrollBarPosition(now + direction);
    benchmark::DoNotOptimize(control.backBuffer().pixel(600, 450));
}

// cairo painting the page scaled by `zoom` with its top left corner at
// (left, top) of the target, on black first when asked.
void CairoPaintPage(cairo_surface_t* target, cairo_surface_t* page, double zoom, double left, double top,
                    cairo_filter_t filter, bool onBlack) {
    cairo_t* cr = cairo_create(target);
    if (onBlack) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
    }
    cairo_translate(cr, left, top);
    cairo_scale(cr, zoom, zoom);
    cairo_set_source_surface(cr, page, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
}

void ViewerFit(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    Viewer viewer(2, quality, state.range(1) != 0);
    for (auto _ : state) {
        viewer.control.setViewerQuality(quality);  // lays out and draws again
        benchmark::DoNotOptimize(viewer.control.backBuffer().pixel(600, 450));
    }
    state.SetLabel(std::string(kQualityNames[quality]) + (state.range(1) ? ", drawing copy" : ""));
    if (viewer.control.GetStat() != 0) state.SkipWithError("the viewer did not draw");
}

void CairoFit(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    Page& page = ThePage();
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(page.pixels.data()), CAIRO_FORMAT_ARGB32, kPageWidth, kPageHeight, kPageWidth * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFaceWidth, kFaceHeight);
    const double zoom = static_cast<double>(kFaceHeight) / kPageHeight;
    for (auto _ : state)
        CairoPaintPage(target, source, zoom, (kFaceWidth - kPageWidth * zoom) / 2, 0, kCairoFilters[quality], true);
    state.SetLabel(kQualityNames[quality]);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

void ViewerScrollStep(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    Viewer viewer(1, quality, state.range(1) != 0);
    int32_t direction = kScrollStep;
    for (auto _ : state) StepDown(viewer.control, direction);
    state.SetLabel(std::string(kQualityNames[quality]) + (state.range(1) ? ", drawing copy" : ""));
    if (viewer.control.GetStat() != 0) state.SkipWithError("the viewer did not draw");
}

// A scroll step at zoom 0.6 (the page 1488 x 2105 in the face), with the
// drawing copy: drawn from the copy scaled to the zoom once, or (without
// it) scaling the part in view anew at every step.
constexpr double kFractionalZoom = 0.6;

void ViewerZoomedScrollStep(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    const bool scaledCopy = state.range(1) != 0;
    Viewer viewer(1, quality, true);
    viewer.control.setKeepsScaledCopy(scaledCopy);
    viewer.control.setZoom(kFractionalZoom);
    int32_t direction = kScrollStep;
    for (auto _ : state) StepDown(viewer.control, direction);
    state.SetLabel(std::string(kQualityNames[quality]) + (scaledCopy ? ", scaled copy" : ", no scaled copy"));
    if (viewer.control.GetStat() != 0) state.SkipWithError("the viewer did not draw");
}

// What the scaled copy costs: a change of zoom around 0.6 (0.6 and 0.61 in
// turn), which builds the copy of the whole page anew, against scaling only
// the part in view without it.
void ViewerZoomChange(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    const bool scaledCopy = state.range(1) != 0;
    Viewer viewer(1, quality, true);
    viewer.control.setKeepsScaledCopy(scaledCopy);
    bool other = false;
    for (auto _ : state) {
        other = !other;
        viewer.control.setZoom(other ? kFractionalZoom + 0.01 : kFractionalZoom);
        benchmark::DoNotOptimize(viewer.control.backBuffer().pixel(600, 450));
    }
    state.SetLabel(std::string(kQualityNames[quality]) + (scaledCopy ? ", scaled copy" : ", no scaled copy"));
    if (viewer.control.GetStat() != 0) state.SkipWithError("the viewer did not draw");
}

// cairo scaling the part of the page in view at the same zoom: what each
// step costs without a scaled copy at best.
void CairoZoomedScrollStep(benchmark::State& state) {
    const int32_t quality = static_cast<int32_t>(state.range(0));
    Page& page = ThePage();
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(page.pixels.data()), CAIRO_FORMAT_ARGB32, kPageWidth, kPageHeight, kPageWidth * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFaceWidth, kFaceHeight);
    const double shownHeight = kPageHeight * kFractionalZoom;
    double top = shownHeight / 2;
    int32_t direction = kScrollStep;
    for (auto _ : state) {
        if (top + direction + kFaceHeight > shownHeight || top + direction < 0) direction = -direction;
        top += direction;
        CairoPaintPage(target, source, kFractionalZoom, -(kPageWidth * kFractionalZoom - kFaceWidth) / 2, -top,
                       kCairoFilters[quality], false);
    }
    state.SetLabel(kQualityNames[quality]);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

void CairoScrollStep(benchmark::State& state) {
    Page& page = ThePage();
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(page.pixels.data()), CAIRO_FORMAT_ARGB32, kPageWidth, kPageHeight, kPageWidth * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFaceWidth, kFaceHeight);
    int32_t top = kPageHeight / 2, direction = kScrollStep;
    for (auto _ : state) {
        if (top + direction + kFaceHeight > kPageHeight || top + direction < 0) direction = -direction;
        top += direction;
        cairo_t* cr = cairo_create(target);
        cairo_set_source_surface(cr, source, -(kPageWidth - kFaceWidth) / 2.0, -top);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

BENCHMARK(ViewerFit)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(CairoFit)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerScrollStep)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(CairoScrollStep)->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerZoomedScrollStep)->ArgsProduct({{0, 1, 3}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(ViewerZoomChange)->ArgsProduct({{0, 1, 3}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(CairoZoomedScrollStep)->Args({0})->Args({1})->Args({3})->Unit(benchmark::kMillisecond);

}  // namespace
