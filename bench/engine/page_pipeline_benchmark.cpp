// A colour A4 page at 300 dpi (2480 x 3508) through the engine: decode the
// JPEG, a 32-bit ARGB working copy of the whole page (the filter dispatcher
// with the negative), then save it as JPEG and as LZW TIFF. Beside it, in the
// same run and on the same page, the same work by ImageMagick
// (/usr/bin/convert, one process writing both files) and by libvips (the vips
// command: the negative into its own format, then one save each), timed by
// hand; Pipeline/processes runs all three as whole processes, interleaved,
// and gives the ratios. Each is repeated for a stable median: read the *_median rows of the
// Time column (the engine, like ImageMagick, uses several threads). The
// processor time of all threads is engine_cpu_ms beside the tools'
// tool_cpu_ms; peak_rss_mb is each side's largest process (the engine's a
// process of its own for one pass), page_mb the page's 32-bit working copy.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_folder.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/memory.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr int32_t kJpegQuality = 85;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench_support::BenchFolder("scanvelt_page_benchmark");
    return folder;
}

// A page that looks like a scanned colour form: off-white paper, rows of dark
// "text", a coloured letterhead and a stamp, and a little scanner noise.
std::string InputPage() {
    const std::string path = (Folder() / "page_in.jpg").string();
    if (std::filesystem::exists(path)) return path;
    int32_t id = 0;
    if (ImageFromBuffer(kPageWidth, kPageHeight, 0, gdiplus::PixelFormat24bppRGB, static_cast<uint8_t*>(nullptr),
                        id) != OK) {
        return {};
    }
    std::vector<uint8_t> row(static_cast<size_t>(kPageWidth) * 3);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kPageHeight; ++y) {
        const bool textLine = (y / 40) % 2 == 1 && y > 300 && y < kPageHeight - 300;
        for (int32_t x = 0; x < kPageWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) % 7) - 3;
            int b = 238 + grain, g = 244 + grain, r = 248 + grain;
            if (y < 260 && x > 150 && x < kPageWidth - 150) {  // letterhead
                r = 30 + x % 40, g = 70 + y % 50, b = 160 + grain;
            } else if (textLine && x > 200 && x < kPageWidth - 200 && (x * 7 + y * 3) % 11 < 4) {
                r = g = b = 40 + (x + y) % 30;
            } else if ((x - 1900) * (x - 1900) + (y - 3000) * (y - 3000) < 180 * 180) {  // stamp
                r = 200 + grain, g = 40, b = 60;
            }
            row[3 * x] = static_cast<uint8_t>(b);
            row[3 * x + 1] = static_cast<uint8_t>(g);
            row[3 * x + 2] = static_cast<uint8_t>(r);
        }
        bitmap->WritePixels(gdiplus::Rect{0, y, kPageWidth, 1}, gdiplus::PixelFormat24bppRGB,
                            static_cast<int32_t>(row.size()), row.data());
    }
    const MorvalenStatus status = SaveImageAsJpeg(id, path, kJpegQuality, true);
    ReleaseImage(id);
    return status == OK ? path : std::string();
}

std::string Output(const std::string& who, const char* extension) {
    return (Folder() / ("page_out_" + who + "." + extension)).string();
}

// One pass of the pipeline over the page; false when a step failed.
bool RunEngineOnce(const std::string& input) {
    int32_t id = 0;
    if (LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) return false;
    double unused = 0;
    const RoiRect page{0, 0, kPageWidth, kPageHeight};
    const bool done = ApplyFilter(2, id, 0, page, 0.0f, 0.5f, 1.0f, 0, 0, 0, unused) == OK &&
                      SaveImageAsJpeg(id, Output("engine", "jpg"), kJpegQuality, true) == OK &&
                      SaveImageAsTiff(id, Output("engine", "tif"), CompressionLZW, 0) == OK;
    ReleaseImage(id);
    return done;
}

// Processor time (user and system) of this process's threads so far.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The peak resident memory of a finished child process, in megabytes.
double PeakMegabytes(const rusage& usage) { return static_cast<double>(usage.ru_maxrss) / 1024.0; }

