// OCR of an A4 page at 300 dpi (2480 x 3508) holding 40 lines of 12-point
// text: the plug-in on the page's pixels, beside the tesseract command on the
// same page (a grey PGM file, its text written to standard output) in the same run,
// both on one thread.
// The plug-in keeps its engine between pages as a scanning session does; the
// cold row starts it anew for each page, as the command must. Read the
// *_median rows; on a shared machine compare processor time too (the
// plug-in's CPU column with the command's tool_cpu_ms).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/bench_folder.h"
#include "plugins/mvocr/mvocr.h"
#include "plugins/mvocr/testing/text_page.h"

namespace {

constexpr int32_t kWidth = 2480;
constexpr int32_t kHeight = 3508;
constexpr int kRepetitions = 3;

const mvocr::testing::TextPage& Page() {
    static const mvocr::testing::TextPage page = [] {
        std::vector<std::string> lines;
        const char* words[] = {"invoice", "total",  "amount", "due",   "payment", "received", "order",
                               "number",  "account", "date",  "VAT",   "19%",     "EUR",      "129.50",
                               "delivery", "address", "street", "4711", "customer", "reference"};
        for (int line = 0; line < 40; ++line) {
            std::string text;
            for (int w = 0; w < 9; ++w) text += std::string(w ? " " : "") + words[(line * 7 + w * 3) % 20];
            lines.push_back(text);
        }
        return mvocr::testing::DrawTextPage(kWidth, kHeight, 300, lines, 12, 1, 0.8);
    }();
    return page;
}

// The page as the command reads it fastest: the same pixels as an 8-bit grey
// PGM (the page is grey; a colour file costs the command a fifth more).
std::string PagePgm() {
    const std::string path = (bench_support::BenchFolder("scanvelt_ocr_benchmark") / "page.pgm").string();
    const auto& page = Page();
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << kWidth << " " << kHeight << "\n255\n";
    std::vector<char> row(static_cast<size_t>(kWidth));
    for (int32_t y = 0; y < kHeight; ++y) {
        const uint8_t* bgr = page.Bgr.data() + static_cast<size_t>(y) * page.Stride;
        for (int32_t x = 0; x < kWidth; ++x) row[x] = static_cast<char>(bgr[3 * x + 1]);
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return path;
}

int32_t Recognise() {
    const auto& page = Page();
    const MvocrChar* block = nullptr;
    int32_t status = 0, count = 0;
    MVOCR_OCR("eng", "", "", &block, &status, kWidth, kHeight, page.Bgr.data(), 24, page.Stride, &count, 300, 0, 0,
              0, 0, 0, 0, 0, 0, 0, 0, 0);
    MVOCR_CLEAR();
    return count;
}

void PluginOcr(benchmark::State& state) {
    Recognise();  // the engine started once, as in a scanning session
    int32_t count = 0;
    for (auto _ : state) count = Recognise();
    state.counters["characters"] = count;
}

void PluginOcrColdStart(benchmark::State& state) {
    int32_t count = 0;
    for (auto _ : state) {
        MVOCR_REINIT();
        count = Recognise();
    }
    state.counters["characters"] = count;
}

void TesseractCommand(benchmark::State& state) {
    // The command on one thread, as the plug-in runs (left to OpenMP's
    // default, its spinning threads can take minutes per page on a busy machine).
    const std::string command = "OMP_THREAD_LIMIT=1 tesseract " + PagePgm() + " - --dpi 300 >/dev/null 2>&1";
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("the tesseract command failed");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    state.counters["tool_cpu_ms"] = ((ms(after.ru_utime) + ms(after.ru_stime)) - (ms(before.ru_utime) + ms(before.ru_stime))) /
                                    static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(PluginOcr)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2)->Repetitions(kRepetitions);
BENCHMARK(PluginOcrColdStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2)->Repetitions(kRepetitions);
BENCHMARK(TesseractCommand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(kRepetitions);
