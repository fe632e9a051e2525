#include "plugins/mvbarcode1d/linear_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "plugins/barcode_scanner/packed_dib.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"
#include "plugins/mvbarcode1d/linear_types.h"

namespace mvbarcode1d {
namespace {

using barcode::GreyImage;
using barcode::testing::LinearCase;
using barcode::testing::LinearCases;

ZXing::Position box(ZXing::PointI a, ZXing::PointI b, ZXing::PointI c, ZXing::PointI d) { return {a, b, c, d}; }

TEST(LinearRecords, TypesFollowTheFormatAndTheGs1Flag) {
    using F = ZXing::BarcodeFormat;
    struct Case {
        F format;
        const char* identifier;
        int32_t type;
        bool checkSum;
    };
    const Case cases[] = {
        {F::ITF, "]I0", kTypeInterleaved2of5, false}, {F::Code39, "]A0", kTypeCode39, false},
        {F::Codabar, "]F0", kTypeCodabar, false},     {F::Code128, "]C0", kTypeCode128, true},
        {F::Code128, "]C1", kTypeEan128, true},       {F::Code93, "]G0", kTypeCode93, true},
        {F::EAN13, "]E0", -32768, true},              {F::UPCA, "]E0", 65536, true},
        {F::EAN8, "]E4", 131072, true},               {F::UPCE, "]E0", 262144, true},
        {F::QRCode, "]Q1", 0, false},
    };
    const ZXing::Position flat = box({0, 0}, {100, 0}, {100, 10}, {0, 10});
    for (const Case& c : cases) {
        barcode::BarcodeRecord r = BuildLinearRecord(c.format, c.identifier, "1", flat);
        EXPECT_EQ(r.type, c.type) << c.identifier;
        EXPECT_EQ(r.hasCheckSum, c.checkSum) << c.identifier;
    }
}

TEST(LinearRecords, TextBecomesWindows1252AndCornersStayAsFound) {
    const ZXing::Position flat = box({3, 4}, {100, 5}, {101, 20}, {2, 19});
    barcode::BarcodeRecord r = BuildLinearRecord(ZXing::BarcodeFormat::Code128, "]C0", "Caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9", flat);
    EXPECT_EQ(r.value, "Caf\xE9 \x80 ?");
    EXPECT_EQ(r.corners[0].x, 3);
    EXPECT_EQ(r.corners[0].y, 4);
    EXPECT_EQ(r.corners[2].x, 101);
    EXPECT_EQ(r.corners[3].y, 19);
}

TEST(LinearRecords, SkewIsCountedCounterClockwise) {
    struct Case {
        ZXing::Position position;
        double degrees;
    };
    const Case cases[] = {
        {box({0, 0}, {100, 0}, {100, 10}, {0, 10}), 0.0},
        // Reading downwards on the page: turned a quarter clockwise.
        {box({10, 0}, {10, 100}, {0, 100}, {0, 0}), 270.0},
        {box({100, 10}, {0, 10}, {0, 0}, {100, 0}), 180.0},
        {box({0, 100}, {0, 0}, {10, 0}, {10, 100}), 90.0},
        {box({0, 0}, {0, 0}, {0, 0}, {0, 0}), 0.0},
    };
    for (const Case& c : cases) {
        const double skew = BuildLinearRecord(ZXing::BarcodeFormat::Code39, "]A0", "A", c.position).skewDegrees;
        EXPECT_NEAR(skew, c.degrees, 1e-9);
        EXPECT_GE(skew, 0.0);
        EXPECT_LT(skew, 360.0);
    }
}

class GeneratedSymbols : public ::testing::Test {
protected:
    // The generator's symbol, `scale` pixels a module.
    GreyImage symbol(const LinearCase& c, int scale) {
        const std::string file =
            barcode::testing::ZintFile(folder_, "s.bmp", c.symbology, c.data, scale, "BMP", "--notext");
        EXPECT_FALSE(file.empty()) << "zint failed on " << c.symbology;
        const std::vector<uint8_t> bytes = barcode::testing::FileBytes(file);
        if (bytes.size() < 14) return {};
        return barcode::GreyFromPackedDib(std::span(bytes).subspan(14)).value_or(GreyImage{});
    }
    files::testing::ScratchFolder folder_{"linear-symbols"};
};

TEST_F(GeneratedSymbols, EveryTypeReadsWithItsTextAndTypeAtEveryQuarterTurn) {
    for (const LinearCase& c : LinearCases()) {
        const GreyImage code = symbol(c, 2);
        ASSERT_GT(code.width, 0) << c.symbology;
        for (double angle : {0.0, 90.0, 180.0, 270.0, 6.0}) {
            GreyImage page = barcode::testing::WhitePage(1000, 1000);
            barcode::testing::Stamp(page, code, 480, 520, angle);
            const std::vector<barcode::BarcodeRecord> found = ReadLinearCodes(page, 1, 255);
            ASSERT_EQ(found.size(), 1u) << c.symbology << " at " << angle;
            EXPECT_EQ(found[0].value, c.text) << c.symbology << " at " << angle;
            EXPECT_EQ(found[0].type, c.type) << c.symbology << " at " << angle;
            // Every corner on the symbol as stamped.
            const double reach = std::hypot(code.width, code.height) / 2 + 4;
            for (const barcode::CornerPoint& p : found[0].corners)
                EXPECT_LE(std::hypot(p.x - 480.0, p.y - 520.0), reach) << c.symbology << " at " << angle;
        }
    }
}

TEST_F(GeneratedSymbols, TheReadingDirectionGivesTheSkew) {
    const GreyImage code = symbol(LinearCases()[3], 3);
    for (double clockwise : {0.0, 8.0, 90.0, 97.0, 180.0, 174.0, 270.0, 355.0, 12.0}) {
        GreyImage page = barcode::testing::WhitePage(1400, 1400);
        barcode::testing::Stamp(page, code, 700, 700, clockwise);
        const auto found = ReadLinearCodes(page, 1, 255);
        ASSERT_EQ(found.size(), 1u) << clockwise;
        const double expected = std::fmod(360.0 - clockwise, 360.0);
        double difference = std::fabs(found[0].skewDegrees - expected);
        difference = std::min(difference, 360.0 - difference);
        EXPECT_LT(difference, 1.5) << clockwise << " read as " << found[0].skewDegrees;
    }
}

TEST_F(GeneratedSymbols, SpeedModeReadsUprightCodesAndAPageHoldsThemAll) {
    // An A4 page at 300 dpi, two columns of codes.
    GreyImage page = barcode::testing::WhitePage(2480, 3508);
    std::set<std::pair<std::string, int32_t>> expected;
    int i = 0;
    for (const LinearCase& c : LinearCases()) {
        const GreyImage code = symbol(c, 2 + i % 2);
        barcode::testing::Stamp(page, code, 650 + (i % 2) * 1200, 350 + (i / 2) * 650, (i % 3 == 0) ? 180.0 : 0.0);
        expected.insert({c.text, c.type});
        ++i;
    }
    for (uint8_t mode : {0, 1}) {
        std::set<std::pair<std::string, int32_t>> read;
        for (const auto& r : ReadLinearCodes(page, mode, 255)) read.insert({r.value, r.type});
        EXPECT_EQ(read, expected) << "mode " << int(mode);
    }
    EXPECT_EQ(ReadLinearCodes(page, 1, 4).size(), 4u);
}

TEST_F(GeneratedSymbols, APageWithoutCodesGivesNone) {
    GreyImage page = barcode::testing::WhitePage(1200, 900);
    // Text-like strokes that are no code.
    for (int y = 100; y < 800; y += 40)
        for (int x = 100; x < 1100; x += 7 + (x * y) % 11)
            for (int d = 0; d < 14; ++d) page.pixels[size_t(y + d) * 1200 + x] = 0;
    EXPECT_TRUE(ReadLinearCodes(page, 1, 255).empty());
    EXPECT_TRUE(ReadLinearCodes(barcode::testing::WhitePage(10, 10), 1, 255).empty());
    EXPECT_TRUE(ReadLinearCodes(GreyImage{}, 1, 255).empty());
}

}  // namespace
}  // namespace mvbarcode1d
