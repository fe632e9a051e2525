/* A plain C host of the viewer's PDF sources, by dispatch ID only: the Twain
 * control writes a PDF of two pages from a BMP the host made; the viewer shows
 * it through DisplayFromFile (under its own name, under a name that is no PDF
 * name, and by a path relative to the working folder), DisplayFromFileICM and through
 * DisplayFromPdfFile with relative paths: page 1 each time, with the page count.
 * Usage: c_host_viewer_pdf LIBRARY REGISTRY-FILE. */
#include <sys/stat.h>

#include "c_host_bitmap.h"
#include "c_host_server.h"
#include "c_host_viewer_surface.h"

enum {
    kViewerImageWidth = 0x68030003,
    kViewerPageCount = 0x6803000b,
    kViewerCurrentPage = 0x6803000c,
    kViewerGetNativeImage = 0x6003003c,
    kViewerGetDocumentType = 0x6003003d,
    kViewerCloseImage = 0x6003003f,
    kViewerDisplayFromFile = 0x60030041,
    kViewerDisplayFromFileICM = 0x60030042,
    kViewerDisplayFromPdfFile = 0x600300a0,
    kTwainPdfStart = 0x60030075,
    kTwainAddMorvalenImageToPdf = 0x60030076,
    kTwainPdfStop = 0x60030077,
};

static int copyFile(const char* from, const char* to) {
    char buffer[4096];
    FILE* in = fopen(from, "rb");
    FILE* out = fopen(to, "wb");
    int ok = in && out;
    for (size_t n; ok && (n = fread(buffer, 1, sizeof buffer, in)) > 0;) ok = fwrite(buffer, 1, n, out) == n;
    if (in) fclose(in);
    if (out && fclose(out) != 0) ok = 0;
    return ok;
}

/* Page 1 of the two-page document is shown. */
static void checkFirstPageShown(Dispatch* viewer, const char* how) {
    if (callLong(kViewerGetDocumentType, NULL, 0) != 2 || getLongProperty(viewer, kViewerPageCount) != 2 ||
        getLongProperty(viewer, kViewerCurrentPage) != 1 || getLongProperty(viewer, kViewerImageWidth) < 100) {
        fprintf(stderr, "not shown as page 1 of 2: %s\n", how);
        ++failures;
    }
}

static int32_t showBy(int32_t member, const char* path) {
    VARIANT file[1] = {argText(path)};
    return callLong(member, file, 1);
}

static int32_t showPdf(const char* path) {
    VARIANT file[2] = {argText(path), argText("")};
    return callLong(kViewerDisplayFromPdfFile, file, 2);
}

static void pdfChecks(Dispatch* viewer, Dispatch* twain) {
    /* The Twain control writes a PDF of the image the viewer shows, twice. */
    const char* bitmap = pathIn("page.bmp");
    CHECK(writeGreyBitmap(bitmap, 200, 100, 3937)); /* 100 dpi */
    CHECK(showBy(kViewerDisplayFromFile, bitmap) == 0);
    const int32_t image = callLong(kViewerGetNativeImage, NULL, 0);
    CHECK(image != 0);
    callOn(twain);
    VARIANT start[1] = {argText(pathIn("bill.pdf"))};
    CHECK(callLong(kTwainPdfStart, start, 1) == 0);
    VARIANT page[1] = {argLong(image)};
    CHECK(callLong(kTwainAddMorvalenImageToPdf, page, 1) == 0);
    CHECK(callLong(kTwainAddMorvalenImageToPdf, page, 1) == 0);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 0);
    callOn(viewer);
    callNone(kViewerCloseImage, NULL, 0);
    CHECK(unlink(bitmap) == 0);
    CHECK(copyFile(pathIn("bill.pdf"), pathIn("bill.jpg")));

    /* Under its own name and under another, by either file member. */
    CHECK(showBy(kViewerDisplayFromFile, pathIn("bill.pdf")) == 0);
    checkFirstPageShown(viewer, "DisplayFromFile bill.pdf");
    CHECK(showBy(kViewerDisplayFromFile, pathIn("bill.jpg")) == 0);
    checkFirstPageShown(viewer, "DisplayFromFile bill.jpg");
    CHECK(showBy(kViewerDisplayFromFileICM, pathIn("bill.pdf")) == 0);
    checkFirstPageShown(viewer, "DisplayFromFileICM bill.pdf");

    /* Relative to the working folder. */
    char here[512];
    CHECK(getcwd(here, sizeof here) != NULL);
    CHECK(mkdir(pathIn("sub"), 0700) == 0);
    CHECK(copyFile(pathIn("bill.pdf"), pathIn("sub/bill.pdf")));
    CHECK(chdir(scratch) == 0);
    CHECK(showBy(kViewerDisplayFromFile, "bill.pdf") == 0);
    checkFirstPageShown(viewer, "DisplayFromFile relative bill.pdf");
    CHECK(showBy(kViewerDisplayFromFile, "sub/bill.pdf") == 0);
    checkFirstPageShown(viewer, "DisplayFromFile relative sub/bill.pdf");
    const char* relative[] = {"bill.pdf", "./bill.pdf", "sub/bill.pdf"};
    for (int i = 0; i < 3; ++i) {
        CHECK(showPdf(relative[i]) == 0);
        checkFirstPageShown(viewer, relative[i]);
    }
    CHECK(chdir(here) == 0);

    callNone(kViewerCloseImage, NULL, 0);
    CHECK(callLong(kViewerGetDocumentType, NULL, 0) == 0);
    CHECK(unlink(pathIn("sub/bill.pdf")) == 0 && rmdir(pathIn("sub")) == 0);
    CHECK(unlink(pathIn("bill.pdf")) == 0 && unlink(pathIn("bill.jpg")) == 0);
}

static void checks(void) {
    Dispatch* viewer = createControl(&kClsidViewer);
    if (viewer) {
        Surface* surface = showViewer(viewer, 400, 400);
        Dispatch* twain = callOn(viewer);
        pdfChecks(viewer, twain);
        callOn(twain);
        if (surface) surface->vtbl->Release(surface);
        CHECK(viewer->vtbl->Release(viewer) == 0);
    }
}

int main(int argc, char** argv) { return runTwainHost(argc, argv, "c_host_viewer_pdf", NULL, checks); }
