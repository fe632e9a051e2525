// The scan window's post-processing of a scanned page through the Twain
// control's members: negative, contrast stretch, sepia, a quarter turn,
// deskew and border cropping, on a colour A4 page at 300 dpi (2480 x 3508)
// read from an uncompressed TIFF and written back as one. Beside it, in the
// same run, ImageMagick's convert doing the same chain in one process
// (-negate -contrast-stretch 0 -sepia-tone 80% -rotate 90 -deskew 40% -trim),
// timed by hand, its start-up included. Each is repeated: compare the
// *_median rows (the control's real time with the tool's).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_folder.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/twain/colour_members.h"
#include "imaging/twain/deskew_members.h"
#include "imaging/twain/file_output_members.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr double kPageSkew = 3.0;
constexpr int32_t kLidBorder = 60;
constexpr int32_t kRotate90 = 1;  // RotateFlipType Rotate90FlipNone
constexpr const char* kConvert = "/usr/bin/convert";

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench_support::BenchFolder("scanvelt_scan_chain_benchmark");
    return folder;
}

// Text lines tilted by kPageSkew in dark ink on cream paper, a coloured
// letterhead, inside the dark frame that the scanner lid leaves.
uint32_t PagePixel(int32_t x, int32_t y) {
    if (x < kLidBorder || y < kLidBorder || x >= kPageWidth - kLidBorder || y >= kPageHeight - kLidBorder)
        return 0xFF141414u;
    if (y > 160 && y < 260 && x > 260 && x < 1260) return 0xFF000000u | (x * 255 / 1260) << 16 | 0x4080u;
    if (y < 320 || y > kPageHeight - 320 || x < 260 || x > kPageWidth - 260) return 0xFFF5EEDCu;
    const double a = kPageSkew * 3.14159265358979 / 180.0;
    const double u = x * std::cos(a) + y * std::sin(a);
    const double v = y * std::cos(a) - x * std::sin(a);
    const double line = std::fmod(v + 10000.0, 50.0);
    const double word = std::fmod(u + 10000.0, 90.0);
    const bool ink = line >= 24.0 && line < 38.0 && word < 66.0 && std::fmod(word, 11.0) < 6.0;
    return ink ? 0xFF3C281Eu : 0xFFF5EEDCu;
}

std::string InputPage() {
    const std::string path = (Folder() / "scanned_page.tif").string();
    if (std::filesystem::exists(path)) return path;
    int32_t id = 0;
    if (ImageFromBuffer(kPageWidth, kPageHeight, 0, gdiplus::PixelFormat24bppRGB, static_cast<uint8_t*>(nullptr),
                        id) != OK)
        return {};
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    bitmap->SetResolution(300, 300);
    std::vector<uint32_t> row(kPageWidth);
    for (int32_t y = 0; y < kPageHeight; ++y) {
        for (int32_t x = 0; x < kPageWidth; ++x) row[static_cast<size_t>(x)] = PagePixel(x, y);
        bitmap->WritePixels(gdiplus::Rect{0, y, kPageWidth, 1}, gdiplus::PixelFormat32bppARGB, 4 * kPageWidth,
                            row.data());
    }
    const MorvalenStatus status = SaveImageAsTiff(id, path, CompressionNone, 0);
    ReleaseImage(id);
    return status == OK ? path : std::string();
}

void ControlChain(benchmark::State& state) {
    TwainControl control;
    const std::string input = InputPage();
    const std::string output = (Folder() / "control_out.tif").string();
    int32_t width = 0, height = 0;
    for (auto _ : state) {
        int32_t id = 0;
        if (input.empty() || LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
            state.SkipWithError("the page cannot be read");
            break;
        }
        control.setCurrentImage(id);
        const MorvalenStatus steps[] = {FxNegative(control), FxStretchContrast(control), FxSepia(control),
                                        Rotate(control, kRotate90), AutoDeskew(control), CropBorders(control)};
        for (MorvalenStatus status : steps) {
            if (status != OK) state.SkipWithError("a step of the chain failed");
        }
        if (SaveImageAsTiff(id, output, CompressionNone, 0) != OK) state.SkipWithError("the page cannot be written");
        width = NativeImageOf(id)->GetWidth();
        height = NativeImageOf(id)->GetHeight();
        control.setCurrentImage(0);
        ReleaseImage(id);
    }
    state.counters["width"] = width;
    state.counters["height"] = height;
}

void ConvertChain(benchmark::State& state) {
    if (!std::filesystem::exists(kConvert)) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    StartImaging();
    const std::string input = InputPage();
    StopImaging();
    const std::string output = (Folder() / "convert_out.tif").string();
    const std::string command = std::string(kConvert) + " '" + input +
                                "' -negate -contrast-stretch 0 -sepia-tone 80% -rotate 90 -deskew 40% -trim +repage "
                                "-compress None '" + output + "' >/dev/null 2>&1";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto end = std::chrono::steady_clock::now();
        if (status != 0) {
            state.SkipWithError("convert failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

BENCHMARK(ControlChain)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->UseRealTime();
BENCHMARK(ConvertChain)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->UseManualTime();

}  // namespace
