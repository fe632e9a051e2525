// Whole processes on both sides: the engine through a driver of its own
// (this program started again for one pass, its start-up in its figure) and
// the tool, one after the other in each iteration (interleaved, so a load
// on the shared machine falls on both alike), on the same uncompressed TIFF
// page at 1x, 2x and 4x the A4 area (2480 x 3508 at 300 dpi). Each side's
// wall time, processor time (user and system) and peak resident memory are
// taken from wait4; the counters are medians over the iterations, with the
// ratio engine / tool and its spread (the 25th and 75th percentile of the
// per-iteration ratios). Run pinned, e.g. `taskset -c 6,7`.
//
// Cases: Load (the engine reads the page; tiffcp copies the file, the
// tool's cheapest whole pass over it) and Brightness, Contrast and Gamma
// (read, filter, write an uncompressed TIFF) against ImageMagick's convert.
// libvips (the vips command) runs the same work in the same iterations
// (a copy for Load): its vips_* counters, and its peak memory, the other
// bound of the engine's (vips_peak_mb plus page_mb, the page in 32 bits).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_folder.h"
#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kA4Width = 2480;
constexpr int32_t kA4Height = 3508;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench_support::BenchFolder("scanvelt_page_process_benchmark");
    return folder;
}

// Width and height for `area` times the A4 page (1, 2 or 4).
std::pair<int32_t, int32_t> SizeFor(int area) {
    return area == 1 ? std::pair{kA4Width, kA4Height}
           : area == 2 ? std::pair{kA4Width, 2 * kA4Height}
                       : std::pair{2 * kA4Width, 2 * kA4Height};
}

// A colour page like a scanned form, saved as an uncompressed TIFF.
bool MakePage(int area, const std::string& path) {
    const auto [width, height] = SizeFor(area);
    int32_t id = 0;
    if (ImageFromBuffer(width, height, 0, gdiplus::PixelFormat24bppRGB, static_cast<uint8_t*>(nullptr), id) != OK)
        return false;
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    bitmap->SetResolution(300, 300);
    uint32_t noise = 12345;
    for (int32_t y = 0; y < height; ++y) {
        const bool textLine = (y / 40) % 2 == 1 && y > 300 && y < height - 300;
        for (int32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = static_cast<int>((noise >> 16) % 7) - 3;
            int b = 220 + grain, g = 236 + grain, r = 245 + grain;
            if (y < 260 && x > 150 && x < width - 150) {
                r = 30 + x % 40, g = 70 + y % 50, b = 160 + grain;
            } else if (textLine && x > 200 && x < width - 200 && (x * 7 + y * 3) % 11 < 4) {
                r = g = b = 40 + (x + y) % 30;
            }
            row[3 * x] = static_cast<uint8_t>(b);
            row[3 * x + 1] = static_cast<uint8_t>(g);
            row[3 * x + 2] = static_cast<uint8_t>(r);
        }
        bitmap->WritePixels(gdiplus::Rect{0, y, width, 1}, gdiplus::PixelFormat24bppRGB,
                            static_cast<int32_t>(row.size()), row.data());
    }
    const MorvalenStatus status = SaveImageAsTiff(id, path, CompressionNone, 0);
    ReleaseImage(id);
    return status == OK;
}

