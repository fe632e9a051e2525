// The barcode readers over the build tree's plug-ins, on pages with symbols
// drawn by an outside generator (zint).
#include "imaging/twain/barcode_readers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/pixel_format_conversion.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/barcode_members.h"
#include "imaging/twain/twain_object.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/bitmap_data.h"
#include "platform/win/global_memory.h"
#include "platform/win/message_box.h"
#include "imaging/twain/testing/barcode_pages.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"

namespace scanvelt {
namespace {

using barcode::GreyImage;
using barcode::testing::LinearCases;

using testing_support::EngineImageOf;

class BarcodeReadersTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetBarcodePluginFile(BarcodePluginKind::Linear, MVBARCODE1D_PATH);
        SetBarcodePluginFile(BarcodePluginKind::DataMatrix, MVBARCODEDM_PATH);
        win::SetMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            return 1;
        });
    }
    void TearDown() override {
        win::SetMessageBoxHandler(nullptr);
        SetBarcodePluginFile(BarcodePluginKind::Linear, "");
        SetBarcodePluginFile(BarcodePluginKind::DataMatrix, "");
        EngineTest::TearDown();
    }
    GreyImage symbol(const std::string& symbology, const std::string& data, int scale,
                     const std::string& options = "--notext") {
        return testing_support::ZintSymbol(folder_, symbology, data, scale, options);
    }
    std::vector<win::MessageBoxRequest> shown;
    files::testing::ScratchFolder folder_{"barcode-readers"};
};

MorvalenStatus scanWhole(BarcodeReader& reader, int32_t id, int32_t mode = kBarcodeBestQuality) {
    int32_t top = 0, width = 0, height = 0;
    return reader.ReadBarcodes(id, 0, top, width, height, mode, false);
}

TEST_F(BarcodeReadersTest, AMissingOrOldPluginGivesItsStatusAndMessage) {
    struct Case {
        BarcodePluginKind kind;
        std::string file;
        MorvalenStatus status;
        std::string message;
    };
    const Case cases[] = {
        {BarcodePluginKind::Linear, "/nowhere/libmvbarcode.1dreader.so", BarcodeReader1DPluginNotLoaded,
         "Can't found mvbarcode.1dreader.dll file."},
        {BarcodePluginKind::Linear, MVBARCODE1D_OLD_PATH, BarcodeReader1DPluginNotLoaded,
         "Bad mvbarcode.1dreader.dll version."},
        {BarcodePluginKind::DataMatrix, "/nowhere/libmvbarcode.dmreader.so", BarcodeReaderDataMatrixPluginNotLoaded,
         "Can't found mvbarcode.dmreader.dll file."},
        {BarcodePluginKind::DataMatrix, MVBARCODEDM_OLD_PATH, BarcodeReaderDataMatrixPluginNotLoaded,
         "Bad mvbarcode.dmreader.dll version."},
        // A file with a version that is not the plug-in of its kind: no message.
        {BarcodePluginKind::DataMatrix, MVBARCODE1D_PATH, BarcodeReaderDataMatrixPluginNotLoaded, ""},
    };
    const int32_t page = EngineImageOf(barcode::testing::WhitePage(50, 50), 300);
    for (const Case& c : cases) {
        shown.clear();
        SetBarcodePluginFile(c.kind, c.file);
        Barcode1DReader linear;
        BarcodeDMReader matrix;
        BarcodeReader& reader = c.kind == BarcodePluginKind::Linear ? static_cast<BarcodeReader&>(linear) : matrix;
        EXPECT_EQ(scanWhole(reader, page), c.status) << c.file;
        if (c.message.empty()) {
            EXPECT_TRUE(shown.empty()) << c.file;
        } else {
            ASSERT_EQ(shown.size(), 1u) << c.file;
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(shown[0].title, "Error");
            EXPECT_EQ(shown[0].style & 0xF0, win::MB_ICONERROR);
        }
        SetBarcodePluginFile(c.kind, "");
    }
}

