/* A plain C host of the source handling and acquisition members: it creates
 * Twain by its class ID and, by dispatch ID only, scans from SANE's "test"
 * backend through a private SANE configuration that it writes itself (never
 * the machine's): a page into an image ID, a page into a file, a cancelled
 * and a failed read, and a source in the wrong state.
 * Usage: c_host_acquisition LIBRARY REGISTRY-FILE. */
#include "c_host_sane.h"

enum {
    kTwainIsAvailable = 0x60030079,
    kTwainOpenSource = 0x6003007a,
    kTwainGetSourceCount = 0x6003007f,
    kTwainGetSourceName = 0x60030080,
    kTwainUserClosedSource = 0x60030086,
    kTwainLastXferFail = 0x60030087,
    kTwainGetLastConditionCode = 0x6003008b,
    kTwainAcquireToFile = 0x60030090,
    kTwainShowSetupDialogSource = 0x600300f9,
};

static void checkSources(void) {
    char name[256], other[256];
    CHECK(callBool(kTwainIsAvailable, NULL, 0));
    CHECK(callLong(kTwainGetSourceCount, NULL, 0) == 2);
    CHECK(state() == 3); /* enumeration leaves the manager open */
    VARIANT zero[1] = {argLong(0)}, one[1] = {argLong(1)}, two[1] = {argLong(2)}, three[1] = {argLong(3)};
    callText(kTwainGetSourceName, zero, 1, name, sizeof name);
    callText(kTwainGetSourceName, one, 1, other, sizeof other);
    CHECK(strncmp(name, "test:0", 6) == 0 && strcmp(name, other) == 0);
    callText(kTwainGetSourceName, two, 1, name, sizeof name);
    CHECK(strncmp(name, "test:1", 6) == 0);
    callText(kTwainGetSourceName, three, 1, name, sizeof name);
    CHECK(name[0] == 0);

    /* The setup dialog needs an open source. */
    VARIANT hwnd[1] = {argLong(0)};
    CHECK(!callBool(kTwainShowSetupDialogSource, hwnd, 1));
    CHECK(lastStatus() == 32);

    /* A padded name opens the source of that name; the default source then is test:0 again. */
    VARIANT padded[1] = {argText("  test:1  ")};
    CHECK(callBool(kTwainOpenSource, padded, 1));
    CHECK(state() == 4);
    CHECK(closeSource());
    CHECK(state() == 1);

    VARIANT hide[1] = {argFlag(1)};
    callNone(kTwainSetHideUI, hide, 1);
    VARIANT owner[1] = {argLong(0)};
    CHECK(callBool(kTwainSelectSource, owner, 1));
    CHECK(openDefault());
    /* The scan window opens again at every scan step: the open source answers True. */
    CHECK(openDefault());
    CHECK(state() == 4);
}

static void checkPageIntoImage(void) {
    const int32_t id = acquireImage();
    CHECK(id != 0);
    CHECK(lastStatus() == 0);
    CHECK(state() == 4); /* a flatbed has one page */
    if (id) checkImageSize(id, "out/page.pdf");
}

static void checkPageIntoFile(void) {
    const char* target = pathIn("out/page.bmp");
    VARIANT args[2] = {argText(target), argLong(0)};
    CHECK(callLong(kTwainAcquireToFile, args, 2) == 0);
    CHECK(lastStatus() == 0);
    static char bmp[64];
    CHECK(readWhole(target, bmp, sizeof bmp) > 30);
    int32_t width, height;
    uint16_t bits;
    memcpy(&width, bmp + 18, 4);
    memcpy(&height, bmp + 22, 4);
    memcpy(&bits, bmp + 28, 2);
    CHECK(bmp[0] == 'B' && bmp[1] == 'M');
    CHECK(width == expectedPixels(kAreaWidthMm));
    CHECK((height < 0 ? -height : height) == expectedPixels(kAreaHeightMm));
    CHECK(bits == 24);
}

/* A read that the backend ends with `readStatus`: no image, the status, and
 * an engine that goes on working. */
static void checkInjected(const char* readStatus, int32_t expectedStatus, int32_t previousImage) {
    CHECK(closeSource());
    writeTestConfig(readStatus);
    CHECK(openDefault());
    for (int attempt = 0; attempt < 2; ++attempt) {
        CHECK(acquireImage() == 0);
        CHECK(lastStatus() == expectedStatus);
        CHECK(callBool(kTwainUserClosedSource, NULL, 0) == (expectedStatus == 33));
        CHECK(callBool(kTwainLastXferFail, NULL, 0) == (expectedStatus == 34));
        CHECK(state() == 4);
    }
    const char* target = pathIn("out/failed.bmp");
    VARIANT args[2] = {argText(target), argLong(0)};
    CHECK(callLong(kTwainAcquireToFile, args, 2) == expectedStatus);
    CHECK(access(target, F_OK) != 0);
    (void)previousImage;
}

static void checkWrongState(void) {
    CHECK(closeSource());
    CHECK(state() == 1);
    CHECK(acquireImage() == 0);
    CHECK(lastStatus() == 30);
    VARIANT args[2] = {argText(pathIn("out/none.bmp")), argLong(0)};
    CHECK(callLong(kTwainAcquireToFile, args, 2) == 32);
    CHECK(access(pathIn("out/none.bmp"), F_OK) != 0);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_acquisition LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    makeFolders();
    if (!createTwain(argv[1], argv[2])) return 1;
    if (calledControl) {
        CHECK(state() == 1);
        checkSources();
        checkPageIntoImage();
        checkPageIntoFile();
        checkInjected("SANE_STATUS_CANCELLED", 33, 0);
        checkInjected("SANE_STATUS_IO_ERROR", 34, 0);
        /* Back to a sound backend: the next acquisition works. */
        CHECK(closeSource());
        writeTestConfig("Default");
        CHECK(openDefault());
        const int32_t id = acquireImage();
        CHECK(id != 0 && lastStatus() == 0);
        checkWrongState();
        CHECK(entriesIn(pathIn("tmp")) == 0); /* every transfer file is gone */
        CHECK(callLong(kTwainGetLastConditionCode, NULL, 0) >= 0);
        calledControl->vtbl->Release(calledControl);
    }
    return finishScratch();
}
