/* A plain C host of the capability members: by dispatch ID only, it sets
 * resolution, pixel type and bit depth of SANE's "test" backend and scans a
 * page of the expected size, sets and reads back every capability the
 * backend supports, finds "unsupported" for one it lacks, and reads value
 * lists into arrays of its own.
 * Usage: c_host_capabilities LIBRARY REGISTRY-FILE. */
#include "c_host_sane.h"

enum {
    kTwainResetImageLayout = 0x6003008a,
    kTwainGetLastConditionCode = 0x6003008b,
    kTwainGetAvailableCapValuesCount = 0x60030091,
    kTwainGetCapCurrentNumeric = 0x60030096,
    kTwainGetCapRangeNumeric = 0x60030097,
    kTwainSetCapCurrentNumeric = 0x60030099,
    kTwainResetCap = 0x6003009b,
    kTwainGetCapItemType = 0x6003009c,
    kTwainGetCurrentBitDepth = 0x600300a7,
    kTwainGetCurrentBrightness = 0x600300a8,
    kTwainGetCurrentPixelType = 0x600300aa,
    kTwainGetCurrentResolution = 0x600300ab,
    kTwainGetPaperSize = 0x600300ae,
    kTwainSetPaperSize = 0x600300af,
    kTwainSetImageLayout = 0x600300b0,
    kTwainGetImageLayout = 0x600300b1,
    kTwainGetDuplexMode = 0x600300b2,
    kTwainGetCurrentSourceName = 0x600300b4,
    kTwainGetDefaultSourceName = 0x600300b5,
    kTwainGetAvailableCompressionNo = 0x600300bd,
    kTwainGetAvailableBrightnessCount = 0x600300bf,
    kTwainGetAvailablePixelTypes = 0x600300c7,
    kTwainGetAvailablePixelTypesCount = 0x600300c8,
    kTwainGetAvailablePixelTypeNo = 0x600300c9,
    kTwainHasFeeder = 0x600300d5,
    kTwainHasFlatBed = 0x600300d9,
    kTwainIsFeederSelected = 0x600300da,
    kTwainSelectFeeder = 0x600300db,
    kTwainIsDuplexEnabled = 0x600300df,
    kTwainIsFileTransferModeAvailable = 0x600300e1,
    kTwainIsPixelTypeAvailable = 0x600300e2,
    kTwainSetCurrentBitDepth = 0x600300ec,
    kTwainSetCurrentBrightness = 0x600300ed,
    kTwainSetCurrentPixelType = 0x600300ef,
    kTwainSetCurrentResolution = 0x600300f0,
};
enum { TWTY_FIX32 = 7, TWCC_CAPUNSUPPORTED = 13 };

/* A one-dimensional array in the published layout: the element type sits
 * in the 8 bytes before the descriptor. */
typedef struct {
    uint16_t cDims, fFeatures;
    uint32_t cbElements, cLocks;
    void* pvData;
    uint32_t cElements;
    int32_t lLbound;
} SafeArray;

static SafeArray* newLongArray(uint32_t count) {
    uint32_t* block = calloc(1, 8 + sizeof(SafeArray));
    block[1] = VT_I4;
    SafeArray* array = (SafeArray*)(block + 2);
    array->cDims = 1;
    array->fFeatures = 0x80;
    array->cbElements = 4;
    array->pvData = calloc(count ? count : 1, 4);
    array->cElements = count;
    return array;
}

static void freeArray(SafeArray* array) {
    if (!array) return;
    free(array->pvData);
    free((char*)array - 8);
}

static VARIANT argArrayRef(SafeArray** array) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_ARRAY | VT_I4 | VT_BYREF;
    v.u.record.a = array;
    return v;
}

static int32_t longOf(int32_t id) { return callLong(id, NULL, 0); }
static int currentOf(int32_t cap, double* value) {
    VARIANT a[2] = {argLong(cap), argRef(VT_R8, value)};
    return callBool(kTwainGetCapCurrentNumeric, a, 2);
}
static int setCap(int32_t cap, int32_t itemType, int32_t value) {
    VARIANT a[3] = {argLong(cap), argLong(itemType), argLong(value)};
    return callBool(kTwainSetCapCurrentNumeric, a, 3);
}
static int layoutOf(double box[4]) {
    VARIANT a[4] = {argRef(VT_R8, &box[0]), argRef(VT_R8, &box[1]), argRef(VT_R8, &box[2]),
                    argRef(VT_R8, &box[3])};
    return callBool(kTwainGetImageLayout, a, 4);
}

