/* A plain C host of a scan-to-PDF session from the feeder of SANE's test
 * backend, by dispatch ID only: three pages acquired one after another go
 * into one document, which qpdf finds sound and pdfinfo counts as three pages.
 * Usage: c_host_scan_to_pdf LIBRARY REGISTRY-FILE. */
#include "c_host_sane.h"

enum {
    kCloseImage = 0x60030051,
    kTwainSetAutoFeed = 0x600300d8,
    kTwainSetAutoScan = 0x600300eb,
    kTwainSetCurrentResolution = 0x600300f0,
};

static void scanThreePagesIntoOnePdf(void) {
    VARIANT hide[1] = {argFlag(1)};
    callNone(kTwainSetHideUI, hide, 1);
    CHECK(openDefault());
    VARIANT dpi[1] = {argLong(100)};
    CHECK(callBool(kTwainSetCurrentResolution, dpi, 1));
    VARIANT on[1] = {argFlag(1)};
    CHECK(callBool(kTwainSetAutoFeed, on, 1));
    VARIANT scanOn[1] = {argFlag(1)};
    CHECK(callBool(kTwainSetAutoScan, scanOn, 1));

    const char* pdf = pathIn("out/three-pages.pdf");
    VARIANT start[1] = {argText(pdf)};
    CHECK(callLong(kTwainPdfStart, start, 1) == 0);
    for (int page = 0; page < 3; ++page) {
        const int32_t id = acquireImage();
        CHECK(id != 0);
        if (!id) break;
        VARIANT add[1] = {argLong(id)};
        CHECK(callLong(kTwainAddMorvalenImageToPdf, add, 1) == 0);
        VARIANT close[1] = {argLong(id)};
        callLong(kCloseImage, close, 1);
    }
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 0);
    closeSource();

    char command[1024], out[8192];
    snprintf(command, sizeof command, "/usr/bin/qpdf --check '%s' 2>&1", pdf);
    CHECK(run(command, out, sizeof out));
    CHECK(strstr(out, "No syntax or stream encoding errors") != NULL);
    snprintf(command, sizeof command, "/usr/bin/pdfinfo '%s' 2>&1", pdf);
    CHECK(run(command, out, sizeof out));
    const char* pages = strstr(out, "Pages:");
    int count = 0;
    CHECK(pages && sscanf(pages, "Pages: %d", &count) == 1 && count == 3);
    printf("scan-to-PDF: %d pages\n", count);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_scan_to_pdf LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    makeFolders();
    if (!createTwain(argv[1], argv[2])) return 1;
    scanThreePagesIntoOnePdf();
    calledControl->vtbl->Release(calledControl);
    return finishScratch();
}
