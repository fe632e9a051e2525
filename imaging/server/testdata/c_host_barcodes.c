/* A plain C host of the barcode members: it creates Twain by its class ID
 * and calls every barcode member of the shipped library by dispatch ID only.
 * Without a current image a scan answers 2 and every per-code member answers
 * nothing (0, an empty text, False, 0.0). Then it scans a page through the
 * scanning engine's scripted test source (a Code 128 symbol and a DataMatrix
 * symbol drawn by zint, laid on the page by ImageMagick) and reads both, on
 * the whole page and in a region.
 * Usage: c_host_barcodes LIBRARY REGISTRY-FILE. */
#include <sys/stat.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_EMPTY = 0, VT_BSTR = 8, VT_BOOL = 11 };

static Dispatch* twain = NULL;

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
    kTwainAcquireToMorvalenImage = 0x60030078,
    kTwainOpenSource = 0x6003007a,
    kTwainSetHideUI = 0x600300f4,
};

static char scratch[256];

static const char* pathIn(const char* name) {
    static char paths[8][512];
    static int next = 0;
    char* path = paths[next++ % 8];
    snprintf(path, sizeof paths[0], "%s/%s", scratch, name);
    return path;
}


/* The member's result, arguments in the host's order. */
static VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    return invokeMethod(twain, id, arguments, count);
}

