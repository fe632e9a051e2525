/* Hosts that scan pages made in code: the pages (lines of text, tilted and
 * framed as a scanner sees them) and the run of such a host. */
#ifndef SCANVELT_C_HOST_SCANNED_PAGES_H
#define SCANVELT_C_HOST_SCANNED_PAGES_H
#include <math.h>

#include "c_host_scripted_source.h"
#include "c_host_server.h"

/* Whether (x, y) lies on a stroke of lines of text tilted by `degrees`
 * (down to the right when positive), inside a margin of a tenth of the page. */
static inline int onStroke(int x, int y, int width, int height, double degrees) {
    if (x < width / 10 || x > width * 9 / 10 || y < height / 10 || y > height * 9 / 10) return 0;
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const double u = x * cos(a) + y * sin(a), v = y * cos(a) - x * sin(a);
    const double line = fmod(v + 100000.0, 36.0), word = fmod(u + 100000.0, 64.0);
    return line >= 18.0 && line < 29.0 && word < 48.0 && fmod(word, 8.0) < 4.0;
}

/* A page as a PNM file in the scratch folder: the colour of each pixel comes
 * from `colour`, which gets `context` along. */
typedef void (*PixelColour)(int x, int y, const void* context, unsigned char rgb[3]);

static inline void writePnmPage(const char* name, int width, int height, PixelColour colour, const void* context) {
    FILE* f = fopen(pathIn(name), "wb");
    CHECK(f != NULL);
    if (!f) return;
    fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char rgb[3] = {0, 0, 0};
            colour(x, y, context, rgb);
            fwrite(rgb, 1, 3, f);
        }
    }
    fclose(f);
}

typedef struct {
    int width, height, border;
    double degrees;
} ScannedPage;

static inline void scannedPageColour(int x, int y, const void* context, unsigned char rgb[3]) {
    const ScannedPage* page = (const ScannedPage*)context;
    const int frame = x < page->border || y < page->border || x >= page->width - page->border ||
                      y >= page->height - page->border;
    const unsigned char level = frame || onStroke(x, y, page->width, page->height, page->degrees) ? 0 : 255;
    rgb[0] = rgb[1] = rgb[2] = level;
}

/* A scanned page: black text strokes on white, inside a black frame of
 * `border` pixels. */
static inline void writeScannedPage(const char* name, int width, int height, double degrees, int border) {
    const ScannedPage page = {width, height, border, degrees};
    writePnmPage(name, width, height, scannedPageColour, &page);
}

/* Loads the library, serves `pages` (comma-separated file names in the
 * scratch folder) through the scripted source, creates Twain and runs the
 * checks: `withoutImage` first, then `withPages` when the build can scan.
 * The exit code of the host: 0, 1 for failures, 77 when nothing could be scanned. */
static inline int runHost(int argc, char** argv, const char* host, void (*makePages)(void), const char* pages,
                          void (*withoutImage)(void), void (*withPages)(void)) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY REGISTRY-FILE\n", host);
        return 2;
    }
    if (!makeScratch(host)) return 1;
    makePages();
    char script[1200] = "";
    for (const char* p = pages; *p;) {
        const char* end = strchr(p, ',');
        const size_t length = end ? (size_t)(end - p) : strlen(p);
        char name[128];
        snprintf(name, sizeof name, "%.*s", (int)length, p);
        if (p != pages) strncat(script, ",", sizeof script - strlen(script) - 1);
        strncat(script, pathIn(name), sizeof script - strlen(script) - 1);
        p += length + (end ? 1 : 0);
    }
    useScriptedSource(scratch, script);
    if (!loadServer(argv[1], argv[2])) return 1;
    calledControl = createControl(&kClsidTwain);
    int skipped = 0;
    if (calledControl) {
        withoutImage();
        if (!openScriptedSource()) skipped = 1;
        else withPages();
        CHECK(calledControl->vtbl->Release(calledControl) == 0);
    }
    const int result = finishScratch();
    if (skipped && !failures) {
        fprintf(stderr, "this build has no acquisition members: nothing to scan\n");
        return 77;
    }
    return result;
}

#endif
