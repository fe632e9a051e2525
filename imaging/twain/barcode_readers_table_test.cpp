// The linear and DataMatrix reader members of _Twain called by dispatch ID on
// one page of 1000 x 800 pixels with two codes of each kind, each at its own
// place (x never equal to y) and of its own type, angle or size: every
// per-code member is checked for each code number against the code whose
// value that number answers, so a member that mixes up the first and the
// last code, or x and y, fails.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "imaging/twain/barcode_plugins.h"
#include "imaging/twain/barcode_readers.h"
#include "imaging/twain/testing/barcode_pages.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/com/bstr.h"

namespace scanvelt::testing {
namespace {

using namespace com;
using barcode::GreyImage;

// A code stamped on the page: its value, where its centre is, how far it
// reaches from there (half its width and height, turned with it) and what
// the reader tells of it.
struct StampedCode {
    std::string value;
    double centreX, centreY, halfWidth, halfHeight;
    double clockwise;
    int32_t type;      // linear codes
    bool checksum;     // linear codes
    int32_t modules;   // DataMatrix rows and columns
};

class BarcodeTable;

struct BarcodeRow {
    const char* member;
    void (*run)(BarcodeTable&);  // after the page was scanned by the member's reader
};

class BarcodeTable : public TwainTable {
public:
    using TwainTable::call;
    BarcodeTable() {
        SetBarcodePluginFile(BarcodePluginKind::Linear, MVBARCODE1D_PATH);
        SetBarcodePluginFile(BarcodePluginKind::DataMatrix, MVBARCODEDM_PATH);
    }
    ~BarcodeTable() override {
        control().setCurrentImage(0);
        if (page_) ReleaseImage(page_);
        SetBarcodePluginFile(BarcodePluginKind::Linear, "");
        SetBarcodePluginFile(BarcodePluginKind::DataMatrix, "");
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }

    // The page with its four codes, made once, as the current image.
    void showPage() {
        if (!page_) {
            GreyImage page = barcode::testing::WhitePage(1000, 800);
            const auto stamp = [&](const GreyImage& symbol, StampedCode& code) {
                barcode::testing::Stamp(page, symbol, code.centreX, code.centreY, code.clockwise);
                code.halfWidth = symbol.width / 2.0, code.halfHeight = symbol.height / 2.0;
            };
            stamp(testing_support::ZintSymbol(folder_, "EANX", "400638133393", 2), linear[0]);
            stamp(testing_support::ZintSymbol(folder_, "CODE93", "CODE93 TEST", 2), linear[1]);
            stamp(testing_support::ZintSymbol(folder_, "DATAMATRIX", "Matrix 7", 3, "--square"), matrix[0]);
            stamp(testing_support::ZintSymbol(folder_, "DATAMATRIX", "Voucher 2026/12 for 42 bills", 3, "--square"),
                  matrix[1]);
            page_ = testing_support::EngineImageOf(page, 300);
        }
        control().setCurrentImage(page_);
    }
    std::string text(const char* member, int32_t number) {
        VARIANT result = call(member, {MakeI4(number)});
        std::string value = result.vt == VT_BSTR ? BstrToUtf8(result.bstrVal) : "(not a text)";
        VariantClear(&result);
        return value;
    }
    // The stamped code that code number n of the reader reads as.
    const StampedCode* codeOf(bool isLinear, int32_t n) {
        const std::string value =
            text(isLinear ? "Barcode1DReaderGetBarcodeValue" : "BarcodeDataMatrixReaderGetBarcodeValue", n);
        for (const StampedCode& code : isLinear ? linear : matrix)
            if (code.value == value) return &code;
        ADD_FAILURE() << "code " << n << " reads " << value;
        return nullptr;
    }

