/* A plain C host that gives the Twain control what a careless host gives it:
 * skip counts and line counts at the ends of the integer range, a refused
 * page in the middle of a scan-to-PDF, targets that can hold no file, members
 * on an image that is gone or on a region without pixels, an encryption that
 * names no kind and a Windows path. It calls by dispatch ID (found by name)
 * only and checks each answer and the files left in its own folder.
 * Usage: c_host_boundaries LIBRARY REGISTRY-FILE. Exits with 77 (skipped)
 * while the build has no acquisition members. */
#include <limits.h>
#include <sys/stat.h>

#include "c_host_scanned_pages.h"

enum { kPageWidth = 300, kPageHeight = 200, kUnknownImage = 230 };

static void makePages(void) {
    for (int i = 0; i < 8; ++i) {
        char name[32];
        snprintf(name, sizeof name, "page%d.pnm", i);
        writeScannedPage(name, kPageWidth, kPageHeight, 0.0, 0);
    }
}

static int32_t statusOfLong(const char* member, VARIANT* arguments, uint32_t count) {
    return callLong(memberId(member), arguments, count);
}

static int exists(const char* path) {
    struct stat info;
    return stat(path, &info) == 0;
}

/* Pages of a PDF as pdfinfo counts them; -1 when it cannot read the file. */
static int pdfPages(const char* path) {
    char command[700], out[4096];
    snprintf(command, sizeof command, "pdfinfo '%s' 2>/dev/null", path);
    if (!run(command, out, sizeof out)) return -1;
    const char* at = strstr(out, "Pages:");
    return at ? atoi(at + 6) : -1;
}

static void withoutImage(void) {
    /* A Windows path with a drive is no folder here: refused, never a file of that name. */
    VARIANT windows[1] = {argText("C:\\temp\\x.pdf")};
    CHECK(statusOfLong("TwainPdfStart", windows, 1) == 41);
    CHECK(!exists("C:\\temp\\x.pdf"));
}

/* Finding: a skip count or a line count at the ends of the range. */
static void cropCounts(void) {
    const int32_t skips[] = {-1, -5, INT_MAX, INT_MIN};
    for (size_t i = 0; i < sizeof skips / sizeof skips[0]; ++i) {
        VARIANT white[2] = {argLong(100), argLong(skips[i])};
        CHECK(statusOfLong("CropWhiteBorders", white, 2) == 0);
        VARIANT black[2] = {argLong(100), argLong(skips[i])};
        CHECK(statusOfLong("CropBlackBorders", black, 2) == 0);
    }
    const char* edges[] = {"CropLeft", "CropRight", "CropTop", "CropBottom"};
    const int32_t lines[] = {INT_MIN, INT_MAX, -1};
    for (size_t e = 0; e < 4; ++e) {
        for (size_t l = 0; l < 3; ++l) {
            VARIANT count[1] = {argLong(lines[l])};
            CHECK(statusOfLong(edges[e], count, 1) == 2);
        }
    }
    CHECK(callLong(memberId("GetWidth"), NULL, 0) > 0);
}

/* Finding: one refused page keeps the pages accepted around it. */
static void refusedPageKeepsTheOthers(const char* start, const char* add, const char* stop, const char* file) {
    VARIANT target[1] = {argText(pathIn(file))};
    CHECK(statusOfLong(start, target, 1) == 0);
    const int32_t good = scanPage();
    if (strcmp(add, "TwainAddMorvalenImageToPdf") == 0) {
        VARIANT first[1] = {argLong(good)};
        CHECK(statusOfLong(add, first, 1) == 0);
        VARIANT unknown[1] = {argLong(kUnknownImage)};
        CHECK(statusOfLong(add, unknown, 1) == 230);
        VARIANT again[1] = {argLong(good)};
        CHECK(statusOfLong(add, again, 1) == 0);
    } else {
        char text[64];
        VARIANT first[3] = {argLong(good), argLong(2), argText("")};
        callText(memberId(add), first, 3, text, sizeof text);
        VARIANT unknown[3] = {argLong(kUnknownImage), argLong(2), argText("")};
        callText(memberId(add), unknown, 3, text, sizeof text);
        CHECK(lastStatus() == 230);
        VARIANT again[3] = {argLong(good), argLong(2), argText("")};
        callText(memberId(add), again, 3, text, sizeof text);
    }
    CHECK(statusOfLong(stop, NULL, 0) == 230);
    CHECK(pdfPages(pathIn(file)) == 2);
}