static void checkTypedSettingsAndPage(void) {
    CHECK(longOf(kTwainGetCurrentResolution) == configuredDpi);
    CHECK(boolWithLong(kTwainSetCurrentResolution, 300));
    CHECK(boolWithLong(kTwainSetCurrentPixelType, 2)); /* RGB */
    CHECK(boolWithLong(kTwainSetCurrentBitDepth, 8));
    CHECK(longOf(kTwainGetCurrentResolution) == 300);
    CHECK(longOf(kTwainGetCurrentPixelType) == 2);
    CHECK(longOf(kTwainGetCurrentBitDepth) == 8);

    double box[4] = {-1, -1, -1, -1};
    CHECK(layoutOf(box));
    CHECK(box[0] == 0 && box[1] == 0);
    CHECK(fabs(box[2] - kAreaWidthMm / 25.4) < 1e-6 && fabs(box[3] - kAreaHeightMm / 25.4) < 1e-6);
    const int32_t id = acquireImage();
    CHECK(id != 0 && lastStatus() == 0);
    if (id) checkImageSize(id, "out/page.pdf");
}

/* Set through the generic members, then read back. */
static void checkRoundTrips(void) {
    static const struct {
        int32_t cap, value;
    } trips[] = {
        {4376, 150}, {4377, 200}, /* ICAP_XRESOLUTION, ICAP_YRESOLUTION */
        {257, 1},    {257, 2},    /* ICAP_PIXELTYPE: grey, RGB */
        {4395, 16},  {4395, 8},   /* ICAP_BITDEPTH */
        {4098, 1},   {4098, 0},   /* CAP_FEEDERENABLED */
        {259, 1},    {259, 0},    /* ICAP_XFERMECH: file, native */
        {4107, 0},   {4107, 1},   /* CAP_INDICATORS */
    };
    for (size_t i = 0; i < sizeof trips / sizeof trips[0]; ++i) {
        const int32_t itemType = longWithLong(kTwainGetCapItemType, trips[i].cap);
        CHECK(itemType >= 0);
        double value = -1;
        const int set = setCap(trips[i].cap, itemType, trips[i].value);
        const int read = currentOf(trips[i].cap, &value);
        if (!set || !read || value != trips[i].value)
            fprintf(stderr, "capability %d: set %d, read %d, value %g (wanted %d)\n", trips[i].cap, set, read, value,
                    trips[i].value);
        CHECK(set && read && value == trips[i].value);
    }

    double minimum = -1, maximum = -1, step = -1;
    VARIANT range[4] = {argLong(4376), argRef(VT_R8, &minimum), argRef(VT_R8, &maximum),
                        argRef(VT_R8, &step)};
    CHECK(callBool(kTwainGetCapRangeNumeric, range, 4));
    CHECK(minimum >= 1 && maximum >= 1200 && step > 0);
    CHECK(boolWithLong(kTwainResetCap, 4376));
    CHECK(longOf(kTwainGetCurrentResolution) == configuredDpi);

    /* The scan area, within the backend's 1 mm steps. */
    VARIANT layout[4] = {argDouble(0.5), argDouble(0.25), argDouble(2.5), argDouble(3.0)};
    CHECK(callBool(kTwainSetImageLayout, layout, 4));
    double box[4] = {0};
    CHECK(layoutOf(box));
    CHECK(fabs(box[0] - 0.5) < 0.04 && fabs(box[1] - 0.25) < 0.04 && fabs(box[2] - 2.5) < 0.04 &&
          fabs(box[3] - 3.0) < 0.04);
    CHECK(boolWithLong(kTwainSetPaperSize, 13)); /* TWSS_A6 */
    CHECK(longOf(kTwainGetPaperSize) == 13);
    CHECK(layoutOf(box));
    CHECK(fabs(box[2] - box[0] - 105 / 25.4) < 0.04 && fabs(box[3] - box[1] - 148 / 25.4) < 0.04);
    CHECK(callBool(kTwainResetImageLayout, NULL, 0));
    CHECK(layoutOf(box));
    CHECK(box[0] == 0 && box[1] == 0 && fabs(box[2] - 200 / 25.4) < 0.04);
}