static int32_t number(int32_t id, int32_t argument, int withArgument) {
    VARIANT a = variantI4(argument);
    VARIANT result = call(id, &a, withArgument ? 1 : 0);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

/* A text member's answer is empty (a null or zero-length BSTR). */
static int emptyText(int32_t id, int32_t n) {
    VARIANT a = variantI4(n);
    VARIANT result = call(id, &a, 1);
    CHECK(result.vt == VT_BSTR);
    const int empty = result.u.bstrVal == NULL || result.u.bstrVal[0] == 0;
    freeBstr(result.u.bstrVal);
    return empty;
}

/* A text member's answer is `expected`. */
static int textIs(int32_t id, int32_t n, const char* expected) {
    VARIANT a = variantI4(n);
    VARIANT result = call(id, &a, 1);
    CHECK(result.vt == VT_BSTR);
    int same = result.u.bstrVal != NULL;
    size_t i = 0;
    for (; same && expected[i]; ++i) same = result.u.bstrVal[i] == (OLECHAR)(unsigned char)expected[i];
    same = same && result.u.bstrVal[i] == 0;
    freeBstr(result.u.bstrVal);
    return same;
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

/* Scans the page from the scripted source; its image ID. */
static int32_t scanPage(void) {
    VARIANT name = variantI4(0);
    name.vt = VT_BSTR;
    name.u.bstrVal = makeBstr("scripted:0");
    VARIANT opened = call(kTwainOpenSource, &name, 1);
    CHECK(opened.vt == VT_BOOL && opened.u.boolVal != 0);
    VARIANT hide = variantI4(0);
    hide.vt = VT_BOOL;
    hide.u.boolVal = -1;
    call(kTwainSetHideUI, &hide, 1);
    const int32_t id = number(kTwainAcquireToMorvalenImage, 0, 1);
    if (id == 0) fprintf(stderr, "the scan failed with status %d\n", (int)number(kDispidGetStat, 0, 0));
    CHECK(id != 0);
    return id;
}

static void checkScannedPage(void) {
    const int32_t page = scanPage();
    if (page == 0) return;
    CHECK(number(kLinearDoScan, 1, 1) == 0);
    CHECK(number(kLinearCount, 0, 0) == 1);
    CHECK(textIs(kLinearValue, 1, "Bill 2026/12"));
    CHECK(number(kLinearType, 1, 1) == 4096);
    const int32_t x1 = number(kLinearX1, 1, 1);
    CHECK(x1 >= 95 && x1 <= 130);
    CHECK(number(kMatrixDoScan, 0, 1) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 1);
    CHECK(textIs(kMatrixValue, 1, "Voucher 4711"));
    const int32_t matrixX1 = number(kMatrixX1, 1, 1), matrixY1 = number(kMatrixX1 + 1, 1, 1);
    CHECK(matrixX1 >= 796 && matrixX1 <= 806 && matrixY1 >= 546 && matrixY1 <= 556);
    CHECK(number(kMatrixRows, 1, 1) >= 10);

    /* In a region around the DataMatrix symbol: no linear code, and the
     * symbol's corner relative to the region. */
    VARIANT region[4] = {variantI4(700), variantI4(450), variantI4(450), variantI4(400)};
    call(kSetROI, region, 4);
    CHECK(number(kLinearDoScan, 1, 1) == 0);
    CHECK(number(kLinearCount, 0, 0) == 0);
    CHECK(number(kMatrixDoScan, 1, 1) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 1);
    const int32_t regionX1 = number(kMatrixX1, 1, 1);
    /* The fit may differ by a pixel between the two searches. */
    CHECK(abs(regionX1 - (matrixX1 - 700)) <= 2);
    call(kResetROI, NULL, 0);
    VARIANT close[1] = {variantI4(page)};
    CHECK(call(kCloseImage, close, 1).u.lVal == 0);
}

static void checkMembers(Dispatch* object) {
    twain = object;
    /* No current image: both scans answer 2 and find nothing. */
    CHECK(number(kLinearDoScan, 1, 1) == 2);
    CHECK(number(kMatrixDoScan, 0, 1) == 2);
    CHECK(number(kLinearCount, 0, 0) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 0);

    /* A user region changes nothing without an image. */
    VARIANT region[4] = {variantI4(10), variantI4(20), variantI4(300), variantI4(200)};
    call(kSetROI, region, 4);
    CHECK(number(kLinearDoScan, 0, 1) == 2);
    CHECK(number(kMatrixDoScan, 1, 1) == 2);

    /* Every per-code member, for codes 0 and 1: nothing. */
    for (int32_t n = 0; n <= 1; ++n) {
        CHECK(number(kLinearType, n, 1) == 0);
        CHECK(emptyText(kLinearValue, n));
        VARIANT a = variantI4(n);
        VARIANT skew = call(kLinearSkew, &a, 1);
        CHECK(skew.vt == VT_R8 && skew.u.dblVal == 0.0);
        VARIANT checksum = call(kLinearHasChecksum, &a, 1);
        CHECK(checksum.vt == VT_BOOL && checksum.u.boolVal == 0);
        for (int32_t corner = 0; corner < 8; ++corner) {
            CHECK(number(kLinearX1 + corner, n, 1) == 0);
            CHECK(number(kMatrixX1 + corner, n, 1) == 0);
        }
        CHECK(emptyText(kMatrixValue, n));
        CHECK(number(kMatrixRows, n, 1) == 0);
        CHECK(number(kMatrixColumns, n, 1) == 0);
    }

    /* The clears answer nothing and leave the counts at 0. */
    VARIANT cleared = call(kLinearClear, NULL, 0);
    CHECK(cleared.vt == VT_EMPTY);
    cleared = call(kMatrixClear, NULL, 0);
    CHECK(cleared.vt == VT_EMPTY);
    CHECK(number(kLinearCount, 0, 0) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 0);
    call(kResetROI, NULL, 0);

    checkScannedPage();
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_barcodes LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    snprintf(scratch, sizeof scratch, "%s", "/tmp/scanvelt-c-host-barcodes-XXXXXX");
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    if (!writePage()) {
        fprintf(stderr, "zint or convert could not draw the page\n");
        return 1;
    }
    char script[600];
    snprintf(script, sizeof script, "pages=%s", pathIn("page.pnm"));
    setenv("MVTWAIN_SCRIPTED_SOURCE", script, 1);
    /* SANE sees no backend of the machine: the scripted source is the only one. */
    CHECK(mkdir(pathIn("sane"), 0700) == 0 && mkdir(pathIn("config"), 0700) == 0);
    FILE* conf = fopen(pathIn("sane/dll.conf"), "w");
    if (conf) fclose(conf);
    setenv("SANE_CONFIG_DIR", pathIn("sane"), 1);
    setenv("XDG_CONFIG_HOME", pathIn("config"), 1);

    const int result = runWithTwain(argv[1], argv[2], checkMembers);
    char command[600];
    snprintf(command, sizeof command, "rm -rf '%s'", scratch);
    CHECK(system(command) == 0);
    return result || failures ? 1 : 0;
}
