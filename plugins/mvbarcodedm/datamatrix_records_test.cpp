#include "plugins/mvbarcodedm/datamatrix_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "plugins/barcode_scanner/packed_dib.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"
#include "plugins/mvbarcodedm/candidate_areas.h"

namespace mvbarcodedm {
namespace {

using barcode::GreyImage;

TEST(DataMatrixRecords, BytesEndAtANulAndRowsAndColumnsStay) {
    const uint8_t bytes[] = {'A', 'b', 0xE9, 0, 'z'};
    barcode::BarcodeRecord r = BuildDataMatrixRecord(bytes, {}, 10, 16, 48);
    EXPECT_EQ(r.value, "Ab\xE9");
    EXPECT_EQ(r.rows, 16);
    EXPECT_EQ(r.columns, 48);
    EXPECT_EQ(BuildDataMatrixRecord({}, {}, 10, 0, 0).value, "");
}

TEST(DataMatrixRecords, CornersTurnUpsideDownAndRoundHalfToEven) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::array<RawPoint, 4> raw{{{2.5, 99.0}, {3.5, 0.0}, {nan, 49.5}, {1e12, -1e12}}};
    barcode::BarcodeRecord r = BuildDataMatrixRecord({}, raw, 100, 0, 0);
    EXPECT_EQ(r.corners[0].x, 2);
    EXPECT_EQ(r.corners[0].y, 0);
    EXPECT_EQ(r.corners[1].x, 4);
    EXPECT_EQ(r.corners[1].y, 99);
    EXPECT_EQ(r.corners[2].x, 0);
    EXPECT_EQ(r.corners[2].y, 50);  // 49.5 rounds to even
    EXPECT_EQ(r.corners[3].x, INT32_MAX);
    EXPECT_EQ(r.corners[3].y, INT32_MAX);
}

class GeneratedSymbols : public ::testing::Test {
protected:
    GreyImage symbol(const std::string& data, int scale, const std::string& options = "") {
        const std::string file = barcode::testing::ZintFile(folder_, "dm.bmp", "DATAMATRIX", data, scale, "BMP", options);
        EXPECT_FALSE(file.empty()) << "zint failed";
        const std::vector<uint8_t> bytes = barcode::testing::FileBytes(file);
        if (bytes.size() < 14) return {};
        return barcode::GreyFromPackedDib(std::span(bytes).subspan(14)).value_or(GreyImage{});
    }
    files::testing::ScratchFolder folder_{"datamatrix-symbols"};
};

TEST_F(GeneratedSymbols, SymbolsReadAnywhereAtAnySizeAndAngle) {
    struct Case {
        std::string data;
        int scale;
        std::string options;
        double x, y, angle;
    };
    const Case cases[] = {
        {"Invoice 4711", 2, "", 150, 150, 0},
        {"Bill of 2026-12-11, total 118.40", 3, "", 1050, 220, 30},
        {"X", 4, "", 900, 1150, 90},
        {"RECT-0042", 3, "--square --dmre", 300, 1000, 200},
        {"Rectangular", 3, "--dmre", 600, 600, 0},
        {"Large modules", 10, "--square", 620, 700, 15},
    };
    for (const Case& c : cases) {
        const GreyImage code = symbol(c.data, c.scale, c.options);
        ASSERT_GT(code.width, 0);
        GreyImage page = barcode::testing::WhitePage(1240, 1400);
        barcode::testing::Stamp(page, code, c.x, c.y, c.angle);
        const auto found = ReadDataMatrixCodes(page, 255);
        ASSERT_EQ(found.size(), 1u) << c.data;
        EXPECT_EQ(found[0].value, c.data);
        // zint draws a module as 2 x scale pixels, without a quiet zone.
        EXPECT_EQ(found[0].rows, code.height / (2 * c.scale)) << c.data;
        EXPECT_EQ(found[0].columns, code.width / (2 * c.scale)) << c.data;
        // Corners 1 to 4: top-left, top-right, bottom-right, bottom-left of
        // the symbol as drawn, within a module.
        const std::array<std::pair<double, double>, 4> drawn{{{0, 0},
                                                               {double(code.width), 0},
                                                               {double(code.width), double(code.height)},
                                                               {0, double(code.height)}}};
        for (size_t i = 0; i < 4; ++i) {
            const auto [px, py] =
                barcode::testing::StampedPoint(code, c.x, c.y, c.angle, drawn[i].first, drawn[i].second);
            EXPECT_LE(std::hypot(found[0].corners[i].x - px, found[0].corners[i].y - py), 2.0 * c.scale + 2)
                << c.data << " corner " << i + 1 << " at " << found[0].corners[i].x << "," << found[0].corners[i].y
                << " drawn at " << px << "," << py;
        }
    }
}

TEST_F(GeneratedSymbols, APageHoldsManySymbolsAndAnEmptyPageNone) {
    GreyImage page = barcode::testing::WhitePage(1240, 1754);
    std::set<std::string> expected;
    for (int i = 0; i < 6; ++i) {
        const std::string data = "Page item " + std::to_string(i);
        barcode::testing::Stamp(page, symbol(data, 2 + i % 3), 200 + (i % 2) * 700, 250 + (i / 2) * 550, i * 37.0);
        expected.insert(data);
    }
    std::set<std::string> read;
    for (const auto& r : ReadDataMatrixCodes(page, 255)) read.insert(r.value);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(ReadDataMatrixCodes(page, 2).size(), 2u);
    EXPECT_TRUE(ReadDataMatrixCodes(barcode::testing::WhitePage(600, 400), 255).empty());
    EXPECT_TRUE(ReadDataMatrixCodes(GreyImage{}, 255).empty());
}

TEST_F(GeneratedSymbols, OnlyFieldsOfModulesAreSearched) {
    GreyImage page = barcode::testing::WhitePage(1600, 1400);
    // Linear codes, upright and upside down, are no candidates.
    const std::string ean = barcode::testing::ZintFile(folder_, "ean.bmp", "EANX", "400638133393", 3, "BMP", "--notext");
    const std::vector<uint8_t> bytes = barcode::testing::FileBytes(ean);
    ASSERT_GT(bytes.size(), 14u);
    const GreyImage bars = barcode::GreyFromPackedDib(std::span(bytes).subspan(14)).value();
    barcode::testing::Stamp(page, bars, 400, 300, 0);
    barcode::testing::Stamp(page, bars, 400, 850, 180);
    EXPECT_TRUE(CandidateAreas(barcode::testing::WhitePage(700, 500)).empty());
    GreyImage onlyBars = page;
    // Symbols of small and large modules each lie inside one area.
    struct Placed {
        GreyImage symbol;
        double x, y, angle;
    };
    const Placed placed[] = {{symbol("small", 2, "--square"), 1100, 250, 0},
                             {symbol("turned", 3, "--square"), 1200, 650, 40},
                             {symbol("large modules", 12, "--square"), 1150, 1050, 0}};
    for (const Placed& p : placed) barcode::testing::Stamp(page, p.symbol, p.x, p.y, p.angle);
    const std::vector<Area> areas = CandidateAreas(page);
    for (const Area& a : areas) EXPECT_GT(a.left + a.width, 800) << "an area on the bars at " << a.left << "," << a.top;
    for (const Placed& p : placed) {
        // Half the sides of the turned symbol's bounding box.
        const double c = std::fabs(std::cos(p.angle * M_PI / 180)), s = std::fabs(std::sin(p.angle * M_PI / 180));
        const double rx = (p.symbol.width * c + p.symbol.height * s) / 2, ry = (p.symbol.width * s + p.symbol.height * c) / 2;
        const bool inside = std::any_of(areas.begin(), areas.end(), [&](const Area& a) {
            return p.x - rx >= a.left && p.x + rx <= a.left + a.width && p.y - ry >= a.top &&
                   p.y + ry <= a.top + a.height;
        });
        EXPECT_TRUE(inside) << p.x << "," << p.y;
    }
    EXPECT_EQ(ReadDataMatrixCodes(page, 255).size(), 3u);
    EXPECT_TRUE(CandidateAreas(onlyBars).empty());
}

}  // namespace
}  // namespace mvbarcodedm