// The page's file, made once in a process of its own: the peak memory of a
// child is at least what the process it was forked from held, so this one
// never holds a page.
std::string InputPage(int area) {
    const std::string path = (Folder() / ("page_" + std::to_string(area) + "x.tif")).string();
    if (std::filesystem::exists(path)) return path;
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        StartImaging();
        const bool made = MakePage(area, path);
        StopImaging();
        _exit(made ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    return path;
}

struct Case {
    const char* name;
    int32_t filterCode;  // 0: load only
    double amount;
    const char* tool;
    std::string toolArguments;  // {in} and {out} replaced
    std::vector<std::string> vipsArguments;  // one word each, {in} and {out} replaced
};

constexpr char kVips[] = "/usr/bin/vips";

const Case kCases[] = {
    {"Load", 0, 0, "/usr/bin/tiffcp", "{in} {out}", {"copy", "{in}", "{out}"}},
    {"Brightness", 14, 20, "/usr/bin/convert", "{in} -evaluate multiply 1.2 -compress None {out}",
     {"linear", "{in}", "{out}", "1.2", "0", "--uchar"}},
    {"Contrast", 17, 30, "/usr/bin/convert", "{in} -brightness-contrast 0x30 -compress None {out}",
     {"linear", "{in}", "{out}", "1.3", " -38", "--uchar"}},
    {"Gamma", 31, 150, "/usr/bin/convert", "{in} -gamma 1.5 -compress None {out}",
     {"gamma", "{in}", "{out}", "--exponent", "1.5"}},
};

// The driver: set in the process started for one engine pass.
constexpr char kDriverCase[] = "SCANVELT_PAGE_PROCESS_CASE";
constexpr char kDriverInput[] = "SCANVELT_PAGE_PROCESS_INPUT";
constexpr char kDriverOutput[] = "SCANVELT_PAGE_PROCESS_OUTPUT";

int RunDriver() {
    const std::string name = std::getenv(kDriverCase);
    const Case* found = nullptr;
    for (const Case& c : kCases)
        if (name == c.name) found = &c;
    if (found == nullptr) return 2;
    StartImaging();
    int32_t id = 0;
    bool done = LoadImageFromFile(id, std::getenv(kDriverInput), false, true, true, 0, true, true) == OK;
    if (done && found->filterCode != 0) {
        int32_t w = 0, h = 0;
        GetImageWidth(id, w);
        GetImageHeight(id, h);
        double unused = 0;
        done = ApplyFilter(found->filterCode, id, found->amount, RoiRect{0, 0, w, h}, 0.0f, 0.5f, 1.0f, 0, 0, 0,
                           unused) == OK &&
               SaveImageAsTiff(id, std::getenv(kDriverOutput), CompressionNone, 0) == OK;
    }
    ReleaseImage(id);
    StopImaging();
    return done ? 0 : 1;
}

// In a driver process the only benchmark: one pass, then the process ends.
const bool kDriver = [] {
    if (std::getenv(kDriverCase) == nullptr) return false;
    benchmark::RegisterBenchmark("PageDriver", [](benchmark::State&) { _exit(RunDriver()); });
    return true;
}();

struct Measured {
    double wallMs = 0, cpuMs = 0, peakMb = 0;
    bool ok = false;
};

// Runs a program with arguments (and extra environment) as a child process.
Measured RunProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    Measured m;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return m;
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDOUT_FILENO), dup2(quiet, STDERR_FILENO);
        for (const std::string& e : environment) putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return m;
    m.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    m.cpuMs = (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    m.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

// Splits "{in} -x {out}" into arguments with the paths put in.
std::vector<std::string> ToolArguments(const Case& c, const std::string& in, const std::string& out) {
    std::vector<std::string> arguments{c.tool};
    std::string word;
    const std::string line = c.toolArguments + " ";
    for (char ch : line) {
        if (ch != ' ') {
            word += ch;
            continue;
        }
        if (word.empty()) continue;
        arguments.push_back(word == "{in}" ? in : word == "{out}" ? out : word);
        word.clear();
    }
    return arguments;
}

// The vips command line of a case.
std::vector<std::string> VipsArguments(const Case& c, const std::string& in, const std::string& out) {
    std::vector<std::string> arguments{kVips};
    for (const std::string& word : c.vipsArguments) arguments.push_back(word == "{in}" ? in : word == "{out}" ? out : word);
    return arguments;
}

void SideBySide(benchmark::State& state, const Case& c) {
    const int area = static_cast<int>(state.range(0));
    if (!std::filesystem::exists(c.tool)) {
        state.SkipWithError((std::string(c.tool) + " is not installed (scripts/setup)").c_str());
        return;
    }
    const std::string input = InputPage(area);
    if (input.empty()) {
        state.SkipWithError("the page cannot be made");
        return;
    }
    const std::string engineOut = (Folder() / ("engine_" + std::string(c.name) + ".tif")).string();
    const std::string toolOut = (Folder() / ("tool_" + std::string(c.name) + ".tif")).string();
    const std::vector<std::string> driverEnvironment{std::string(kDriverCase) + "=" + c.name,
                                                     std::string(kDriverInput) + "=" + input,
                                                     std::string(kDriverOutput) + "=" + engineOut};
    const bool withVips = std::filesystem::exists(kVips);
    const std::string vipsOut = (Folder() / ("vips_" + std::string(c.name) + ".tif")).string();
    std::vector<double> engineWall, toolWall, engineCpu, toolCpu, wallRatio, cpuRatio, vipsWall, vipsRatio;
    double enginePeak = 0, toolPeak = 0, vipsPeak = 0;
    for (auto _ : state) {
        const Measured engine = RunProcess({"/proc/self/exe", "--benchmark_filter=^PageDriver$"}, driverEnvironment);
        const Measured tool = RunProcess(ToolArguments(c, input, toolOut), {});
        if (!engine.ok || !tool.ok) {
            state.SkipWithError(engine.ok ? "the tool failed" : "the engine's driver failed");
            return;
        }
        if (withVips) {
            const Measured vips = RunProcess(VipsArguments(c, input, vipsOut), {});
            if (!vips.ok) {
                state.SkipWithError("vips failed");
                return;
            }
            vipsWall.push_back(vips.wallMs);
            vipsRatio.push_back(engine.wallMs / vips.wallMs);
            vipsPeak = std::max(vipsPeak, vips.peakMb);
        }
        state.SetIterationTime(engine.wallMs / 1e3);
        engineWall.push_back(engine.wallMs);
        toolWall.push_back(tool.wallMs);
        engineCpu.push_back(engine.cpuMs);
        toolCpu.push_back(tool.cpuMs);
        wallRatio.push_back(engine.wallMs / tool.wallMs);
        cpuRatio.push_back(engine.cpuMs / std::max(tool.cpuMs, 0.001));
        enginePeak = std::max(enginePeak, engine.peakMb);
        toolPeak = std::max(toolPeak, tool.peakMb);
    }
    state.counters["engine_ms"] = Quantile(engineWall, 0.5);
    state.counters["tool_ms"] = Quantile(toolWall, 0.5);
    state.counters["ratio"] = Quantile(wallRatio, 0.5);
    state.counters["ratio_p25"] = Quantile(wallRatio, 0.25);
    state.counters["ratio_p75"] = Quantile(wallRatio, 0.75);
    state.counters["engine_cpu_ms"] = Quantile(engineCpu, 0.5);
    state.counters["tool_cpu_ms"] = Quantile(toolCpu, 0.5);
    state.counters["cpu_ratio"] = Quantile(cpuRatio, 0.5);
    state.counters["engine_peak_mb"] = enginePeak;
    state.counters["tool_peak_mb"] = toolPeak;
    const auto [width, height] = SizeFor(area);
    state.counters["page_mb"] = static_cast<double>(width) * height * 4 / (1024.0 * 1024.0);
    if (withVips) {
        state.counters["vips_ms"] = Quantile(vipsWall, 0.5);
        state.counters["vips_ratio"] = Quantile(vipsRatio, 0.5);
        state.counters["vips_ratio_p25"] = Quantile(vipsRatio, 0.25);
        state.counters["vips_ratio_p75"] = Quantile(vipsRatio, 0.75);
        state.counters["vips_peak_mb"] = vipsPeak;
    }
}

// Enough interleaved pairs for a stable median on a shared machine.
constexpr int kIterations = 15;

const bool kRegistered = [] {
    if (kDriver) return false;
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string(c.name) + "/process").c_str(),
                                     [&c](benchmark::State& s) { SideBySide(s, c); })
            ->Arg(1)->Arg(2)->Arg(4)
            ->ArgName("area")
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(kIterations);
    }
    return true;
}();

}  // namespace
