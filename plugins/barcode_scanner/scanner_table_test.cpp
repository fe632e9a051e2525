#include "plugins/barcode_scanner/scanner_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/global_memory.h"

namespace barcode {
namespace {

// A block holding a 1 x 1 white 24-bit DIB.
struct WhiteDib {
    win::HGLOBAL block;
    WhiteDib() {
        uint8_t dib[44] = {40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24};
        dib[40] = dib[41] = dib[42] = 255;
        block = win::GlobalAlloc(win::GMEM_FIXED, sizeof dib);
        std::memcpy(win::GlobalLock(block), dib, sizeof dib);
        win::GlobalUnlock(block);
    }
    ~WhiteDib() { win::GlobalFree(block); }
};

Decoder codes(size_t n) {
    return [n](const GreyImage& picture, const Scanner&) {
        std::vector<BarcodeRecord> records(n);
        for (size_t i = 0; i < n; ++i) {
            records[i].value = "code " + std::to_string(i);
            records[i].corners[0].x = picture.width;
        }
        return records;
    };
}

std::string valueOf(ScannerTable& table, int32_t code) {
    return table.WithCode(code, std::string("none"), [](const BarcodeRecord& r) { return r.value; });
}

TEST(ScannerTable, HandlesAreDistinctAndRefusedOnceFreed) {
    ScannerTable table;
    const int32_t a = table.Create(0), b = table.Create(0);
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_TRUE(table.Free(a));
    EXPECT_FALSE(table.Free(a));
    EXPECT_FALSE(table.SetPerformance(a, 1));
    EXPECT_TRUE(table.SetPerformance(b, 1));
    EXPECT_FALSE(table.Free(12345));
}

TEST(ScannerTable, ScansOnlyWithAPictureAndKeepsAtMostItsCodes) {
    WhiteDib white;
    struct Case {
        int32_t maxCodes;
        size_t found;
        uint8_t kept;
    };
    for (const Case& c : {Case{0, 300, 255}, Case{3, 10, 3}, Case{1000, 256, 255}, Case{-1, 2, 2}}) {
        ScannerTable table;
        const int32_t scanner = table.Create(c.maxCodes);
        EXPECT_FALSE(table.Scan(scanner, codes(c.found)));
        ASSERT_TRUE(table.SetDibSource(scanner, uint32_t(white.block)));
        ASSERT_TRUE(table.Scan(scanner, codes(c.found)));
        EXPECT_EQ(table.CodeCount(scanner), c.kept) << c.maxCodes;
    }
}

TEST(ScannerTable, CodeHandlesNameTheLastScansCodes) {
    WhiteDib white;
    ScannerTable table;
    const int32_t scanner = table.Create(0);
    ASSERT_TRUE(table.SetDibSource(scanner, uint32_t(white.block)));
    ASSERT_TRUE(table.Scan(scanner, codes(3)));
    EXPECT_EQ(table.CodeHandle(scanner, -1), 0);
    EXPECT_EQ(table.CodeHandle(scanner, 3), 0);
    EXPECT_EQ(table.CodeHandle(scanner + 1, 0), 0);
    const int32_t third = table.CodeHandle(scanner, 2);
    EXPECT_EQ(valueOf(table, third), "code 2");
    EXPECT_EQ(table.WithCode(third, -1, [](const BarcodeRecord& r) { return r.corners[0].x; }), 1);
    // A scan with fewer codes leaves the old handle naming nothing.
    ASSERT_TRUE(table.Scan(scanner, codes(1)));
    EXPECT_EQ(valueOf(table, third), "none");
    EXPECT_EQ(valueOf(table, table.CodeHandle(scanner, 0)), "code 0");
    const int32_t first = table.CodeHandle(scanner, 0);
    table.Free(scanner);
    EXPECT_EQ(valueOf(table, first), "none");
    EXPECT_EQ(valueOf(table, 0), "none");
    EXPECT_EQ(valueOf(table, -5), "none");
}

TEST(ScannerTable, ABadPictureDropsTheOldOne) {
    WhiteDib white;
    ScannerTable table;
    const int32_t scanner = table.Create(0);
    ASSERT_TRUE(table.SetDibSource(scanner, uint32_t(white.block)));
    EXPECT_FALSE(table.SetDibSource(scanner, 0));
    EXPECT_FALSE(table.Scan(scanner, codes(1)));
    EXPECT_EQ(table.CodeCount(scanner), 0);
}

}  // namespace
}  // namespace barcode
