// An A4 colour page at 300 dpi (2480 x 3507 pixels, 26 MB) from SANE's "test"
// backend, through a private SANE configuration: acquired by the TWAIN
// engine (libmvtwain.so, bound by name as the control binds it) into a
// packed DIB, and in the same run by `scanimage` on the same device and
// settings, writing PNM to /dev/null. Both sessions are whole: start SANE,
// open the device, scan one page, close and end. The goal: the engine
// within 1.2 times scanimage's time (the ratio of BM_EngineOverScanimage).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/support/bench_folder.h"

namespace {

constexpr int kDpi = 300;
constexpr double kA4WidthMm = 210, kA4HeightMm = 297;

// The private configuration, set before libsane first starts in this process.
const std::filesystem::path& SaneFolder() {
    static const std::filesystem::path folder = [] {
        auto path = bench_support::BenchFolder("scanvelt_twain_benchmark") / "sane";
        std::filesystem::create_directories(path);
        std::ofstream(path / "dll.conf") << "test\n";
        std::ofstream(path / "test.conf") << "number_of_devices 1\nmode Color\ndepth 8\nresolution " << kDpi
                                          << "\ntest-picture \"Color pattern\"\ngeometry_max 300.0\n"
                                          << "tl_x 0.0\ntl_y 0.0\nbr_x " << kA4WidthMm << "\nbr_y " << kA4HeightMm
                                          << "\n";
        setenv("SANE_CONFIG_DIR", path.c_str(), 1);
        setenv("XDG_CONFIG_HOME", path.parent_path().c_str(), 1);
        return path;
    }();
    return folder;
}

struct Engine {
    void* library = nullptr;
    template <class Result, class... Arguments>
    Result call(const char* name, Arguments... arguments) {
        auto function = reinterpret_cast<Result (*)(Arguments...)>(dlsym(library, name));
        if (!function) std::abort();
        return function(arguments...);
    }
};

Engine& TheEngine() {
    static Engine engine = [] {
        SaneFolder();
        Engine e;
        e.library = dlopen(MVTWAIN_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!e.library) std::abort();
        e.call<int32_t>("MVTWAIN_SetHideUI", int32_t{1});
        e.call<int32_t>("MVTWAIN_SetIndicators", int32_t{0});
        return e;
    }();
    return engine;
}

constexpr int64_t kPageBytes = 3LL * 2480 * 3507;

// One whole engine session; false when no page came back.
bool EngineSession() {
    Engine& engine = TheEngine();
    if (engine.call<int32_t>("MVTWAIN_OpenDefaultSource") != 1) return false;
    engine.call<int32_t>("MVTWAIN_SetCurrentPixelType", int32_t{2});
    engine.call<int32_t>("MVTWAIN_SetCurrentResolution", static_cast<double>(kDpi));
    const int32_t handle = engine.call<int32_t>("MVTWAIN_AcquireNative", int32_t{0});
    if (handle != 0) engine.call<int32_t>("MVTWAIN_FreeNative", handle);
    engine.call<int32_t>("MVTWAIN_CloseSource");
    engine.call<int32_t>("MVTWAIN_UnloadSourceManager");
    return handle != 0;
}

// scanimage on the same device and settings; false when it failed.
bool ScanimageSession() {
    SaneFolder();
    static const std::string command = "scanimage -d test:0 --mode Color --resolution " + std::to_string(kDpi) +
                                       " -l 0 -t 0 -x " + std::to_string(kA4WidthMm) + " -y " +
                                       std::to_string(kA4HeightMm) + " --format=pnm > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

double Seconds(bool (*session)(), bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = session();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_EngineAcquiresA4Colour(benchmark::State& state) {
    int64_t bytes = 0;
    for (auto _ : state) {
        if (!EngineSession()) {
            state.SkipWithError("no page came back");
            return;
        }
        bytes += kPageBytes;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_EngineAcquiresA4Colour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_ScanimageAcquiresA4Colour(benchmark::State& state) {
    int64_t bytes = 0;
    for (auto _ : state) {
        bool ok = false;
        state.SetIterationTime(Seconds(ScanimageSession, ok));
        if (!ok) {
            state.SkipWithError("scanimage failed");
            return;
        }
        bytes += kPageBytes;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ScanimageAcquiresA4Colour)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);


// The two side by side, one session of each in turn, so that the machine's
// load weighs on both alike: the ratio is the engine's time over scanimage's.
void BM_EngineOverScanimage(benchmark::State& state) {
    double engine = 0, scanimage = 0;
    for (auto _ : state) {
        bool ok = false, okToo = false;
        engine += Seconds(EngineSession, ok);
        scanimage += Seconds(ScanimageSession, okToo);
        if (!ok || !okToo) {
            state.SkipWithError("a session failed");
            return;
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = 1000 * engine / n;
    state.counters["scanimage_ms"] = 1000 * scanimage / n;
    state.counters["ratio"] = scanimage > 0 ? engine / scanimage : 0;
}
BENCHMARK(BM_EngineOverScanimage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

}  // namespace
