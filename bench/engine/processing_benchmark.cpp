// The engine's filters, skew measurement, colour reduction and its own GIF
// and PNM writers on an A4 page at 300 dpi (2480 x 3508) in colour and in
// 1 bit, side by side in one run with ImageMagick's convert and with vips
// doing the same work. Every case is a whole pipeline: read the page from an
// uncompressed TIFF, do the work, write the result (uncompressed TIFF for the
// filters); the tools run as processes of their own, timed by hand, so their
// start-up is in their figures. The skew measurement alone (no file, no
// turning) has a case of its own, and reading and writing the page without
// any work one of its own. A tool that is missing skips its cases.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "bench/support/bench_folder.h"
#include "imaging/engine/auto_deskew.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/quantiser/quantize_to_palette.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/writers/gif89a_writer.h"
#include "imaging/engine/writers/pnm_writer.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr double kPageSkew = 2.5;
constexpr const char* kConvert = "/usr/bin/convert";
constexpr const char* kVips = "/usr/bin/vips";

enum class Page { Colour, OneBit };

const char* NameOf(Page page) { return page == Page::Colour ? "colour" : "bilevel"; }

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench_support::BenchFolder("scanvelt_processing_benchmark");
    return folder;
}

std::string FileIn(const std::string& name) { return (Folder() / name).string(); }

// Text lines tilted by kPageSkew, words of character stems; the colour page
// has cream paper, brown ink and a coloured block like a letterhead.
bool OnInk(int32_t x, int32_t y) {
    const double a = kPageSkew * 3.14159265358979 / 180.0;
    const double u = x * std::cos(a) + y * std::sin(a);
    const double v = y * std::cos(a) - x * std::sin(a);
    if (y < 250 || y > kPageHeight - 250 || x < 200 || x > kPageWidth - 200) return false;
    const double line = std::fmod(v + 10000.0, 50.0);
    if (line < 24.0 || line >= 38.0) return false;
    const double word = std::fmod(u + 10000.0, 90.0);
    return word < 66.0 && std::fmod(word, 11.0) < 6.0;
}

// The page as an uncompressed TIFF, made once.
std::string InputPage(Page page) {
    const std::string path = FileIn(std::string("page_") + NameOf(page) + ".tif");
    if (std::filesystem::exists(path)) return path;
    const int32_t format = page == Page::Colour ? gdiplus::PixelFormat24bppRGB : gdiplus::PixelFormat1bppIndexed;
    int32_t id = 0;
    if (ImageFromBuffer(kPageWidth, kPageHeight, 0, format, static_cast<uint8_t*>(nullptr), id) != OK) return {};
    std::vector<uint32_t> row(kPageWidth);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    bitmap->SetResolution(300, 300);
    for (int32_t y = 0; y < kPageHeight; ++y) {
        for (int32_t x = 0; x < kPageWidth; ++x) {
            uint32_t colour = OnInk(x, y) ? 0xFF3C281Eu : 0xFFF5EEDCu;
            if (y > 120 && y < 220 && x > 200 && x < 1200) colour = 0xFF000000u | (x * 255 / 1200) << 16 | 0x4080u;
            row[static_cast<size_t>(x)] = page == Page::OneBit ? (OnInk(x, y) ? 0xFF000000u : 0xFFFFFFFFu) : colour;
        }
        bitmap->WritePixels(gdiplus::Rect{0, y, kPageWidth, 1}, gdiplus::PixelFormat32bppARGB, 4 * kPageWidth,
                            row.data());
    }
    const MorvalenStatus status = SaveImageAsTiff(id, path, CompressionNone, 0);
    ReleaseImage(id);
    return status == OK ? path : std::string();
}

// What the engine does between loading the page and writing it.
using EngineWork = std::function<MorvalenStatus(int32_t id, const std::string& output)>;

MorvalenStatus Filter(int32_t code, int32_t id, double amount) {
    double unused = 0;
    int32_t w = 0, h = 0;
    GetImageWidth(id, w);
    GetImageHeight(id, h);
    return ApplyFilter(code, id, amount, RoiRect{0, 0, w, h}, 0.0f, 0.5f, 1.0f, 0, 0, 0, unused);
}

EngineWork FilterThenTiff(int32_t code, double amount) {
    return [code, amount](int32_t id, const std::string& output) {
        const MorvalenStatus status = Filter(code, id, amount);
        return status != OK ? status : SaveImageAsTiff(id, output, CompressionNone, 0);
    };
}

