/* A plain C host of the automatic features and the engine's barcodes: by
 * dispatch ID only, it switches SANE's "test" backend to its document
 * feeder with automatic feeding and scanning and acquires until the state
 * falls to 4 (exactly the feeder's ten pages), scans one page from the
 * flatbed, and finds the features the backend lacks unavailable.
 * Usage: c_host_features LIBRARY REGISTRY-FILE. */
#include "c_host_sane.h"

enum {
    kTwainIsAutoFeedOn = 0x600300dd,
    kTwainSetAutoBrightness = 0x600300d7,
    kTwainSetAutoFeed = 0x600300d8,
    kTwainSetAutoScan = 0x600300eb,
    kTwainSetAutoSize = 0x600300e3,
    kTwainSetAutomaticBorderDetection = 0x600300e4,
    kTwainSetAutomaticDeskew = 0x600300e5,
    kTwainSetAutomaticDiscardBlankPages = 0x600300e6,
    kTwainSetAutomaticRotation = 0x600300e7,
    kTwainSetBarcodeDetection = 0x600300e8,
    kTwainIsAutoBrightnessAvailable = 0x600300e9,
    kTwainIsAutoBrightnessEnabled = 0x600300ea,
    kTwainIsAutoFeedAvailable = 0x600300f1,
    kTwainIsAutoFeedEnabled = 0x600300f2,
    kTwainIsAutoScanAvailable = 0x600300f3,
    kTwainIsAutoScanEnabled = 0x600300f6,
    kTwainIsAutoSizeAvailable = 0x600300f7,
    kTwainIsAutomaticBorderDetectionAvailable = 0x60030125,
    kTwainIsAutomaticDeskewAvailable = 0x60030127,
    kTwainIsAutomaticDiscardBlankPagesAvailable = 0x60030129,
    kTwainIsAutomaticDiscardBlankPagesEnabled = 0x6003012a,
    kTwainIsAutomaticRotationAvailable = 0x6003012b,
    kTwainIsBarcodeDetectionAvailable = 0x6003012d,
    kTwainIsBarcodeDetectionEnabled = 0x6003012e,
    kTwainGetAvailableBarCodeTypeCount = 0x6003012f,
    kTwainGetAvailableBarCodeTypeNo = 0x60030142,
    kTwainBarCodeGetCount = 0x60030152,
    kTwainBarCodeGetValue = 0x60030153,
    kTwainBarCodeGetType = 0x60030154,
    kTwainBarCodeGetXPos = 0x60030113,
    kTwainBarCodeGetYPos = 0x60030057,
    kTwainBarCodeGetConfidence = 0x60030056,
    kTwainBarCodeGetRotation = 0x60030055,
};

static int is(int32_t id) { return callBool(id, NULL, 0); }

/* Pages acquired until the source reports no more (state 4 or less). */
static int pagesUntilEmpty(void) {
    int pages = 0;
    do {
        const int32_t id = acquireImage();
        if (id == 0) {
            fprintf(stderr, "page %d: no image, status %d\n", pages + 1, lastStatus());
            break;
        }
        ++pages;
    } while (state() > 4 && pages < 100);
    return pages;
}

static void checkFeeder(void) {
    CHECK(is(kTwainIsAutoFeedAvailable));
    CHECK(!is(kTwainIsAutoFeedEnabled));
    CHECK(!is(kTwainIsAutoFeedOn));
    /* The scan window's multi-page steps call only these two before their loop. */
    CHECK(boolWithFlag(kTwainSetAutoFeed, 1));
    CHECK(boolWithFlag(kTwainSetAutoScan, 1));
    CHECK(is(kTwainIsAutoFeedEnabled));
    CHECK(is(kTwainIsAutoFeedOn));
    CHECK(is(kTwainIsAutoScanAvailable));
    CHECK(is(kTwainIsAutoScanEnabled));
    const int pages = pagesUntilEmpty();
    if (pages != 10) fprintf(stderr, "the feeder gave %d pages\n", pages);
    CHECK(pages == 10);
    CHECK(lastStatus() == 0);
    CHECK(state() == 4);

    /* Back on the flatbed: one page. */
    CHECK(boolWithFlag(kTwainSetAutoFeed, 0));
    CHECK(!is(kTwainIsAutoFeedEnabled));
    CHECK(pagesUntilEmpty() == 1);
    CHECK(state() == 4);
}

/* What the test backend has no option for answers unavailable and refuses its switch. */
static void checkMissingFeatures(void) {
    const int32_t switches[] = {kTwainSetAutoBrightness,           kTwainSetAutoSize,
                                kTwainSetAutomaticBorderDetection, kTwainSetAutomaticDeskew,
                                kTwainSetAutomaticDiscardBlankPages, kTwainSetAutomaticRotation,
                                kTwainSetBarcodeDetection};
    for (size_t i = 0; i < sizeof switches / sizeof switches[0]; ++i) {
        if (boolWithFlag(switches[i], 1)) fprintf(stderr, "switch 0x%08x accepted\n", (unsigned)switches[i]);
        CHECK(!boolWithFlag(switches[i], 1));
    }
    const int32_t tests[] = {kTwainIsAutoBrightnessAvailable,
                             kTwainIsAutoBrightnessEnabled,
                             kTwainIsAutoSizeAvailable,
                             kTwainIsAutomaticBorderDetectionAvailable,
                             kTwainIsAutomaticDeskewAvailable,
                             kTwainIsAutomaticDiscardBlankPagesAvailable,
                             kTwainIsAutomaticDiscardBlankPagesEnabled,
                             kTwainIsAutomaticRotationAvailable,
                             kTwainIsBarcodeDetectionAvailable,
                             kTwainIsBarcodeDetectionEnabled};
    for (size_t i = 0; i < sizeof tests / sizeof tests[0]; ++i) CHECK(!is(tests[i]));
}

/* SANE reports no barcodes: none, and every getter answers its out-of-range value. */
static void checkBarcodes(void) {
    char text[64];
    CHECK(callLong(kTwainGetAvailableBarCodeTypeCount, NULL, 0) == 0);
    CHECK(longWithLong(kTwainGetAvailableBarCodeTypeNo, 0) == -1);
    CHECK(longWithLong(kTwainGetAvailableBarCodeTypeNo, 1) == -1);
    CHECK(callLong(kTwainBarCodeGetCount, NULL, 0) == 0);
    VARIANT first[1] = {argLong(1)};
    CHECK(callText(kTwainBarCodeGetValue, first, 1, text, sizeof text)[0] == 0);
    const int32_t getters[] = {kTwainBarCodeGetType, kTwainBarCodeGetXPos, kTwainBarCodeGetYPos,
                               kTwainBarCodeGetConfidence, kTwainBarCodeGetRotation};
    for (size_t i = 0; i < sizeof getters / sizeof getters[0]; ++i) {
        CHECK(longWithLong(getters[i], 0) == 0);
        CHECK(longWithLong(getters[i], 1) == 0);
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_features LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    configuredDpi = 50; /* ten small pages */
    makeFolders();
    if (!createTwain(argv[1], argv[2])) return 1;
    VARIANT hide[1] = {argFlag(1)};
    callNone(kTwainSetHideUI, hide, 1);
    CHECK(openDefault());
    checkFeeder();
    checkMissingFeatures();
    checkBarcodes();
    CHECK(closeSource());
    calledControl->vtbl->Release(calledControl);
    return finishScratch();
}
