// Every pipeline the engine's benchmarks time (bench/engine), run on a small
// page made in code, gives the very pixels it gave when its reference was
// made: the files in testdata/pipeline_outputs, lossless PNGs of what each
// pipeline wrote, decoded by the engine on both sides and compared pixel by
// pixel. Work that makes a pipeline faster (fewer copies, bands, pooled
// blocks) must not change a single pixel of its output.
//
// After a deliberate change of a pipeline's result, the references are made
// again by running this test with SCANVELT_WRITE_PIPELINE_REFERENCES=1 (each
// case then writes its reference instead of comparing, and fails so that the
// run is never taken for a check).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/filter_negative.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/quantiser/quantize_to_palette.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"
#include "imaging/engine/writers/gif89a_writer.h"
#include "imaging/engine/writers/pnm_writer.h"

namespace scanvelt {
namespace {

// Wide enough that a TIFF written from it is read and coded in several bands
// and runs of strips (a band is 256 KiB), small enough to keep its references
// small.
constexpr int32_t kWidth = 512;
constexpr int32_t kHeight = 384;
constexpr int32_t kJpegQuality = 85;  // the page pipeline benchmark's

std::filesystem::path ReferenceFolder() { return std::filesystem::path(ENGINE_TESTDATA_DIR) / "pipeline_outputs"; }

// A form-like page as the benchmarks draw theirs: tinted paper with a light
// grain, a coloured header band and lines of dark strokes.
uint32_t PagePixel(int32_t x, int32_t y) {
    const int grain = static_cast<int>((static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 40503u) >> 29) - 3;
    int r = 245 + grain, g = 236 + grain, b = 220 + grain;
    const bool textLine = (y / 23) % 2 == 1 && y > 60 && y < kHeight - 40;
    if (y < 50 && x > 30 && x < kWidth - 30) {
        r = 30 + x % 40, g = 70 + y % 50, b = 160 + grain;
    } else if (textLine && x > 40 && x < kWidth - 40 && (x * 7 + y * 3) % 11 < 4) {
        r = g = b = 40 + (x + y) % 30;
    }
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b);
}

// The page saved as the benchmarks keep their inputs: an uncompressed 24-bit
// TIFF at 300 dpi, and the page pipeline's JPEG.
std::string WritePage(const testing_support::ScopedTestFolder& folder, bool jpeg) {
    int32_t id = 0;
    EXPECT_EQ(ImageFromBuffer(kWidth, kHeight, 0, gdiplus::PixelFormat24bppRGB, static_cast<uint8_t*>(nullptr), id), OK);
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    if (bitmap == nullptr) return {};
    bitmap->SetResolution(300, 300);
    std::vector<uint32_t> row(kWidth);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) row[static_cast<size_t>(x)] = PagePixel(x, y);
        bitmap->WritePixels(gdiplus::Rect{0, y, kWidth, 1}, gdiplus::PixelFormat32bppARGB, 4 * kWidth, row.data());
    }
    const std::string path = folder.PathOf(jpeg ? "page.jpg" : "page.tif");
    const MorvalenStatus saved =
        jpeg ? SaveImageAsJpeg(id, path, kJpegQuality, true) : SaveImageAsTiff(id, path, CompressionNone, 0);
    ReleaseImage(id);
    EXPECT_EQ(saved, OK);
    return path;
}

MorvalenStatus Filter(int32_t code, double amount, int32_t id) {
    double unused = 0;
    return ApplyFilter(code, id, amount, RoiRect{0, 0, kWidth, kHeight}, 0.0f, 0.5f, 1.0f, 0, 0, 0, unused);
}

using Work = std::function<MorvalenStatus(int32_t id, const std::string& output)>;

Work FilterThen(int32_t code, double amount, const std::function<MorvalenStatus(int32_t, const std::string&)>& save) {
    return [=](int32_t id, const std::string& output) {
        const MorvalenStatus status = Filter(code, amount, id);
        return status != OK ? status : save(id, output);
    };
}

MorvalenStatus UncompressedTiff(int32_t id, const std::string& output) {
    return SaveImageAsTiff(id, output, CompressionNone, 0);
}

struct Pipeline {
    const char* name;
    bool fromJpeg;  // the page pipeline benchmark starts from a JPEG page
    const char* extension;
    Work work;
};

void PrintTo(const Pipeline& pipeline, std::ostream* out) { *out << pipeline.name; }

// The benchmarks' cases: bench/engine/page_process_benchmark.cpp (the point
// filters), processing_benchmark.cpp (copy, neighbourhood filters, palette,
// GIF and PNM writing) and page_pipeline_benchmark.cpp (negative, then JPEG
// and LZW TIFF).
const Pipeline kPipelines[] = {
    {"copy", false, "tif", UncompressedTiff},
    {"brightness", false, "tif", FilterThen(14, 20, UncompressedTiff)},
    {"contrast", false, "tif", FilterThen(17, 30, UncompressedTiff)},
    {"gamma", false, "tif", FilterThen(31, 150, UncompressedTiff)},
    {"smooth", false, "tif", FilterThen(5, 0, UncompressedTiff)},
    {"despeckle", false, "tif", FilterThen(61, 0, UncompressedTiff)},
    {"colours256", false, "tif",
     [](int32_t id, const std::string& output) {
         int32_t reduced = 0, colours = 256;
         gdiplus::ColorPalette palette;
         MorvalenStatus status = QuantizeToPalette(id, reduced, colours, palette, false, 0);
         if (status == OK) status = UncompressedTiff(reduced, output);
         ReleaseImage(reduced);
         return status;
     }},
    {"gif", false, "gif", [](int32_t id, const std::string& output) { return SaveImageAsGif89a(id, output); }},
    {"pnm", false, "pnm", [](int32_t id, const std::string& output) { return SaveImageAsPnm(id, output); }},
    {"negative_jpeg", true, "jpg",
     FilterThen(kNegativeCode, 0,
                [](int32_t id, const std::string& output) { return SaveImageAsJpeg(id, output, kJpegQuality, true); })},
    {"negative_lzw_tiff", true, "tif",
     FilterThen(kNegativeCode, 0,
                [](int32_t id, const std::string& output) { return SaveImageAsTiff(id, output, CompressionLZW, 0); })},
};