/* Finding: a target that can hold no file fails at the start. */
static void targetsCheckedAtTheStart(void) {
    CHECK(mkdir(pathIn("folder"), 0700) == 0);
    VARIANT empty[1] = {argText("")};
    CHECK(statusOfLong("TiffSaveAsNativeMultiPage", empty, 1) == 7);
    VARIANT folder[1] = {argText(pathIn("folder"))};
    CHECK(statusOfLong("TiffSaveAsNativeMultiPage", folder, 1) == 7);
    VARIANT add[1] = {argLong(callLong(memberId("GetNativeImage"), NULL, 0))};
    CHECK(statusOfLong("TiffAddToNativeMultiPage", add, 1) == 1);
    VARIANT pdfFolder[1] = {argText(pathIn("folder"))};
    CHECK(statusOfLong("TwainPdfStart", pdfFolder, 1) == 41);
    VARIANT ocrFolder[1] = {argText(pathIn("folder"))};
    CHECK(statusOfLong("TwainPdfOCRStart", ocrFolder, 1) == 41);
    CHECK(entriesIn(pathIn("folder")) == 0);
}

/* Finding: members on the image a closed multi-page file released, and on a region without pixels. */
static void releasedImageAndEmptyRegion(void) {
    VARIANT tiff[1] = {argText(pathIn("pages.tif"))};
    CHECK(statusOfLong("TiffSaveAsNativeMultiPage", tiff, 1) == 0);
    CHECK(statusOfLong("TiffCloseNativeMultiPage", NULL, 0) == 0);
    const char* filters[] = {"FxNegative", "FxSepia", "FxSmooth"};
    for (size_t i = 0; i < 3; ++i) CHECK(statusOfLong(filters[i], NULL, 0) == 2);
    VARIANT brightness[1] = {argLong(20)};
    CHECK(statusOfLong("SetBrightness", brightness, 1) == 2);
    CHECK(!callBool(memberId("IsBlank"), NULL, 0));
    CHECK(lastStatus() == 2);
    char text[64];
    VARIANT ocr[2] = {argLong(2), argText("")};
    callText(memberId("OCRTesseractDoOCR"), ocr, 2, text, sizeof text);
    CHECK(text[0] == 0 && lastStatus() == 2);

    scanPage();
    VARIANT roi[4] = {argLong(-50), argLong(-50), argLong(-10), argLong(-10)};
    callNone(memberId("SetROI"), roi, 4);
    CHECK(statusOfLong("FxNegative", NULL, 0) == 2);
    callNone(memberId("ResetROI"), NULL, 0);
}

/* Findings: an encryption that names no kind, and a Windows path. */
static void encryptionAndWindowsPaths(void) {
    const int32_t kinds[] = {7, -1};
    for (size_t i = 0; i < 2; ++i) {
        VARIANT save[10] = {argText(pathIn("locked.pdf")), argText(""), argText(""), argText(""), argText(""),
                            argText(""), argLong(kinds[i]), argLong(-1), argText("user"), argText("owner")};
        CHECK(!callBool(memberId("SaveAsPDFEx"), save, 10));
        CHECK(lastStatus() == 2);
        VARIANT start[10] = {argText(pathIn("locked.pdf")), argText(""), argText(""), argText(""), argText(""),
                             argText(""), argLong(kinds[i]), argLong(-1), argText("user"), argText("owner")};
        CHECK(statusOfLong("TwainPdfStartEx", start, 10) == 2);
    }
    CHECK(!exists(pathIn("locked.pdf")));
    VARIANT windows[1] = {argText("C:\\temp\\x.pdf")};
    CHECK(!callBool(memberId("SaveAsPDF"), windows, 1));
    CHECK(!exists("C:\\temp\\x.pdf"));
    /* "\" separates folders: the file lands in the scratch folder. */
    char backslashed[600];
    snprintf(backslashed, sizeof backslashed, "%s\\windows.pdf", scratch);
    VARIANT resolved[1] = {argText(backslashed)};
    CHECK(callBool(memberId("SaveAsPDF"), resolved, 1));
    CHECK(exists(pathIn("windows.pdf")));
}

static void withPages(void) {
    scanPage();
    cropCounts();
    refusedPageKeepsTheOthers("TwainPdfStart", "TwainAddMorvalenImageToPdf", "TwainPdfStop", "b.pdf");
    refusedPageKeepsTheOthers("TwainPdfOCRStart", "TwainAddMorvalenImageToPdfOCR", "TwainPdfOCRStop", "ocr.pdf");
    targetsCheckedAtTheStart();
    releasedImageAndEmptyRegion();
    encryptionAndWindowsPaths();
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_boundaries", makePages,
                   "page0.pnm,page1.pnm,page2.pnm,page3.pnm,page4.pnm,page5.pnm,page6.pnm,page7.pnm", withoutImage,
                   withPages);
}