    // Left-hand codes are higher up than right-hand ones, and no centre has x equal to y.
    StampedCode linear[2] = {{"4006381333931", 260, 170, 0, 0, 0, -32768, true, 0},
                             {"CODE93 TEST", 330, 560, 0, 0, 180, 16384, true, 0}};
    StampedCode matrix[2] = {{"Matrix 7", 780, 230, 0, 0, 0, 0, false, 14},
                             {"Voucher 2026/12 for 42 bills", 720, 600, 0, 0, 0, 0, false, 20}};

private:
    files::testing::ScratchFolder folder_{"barcode-table"};
    int32_t page_ = 0;
};

const char* prefixOf(bool isLinear) { return isLinear ? "Barcode1DReader" : "BarcodeDataMatrixReader"; }
std::string memberOf(bool isLinear, const char* name) { return std::string(prefixOf(isLinear)) + name; }

void expectCount(BarcodeTable& t, bool isLinear) {
    EXPECT_EQ(t.call(memberOf(isLinear, "GetBarcodeCount").c_str()).lVal, 2);
}
// Both codes' values, in some order; "" outside 1..2.
void expectValues(BarcodeTable& t, bool isLinear) {
    const std::string member = memberOf(isLinear, "GetBarcodeValue");
    const StampedCode* codes = isLinear ? t.linear : t.matrix;
    const std::set<std::string> read = {t.text(member.c_str(), 1), t.text(member.c_str(), 2)};
    EXPECT_EQ(read, (std::set<std::string>{codes[0].value, codes[1].value}));
    EXPECT_EQ(t.text(member.c_str(), 0), "");
    EXPECT_EQ(t.text(member.c_str(), 3), "");
}
// A whole-number field of each code found, 0 for a number past the list.
void expectField(BarcodeTable& t, bool isLinear, const char* name, int32_t (*field)(const StampedCode&)) {
    const std::string member = memberOf(isLinear, name);
    for (int32_t n : {1, 2})
        if (const StampedCode* code = t.codeOf(isLinear, n))
            EXPECT_EQ(t.call(member.c_str(), {MakeI4(n)}).lVal, field(*code)) << code->value;
    EXPECT_EQ(t.call(member.c_str(), {MakeI4(3)}).lVal, 0);
}
// Cleared: no code, no value; the other reader has none either (each scan clears both).
void expectCleared(BarcodeTable& t, bool isLinear) {
    t.call(memberOf(isLinear, "Clear").c_str());
    EXPECT_EQ(t.call(memberOf(isLinear, "GetBarcodeCount").c_str()).lVal, 0);
    EXPECT_EQ(t.text(memberOf(isLinear, "GetBarcodeValue").c_str(), 1), "");
    EXPECT_EQ(t.call(memberOf(!isLinear, "GetBarcodeCount").c_str()).lVal, 0);
}
// The scan left status 0 and the other reader nothing; without an image a scan fails.
void expectScanned(BarcodeTable& t, bool isLinear) {
    EXPECT_EQ(t.call("GetStat").lVal, 0);
    EXPECT_EQ(t.call(memberOf(!isLinear, "GetBarcodeCount").c_str()).lVal, 0);
    t.control().setCurrentImage(0);
    EXPECT_NE(t.call(memberOf(isLinear, "DoScan").c_str(), {MakeI4(kBarcodeBestSpeed)}).lVal, 0) << "no image";
}

// Corner k (1 top left, 2 top right, 3 bottom right, 4 bottom left of the
// upright code) of every code found, within the code's reach and, across the
// code, on its side of the code's centre.
void expectCorner(BarcodeTable& t, bool isLinear, int corner, bool isX) {
    const std::string member = memberOf(isLinear, "GetBarcode") + (isX ? "X" : "Y") + std::to_string(corner);
    const int32_t count = t.call(memberOf(isLinear, "GetBarcodeCount").c_str()).lVal;
    ASSERT_EQ(count, 2) << "read: " << t.text(memberOf(isLinear, "GetBarcodeValue").c_str(), 1);
    for (int32_t n = 1; n <= count; ++n) {
        const StampedCode* code = t.codeOf(isLinear, n);
        ASSERT_NE(code, nullptr);
        const double value = t.call(member.c_str(), {MakeI4(n)}).lVal;
        const double centre = isX ? code->centreX : code->centreY;
        const double reach = std::hypot(code->halfWidth, code->halfHeight) + 4;
        // The corner's side of the upright code, turned with the code.
        const double sideX = (corner == 2 || corner == 3) ? 1 : -1, sideY = corner >= 3 ? 1 : -1;
        const double radians = code->clockwise * std::numbers::pi / 180.0;
        const bool after = (isX ? std::cos(radians) * sideX - std::sin(radians) * sideY
                                : std::sin(radians) * sideX + std::cos(radians) * sideY) > 0;
        SCOPED_TRACE(member + " of " + code->value);
        EXPECT_LE(std::fabs(value - centre), reach);
        if (isLinear && !isX) {
            // A linear code's corners are the ends of its reading line, a
            // pixel or two thick: level with each other on a level code.
            const double y1 = t.call(memberOf(true, "GetBarcodeY1").c_str(), {MakeI4(n)}).lVal;
            EXPECT_LE(std::fabs(value - y1), 3);
        } else if (after)
            EXPECT_GT(value, centre);
        else
            EXPECT_LT(value, centre);
    }
    EXPECT_EQ(t.call(member.c_str(), {MakeI4(0)}).lVal, 0);
    EXPECT_EQ(t.call(member.c_str(), {MakeI4(count + 1)}).lVal, 0);
}

// Both readers' rows; a row runs after its reader scanned the page.
std::vector<BarcodeRow> barcodeRows() {
    std::vector<BarcodeRow> rows = {
        {"Barcode1DReaderGetBarcodeCount", [](BarcodeTable& t) { expectCount(t, true); }},
        {"Barcode1DReaderGetBarcodeValue", [](BarcodeTable& t) { expectValues(t, true); }},
        {"Barcode1DReaderGetBarcodeType",
         [](BarcodeTable& t) {
             expectField(t, true, "GetBarcodeType", [](const StampedCode& c) { return c.type; });
         }},
        {"Barcode1DReaderGetBarcodeSkewAngle",
         [](BarcodeTable& t) {
             for (int32_t n : {1, 2})
                 if (const StampedCode* code = t.codeOf(true, n))
                     EXPECT_NEAR(t.call("Barcode1DReaderGetBarcodeSkewAngle", {MakeI4(n)}).dblVal, code->clockwise,
                                 1.5)
                         << code->value;
             EXPECT_EQ(t.call("Barcode1DReaderGetBarcodeSkewAngle", {MakeI4(0)}).dblVal, 0.0);
         }},
        {"Barcode1DReaderBarcodeHasChecksum",
         [](BarcodeTable& t) {
             for (int32_t n : {1, 2})
                 if (const StampedCode* code = t.codeOf(true, n))
                     EXPECT_EQ(t.call("Barcode1DReaderBarcodeHasChecksum", {MakeI4(n)}).boolVal == VARIANT_TRUE,
                               code->checksum)
                         << code->value;
             EXPECT_EQ(t.call("Barcode1DReaderBarcodeHasChecksum", {MakeI4(3)}).boolVal, VARIANT_FALSE);
         }},
        {"Barcode1DReaderDoScan", [](BarcodeTable& t) { expectScanned(t, true); }},
        {"Barcode1DReaderClear", [](BarcodeTable& t) { expectCleared(t, true); }},
        {"BarcodeDataMatrixReaderGetBarcodeCount", [](BarcodeTable& t) { expectCount(t, false); }},
        {"BarcodeDataMatrixReaderGetBarcodeValue", [](BarcodeTable& t) { expectValues(t, false); }},
        {"BarcodeDataMatrixReaderGetBarcodeRows",
         [](BarcodeTable& t) {
             expectField(t, false, "GetBarcodeRows", [](const StampedCode& c) { return c.modules; });
         }},
        {"BarcodeDataMatrixReaderGetBarcodeColumns",
         [](BarcodeTable& t) {
             expectField(t, false, "GetBarcodeColumns", [](const StampedCode& c) { return c.modules; });
         }},
        {"BarcodeDataMatrixReaderDoScan", [](BarcodeTable& t) { expectScanned(t, false); }},
        {"BarcodeDataMatrixReaderClear", [](BarcodeTable& t) { expectCleared(t, false); }},
    };
    return rows;
}

// The eight corner members of each reader, named for the table.
struct CornerRow {
    std::string member;
    bool isLinear;
    int corner;
    bool isX;
};
std::vector<CornerRow> cornerRows() {
    std::vector<CornerRow> rows;
    for (bool isLinear : {true, false})
        for (int corner = 1; corner <= 4; ++corner)
            for (bool isX : {true, false})
                rows.push_back({memberOf(isLinear, "GetBarcode") + (isX ? "X" : "Y") + std::to_string(corner),
                                isLinear, corner, isX});
    return rows;
}

const std::vector<BarcodeRow> kBarcodeRows = barcodeRows();
const std::vector<CornerRow> kCornerRows = cornerRows();
const bool kBarcodeRowsRegistered =
    RegisterMemberTable("_Twain", kBarcodeRows) && RegisterMemberTable("_Twain", kCornerRows);

bool isLinearMember(const std::string& member) { return member.rfind("Barcode1DReader", 0) == 0; }
// A row that leaves its reader without the page's codes: the next row scans again.
bool spoilsTheScan(const std::string& member) {
    return member.find("DoScan") != std::string::npos || member.find("Clear") != std::string::npos;
}

// The page shown and scanned by one reader (the other one cleared), best quality.
void scan(BarcodeTable& t, bool isLinear) {
    t.showPage();
    t.call("Barcode1DReaderClear");
    t.call("BarcodeDataMatrixReaderClear");
    const char* doScan = isLinear ? "Barcode1DReaderDoScan" : "BarcodeDataMatrixReaderDoScan";
    EXPECT_EQ(t.call(doScan, {MakeI4(kBarcodeBestQuality)}).lVal, 0);
}

// Scanning is slow: each reader scans the page once for its corners and the
// rows that only ask, and again after each row that spoils the scan.
TEST_F(BarcodeTable, EachReaderMemberHasItsEffect) {
    ASSERT_TRUE(kBarcodeRowsRegistered);
    for (bool isLinear : {true, false}) {
        SCOPED_TRACE(isLinear ? "linear" : "DataMatrix");
        scan(*this, isLinear);
        for (const CornerRow& row : kCornerRows)
            if (row.isLinear == isLinear) expectCorner(*this, row.isLinear, row.corner, row.isX);
        bool scanned = true;
        for (const BarcodeRow& row : kBarcodeRows) {
            if (isLinearMember(row.member) != isLinear) continue;
            SCOPED_TRACE(row.member);
            if (!scanned) scan(*this, isLinear);
            row.run(*this);
            scanned = !spoilsTheScan(row.member);
        }
    }
}

}  // namespace
}  // namespace scanvelt::testing