/* The backend has no brightness: every way of asking says so. */
static void checkUnsupported(void) {
    double value = 5;
    CHECK(longWithLong(kTwainGetCapItemType, 4353) == -1);
    CHECK(!currentOf(4353, &value));
    CHECK(value == 0);
    CHECK(longWithLong(kTwainGetAvailableCapValuesCount, 4353) == 0);
    CHECK(longOf(kTwainGetAvailableBrightnessCount) == 0);
    CHECK(!setCap(4353, TWTY_FIX32, 10));
    CHECK(longOf(kTwainGetLastConditionCode) == TWCC_CAPUNSUPPORTED);
    CHECK(!boolWithLong(kTwainSetCurrentBrightness, 10));
    CHECK(longOf(kTwainGetDuplexMode) == 0);
    CHECK(!callBool(kTwainIsDuplexEnabled, NULL, 0));
    CHECK(longWithLong(kTwainGetAvailableCompressionNo, 0) == -1);
}

static void checkListsAndFeeder(void) {
    const int32_t count = longOf(kTwainGetAvailablePixelTypesCount);
    CHECK(count >= 2);
    SafeArray* values = NULL; /* undimensioned */
    VARIANT a[1] = {argArrayRef(&values)};
    CHECK(callLong(kTwainGetAvailablePixelTypes, a, 1) == count);
    CHECK(values && values->cElements == (uint32_t)count && values->lLbound == 0);
    for (int32_t i = 0; values && i < count; ++i)
        CHECK(((int32_t*)values->pvData)[i] == longWithLong(kTwainGetAvailablePixelTypeNo, i + 1));
    freeArray(values);
    SafeArray* larger = newLongArray(10);
    ((int32_t*)larger->pvData)[9] = 77;
    VARIANT b[1] = {argArrayRef(&larger)};
    CHECK(callLong(kTwainGetAvailablePixelTypes, b, 1) == count);
    CHECK(larger->cElements == 10 && ((int32_t*)larger->pvData)[0] == longWithLong(kTwainGetAvailablePixelTypeNo, 1));
    freeArray(larger);
    CHECK(longWithLong(kTwainGetAvailablePixelTypeNo, 0) == 0);
    CHECK(boolWithLong(kTwainIsPixelTypeAvailable, 2));
    CHECK(!boolWithLong(kTwainIsPixelTypeAvailable, 5));
    CHECK(callBool(kTwainIsFileTransferModeAvailable, NULL, 0));

    CHECK(callBool(kTwainHasFeeder, NULL, 0));
    CHECK(callBool(kTwainHasFlatBed, NULL, 0));
    CHECK(!callBool(kTwainIsFeederSelected, NULL, 0)); /* the probes put the flatbed back */
    CHECK(boolWithFlag(kTwainSelectFeeder, 1));
    CHECK(callBool(kTwainIsFeederSelected, NULL, 0));
    CHECK(boolWithFlag(kTwainSelectFeeder, 0));
    CHECK(!callBool(kTwainIsFeederSelected, NULL, 0));
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_capabilities LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    configuredMode = "Gray";
    configuredDpi = 75;
    makeFolders();
    if (!createTwain(argv[1], argv[2])) return 1;
    char name[256];
    /* Typed getters answer their fallback until a source is open. */
    CHECK(longOf(kTwainGetCurrentResolution) == -1);
    CHECK(longOf(kTwainGetCurrentBrightness) == -99999);
    callText(kTwainGetDefaultSourceName, NULL, 0, name, sizeof name);
    CHECK(strncmp(name, "test:0", 6) == 0);
    VARIANT hide[1] = {argFlag(1)};
    callNone(kTwainSetHideUI, hide, 1);
    CHECK(openDefault());
    callText(kTwainGetCurrentSourceName, NULL, 0, name, sizeof name);
    CHECK(strncmp(name, "test:0", 6) == 0);
    checkTypedSettingsAndPage();
    checkRoundTrips();
    checkUnsupported();
    /* 16 bits per sample come over as a RAW buffer of 48-bit colour. */
    CHECK(boolWithLong(kTwainSetCurrentResolution, 50));
    CHECK(boolWithLong(kTwainSetCurrentBitDepth, 16));
    CHECK(longOf(kTwainGetCurrentBitDepth) == 16);
    const int32_t deep = acquireImage();
    CHECK(deep != 0 && lastStatus() == 0);
    CHECK(boolWithLong(kTwainSetCurrentBitDepth, 8));
    checkListsAndFeeder();
    CHECK(closeSource());
    calledControl->vtbl->Release(calledControl);
    return finishScratch();
}
