// An A4 page at 300 dpi (2480 x 3508) through the engine: decode, a 32-bit
// ARGB working copy of the whole page (the filter dispatcher with the
// negative), encode in the same format. Beside it, in the same run, the same
// pipeline through ImageMagick's `convert` as a process of its own, timed by
// hand; skipped when `convert` is not ImageMagick's or not there.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr int32_t kJpegQuality = 85;

enum class PageFormat { Jpeg, Tiff };

const char* ExtensionOf(PageFormat format) { return format == PageFormat::Jpeg ? "jpg" : "tif"; }

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / "scanvelt_page_benchmark";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

MorvalenStatus SavePage(int32_t id, const std::string& path, PageFormat format) {
    return format == PageFormat::Jpeg ? SaveImageAsJpeg(id, path, kJpegQuality, true)
                                      : SaveImageAsTiff(id, path, CompressionLZW, 0);
}

// A page that looks like a scanned form: white, with grey lines of "text".
std::string InputPage(PageFormat format) {
    const std::string path = (Folder() / (std::string("page_in.") + ExtensionOf(format))).string();
    if (std::filesystem::exists(path)) return path;
    int32_t id = 0;
    if (ImageFromBuffer(kPageWidth, kPageHeight, 0, gdiplus::PixelFormat24bppRGB, static_cast<uint8_t*>(nullptr),
                        id) != OK) {
        return {};
    }
    std::vector<uint8_t> row(static_cast<size_t>(kPageWidth) * 3);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    for (int32_t y = 0; y < kPageHeight; ++y) {
        const bool textLine = (y / 40) % 2 == 1 && y > 300 && y < kPageHeight - 300;
        for (int32_t x = 0; x < kPageWidth; ++x) {
            const bool ink = textLine && x > 200 && x < kPageWidth - 200 && (x * 7 + y * 3) % 11 < 4;
            const uint8_t v = ink ? static_cast<uint8_t>(40 + (x + y) % 30) : 250;
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
        bitmap->WritePixels(gdiplus::Rect{0, y, kPageWidth, 1}, gdiplus::PixelFormat24bppRGB,
                            static_cast<int32_t>(row.size()), row.data());
    }
    const MorvalenStatus status = SavePage(id, path, format);
    ReleaseImage(id);
    return status == OK ? path : std::string();
}

void EnginePipeline(benchmark::State& state, PageFormat format) {
    StartImaging();
    const std::string input = InputPage(format);
    const std::string output = (Folder() / (std::string("page_out_engine.") + ExtensionOf(format))).string();
    if (input.empty()) {
        state.SkipWithError("no encoder for the page");
        StopImaging();
        return;
    }
    for (auto _ : state) {
        int32_t id = 0;
        if (LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
            state.SkipWithError("decode failed");
            break;
        }
        double unused = 0;
        const RoiRect page{0, 0, kPageWidth, kPageHeight};
        ApplyFilter(2, id, 0, page, 0.0f, 0.5f, 1.0f, 0, 0, 0, unused);
        if (SavePage(id, output, format) != OK) state.SkipWithError("encode failed");
        ReleaseImage(id);
    }
    StopImaging();
}

bool IsImageMagick() {
    FILE* pipe = popen("convert -version 2>/dev/null", "r");
    if (pipe == nullptr) return false;
    char line[256] = {};
    const bool found = fgets(line, sizeof line, pipe) != nullptr && std::string(line).find("ImageMagick") != std::string::npos;
    pclose(pipe);
    return found;
}

void ImageMagickPipeline(benchmark::State& state, PageFormat format) {
    static const bool available = IsImageMagick();
    if (!available) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    StartImaging();
    const std::string input = InputPage(format);
    StopImaging();
    const std::string output = (Folder() / (std::string("page_out_convert.") + ExtensionOf(format))).string();
    const std::string options = format == PageFormat::Jpeg ? "-quality " + std::to_string(kJpegQuality)
                                                           : std::string("-compress LZW");
    const std::string command = "convert '" + input + "' -negate " + options + " '" + output + "'";
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

BENCHMARK_CAPTURE(EnginePipeline, Jpeg, PageFormat::Jpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImageMagickPipeline, Jpeg, PageFormat::Jpeg)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EnginePipeline, Tiff, PageFormat::Tiff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImageMagickPipeline, Tiff, PageFormat::Tiff)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
