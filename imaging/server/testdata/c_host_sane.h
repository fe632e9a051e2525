/* What the C hosts that scan from SANE share: a private SANE configuration in
 * the scratch folder naming only SANE's "test" backend (never the machine's),
 * its temporary and settings folders, Twain created by class ID, and the
 * scan members and page sizes those hosts check. */
#ifndef SCANVELT_C_HOST_SANE_H
#define _DEFAULT_SOURCE
#define SCANVELT_C_HOST_SANE_H
#include <dlfcn.h>
#include <math.h>
#include <stdio.h>
#include <sys/stat.h>

#include "c_host_server.h"

/* Members every scanning host calls. */
enum {
    kTwainPdfStart = 0x60030075,
    kTwainAddMorvalenImageToPdf = 0x60030076,
    kTwainPdfStop = 0x60030077,
    kTwainAcquireToMorvalenImage = 0x60030078,
    kTwainCloseSource = 0x6003007d,
    kTwainGetState = 0x600300ce,
    kTwainOpenDefaultSource = 0x600300d3,
    kTwainSelectSource = 0x600300d6,
    kTwainSetHideUI = 0x600300f4,
};

/* The scan area the private configuration gives the test backend, in mm. */
static const double kAreaWidthMm = 100.0, kAreaHeightMm = 120.0;
static const int kDpi = 300;
/* The backend's own mode and resolution before any member changes them. */
static const char* configuredMode = "Color";
static int configuredDpi = 300;

/* test.conf of the private configuration; libsane reads it when it starts.
 * A read made to fail is one of a page small enough for the backend's reader
 * thread to have written it whole: cancelling that thread in the middle of a
 * page can dead-lock it inside the C library's allocator. */
static inline void writeTestConfig(const char* readStatus) {
    const int dpi = strcmp(readStatus, "Default") == 0 ? configuredDpi : 20;
    FILE* f = fopen(pathIn("sane/test.conf"), "w");
    CHECK(f != NULL);
    if (!f) return;
    fprintf(f,
            "number_of_devices 2\nmode %s\ndepth 8\nresolution %d\n"
            "test-picture \"Color pattern\"\nread-status-code %s\n"
            "tl_x 0.0\ntl_y 0.0\nbr_x %.1f\nbr_y %.1f\n",
            configuredMode, dpi, readStatus, kAreaWidthMm, kAreaHeightMm);
    fclose(f);
}

static inline int expectedPixels(double mm) { return (int)(mm * kDpi / 25.4); }

/* Width and height of the first image of a PDF the control wrote. */
static inline int pdfImageSize(const char* path, int* width, int* height) {
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

/* Keeps libsane and its "test" backend loaded for the life of the host: the
 * server unloads them, and what they leave behind (scripts/lsan.supp) would
 * then come from no known library, which the leak checker cannot tell from a
 * leak of ours. One configuration per host process, so nothing is lost by
 * keeping libsane. */
static inline void keepSaneLoaded(void) {
    void* sane = dlopen("libsane.so.1", RTLD_NOW | RTLD_NODELETE);
    void* init = sane ? dlsym(sane, "sane_init") : NULL;
    Dl_info info;
    if (!init || !dladdr(init, &info) || !info.dli_fname) return;
    const char* slash = strrchr(info.dli_fname, '/');
    if (!slash) return;
    char backend[4096];
    snprintf(backend, sizeof backend, "%.*s/sane/libsane-test.so.1", (int)(slash - info.dli_fname), info.dli_fname);
    dlopen(backend, RTLD_NOW | RTLD_NODELETE);
}

static inline void makeFolders(void) {
    CHECK(makeScratch("c-host-scan"));
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
    keepSaneLoaded();
}

/* Loads the library and creates Twain by its class ID into calledControl. */
static inline int createTwain(const char* library, const char* registry) {
    if (loadServer(library, registry)) calledControl = createControl(&kClsidTwain);
    return calledControl != NULL;
}

static inline int32_t state(void) { return callLong(kTwainGetState, NULL, 0); }
static inline int32_t acquireImage(void) {
    VARIANT hwnd[1] = {argLong(0)};
    return callLong(kTwainAcquireToMorvalenImage, hwnd, 1);
}
static inline int openDefault(void) { return callBool(kTwainOpenDefaultSource, NULL, 0); }
static inline int closeSource(void) { return callBool(kTwainCloseSource, NULL, 0); }

/* The pixel size of image `id`, through a one-page scan-to-PDF document. */
static inline void checkImageSize(int32_t id, const char* name) {
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

#endif
