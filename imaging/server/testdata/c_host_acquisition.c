/* A plain C host of the source handling and acquisition members: it creates
 * Twain by its class ID and, by dispatch ID only, scans from SANE's "test"
 * backend through a private SANE configuration that it writes itself (never
 * the machine's): a page into an image ID, a page into a file, a cancelled
 * and a failed read, and a source in the wrong state.
 * Usage: c_host_acquisition LIBRARY REGISTRY-FILE. */
#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "c_host_calls.h"

enum {
    kTwainPdfStart = 0x60030075,
    kTwainAddMorvalenImageToPdf = 0x60030076,
    kTwainPdfStop = 0x60030077,
    kTwainAcquireToMorvalenImage = 0x60030078,
    kTwainIsAvailable = 0x60030079,
    kTwainOpenSource = 0x6003007a,
    kTwainCloseSource = 0x6003007d,
    kTwainGetSourceCount = 0x6003007f,
    kTwainGetSourceName = 0x60030080,
    kTwainUserClosedSource = 0x60030086,
    kTwainLastXferFail = 0x60030087,
    kTwainGetLastConditionCode = 0x6003008b,
    kTwainAcquireToFile = 0x60030090,
    kTwainGetState = 0x600300ce,
    kTwainOpenDefaultSource = 0x600300d3,
    kTwainSelectSource = 0x600300d6,
    kTwainSetHideUI = 0x600300f4,
    kTwainShowSetupDialogSource = 0x600300f9,
};

/* The scan area the private configuration gives the test backend, in mm. */
static const double kAreaWidthMm = 100.0, kAreaHeightMm = 120.0;
static const int kDpi = 300;
static char scratch[256];

static const char* pathIn(const char* name) {
    static char paths[4][512];
    static int next = 0;
    char* path = paths[next++ % 4];
    snprintf(path, sizeof paths[0], "%s/%s", scratch, name);
    return path;
}

/* test.conf of the private configuration; libsane reads it when it starts.
 * A read made to fail is one of a page small enough for the backend's reader
 * thread to have written it whole: cancelling that thread in the middle of a
 * page can dead-lock it inside the C library's allocator. */
static void writeTestConfig(const char* readStatus) {
    const int dpi = strcmp(readStatus, "Default") == 0 ? kDpi : 20;
    FILE* f = fopen(pathIn("sane/test.conf"), "w");
    CHECK(f != NULL);
    if (!f) return;
    fprintf(f,
            "number_of_devices 2\nmode Color\ndepth 8\nresolution %d\n"
            "test-picture \"Color pattern\"\nread-status-code %s\n"
            "tl_x 0.0\ntl_y 0.0\nbr_x %.1f\nbr_y %.1f\n",
            dpi, readStatus, kAreaWidthMm, kAreaHeightMm);
    fclose(f);
}

static int expectedPixels(double mm) { return (int)(mm * kDpi / 25.4); }

static int entriesIn(const char* folder) {
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
            fprintf(stderr, "left in %s: %s\n", folder, entry->d_name);
            ++count;
        }
    }
    closedir(dir);
    return count;
}

static long readWhole(const char* path, char* buffer, long size) {
    FILE* f = fopen(path, "rb");
    if (!f) return -1;
    long n = (long)fread(buffer, 1, (size_t)size - 1, f);
    fclose(f);
    buffer[n < 0 ? 0 : n] = 0;
    return n;
}

/* Width and height of the first image of a PDF the control wrote. */
static int pdfImageSize(const char* path, int* width, int* height) {
    static char pdf[1 << 22];
    long n = readWhole(path, pdf, sizeof pdf);
    if (n <= 0) return 0;
    const char* image = NULL;
    for (long i = 0; i + 15 < n; ++i) {
        if (memcmp(pdf + i, "/Subtype /Image", 15) == 0 || memcmp(pdf + i, "/Subtype/Image", 14) == 0) {
            image = pdf + i;
            break;
        }
    }
    if (!image) return 0;
    const char* start = image > pdf + 200 ? image - 200 : pdf;
    const char* w = NULL;
    const char* h = NULL;
    for (const char* p = start; p < image + 400 && p + 7 < pdf + n; ++p) {
        if (!w && memcmp(p, "/Width", 6) == 0) w = p + 6;
        if (!h && memcmp(p, "/Height", 7) == 0) h = p + 7;
    }
    if (!w || !h) return 0;
    *width = atoi(w);
    *height = atoi(h);
    return 1;
}

static int32_t lastStatus(void) { return callLong(kDispidGetStat, NULL, 0); }
static int32_t state(void) { return callLong(kTwainGetState, NULL, 0); }
static int32_t acquireImage(void) {
    VARIANT hwnd[1] = {argLong(0)};
    return callLong(kTwainAcquireToMorvalenImage, hwnd, 1);
}
static int openDefault(void) { return callBool(kTwainOpenDefaultSource, NULL, 0); }
static int closeSource(void) { return callBool(kTwainCloseSource, NULL, 0); }

/* The pixel size of image `id`, through a one-page scan-to-PDF document. */
static void checkImageSize(int32_t id, const char* name) {
    VARIANT start[1] = {argText(pathIn(name))};
    CHECK(callLong(kTwainPdfStart, start, 1) == 0);
    VARIANT add[1] = {argLong(id)};
    CHECK(callLong(kTwainAddMorvalenImageToPdf, add, 1) == 0);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 0);
    int width = 0, height = 0;
    CHECK(pdfImageSize(pathIn(name), &width, &height));
    printf("image %d: %d x %d pixels (expected %d x %d)\n", id, width, height, expectedPixels(kAreaWidthMm),
           expectedPixels(kAreaHeightMm));
    CHECK(width == expectedPixels(kAreaWidthMm));
    CHECK(height == expectedPixels(kAreaHeightMm));
}

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

static void makeFolders(void) {
    snprintf(scratch, sizeof scratch, "%s", "/tmp/scanvelt-c-host-acquisition-XXXXXX");
    CHECK(mkdtemp(scratch) != NULL);
    const char* folders[] = {"sane", "tmp", "config", "out"};
    for (int i = 0; i < 4; ++i) CHECK(mkdir(pathIn(folders[i]), 0700) == 0);
    FILE* f = fopen(pathIn("sane/dll.conf"), "w");
    CHECK(f != NULL);
    if (f) {
        fputs("test\n", f);
        fclose(f);
    }
    writeTestConfig("Default");
    /* No trailing colon: SANE searches this folder alone. */
    setenv("SANE_CONFIG_DIR", pathIn("sane"), 1);
    setenv("TMPDIR", pathIn("tmp"), 1);
    setenv("XDG_CONFIG_HOME", pathIn("config"), 1);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_acquisition LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    makeFolders();
    setenv("SCANVELT_REGISTRY", argv[2], 1);
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    HRESULT (*getClassObject)(const GUID*, const GUID*, void**) =
        (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(library, "DllGetClassObject");
    CHECK(getClassObject != NULL);
    ClassFactory* factory = NULL;
    if (getClassObject) CHECK(getClassObject(&kClsidTwain, &kIidClassFactory, (void**)&factory) == 0 && factory);
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&calledControl) == 0 && calledControl);
        factory->vtbl->Release(factory);
    }
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
    char command[600];
    snprintf(command, sizeof command, "rm -rf '%s'", scratch);
    if (!failures && system(command) != 0) fprintf(stderr, "cannot remove %s\n", scratch);
    if (failures) fprintf(stderr, "%d check(s) failed (files kept in %s)\n", failures, scratch);
    return failures ? 1 : 0;
}
