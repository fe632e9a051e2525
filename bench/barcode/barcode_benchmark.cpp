// 20 linear codes (every type the reader knows, twice, upright and upside
// down) on an A4 page at 300 dpi, read by the linear reader in its quick
// and its careful mode, and by zbarimg (zbar-tools) on the same page as a
// PGM file. zbarimg's time includes starting the process and reading the
// file, a few milliseconds of the whole.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>

#include "bench/support/bench_folder.h"
#include "plugins/barcode_scanner/packed_dib.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"
#include "plugins/mvbarcode1d/linear_records.h"

namespace {

using barcode::GreyImage;

// A second code of each type, with other data: zbarimg reports codes of
// the same text once.
const std::vector<std::pair<std::string, std::string>> kSecondRound = {
    {"C25INTER", "9876543210"}, {"CODE39", "SECOND-39"},       {"CODABAR", "A98765B"},
    {"CODE128", "Second 128"},  {"GS1_128", "[01]00012345600012"}, {"CODE93", "SECOND 93"},
    {"EANX", "590123412345"},   {"UPCA", "01234567890"},       {"EANX", "5512345"},
    {"UPCE", "0654321"},
};

const GreyImage& Page() {
    static const GreyImage page = [] {
        files::testing::ScratchFolder folder("barcode-bench");
        GreyImage p = barcode::testing::WhitePage(2480, 3508);
        int i = 0;
        std::vector<std::pair<std::string, std::string>> codes;
        for (const auto& c : barcode::testing::LinearCases()) codes.emplace_back(c.symbology, c.data);
        codes.insert(codes.end(), kSecondRound.begin(), kSecondRound.end());
        for (const auto& [symbology, data] : codes) {
            const std::string file = barcode::testing::ZintFile(folder, "s.bmp", symbology, data, 2, "BMP", "--notext");
            const std::vector<uint8_t> bytes = barcode::testing::FileBytes(file);
            if (bytes.size() < 14) continue;
            const auto symbol = barcode::GreyFromPackedDib(std::span(bytes).subspan(14));
            if (!symbol) continue;
            barcode::testing::Stamp(p, *symbol, 420 + (i % 3) * 820, 220 + (i / 3) * 480, i >= 10 ? 180.0 : 0.0);
            ++i;
        }
        return p;
    }();
    return page;
}

std::string PagePgm() {
    const std::string path = (bench_support::BenchFolder("barcode_benchmark") / "page.pgm").string();
    const GreyImage& page = Page();
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << page.width << " " << page.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(page.pixels.data()), std::streamsize(page.pixels.size()));
    return path;
}

void BM_LinearReader(benchmark::State& state) {
    const GreyImage& page = Page();
    size_t found = 0;
    for (auto _ : state) found = mvbarcode1d::ReadLinearCodes(page, uint8_t(state.range(0)), 255).size();
    state.counters["codes"] = double(found);
}
BENCHMARK(BM_LinearReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Zbarimg(benchmark::State& state) {
    const std::string path = PagePgm();
    const std::string command = "zbarimg --quiet --raw '" + path + "'";
    size_t found = 0;
    for (auto _ : state) {
        found = 0;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("zbarimg cannot be started");
            return;
        }
        char line[4096];
        while (fgets(line, sizeof line, pipe)) ++found;
        pclose(pipe);
    }
    state.counters["codes"] = double(found);
}
BENCHMARK(BM_Zbarimg)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