TEST_F(BarcodeReadersTest, EveryLinearTypeOnOnePageReadsWithTextTypeAndPlace) {
    GreyImage page = barcode::testing::WhitePage(2480, 3508);
    std::map<std::string, std::pair<int32_t, std::pair<double, double>>> expected;
    int i = 0;
    for (const auto& c : LinearCases()) {
        const double x = 650 + (i % 2) * 1200, y = 350 + (i / 2) * 650;
        barcode::testing::Stamp(page, symbol(c.symbology, c.data, 2 + i % 2), x, y, i % 3 == 1 ? 180.0 : 0.0);
        expected[c.text] = {c.type, {x, y}};
        ++i;
    }
    const int32_t id = EngineImageOf(page, 300);
    Barcode1DReader reader;
    ASSERT_EQ(scanWhole(reader, id), OK);
    ASSERT_EQ(reader.GetBarcodeCount(), int32_t(expected.size()));
    for (int32_t n = 1; n <= reader.GetBarcodeCount(); ++n) {
        const std::string value = reader.GetBarcodeValue(n);
        ASSERT_TRUE(expected.count(value)) << value;
        EXPECT_EQ(reader.GetBarcodeType(n), expected[value].first) << value;
        const double cx = (reader.GetBarcodeX1(n) + reader.GetBarcodeX3(n)) / 2.0;
        const double cy = (reader.GetBarcodeY1(n) + reader.GetBarcodeY3(n)) / 2.0;
        // The reading line lies somewhere across the bars.
        EXPECT_LT(std::hypot(cx - expected[value].second.first, cy - expected[value].second.second), 200) << value;
        expected.erase(value);
    }
    // Out of range: nothing, without asking the plug-in.
    for (int32_t n : {0, -1, reader.GetBarcodeCount() + 1}) {
        EXPECT_EQ(reader.GetBarcodeValue(n), "");
        EXPECT_EQ(reader.GetBarcodeType(n), 0);
        EXPECT_EQ(reader.GetBarcodeX1(n), 0);
        EXPECT_EQ(reader.GetBarcodeY4(n), 0);
        EXPECT_EQ(reader.GetBarcodeSkewAngle(n), 0.0);
        EXPECT_FALSE(reader.HasCheckSum(n));
    }
    reader.ClearScanner();
    EXPECT_EQ(reader.GetBarcodeCount(), 0);
    EXPECT_EQ(reader.GetBarcodeValue(1), "");
}

TEST_F(BarcodeReadersTest, DataMatrixSymbolsReadAnywhereWithRowsAndColumns) {
    GreyImage page = barcode::testing::WhitePage(1654, 2339);  // A4 at 200 dpi
    std::set<std::string> expected;
    for (int i = 0; i < 5; ++i) {
        const std::string data = "Voucher " + std::to_string(100 + i);
        barcode::testing::Stamp(page, symbol("DATAMATRIX", data, 2 + i % 2, "--square"), 250 + (i % 2) * 1100, 300 + i * 420,
                                i * 50.0);
        expected.insert(data);
    }
    // 32 bits a pixel: converted to 24 before the scan.
    const int32_t id = EngineImageOf(page, 200, gdiplus::PixelFormat32bppARGB);
    BarcodeDMReader reader;
    ASSERT_EQ(scanWhole(reader, id), OK);
    std::set<std::string> read;
    for (int32_t n = 1; n <= reader.GetBarcodeCount(); ++n) {
        read.insert(reader.GetBarcodeValue(n));
        EXPECT_GE(reader.GetBarcodeRows(n), 10);
        EXPECT_EQ(reader.GetBarcodeRows(n), reader.GetBarcodeColumns(n));
    }
    EXPECT_EQ(read, expected);
    EXPECT_EQ(reader.GetBarcodeRows(0), 0);
    EXPECT_EQ(reader.GetBarcodeColumns(reader.GetBarcodeCount() + 1), 0);
}

