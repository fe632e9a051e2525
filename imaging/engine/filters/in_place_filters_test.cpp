// Brightness, contrast and gamma change 24- and 32-bit images in place
// through their 256-entry tables: the tables against the arithmetic itself,
// and whole images (small ones, and ones large enough to be shared among
// threads) against the working-copy filters and the arithmetic pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/filters/point_filters.h"
#include "imaging/engine/filters/row_bands.h"
#include "imaging/engine/filters/wide_byte_table.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt::filters {
namespace {

// The arithmetic pixel by pixel, channel by channel: single-precision
// factors, double products, halves to even.
int32_t HalfEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }
float Factor(int32_t percent) { return static_cast<float>((percent + 100) / 100.0); }

int32_t BrightnessOf(int32_t v, int32_t percent) {
    const int32_t r = HalfEven(static_cast<double>(Factor(percent)) * v);
    return r < 0 ? 0 : r > 255 ? 255 : r;
}

// -1: no byte result.
int32_t GammaOf(int32_t v, int32_t percent) {
    const float g = static_cast<float>((percent == 0 ? 1 : percent) / 100.0);
    const double r = std::pow(v / 255.0, 1.0 / static_cast<double>(g)) * 255.0;
    if (!std::isfinite(r) || r < -0.5 || r > 255.5) return -1;
    const int32_t rounded = HalfEven(r);
    return rounded < 0 || rounded > 255 ? -1 : rounded;
}

int32_t ContrastOf(int32_t v, double mean, int32_t percent) {
    return HalfEven((v - mean) * static_cast<double>(Factor(percent)) + mean);
}

TEST(ChannelTables, EveryEntryIsTheArithmeticOfItsValue) {
    for (const int32_t p : {-100, -95, -40, 0, 2, 20, 50, 137}) {
        const auto t = BrightnessTable(p);
        for (int32_t v = 0; v < 256; ++v) ASSERT_EQ(t[static_cast<size_t>(v)], BrightnessOf(v, p)) << p << " " << v;
    }
    for (const int32_t p : {-50, 0, 37, 40, 100, 150, 200, 300}) {
        const auto t = GammaTable(p);
        for (int32_t v = 0; v < 256; ++v) ASSERT_EQ(t[static_cast<size_t>(v)], GammaOf(v, p)) << p << " " << v;
    }
    for (const double mean : {0.0, 117.0, 255.0}) {
        for (const int32_t p : {-60, 30, 100, 300}) {
            const auto t = ContrastTable(mean, p);
            for (int32_t v = 0; v < 256; ++v) {
                ASSERT_EQ(t[static_cast<size_t>(v)], ContrastOf(v, mean, p)) << mean << " " << p << " " << v;
            }
        }
    }
}

TEST(RowBands, EveryRowIsVisitedOnceAndNoMoreThreadsThanTheCapWork) {
    for (const auto& [height, pixels] : {std::pair{1, int64_t{1} << 30}, std::pair{3508, int64_t{3508} * 2480},
                                         std::pair{100, int64_t{1000}}, std::pair{3, int64_t{1} << 22}}) {
        std::vector<int> visits(static_cast<size_t>(height), 0);
        std::vector<int> bandsSeen(kMaxRowBandThreads, 0);
        ForEachRowBand(height, pixels, [&](int32_t band, int32_t first, int32_t end) {
            ++bandsSeen[static_cast<size_t>(band)];
            for (int32_t y = first; y < end; ++y) ++visits[static_cast<size_t>(y)];
        });
        EXPECT_EQ(visits, std::vector<int>(static_cast<size_t>(height), 1)) << height;
        const int32_t bands = RowBandCount(height, pixels);
        EXPECT_LE(bands, kMaxRowBandThreads);
        EXPECT_EQ(bands == 1, pixels < kPixelsWorthSharing || height == 1) << height;
        for (int32_t b = 0; b < kMaxRowBandThreads; ++b) EXPECT_EQ(bandsSeen[static_cast<size_t>(b)], b < bands ? 1 : 0);
    }
}

TEST(RowBands, AFailingBandIsRethrownAfterEveryBandEnded) {
    std::vector<int> visits(4000, 0);
    EXPECT_THROW(ForEachRowBand(4000, int64_t{1} << 24,
                                [&](int32_t band, int32_t first, int32_t end) {
                                    for (int32_t y = first; y < end; ++y) ++visits[static_cast<size_t>(y)];
                                    if (band == 1) throw EngineFailure("band");
                                }),
                 EngineFailure);
    EXPECT_EQ(visits, std::vector<int>(4000, 1));
}