struct Pixels {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> argb;
};

// A "P6" file's pixels (the engine reads no anymap files).
Pixels DecodedAnymap(const std::string& path) {
    Pixels pixels;
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    int maxValue = 0, headerBytes = 0;
    if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &pixels.width, &pixels.height, &maxValue, &headerBytes) != 3 ||
        maxValue != 255 || pixels.width <= 0 || pixels.height <= 0) {
        ADD_FAILURE() << path << " is not an 8-bit P6 file";
        return Pixels{};
    }
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    const size_t start = static_cast<size_t>(headerBytes) + 1;  // one white space ends the header
    if (bytes.size() != start + 3 * count) {
        ADD_FAILURE() << path << " holds " << bytes.size() << " bytes";
        return Pixels{};
    }
    pixels.argb.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const auto* rgb = reinterpret_cast<const uint8_t*>(bytes.data() + start + 3 * i);
        pixels.argb[i] = 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    }
    return pixels;
}

// The file as the engine reads it, in 32-bit ARGB.
Pixels Decoded(const std::string& path) {
    if (std::filesystem::path(path).extension() == ".pnm") return DecodedAnymap(path);
    Pixels pixels;
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromFile(id, path, false, true, true, 0, true, true), OK) << path;
    gdiplus::Bitmap* bitmap = NativeBitmapOf(id);
    if (bitmap == nullptr) return pixels;
    pixels.width = static_cast<int32_t>(bitmap->GetWidth());
    pixels.height = static_cast<int32_t>(bitmap->GetHeight());
    pixels.argb.resize(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
    EXPECT_EQ(bitmap->CopyPixels(gdiplus::Rect{0, 0, pixels.width, pixels.height}, gdiplus::PixelFormat32bppARGB,
                                 4 * pixels.width, pixels.argb.data()),
              gdiplus::Ok);
    ReleaseImage(id);
    return pixels;
}

// Pixels kept as a lossless PNG.
void WriteReference(const Pixels& pixels, const std::filesystem::path& path) {
    int32_t id = 0;
    ASSERT_EQ(ImageFromBuffer(pixels.width, pixels.height, 0, gdiplus::PixelFormat32bppARGB,
                              static_cast<uint8_t*>(nullptr), id),
              OK);
    NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, pixels.width, pixels.height}, gdiplus::PixelFormat32bppARGB,
                                    4 * pixels.width, pixels.argb.data());
    std::filesystem::create_directories(path.parent_path());
    EXPECT_EQ(SaveImageAsPng(id, path.string()), OK);
    ReleaseImage(id);
}

class BenchmarkPipelinesTest : public testing_support::EngineTest,
                               public ::testing::WithParamInterface<Pipeline> {};

TEST_P(BenchmarkPipelinesTest, WritesTheSamePixelsAsItsReference) {
    const Pipeline& pipeline = GetParam();
    testing_support::ScopedTestFolder folder("benchmark_pipelines");
    const std::string input = WritePage(folder, pipeline.fromJpeg);
    ASSERT_FALSE(input.empty());
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, input, false, true, true, 0, true, true), OK);
    const std::string output = folder.PathOf(std::string("out.") + pipeline.extension);
    const MorvalenStatus status = pipeline.work(id, output);
    ReleaseImage(id);
    ASSERT_EQ(status, OK);

    const std::filesystem::path reference = ReferenceFolder() / (std::string(pipeline.name) + ".png");
    if (std::getenv("SCANVELT_WRITE_PIPELINE_REFERENCES") != nullptr) {
        WriteReference(Decoded(output), reference);
        FAIL() << "wrote the reference " << reference << " instead of comparing";
    }

    ASSERT_TRUE(std::filesystem::exists(reference)) << reference;
    const Pixels expected = Decoded(reference.string());
    const Pixels actual = Decoded(output);
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    size_t wrong = 0;
    for (size_t i = 0; i < expected.argb.size(); ++i) {
        if (actual.argb[i] == expected.argb[i]) continue;
        if (wrong++ < 5) {
            ADD_FAILURE() << "pixel " << i % static_cast<size_t>(expected.width) << ","
                          << i / static_cast<size_t>(expected.width) << " is " << std::hex << actual.argb[i]
                          << " instead of " << expected.argb[i];
        }
    }
    EXPECT_EQ(wrong, 0u) << "pixels that differ from the reference";
}

INSTANTIATE_TEST_SUITE_P(Pipelines, BenchmarkPipelinesTest, ::testing::ValuesIn(kPipelines),
                         [](const ::testing::TestParamInfo<Pipeline>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace scanvelt
