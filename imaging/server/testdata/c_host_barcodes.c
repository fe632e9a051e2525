/* A plain C host of the barcode members: it creates Twain by its class ID
 * and calls every barcode member of the shipped library by dispatch ID only.
 * Without a current image a scan answers 2 and every per-code member answers
 * nothing (0, an empty text, False, 0.0). Then it scans a page through the
 * scanning engine's scripted test source (a Code 128 symbol and a DataMatrix
 * symbol drawn by zint, laid on the page by ImageMagick) and reads both, on
 * the whole page and in a region.
 * Usage: c_host_barcodes LIBRARY REGISTRY-FILE. */
#include "c_host_scripted_source.h"
#include "c_host_server.h"

enum {
    kLinearDoScan = 0x60030143,
    kLinearCount = 0x60030144,
    kLinearType = 0x60030145,
    kLinearValue = 0x60030146,
    kLinearSkew = 0x60030147,
    kLinearHasChecksum = 0x60030148,
    kLinearX1 = 0x60030149, /* to Y4 0x60030150 */
    kLinearClear = 0x60030151,
    kMatrixDoScan = 0x60030155,
    kMatrixCount = 0x60030156,
    kMatrixValue = 0x60030157,
    kMatrixX1 = 0x60030158, /* to Y4 0x6003015f */
    kMatrixRows = 0x60030160,
    kMatrixColumns = 0x60030161,
    kMatrixClear = 0x60030162,
    kSetROI = 0x60030137,
    kResetROI = 0x60030138,
    kCloseImage = 0x60030051,
};

/* A member of one code number (or of none with n < 0) answering a Long. */
static int32_t longOf(int32_t id, int32_t n) {
    VARIANT a = argLong(n);
    return callLong(id, &a, n < 0 ? 0 : 1);
}

static const char* textOf(int32_t id, int32_t n) {
    static char text[256];
    VARIANT a = argLong(n);
    return callText(id, &a, 1, text, sizeof text);
}

/* A 1200 x 900 page: "Bill 2026/12" in Code 128 at (100, 100), "Voucher 4711"
 * as a DataMatrix symbol at (800, 550). */
static int writePage(void) {
    char command[2048];
    snprintf(command, sizeof command,
             "zint --barcode=CODE128 --scale=2 --notext --filetype=BMP --output='%s' --data='Bill 2026/12' && "
             "zint --barcode=DATAMATRIX --square --scale=3 --filetype=BMP --output='%s' --data='Voucher 4711' && "
             "convert -size 1200x900 xc:white '%s' -geometry +100+100 -composite '%s' -geometry +800+550 "
             "-composite -type TrueColor -depth 8 'ppm:%s'",
             pathIn("linear.bmp"), pathIn("matrix.bmp"), pathIn("linear.bmp"), pathIn("matrix.bmp"),
             pathIn("page.pnm"));
    return system(command) == 0;
}

static void checkWithoutImage(void) {
    /* No current image: both scans answer 2 and find nothing. */
    CHECK(longOf(kLinearDoScan, 1) == 2);
    CHECK(longOf(kMatrixDoScan, 0) == 2);
    CHECK(longOf(kLinearCount, -1) == 0);
    CHECK(longOf(kMatrixCount, -1) == 0);

    /* A user region changes nothing without an image. */
    VARIANT region[4] = {argLong(10), argLong(20), argLong(300), argLong(200)};
    callNone(kSetROI, region, 4);
    CHECK(longOf(kLinearDoScan, 0) == 2);
    CHECK(longOf(kMatrixDoScan, 1) == 2);
    callNone(kResetROI, NULL, 0);

    /* Every per-code member, for codes 0 and 1: nothing. */
    for (int32_t n = 0; n <= 1; ++n) {
        CHECK(longOf(kLinearType, n) == 0);
        CHECK(strcmp(textOf(kLinearValue, n), "") == 0);
        VARIANT a = argLong(n);
        CHECK(callDouble(kLinearSkew, &a, 1) == 0.0);
        a = argLong(n);
        CHECK(callBool(kLinearHasChecksum, &a, 1) == 0);
        for (int32_t corner = 0; corner < 8; ++corner) {
            CHECK(longOf(kLinearX1 + corner, n) == 0);
            CHECK(longOf(kMatrixX1 + corner, n) == 0);
        }
        CHECK(strcmp(textOf(kMatrixValue, n), "") == 0);
        CHECK(longOf(kMatrixRows, n) == 0);
        CHECK(longOf(kMatrixColumns, n) == 0);
    }

    /* The clears answer nothing and leave the counts at 0. */
    CHECK(invokeMember(kLinearClear, NULL, 0, NULL).vt == 0);
    CHECK(invokeMember(kMatrixClear, NULL, 0, NULL).vt == 0);
    CHECK(longOf(kLinearCount, -1) == 0);
    CHECK(longOf(kMatrixCount, -1) == 0);
}

static void checkScannedPage(void) {
    CHECK(openScriptedSource());
    const int32_t page = scanPage();
    if (page == 0) return;
    CHECK(longOf(kLinearDoScan, 1) == 0);
    CHECK(longOf(kLinearCount, -1) == 1);
    CHECK(strcmp(textOf(kLinearValue, 1), "Bill 2026/12") == 0);
    CHECK(longOf(kLinearType, 1) == 4096);
    const int32_t x1 = longOf(kLinearX1, 1);
    CHECK(x1 >= 95 && x1 <= 130);
    CHECK(longOf(kMatrixDoScan, 0) == 0);
    CHECK(longOf(kMatrixCount, -1) == 1);
    CHECK(strcmp(textOf(kMatrixValue, 1), "Voucher 4711") == 0);
    const int32_t matrixX1 = longOf(kMatrixX1, 1), matrixY1 = longOf(kMatrixX1 + 1, 1);
    CHECK(matrixX1 >= 796 && matrixX1 <= 806 && matrixY1 >= 546 && matrixY1 <= 556);
    CHECK(longOf(kMatrixRows, 1) >= 10);

    /* In a region around the DataMatrix symbol: no linear code, and the
     * symbol's corner relative to the region. */
    VARIANT region[4] = {argLong(700), argLong(450), argLong(450), argLong(400)};
    callNone(kSetROI, region, 4);
    CHECK(longOf(kLinearDoScan, 1) == 0);
    CHECK(longOf(kLinearCount, -1) == 0);
    CHECK(longOf(kMatrixDoScan, 1) == 0);
    CHECK(longOf(kMatrixCount, -1) == 1);
    /* The fit may differ by a pixel between the two searches. */
    CHECK(abs(longOf(kMatrixX1, 1) - (matrixX1 - 700)) <= 2);
    callNone(kResetROI, NULL, 0);
    CHECK(longOf(kCloseImage, page) == 0);
}

static void checkMembers(void) {
    checkWithoutImage();
    checkScannedPage();
}

/* The page, served by the scripted source. */
static int preparePage(void) {
    if (!writePage()) {
        fprintf(stderr, "zint or convert could not draw the page\n");
        return 0;
    }
    useScriptedSource(scratch, pathIn("page.pnm"));
    return 1;
}

int main(int argc, char** argv) { return runTwainHost(argc, argv, "c_host_barcodes", preparePage, checkMembers); }