class InPlaceFilters : public testing_support::EngineTest {};

struct ImageCase {
    int32_t format;
    int32_t width;
    int32_t height;
};

struct FilterCase {
    int32_t code;
    double amount;
    bool (*workingCopy)(FilterPixels&, const FilterArguments&);
    bool onLargeImages = false;  // one case of each filter where threads share the rows
};

// Random colours; alpha random too where the format keeps it.
std::vector<uint32_t> RandomPixels(size_t count, bool keepsAlpha, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> pixels(count);
    for (uint32_t& p : pixels) p = keepsAlpha ? random() : (random() | 0xFF000000u);
    return pixels;
}

void WriteAll(int32_t id, const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
    ASSERT_EQ(NativeBitmapOf(id)->WritePixels(gdiplus::Rect{0, 0, width, height}, gdiplus::PixelFormat32bppARGB,
                                              4 * width, pixels.data()),
              gdiplus::Ok);
}

std::vector<uint32_t> ReadAll(int32_t id, int32_t width, int32_t height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    EXPECT_EQ(NativeBitmapOf(id)->CopyPixels(gdiplus::Rect{0, 0, width, height}, gdiplus::PixelFormat32bppARGB,
                                             4 * width, pixels.data()),
              gdiplus::Ok);
    return pixels;
}

// Whether the filters may take the processor's wide byte-table paths, for
// the life of the object.
class WidePaths {
public:
    explicit WidePaths(bool allowed) {
#if defined(__x86_64__)
        WideByteTablesAllowed() = allowed;
        available_ = HasWideByteTables() || !allowed;
#else
        available_ = !allowed;
#endif
    }
    ~WidePaths() {
#if defined(__x86_64__)
        WideByteTablesAllowed() = true;
#endif
    }
    WidePaths(const WidePaths&) = delete;
    WidePaths& operator=(const WidePaths&) = delete;
    bool available() const { return available_; }

private:
    bool available_ = false;
};

TEST_F(InPlaceFilters, GiveWhatTheWorkingCopyAndTheArithmeticGiveOnRandomImages) {
    const ImageCase images[] = {{gdiplus::PixelFormat24bppRGB, 37, 23},
                                {gdiplus::PixelFormat32bppRGB, 37, 23},
                                {gdiplus::PixelFormat32bppARGB, 37, 23},
                                {gdiplus::PixelFormat24bppRGB, 1100, 1000},
                                {gdiplus::PixelFormat32bppARGB, 1030, 1030}};
    const FilterCase filters[] = {{kBrightnessCode, 20, &BrightnessFilter, true},
                                  {kBrightnessCode, -40, &BrightnessFilter},
                                  {kContrastCode, 30, &ContrastFilter, true},
                                  {kContrastCode, -60, &ContrastFilter},
                                  {kContrastCode, 300, &ContrastFilter},
                                  {kGammaCode, 150, &GammaFilter, true},
                                  {kGammaCode, 40, &GammaFilter}};
    uint32_t seed = 1;
    // The byte-table paths of the processor (where it has them) and the plain ones.
    for (const bool wide : {true, false}) {
        const WidePaths paths(wide);
        if (wide && !paths.available()) continue;
        for (const ImageCase& image : images) {
            for (const FilterCase& filter : filters) {
                if (image.width * image.height >= kPixelsWorthSharing && !filter.onLargeImages) continue;
                const std::string label = std::to_string(image.format) + " " + std::to_string(image.width) + " code " +
                                          std::to_string(filter.code) + " amount " + std::to_string(filter.amount) +
                                          (wide ? " wide" : " plain");
                const int32_t id = testing_support::RegisterBitmap(image.width, image.height, image.format);
                WriteAll(id, RandomPixels(static_cast<size_t>(image.width) * image.height,
                                          image.format == gdiplus::PixelFormat32bppARGB, seed++),
                         image.width, image.height);
                const std::vector<uint32_t> before = ReadAll(id, image.width, image.height);
                // A rectangle with a margin on every side: the margin must stay.
                const RoiRect roi{3, 2, image.width - 7, image.height - 5};
                FilterPixels copy;
                copy.Width = roi.Width;
                copy.Height = roi.Height;
                for (int32_t y = roi.Top; y < roi.Top + roi.Height; ++y) {
                    for (int32_t x = roi.Left; x < roi.Left + roi.Width; ++x) {
                        copy.Pixels.push_back(before[static_cast<size_t>(y) * image.width + x]);
                    }
                }
                FilterArguments arguments;
                arguments.amount = filter.amount;
                filter.workingCopy(copy, arguments);

                double unused = 0;
                ASSERT_EQ(ApplyFilter(filter.code, id, filter.amount, roi, 0, 0, 0, 0, 0, 0, unused), OK) << label;
                const std::vector<uint32_t> after = ReadAll(id, image.width, image.height);
                size_t k = 0;
                for (int32_t y = 0; y < image.height; ++y) {
                    for (int32_t x = 0; x < image.width; ++x) {
                        const size_t i = static_cast<size_t>(y) * image.width + x;
                        const bool inside = x >= roi.Left && x < roi.Left + roi.Width && y >= roi.Top &&
                                            y < roi.Top + roi.Height;
                        if (!inside) {
                            ASSERT_EQ(after[i], before[i]) << label << " outside at " << x << "," << y;
                            continue;
                        }
                        ASSERT_EQ(after[i], copy.Pixels[k++]) << label << " at " << x << "," << y;
                        if (filter.code == kContrastCode) continue;  // the spreading couples the channels
                        for (const int shift : {0, 8, 16}) {
                            const auto in = static_cast<int32_t>(before[i] >> shift & 0xFF);
                            const int32_t expected = filter.code == kBrightnessCode
                                                         ? BrightnessOf(in, static_cast<int32_t>(filter.amount))
                                                         : GammaOf(in, static_cast<int32_t>(filter.amount));
                            ASSERT_EQ(static_cast<int32_t>(after[i] >> shift & 0xFF), expected) << label;
                        }
                        ASSERT_EQ(after[i] >> 24, before[i] >> 24) << label;
                    }
                }
                ReleaseImage(id);
            }
        }
    }
}

