#include "plugins/mvbarcodedm/datamatrix_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "plugins/barcode_scanner/packed_dib.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"

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

}  // namespace
}  // namespace mvbarcodedm