TEST_F(BarcodeReadersTest, ARegionIsScannedAloneAndAnswersInItsOwnPixels) {
    GreyImage page = barcode::testing::WhitePage(1200, 900);
    barcode::testing::Stamp(page, symbol("CODE128", "LEFT", 2), 300, 300, 0);
    const GreyImage right = symbol("CODE128", "RIGHT", 2);
    barcode::testing::Stamp(page, right, 900, 600, 0);
    const int32_t id = EngineImageOf(page, 300);
    Barcode1DReader reader;
    ASSERT_EQ(scanWhole(reader, id), OK);
    ASSERT_EQ(reader.GetBarcodeCount(), 2);
    const int32_t n = reader.GetBarcodeValue(1) == "RIGHT" ? 1 : 2;
    const int32_t x1 = reader.GetBarcodeX1(n), y1 = reader.GetBarcodeY1(n);

    int32_t top = 400, width = 550, height = 450;
    ASSERT_EQ(reader.ReadBarcodes(id, 620, top, width, height, kBarcodeBestSpeed, false), OK);
    ASSERT_EQ(reader.GetBarcodeCount(), 1);
    EXPECT_EQ(reader.GetBarcodeValue(1), "RIGHT");
    EXPECT_NEAR(reader.GetBarcodeX1(1), x1 - 620, 2);
    // The line it was read along may be another one across the bars.
    EXPECT_LE(std::abs(reader.GetBarcodeY1(1) - 200), right.height / 2 + 2);
    EXPECT_LE(std::abs(y1 - 600), right.height / 2 + 2);

    // The same region enlarged: corners come back in the region's pixels,
    // divided by the scale once.
    ASSERT_EQ(reader.ReadBarcodes(id, 620, top, width, height, kBarcodeBestSpeed, true), OK);
    EXPECT_EQ(reader.scale(), 2.0);
    ASSERT_EQ(reader.GetBarcodeCount(), 1);
    EXPECT_NEAR(reader.GetBarcodeX1(1), x1 - 620, 3);
    EXPECT_LT(reader.GetBarcodeX3(1), width);
}

TEST_F(BarcodeReadersTest, EveryPixelFormatIsRead) {
    GreyImage page = barcode::testing::WhitePage(900, 700);
    barcode::testing::Stamp(page, symbol("CODE128", "Formats", 2), 450, 200, 0);
    barcode::testing::Stamp(page, symbol("DATAMATRIX", "Formats", 3, "--square"), 450, 520, 0);
    const int32_t page24 = EngineImageOf(page, 300);
    const size_t blocks = win::LiveGlobalBlockCount();
    // 1 and 24 bits go to the reader as they are, others converted to 24.
    for (int32_t format : {gdiplus::PixelFormat1bppIndexed, gdiplus::PixelFormat8bppIndexed,
                           gdiplus::PixelFormat24bppRGB, gdiplus::PixelFormat32bppARGB,
                           gdiplus::PixelFormat48bppRGB}) {
        int32_t id = 0;
        ASSERT_EQ(ConvertPixelFormat(page24, format, true, id), OK) << format;
        Barcode1DReader linear;
        BarcodeDMReader matrix;
        ASSERT_EQ(scanWhole(linear, id), OK) << format;
        ASSERT_EQ(scanWhole(matrix, id), OK) << format;
        ASSERT_EQ(linear.GetBarcodeCount(), 1) << format;
        ASSERT_EQ(matrix.GetBarcodeCount(), 1) << format;
        EXPECT_EQ(linear.GetBarcodeValue(1), "Formats");
        EXPECT_EQ(matrix.GetBarcodeValue(1), "Formats");
        ReleaseImage(id);
    }
    // The scratch images and DIB blocks of the scans are gone.
    EXPECT_EQ(testing_support::RegisteredImageCount(), 1);
    EXPECT_EQ(win::LiveGlobalBlockCount(), blocks);
}

TEST_F(BarcodeReadersTest, TheSkewIsTheClockwiseLeanOfTheCode) {
    const GreyImage code = symbol("CODE93", "SKEW", 3);
    for (double clockwise : {0.0, 7.0, 90.0, 185.0, 352.0}) {
        GreyImage page = barcode::testing::WhitePage(1000, 1000);
        barcode::testing::Stamp(page, code, 500, 500, clockwise);
        Barcode1DReader reader;
        ASSERT_EQ(scanWhole(reader, EngineImageOf(page, 300)), OK);
        ASSERT_EQ(reader.GetBarcodeCount(), 1) << clockwise;
        const double skew = reader.GetBarcodeSkewAngle(1);
        EXPECT_GE(skew, 0.0);
        EXPECT_LT(skew, 360.0);
        EXPECT_LT(std::min(std::fabs(skew - clockwise), 360 - std::fabs(skew - clockwise)), 1.5) << clockwise;
        EXPECT_TRUE(reader.HasCheckSum(1));
    }
}

