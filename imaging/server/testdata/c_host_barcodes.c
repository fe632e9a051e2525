/* A plain C host of the barcode members: it creates Twain by its class ID
 * and calls every barcode member of the shipped library by dispatch ID only.
 * Without a current image a scan answers 2 and every per-code member answers
 * nothing (0, an empty text, False, 0.0); the readers' plug-ins lie beside
 * the library, so the scans get as far as the image.
 * Usage: c_host_barcodes LIBRARY REGISTRY-FILE. */
#include "c_host_abi.h"

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
};


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

static void checkMembers(void) {
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
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_barcodes LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    return runWithTwain(argv[1], argv[2], checkMembers);
}