// Set in the process EnginePeakMegabytes starts: the page to run once.
constexpr char kOnePassVariable[] = "SCANVELT_BENCH_ONE_PASS";

// That process runs one pass of the pipeline, registered only there, and
// ends with its outcome.
const bool kOnePassRegistered = [] {
    if (std::getenv(kOnePassVariable) == nullptr) return false;
    benchmark::RegisterBenchmark("EngineOnePass", [](benchmark::State&) {
        StartImaging();
        const bool done = RunEngineOnce(std::getenv(kOnePassVariable));
        _exit(done ? 0 : 1);
    });
    return true;
}();

// The engine's peak memory over one pass, measured like the tools': a
// fresh process of its own (this program started again for one pass), so
// its figure holds the engine's start-up and that pass, not what this
// process kept from the iterations before. 0 when that process failed.
double EnginePeakMegabytes(const std::string& input) {
    // A forked child's peak counts what this process holds at the fork: the
    // page blocks pooled by the iterations go back to the kernel first.
    gdiplus::ReleasePooledBlocks();
    const pid_t child = fork();
    if (child < 0) return 0;
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDOUT_FILENO), dup2(quiet, STDERR_FILENO);
        setenv(kOnePassVariable, input.c_str(), 1);
        execl("/proc/self/exe", "engine_benchmark", "--benchmark_filter=^EngineOnePass$", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 0;
    return PeakMegabytes(usage);
}

// A page of the 32-bit working copy, the unit of the memory goal.
constexpr double kPageMegabytes = double{kPageWidth} * kPageHeight * 4 / (1024.0 * 1024.0);

// Starts the engine and gives the input page; without one the benchmark is
// skipped, the engine stopped and the path empty.
std::string StartImagingWithPage(benchmark::State& state) {
    StartImaging();
    std::string input = InputPage();
    if (input.empty()) {
        state.SkipWithError("no encoder for the page");
        StopImaging();
    }
    return input;
}

