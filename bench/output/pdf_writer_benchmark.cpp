// A PDF of A4 pages scanned at 300 dpi (2480 x 3508 JPEG files), one image
// drawn over each page, written by cPDF, which decodes each file and encodes
// it again as JPEG at kJpegQuality; beside it, in the same run, its peer for
// re-encoded pages, ImageMagick writing the same JPEG files into a PDF at the
// same JPEG quality, and img2pdf, which copies the JPEG bytes and so bounds
// what any re-encoding writer can do. Every document is written by a process
// of its own, timed whole (start-up included on every side), and its peak
// resident memory is reported (peak_rss_MiB): cPDF's should stay flat from
// 10 pages to 100. The figures are medians of kRepetitions.
//
// ImageMagick: this system's policy (/etc/ImageMagick-6/policy.xml) refuses
// the coder named PDF and allows 1 GiB of disk for pixels; the peer writes
// through the same writer under its name PDFA, and the benchmark's own policy
// file (MAGICK_CONFIGURE_PATH) raises the disk allowance so that 100 pages,
// which ImageMagick holds all at once, fit. Its memory allowance stays as the
// system sets it; the pages beyond it go to ImageMagick's disk cache.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
// cPDF's own default; ImageMagick is given the same.
constexpr int32_t kJpegQuality = 75;
constexpr int kRepetitions = 3;

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
    pdf.SetJpegQuality(kJpegQuality);
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

// Runs a program found on the PATH in this (child) process.
int Exec(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    return 127;
}

int WriteWithImg2pdf(const std::vector<std::string>& pages, int pageCount, const std::string& output) {
    std::vector<std::string> arguments{"img2pdf", "--pagesize", "A4", "-o", output};
    for (int page = 0; page < pageCount; ++page) arguments.push_back(pages[static_cast<size_t>(page % kDistinctPages)]);
    return Exec(arguments);
}

// The folder of the policy that lets ImageMagick keep 100 pages (see the top).
std::string ImageMagickPolicyFolder() {
    const std::filesystem::path folder = Folder() / "imagemagick";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "policy.xml") << "<policymap>\n"
                                            "  <policy domain=\"resource\" name=\"disk\" value=\"16GiB\"/>\n"
                                            "</policymap>\n";
    return folder.string();
}

int WriteWithImageMagick(const std::vector<std::string>& pages, int pageCount, const std::string& output,
                         const std::string& policyFolder) {
    setenv("MAGICK_CONFIGURE_PATH", policyFolder.c_str(), 1);
    std::vector<std::string> arguments{"convert"};
    for (int page = 0; page < pageCount; ++page) arguments.push_back(pages[static_cast<size_t>(page % kDistinctPages)]);
    for (const char* option : {"-compress", "jpeg", "-quality"}) arguments.emplace_back(option);
    arguments.push_back(std::to_string(kJpegQuality));
    arguments.push_back("PDFA:" + output);
    return Exec(arguments);
}

enum class Writer { Cpdf, ImageMagick, Img2pdf };

void Document(benchmark::State& state, Writer writer) {
    const std::vector<std::string> pages = InputPages();
    if (pages.empty()) {
        state.SkipWithError("cannot write the input pages");
        return;
    }
    const char* tool = writer == Writer::Img2pdf ? "img2pdf" : writer == Writer::ImageMagick ? "convert" : nullptr;
    if (tool != nullptr && std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) != 0) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    const int pageCount = static_cast<int>(state.range(0));
    const std::string output = (Folder() / (writer == Writer::Cpdf          ? "cpdf.pdf"
                                            : writer == Writer::ImageMagick ? "imagemagick.pdf"
                                                                            : "img2pdf.pdf"))
                                   .string();
    const std::string policyFolder = writer == Writer::ImageMagick ? ImageMagickPolicyFolder() : std::string();
    double peak = 0;
    for (auto _ : state) {
        std::filesystem::remove(output);
        const ChildRun run = InChild([&] {
            switch (writer) {
            case Writer::Cpdf: return WriteWithCpdf(pages, pageCount, output);
            case Writer::ImageMagick: return WriteWithImageMagick(pages, pageCount, output, policyFolder);
            case Writer::Img2pdf: return WriteWithImg2pdf(pages, pageCount, output);
            }
            return 1;
        });
        if (!run.ok || !std::filesystem::exists(output)) {
            state.SkipWithError("the document was not written");
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMiB);
    }
    state.counters["peak_rss_MiB"] = peak;
    state.counters["pdf_MiB"] = std::filesystem::exists(output) ? std::filesystem::file_size(output) / 1048576.0 : 0;
}

// One iteration per repetition: a run of 100 pages takes seconds.
BENCHMARK_CAPTURE(Document, cPDF, Writer::Cpdf)->Arg(10)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Document, ImageMagick, Writer::ImageMagick)->Arg(10)->Arg(100)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Document, img2pdf, Writer::Img2pdf)->Arg(10)->Arg(100)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

}  // namespace