TEST_F(BarcodeReadersTest, APageWithoutCodesGivesNoneAndImageZeroGivesTwo) {
    const int32_t id = EngineImageOf(barcode::testing::WhitePage(1000, 800), 300);
    Barcode1DReader linear;
    BarcodeDMReader matrix;
    EXPECT_EQ(scanWhole(linear, id), OK);
    EXPECT_EQ(linear.GetBarcodeCount(), 0);
    EXPECT_EQ(scanWhole(matrix, id), OK);
    EXPECT_EQ(matrix.GetBarcodeCount(), 0);
    EXPECT_EQ(scanWhole(linear, 0), InvalidParameter);
    EXPECT_EQ(scanWhole(matrix, 0), InvalidParameter);
    // A region outside the image: the copy's status.
    int32_t top = 700, width = 500, height = 500;
    EXPECT_EQ(linear.ReadBarcodes(id, 800, top, width, height, kBarcodeBestSpeed, false), InvalidParameter);
    EXPECT_TRUE(shown.empty());
}

TEST_F(BarcodeReadersTest, ACarefulScanThatFindsNothingLooksAgainEnlargedWhenTheAreaIsSmall) {
    struct Case {
        const char* what;
        int32_t imageWidth, imageHeight;
        float dpi;
        int32_t left, top, width, height;
        double scale;
    };
    const Case cases[] = {
        {"small whole image at 200 dpi", 600, 500, 200, 0, 0, 0, 0, 2.0},
        {"small whole image at 50 dpi", 600, 500, 50, 0, 0, 0, 0, 3.0},
        {"large whole image", 700, 600, 200, 0, 0, 0, 0, 1.0},
        {"small region of a low-resolution image", 1000, 1000, 100, 600, 0, 200, 200, 2.0},
        // At the top edge the region's own area counts, not its top.
        {"large region at the top", 1000, 1000, 100, 0, 0, 900, 900, 1.0},
        {"small region of a high-resolution image", 1000, 1000, 300, 600, 0, 200, 200, 1.0},
    };
    for (const Case& c : cases) {
        const int32_t id = EngineImageOf(barcode::testing::WhitePage(c.imageWidth, c.imageHeight), c.dpi);
        Barcode1DReader reader;
        int32_t top = c.top, width = c.width, height = c.height;
        ASSERT_EQ(reader.ReadBarcodes(id, c.left, top, width, height, kBarcodeBestQuality, false), OK) << c.what;
        EXPECT_EQ(reader.scale(), c.scale) << c.what;
        // A zero region is filled in with the image's size by the enlarged scan.
        if (c.width == 0 && c.scale != 1.0) {
            EXPECT_EQ(width, c.imageWidth) << c.what;
        }
        // Speed mode never looks again.
        ASSERT_EQ(reader.ReadBarcodes(id, c.left, top = c.top, width = c.width, height = c.height, kBarcodeBestSpeed,
                                      false),
                  OK);
        EXPECT_EQ(reader.scale(), 1.0) << c.what;
        ReleaseImage(id);
    }
}

TEST_F(BarcodeReadersTest, TheControlScansItsRegion) {
    GreyImage page = barcode::testing::WhitePage(1200, 900);
    barcode::testing::Stamp(page, symbol("CODE39", "ONE", 2), 300, 250, 0);
    barcode::testing::Stamp(page, symbol("DATAMATRIX", "TWO", 3), 900, 650, 20);
    TwainControl control;
    EXPECT_EQ(Barcode1DReaderDoScan(control, kBarcodeBestQuality), InvalidParameter);
    control.setCurrentImage(EngineImageOf(page, 300));
    control.setLastStatus(OK);
    EXPECT_EQ(Barcode1DReaderDoScan(control, kBarcodeBestQuality), OK);
    EXPECT_EQ(control.linearReader().GetBarcodeCount(), 1);
    EXPECT_EQ(control.linearReader().GetBarcodeValue(1), "ONE");
    EXPECT_EQ(BarcodeDataMatrixReaderDoScan(control, kBarcodeBestSpeed), OK);
    EXPECT_EQ(control.dataMatrixReader().GetBarcodeCount(), 1);
    control.SetROI(600, 400, 600, 500);
    EXPECT_EQ(Barcode1DReaderDoScan(control, kBarcodeBestQuality), OK);
    EXPECT_EQ(control.linearReader().GetBarcodeCount(), 0);
    EXPECT_EQ(BarcodeDataMatrixReaderDoScan(control, kBarcodeBestSpeed), OK);
    ASSERT_EQ(control.dataMatrixReader().GetBarcodeCount(), 1);
    EXPECT_EQ(control.dataMatrixReader().GetBarcodeValue(1), "TWO");
    EXPECT_LT(std::abs(control.dataMatrixReader().GetBarcodeX1(1) - 300), 80);
    EXPECT_EQ(control.GetStat(), OK);
}