void EnginePipeline(benchmark::State& state) {
    const std::string input = StartImagingWithPage(state);
    if (input.empty()) return;
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        if (!RunEngineOnce(input)) {
            state.SkipWithError("a step of the pipeline failed");
            break;
        }
    }
    state.counters["engine_cpu_ms"] =
        benchmark::Counter((ProcessCpuSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
    const double peak = EnginePeakMegabytes(input);
    if (peak <= 0) state.SkipWithError("the process for the peak memory failed");
    state.counters["peak_rss_mb"] = peak;
    state.counters["page_mb"] = kPageMegabytes;
    StopImaging();
}

// The pipeline's stages one at a time on the same page, to see where the
// time goes: each iteration times one stage on a freshly loaded page.
enum class Stage { Decode, WorkingCopy, JpegSave, TiffSave };

void EngineStage(benchmark::State& state, Stage stage) {
    const std::string input = StartImagingWithPage(state);
    if (input.empty()) return;
    const RoiRect page{0, 0, kPageWidth, kPageHeight};
    for (auto _ : state) {
        state.PauseTiming();
        int32_t id = 0;
        if (stage != Stage::Decode && LoadImageFromFile(id, input, false, true, true, 0, true, true) != OK) {
            state.SkipWithError("decode failed");
            break;
        }
        state.ResumeTiming();
        MorvalenStatus status = OK;
        double unused = 0;
        switch (stage) {
        case Stage::Decode: status = LoadImageFromFile(id, input, false, true, true, 0, true, true); break;
        case Stage::WorkingCopy: status = ApplyFilter(2, id, 0, page, 0.0f, 0.5f, 1.0f, 0, 0, 0, unused); break;
        case Stage::JpegSave: status = SaveImageAsJpeg(id, Output("stage", "jpg"), kJpegQuality, true); break;
        case Stage::TiffSave: status = SaveImageAsTiff(id, Output("stage", "tif"), CompressionLZW, 0); break;
        }
        state.PauseTiming();
        ReleaseImage(id);
        state.ResumeTiming();
        if (status != OK) {
            state.SkipWithError("stage failed");
            break;
        }
    }
    StopImaging();
}

// The first line a command prints, or "" when it cannot run.
std::string FirstLine(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return {};
    char line[256] = {};
    const bool read = fgets(line, sizeof line, pipe) != nullptr;
    pclose(pipe);
    return read ? line : "";
}

// Processor time (user and system) of the finished child processes so far.
double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs a shell command line as a child process; its resource use goes to
// `usage`. False when it could not run or did not succeed.
bool RunMeasured(const std::string& line, rusage& usage) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    return wait4(child, &status, 0, &usage) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs the commands one after the other as one timed iteration each.
void PeerPipeline(benchmark::State& state, const std::string& tool, const std::string& versionCommand,
                  const std::string& versionWord, const std::vector<std::string>& commands) {
    if (FirstLine(versionCommand).find(versionWord) == std::string::npos) {
        state.SkipWithError((tool + " is not installed (scripts/setup)").c_str());
        return;
    }
    StartImaging();
    const std::string input = InputPage();
    StopImaging();
    const double cpuBefore = ChildrenCpuSeconds();
    double peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& command : commands) {
            std::string line = command;
            for (std::string::size_type at; (at = line.find("{in}")) != std::string::npos;) line.replace(at, 4, input);
            rusage usage{};
            if (!RunMeasured(line, usage)) {
                state.SkipWithError((tool + " failed").c_str());
                return;
            }
            peak = std::max(peak, PeakMegabytes(usage));
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    // The tools' own processor time, comparable with the engine's CPU column
    // when the machine is shared and wall time says little.
    state.counters["tool_cpu_ms"] =
        benchmark::Counter((ChildrenCpuSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
    // The largest of the tool's processes: the memory the work needed.
    state.counters["peak_rss_mb"] = peak;
}

void ImageMagickPipeline(benchmark::State& state) {
    const std::string quality = std::to_string(kJpegQuality);
    PeerPipeline(state, "ImageMagick", "/usr/bin/convert -version", "ImageMagick",
                 {"/usr/bin/convert '{in}' -negate -quality " + quality + " -write '" + Output("convert", "jpg") +
                  "' -compress LZW '" + Output("convert", "tif") + "'"});
}

void VipsPipeline(benchmark::State& state) {
    const std::string working = Output("vips", "v");
    PeerPipeline(state, "libvips", "/usr/bin/vips --version", "vips",
                 {"/usr/bin/vips invert '{in}' '" + working + "'",
                  "/usr/bin/vips jpegsave '" + working + "' '" + Output("vips", "jpg") + "' --Q " +
                      std::to_string(kJpegQuality),
                  "/usr/bin/vips tiffsave '" + working + "' '" + Output("vips", "tif") +
                      "' --compression lzw --predictor horizontal"});
}

// The engine, ImageMagick and libvips as whole processes each (the engine
// through EngineOnePass, its start-up in its figure like the tools'), one
// after the other in every iteration, so that a load on the shared machine
// falls on all alike: medians of the wall times, the ratios engine / tool
// with their spread (25th and 75th percentile of the per-iteration ratios),
// and each side's peak memory.
struct PassMeasure {
    double wallMs = 0, peakMb = 0;
    bool ok = false;
};

PassMeasure MeasurePass(const std::vector<std::string>& lines, const std::string& input) {
    PassMeasure m;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& command : lines) {
        std::string line = command;
        for (std::string::size_type at; (at = line.find("{in}")) != std::string::npos;) line.replace(at, 4, input);
        rusage usage{};
        if (!RunMeasured(line, usage)) return m;
        m.peakMb = std::max(m.peakMb, PeakMegabytes(usage));
    }
    m.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    m.ok = true;
    return m;
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const auto low = static_cast<size_t>(at);
    const size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

void ProcessesSideBySide(benchmark::State& state) {
    if (FirstLine("/usr/bin/convert -version").find("ImageMagick") == std::string::npos ||
        FirstLine("/usr/bin/vips --version").find("vips") == std::string::npos) {
        state.SkipWithError("ImageMagick or libvips is not installed (scripts/setup)");
        return;
    }
    StartImaging();
    const std::string input = InputPage();
    StopImaging();
    gdiplus::ReleasePooledBlocks();
    const std::string quality = std::to_string(kJpegQuality);
    // The engine's pass: this program started again for EngineOnePass.
    const std::string engine = std::string(kOnePassVariable) + "='{in}' /proc/" + std::to_string(getpid()) +
                               "/exe --benchmark_filter=^EngineOnePass$ >/dev/null 2>&1";
    const std::vector<std::string> imageMagick{"/usr/bin/convert '{in}' -negate -quality " + quality + " -write '" +
                                               Output("convert", "jpg") + "' -compress LZW '" +
                                               Output("convert", "tif") + "'"};
    const std::string working = Output("vips", "v");
    const std::vector<std::string> vips{
        "/usr/bin/vips invert '{in}' '" + working + "'",
        "/usr/bin/vips jpegsave '" + working + "' '" + Output("vips", "jpg") + "' --Q " + quality,
        "/usr/bin/vips tiffsave '" + working + "' '" + Output("vips", "tif") + "' --compression lzw --predictor horizontal"};
    std::vector<double> engineMs, magickMs, vipsMs, magickRatio, vipsRatio;
    double enginePeak = 0, magickPeak = 0, vipsPeak = 0;
    for (auto _ : state) {
        const PassMeasure e = MeasurePass({engine}, input), m = MeasurePass(imageMagick, input),
                          v = MeasurePass(vips, input);
        if (!e.ok || !m.ok || !v.ok) {
            state.SkipWithError(!e.ok ? "the engine's pass failed" : !m.ok ? "ImageMagick failed" : "libvips failed");
            return;
        }
        state.SetIterationTime(e.wallMs / 1e3);
        engineMs.push_back(e.wallMs), magickMs.push_back(m.wallMs), vipsMs.push_back(v.wallMs);
        magickRatio.push_back(e.wallMs / m.wallMs), vipsRatio.push_back(e.wallMs / v.wallMs);
        enginePeak = std::max(enginePeak, e.peakMb), magickPeak = std::max(magickPeak, m.peakMb);
        vipsPeak = std::max(vipsPeak, v.peakMb);
    }
    state.counters["engine_ms"] = Quantile(engineMs, 0.5);
    state.counters["magick_ms"] = Quantile(magickMs, 0.5);
    state.counters["vips_ms"] = Quantile(vipsMs, 0.5);
    state.counters["magick_ratio"] = Quantile(magickRatio, 0.5);
    state.counters["magick_ratio_p25"] = Quantile(magickRatio, 0.25);
    state.counters["magick_ratio_p75"] = Quantile(magickRatio, 0.75);
    state.counters["vips_ratio"] = Quantile(vipsRatio, 0.5);
    state.counters["vips_ratio_p25"] = Quantile(vipsRatio, 0.25);
    state.counters["vips_ratio_p75"] = Quantile(vipsRatio, 0.75);
    state.counters["engine_peak_mb"] = enginePeak;
    state.counters["magick_peak_mb"] = magickPeak;
    state.counters["vips_peak_mb"] = vipsPeak;
    state.counters["page_mb"] = kPageMegabytes;
}

// Enough repetitions for a stable median on a shared machine.
constexpr int kRepetitions = 9;

BENCHMARK(ProcessesSideBySide)->Name("Pipeline/processes")->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(15);

BENCHMARK(EnginePipeline)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(EngineStage, decode, Stage::Decode)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(EngineStage, argb_negative, Stage::WorkingCopy)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(EngineStage, jpeg_save, Stage::JpegSave)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(EngineStage, lzw_tiff_save, Stage::TiffSave)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ImageMagickPipeline)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)
    ->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(VipsPipeline)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace
