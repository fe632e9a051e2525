// A PDF of A4 pages scanned at 300 dpi (2480 x 3508 JPEG files), one image
// drawn over each page, written by cPDF; beside it, in the same run, the same
// files through img2pdf as a process of its own, timed by hand. Each
// document is written in a child process, whose peak resident memory is
// reported (peak_rss_MiB): it should stay flat from 10 pages to 100.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/bench_folder.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/output/pdf_document.h"
#include "platform/gdiplus/bitmap.h"

namespace {

using namespace scanvelt;

constexpr int32_t kPageWidth = 2480;
constexpr int32_t kPageHeight = 3508;
constexpr int kDistinctPages = 10;

std::filesystem::path Folder() {
    static const std::filesystem::path folder = bench_support::BenchFolder("scanvelt_pdf_benchmark");
    return folder;
}

// Colour pages that look like scanned bills: a tinted paper with lines of
// dark "text"; each page a little different.
std::vector<std::string> InputPages() {
    static const std::vector<std::string> pages = [] {
        std::vector<std::string> paths;
        StartImaging();
        for (int page = 0; page < kDistinctPages; ++page) {
            const std::string path = (Folder() / ("page" + std::to_string(page) + ".jpg")).string();
            paths.push_back(path);
            if (std::filesystem::exists(path)) continue;
            int32_t id = 0;
            if (ImageFromBuffer(kPageWidth, kPageHeight, 0, gdiplus::PixelFormat24bppRGB,
                                static_cast<uint8_t*>(nullptr), id) != OK) {
                return std::vector<std::string>{};
            }
            std::vector<uint8_t> row(static_cast<size_t>(kPageWidth) * 3);
            gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
            for (int32_t y = 0; y < kPageHeight; ++y) {
                const bool textLine = ((y + page * 7) / 40) % 2 == 1 && y > 300 && y < kPageHeight - 300;
                for (int32_t x = 0; x < kPageWidth; ++x) {
                    const bool ink = textLine && x > 200 && x < kPageWidth - 200 && (x * 7 + y * 3 + page) % 11 < 4;
                    row[3 * x] = ink ? 40 : 235;
                    row[3 * x + 1] = ink ? 40 : 245;
                    row[3 * x + 2] = ink ? static_cast<uint8_t>(60 + page) : 250;
                }
                bitmap->WritePixels(gdiplus::Rect{0, y, kPageWidth, 1}, gdiplus::PixelFormat24bppRGB,
                                    static_cast<int32_t>(row.size()), row.data());
            }
            bitmap->SetResolution(300, 300);
            const MorvalenStatus status = SaveImageAsJpeg(id, path, 85, true);
            ReleaseImage(id);
            if (status != OK) return std::vector<std::string>{};
        }
        StopImaging();
        return paths;
    }();
    return pages;
}

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double peakMiB = 0;
};

// Runs `work` in a child process: its wall time and peak resident memory.
ChildRun InChild(const std::function<int()>& work) {
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) _exit(work());
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = usage.ru_maxrss / 1024.0;
    return run;
}

int WriteWithCpdf(const std::vector<std::string>& pages, int pageCount, const std::string& output) {
    if (!StartImaging()) return 1;
    cPDF pdf;
    if (!pdf.NewPdf(output, "Bills", "", "benchmark", "", "", 0, -1, "", "")) return 1;
    for (int page = 0; page < pageCount; ++page) {
        const int32_t image = pdf.PdfAddImage(pages[static_cast<size_t>(page % kDistinctPages)], kPdfImageFromFile);
        if (image == 0) return 1;
        pdf.BeginPage();
        pdf.DrawImg(image, 0, 0, pdf.PaperWidth(), pdf.PaperHeight());
    }
    const int result = pdf.ClosePdfFile() == OK ? 0 : 1;
    StopImaging();
    return result;
}

int WriteWithImg2pdf(const std::vector<std::string>& pages, int pageCount, const std::string& output) {
    std::vector<std::string> arguments{"img2pdf", "--pagesize", "A4", "-o", output};
    for (int page = 0; page < pageCount; ++page) arguments.push_back(pages[static_cast<size_t>(page % kDistinctPages)]);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execvp("img2pdf", argv.data());
    return 127;
}

void Document(benchmark::State& state, bool peer) {
    const std::vector<std::string> pages = InputPages();
    if (pages.empty()) {
        state.SkipWithError("cannot write the input pages");
        return;
    }
    if (peer && std::system("command -v img2pdf >/dev/null 2>&1") != 0) {
        state.SkipWithError("img2pdf is not installed (scripts/setup installs it)");
        return;
    }
    const int pageCount = static_cast<int>(state.range(0));
    const std::string output = (Folder() / (peer ? "img2pdf.pdf" : "cpdf.pdf")).string();
    double peak = 0;
    for (auto _ : state) {
        const ChildRun run = InChild([&] {
            return peer ? WriteWithImg2pdf(pages, pageCount, output) : WriteWithCpdf(pages, pageCount, output);
        });
        if (!run.ok) {
            state.SkipWithError("the document was not written");
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMiB);
    }
    state.counters["peak_rss_MiB"] = peak;
    state.counters["pdf_MiB"] = std::filesystem::exists(output) ? std::filesystem::file_size(output) / 1048576.0 : 0;
}

BENCHMARK_CAPTURE(Document, cPDF, false)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Document, img2pdf, true)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