TEST_F(InPlaceFilters, AFailingGammaOnALargeImageWritesNothingAndLeavesTheImageUnlocked) {
    const int32_t width = 1100, height = 1000;
    const int32_t id = testing_support::RegisterBitmap(width, height, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFF808080u);
    pixels.back() = 0xFF000000u;  // black has no result under a negative gamma, and comes last
    WriteAll(id, pixels, width, height);
    double unused = 0;
    EXPECT_EQ(ApplyFilter(kGammaCode, id, -50, RoiRect{0, 0, width, height}, 0, 0, 0, 0, 0, 0, unused),
              GenericError);
    EXPECT_EQ(ReadAll(id, width, height), pixels);
    // White alone has a result under a negative gamma (white again).
    std::fill(pixels.begin(), pixels.end(), 0xFFFFFFFFu);
    WriteAll(id, pixels, width, height);
    EXPECT_EQ(ApplyFilter(kGammaCode, id, -50, RoiRect{0, 0, width, height}, 0, 0, 0, 0, 0, 0, unused), OK);
    EXPECT_EQ(ReadAll(id, width, height), pixels);
}

TEST_F(InPlaceFilters, AContrastTooLargeToSpreadSafelyInPlaceGivesTheWorkingCopysAnswer) {
    // Factor 10^6: table entries far beyond what the rows take in place.
    const int32_t id = testing_support::RegisterBitmap(4, 1, gdiplus::PixelFormat24bppRGB);
    const std::vector<uint32_t> pixels{0xFF102030u, 0xFFF0E0D0u, 0xFF7F8081u, 0xFF000000u};
    testing_support::SetPixels(id, pixels);
    FilterPixels copy;
    copy.Width = 4;
    copy.Height = 1;
    copy.Pixels.assign(pixels.begin(), pixels.end());
    FilterArguments arguments;
    arguments.amount = 99999900;
    bool copyFailed = false;
    try {
        ContrastFilter(copy, arguments);
    } catch (const EngineFailure&) {
        copyFailed = true;
    }
    double unused = 0;
    const MorvalenStatus status = ApplyFilter(kContrastCode, id, arguments.amount, RoiRect{0, 0, 4, 1}, 0, 0, 0, 0,
                                              0, 0, unused);
    EXPECT_EQ(status, copyFailed ? GenericError : OK);
    EXPECT_EQ(testing_support::PixelsOf(id), copyFailed ? pixels : std::vector<uint32_t>(copy.Pixels.begin(), copy.Pixels.end()));
}

}  // namespace
}  // namespace scanvelt::filters