// The members as a late-bound host reaches them: by dispatch ID only.
TEST_F(BarcodeReadersTest, TheMembersAnswerByDispatchId) {
    using namespace com;
    GreyImage page = barcode::testing::WhitePage(1000, 800);
    const GreyImage ean = symbol("EANX", "400638133393", 2), matrix = symbol("DATAMATRIX", "Matrix 7", 3, "--square");
    barcode::testing::Stamp(page, ean, 300, 200, 0);
    barcode::testing::Stamp(page, matrix, 700, 550, 0);
    IDispatch* twain = nullptr;
    ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain)), S_OK);
    auto call = [&](DISPID id, std::vector<VARIANT> reversed) {
        DISPPARAMS params{reversed.data(), nullptr, uint32_t(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(twain->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK)
            << std::hex << id;
        return result;
    };
    auto text = [&](DISPID id, int32_t n) {
        VARIANT v = call(id, {MakeI4(n)});
        EXPECT_EQ(v.vt, VT_BSTR);
        std::string s = v.vt == VT_BSTR && v.bstrVal ? win::Utf16ToUtf8(v.bstrVal) : "";
        VariantClear(&v);
        return s;
    };
    static_cast<TwainObject*>(twain)->control().setCurrentImage(EngineImageOf(page, 300));

    // Linear: DoScan 0x60030143, count, type, value, skew, check digit, X1 0x60030149, clear 0x60030151.
    EXPECT_EQ(call(0x60030143, {MakeI4(kBarcodeBestQuality)}).lVal, 0);
    EXPECT_EQ(call(0x60030144, {}).lVal, 1);
    EXPECT_EQ(call(0x60030145, {MakeI4(1)}).lVal, -32768);
    EXPECT_EQ(text(0x60030146, 1), "4006381333931");
    EXPECT_EQ(text(0x60030146, 2), "");
    VARIANT skew = call(0x60030147, {MakeI4(1)});
    EXPECT_EQ(skew.vt, VT_R8);
    EXPECT_EQ(skew.dblVal, 0.0);
    EXPECT_EQ(call(0x60030148, {MakeI4(1)}).boolVal, VARIANT_TRUE);
    const int32_t x1 = call(0x60030149, {MakeI4(1)}).lVal, x2 = call(0x6003014b, {MakeI4(1)}).lVal;
    // Between the guard bars, inside the generator's quiet zones.
    EXPECT_GE(x1, 300 - ean.width / 2);
    EXPECT_LE(x2, 300 + ean.width / 2);
    EXPECT_GT(x2 - x1, ean.width * 7 / 10);
    call(0x60030151, {});
    EXPECT_EQ(call(0x60030144, {}).lVal, 0);

    // DataMatrix: DoScan 0x60030155, count, value, X1 0x60030158 .. Y4 0x6003015f, rows, columns, clear.
    EXPECT_EQ(call(0x60030155, {MakeI4(kBarcodeBestSpeed)}).lVal, 0);
    EXPECT_EQ(call(0x60030156, {}).lVal, 1);
    EXPECT_EQ(text(0x60030157, 1), "Matrix 7");
    EXPECT_NEAR(call(0x60030158, {MakeI4(1)}).lVal, 700 - matrix.width / 2, 4);   // top-left x
    EXPECT_NEAR(call(0x6003015f, {MakeI4(1)}).lVal, 550 + matrix.height / 2, 4);  // bottom-left y
    EXPECT_EQ(call(0x60030160, {MakeI4(1)}).lVal, call(0x60030161, {MakeI4(1)}).lVal);
    EXPECT_GE(call(0x60030160, {MakeI4(1)}).lVal, 10);
    EXPECT_EQ(call(0x60030160, {MakeI4(0)}).lVal, 0);
    call(0x60030162, {});
    EXPECT_EQ(call(0x60030156, {}).lVal, 0);
    EXPECT_EQ(twain->Release(), 0u);
}

}  // namespace
}  // namespace scanvelt