void RunEngine(benchmark::State& state, Page page, const std::string& extension, const EngineWork& work) {
    StartImaging();
    const std::string input = InputPage(page);
    const std::string output = FileIn(std::string("engine_out_") + NameOf(page) + "." + extension);
    for (auto _ : state) {
        int32_t id = 0;
        if (input.empty() || LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
            state.SkipWithError("the page cannot be read");
            break;
        }
        if (work(id, output) != OK) state.SkipWithError("the work failed");
        ReleaseImage(id);
    }
    StopImaging();
}

bool ToolThere(const char* tool) { return std::filesystem::exists(tool); }

// Runs `{in}` / `{out}` command for each iteration, timed by hand.
void RunTool(benchmark::State& state, const char* tool, Page page, const std::string& extension,
             const std::string& arguments) {
    if (!ToolThere(tool)) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    StartImaging();
    const std::string input = InputPage(page);
    StopImaging();
    const std::string output =
        FileIn(std::string("tool_out_") + std::filesystem::path(tool).filename().string() + "_" + NameOf(page) + "." +
               extension);
    std::string command = std::string(tool) + " " + arguments + " >/dev/null 2>&1";
    for (const auto& [key, value] : {std::pair{std::string("{in}"), input}, std::pair{std::string("{out}"), output}}) {
        for (size_t at = command.find(key); at != std::string::npos; at = command.find(key)) {
            command.replace(at, key.size(), "'" + value + "'");
        }
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto end = std::chrono::steady_clock::now();
        if (status != 0) {
            state.SkipWithError(("the tool failed: " + command).c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

std::string SmoothMatrix() {
    const std::string path = FileIn("smooth.mat");
    std::ofstream(path) << "3 3 5 0\n0 1 0\n1 1 1\n0 1 0\n";
    return path;
}

struct Case {
    std::string name;
    std::string extension;
    EngineWork engine;
    std::string convert;  // empty: no such case
    std::string vips;
};

std::vector<Case> Cases() {
    const std::string matrix = SmoothMatrix();
    return {
        // Reading and writing the page alone: what every other case spends besides its work.
        {"CopyOnly", "tif",
         [](int32_t id, const std::string& output) { return SaveImageAsTiff(id, output, CompressionNone, 0); },
         "{in} -compress None {out}", "copy {in} {out}"},
        {"Brightness", "tif", FilterThenTiff(14, 20), "{in} -evaluate multiply 1.2 -compress None {out}",
         "linear {in} {out} 1.2 0 --uchar"},
        {"Contrast", "tif", FilterThenTiff(17, 30), "{in} -brightness-contrast 0x30 -compress None {out}",
         "linear {in} {out} 1.3 ' -38' --uchar"},
        {"Gamma", "tif", FilterThenTiff(31, 150), "{in} -gamma 1.5 -compress None {out}",
         "gamma {in} {out} --exponent 1.5"},
        {"Smooth", "tif", FilterThenTiff(5, 0),
         "{in} -morphology Convolve '3x3: 0,0.2,0 0.2,0.2,0.2 0,0.2,0' -compress None {out}",
         "conv {in} {out} '" + matrix + "' --precision integer"},
        {"Despeckle", "tif", FilterThenTiff(61, 0), "{in} -median 3 -compress None {out}",
         "rank {in} {out} 3 3 4"},
        {"Deskew", "tif",
         [](int32_t id, const std::string& output) {
             cAutoDeskew deskew;
             const MorvalenStatus status = deskew.GetSkewAngle(id);
             return status != OK ? status : SaveImageAsTiff(id, output, CompressionNone, 0);
         },
         "{in} -deskew 40% +repage -compress None {out}", ""},
        {"Colours256", "tif",
         [](int32_t id, const std::string& output) {
             int32_t reduced = 0, colours = 256;
             gdiplus::ColorPalette palette;
             MorvalenStatus status = QuantizeToPalette(id, reduced, colours, palette, false, 0);
             if (status == OK) status = SaveImageAsTiff(reduced, output, CompressionNone, 0);
             ReleaseImage(reduced);
             return status;
         },
         "{in} +dither -colors 256 -compress None {out}", ""},
        {"GifWriting", "gif", [](int32_t id, const std::string& output) { return SaveImageAsGif89a(id, output); },
         "{in} -interlace GIF {out}", "gifsave {in} {out}"},
        {"PnmWriting", "pnm", [](int32_t id, const std::string& output) { return SaveImageAsPnm(id, output); }, "{in} {out}",
         "ppmsave {in} {out}"},
    };
}

// The stages of a filter case one by one on the colour page, to tell where
// its time goes: reading the TIFF, the filter alone (on a page in memory,
// repeated), writing the TIFF.
void LoadStage(benchmark::State& state) {
    StartImaging();
    const std::string input = InputPage(Page::Colour);
    for (auto _ : state) {
        int32_t id = 0;
        if (input.empty() || LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
            state.SkipWithError("the page cannot be read");
            break;
        }
        ReleaseImage(id);
    }
    StopImaging();
}

// `work` on the page loaded once.
void OnLoadedPage(benchmark::State& state, Page page, const std::function<MorvalenStatus(int32_t id)>& work) {
    StartImaging();
    int32_t id = 0;
    const std::string input = InputPage(page);
    if (input.empty() || LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
        state.SkipWithError("the page cannot be read");
        StopImaging();
        return;
    }
    for (auto _ : state) {
        if (work(id) != OK) {
            state.SkipWithError("the work failed");
            break;
        }
    }
    ReleaseImage(id);
    StopImaging();
}

// The skew measurement alone on the 1-bit page in memory.
void DeskewMeasurementOnly(benchmark::State& state) {
    double angle = 0;
    OnLoadedPage(state, Page::OneBit, [&angle](int32_t id) {
        cAutoDeskew deskew;
        deskew.GetSkewAngle(id);
        angle = deskew.SkewAngle;
        return OK;
    });
    state.counters["degrees"] = angle;
}

void RegisterStages() {
    benchmark::RegisterBenchmark("Stage/colour/LoadTiff", LoadStage)->Unit(benchmark::kMillisecond)->Iterations(5);
    const std::string output = FileIn("stage_out_colour.tif");
    benchmark::RegisterBenchmark("Stage/colour/SaveTiff", [output](benchmark::State& s) {
        OnLoadedPage(s, Page::Colour, [&output](int32_t id) { return SaveImageAsTiff(id, output, CompressionNone, 0); });
    })->Unit(benchmark::kMillisecond)->Iterations(5);
    for (const auto& stage : {std::tuple{"Brightness", 14, 20.0}, std::tuple{"Contrast", 17, 30.0},
                              std::tuple{"Gamma", 31, 150.0}}) {
        const char* name = std::get<0>(stage);
        const int code = std::get<1>(stage);
        const double amount = std::get<2>(stage);
        benchmark::RegisterBenchmark((std::string("Stage/colour/") + name + "InMemory").c_str(),
                                     [code, amount](benchmark::State& s) {
                                         OnLoadedPage(s, Page::Colour, [code, amount](int32_t id) { return Filter(code, id, amount); });
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    }
}

const bool kRegistered = [] {
    RegisterStages();
    for (const Case& c : Cases()) {
        for (const Page page : {Page::Colour, Page::OneBit}) {
            if (c.name == "Colours256" && page == Page::OneBit) continue;
            const std::string base = c.name + "/" + NameOf(page) + "/";
            const std::string extension = page == Page::OneBit && c.extension == "pnm" ? "pbm"
                                          : c.extension == "pnm"                       ? "ppm"
                                                                                       : c.extension;
            benchmark::RegisterBenchmark((base + "engine").c_str(), [c, page, extension](benchmark::State& s) {
                RunEngine(s, page, extension, c.engine);
            })->Unit(benchmark::kMillisecond)->Iterations(3);
            if (!c.convert.empty()) {
                benchmark::RegisterBenchmark((base + "convert").c_str(), [c, page, extension](benchmark::State& s) {
                    RunTool(s, kConvert, page, extension, c.convert);
                })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
            }
            if (!c.vips.empty()) {
                benchmark::RegisterBenchmark((base + "vips").c_str(), [c, page, extension](benchmark::State& s) {
                    RunTool(s, kVips, page, extension, c.vips);
                })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
            }
        }
    }
    benchmark::RegisterBenchmark("DeskewMeasurementOnly/bilevel/engine", DeskewMeasurementOnly)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    return true;
}();

}  // namespace
