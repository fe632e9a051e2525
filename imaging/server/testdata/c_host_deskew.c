/* A plain C host of the deskew and cropping members: it scans pages made in
 * code (text turned by 4.5 degrees; a page in a black frame), straightens and
 * trims them by dispatch ID only, and measures the saved result again with
 * ImageMagick's -deskew.
 * Usage: c_host_deskew LIBRARY REGISTRY-FILE. Exits with 77 (skipped) while
 * the build has no acquisition members. */
#include "c_host_scanned_pages.h"

enum {
    kAutoDeskew = 0x60030010,
    kCropBorders = 0x60030015,
    kCropWhiteBorders = 0x60030011,
    kCrop = 0x60030013,
    kCropTop = 0x60030016,
    kSaveAsPNG = 0x60030052,
    kGetWidth = 0x6003005e,
    kGetHeight = 0x6003005f,
};
enum { kSkewedWidth = 900, kSkewedHeight = 1200, kFramedWidth = 600, kFramedHeight = 800, kFrame = 20 };

static void makePages(void) {
    writeScannedPage("skewed.pnm", kSkewedWidth, kSkewedHeight, 4.5, 0);
    writeScannedPage("framed.pnm", kFramedWidth, kFramedHeight, 0.0, kFrame);
}

/* ImageMagick's skew of a saved file, in degrees (its sign opposite to ours). */
static double magickSkew(const char* path) {
    char command[1024], out[128];
    snprintf(command, sizeof command, "convert '%s' -deskew 40%% -print '%%[deskew:angle]\\n' null: 2>/dev/null",
             path);
    CHECK(run(command, out, sizeof out));
    return atof(out);
}

static void withoutImage(void) {
    const int32_t members[] = {kAutoDeskew, kCropBorders, kCropWhiteBorders};
    for (size_t i = 0; i < sizeof members / sizeof members[0]; ++i) CHECK(callLong(members[i], NULL, 0) == 1);
    VARIANT rectangle[4] = {argLong(0), argLong(0), argLong(1), argLong(1)};
    CHECK(callLong(kCrop, rectangle, 4) == 1);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 1);
}

static void withPages(void) {
    scanPage();
    VARIANT before[1] = {argText(pathIn("before.png"))};
    CHECK(callLong(kSaveAsPNG, before, 1) == 0);
    const double scanned = magickSkew(pathIn("before.png"));
    printf("scanned page: ImageMagick measures %.3f degrees\n", scanned);
    CHECK(fabs(scanned + 4.5) <= 0.2);
    CHECK(callLong(kAutoDeskew, NULL, 0) == 0);
    CHECK(callLong(kGetWidth, NULL, 0) == kSkewedWidth && callLong(kGetHeight, NULL, 0) == kSkewedHeight);
    VARIANT after[1] = {argText(pathIn("after.png"))};
    CHECK(callLong(kSaveAsPNG, after, 1) == 0);
    const double straightened = magickSkew(pathIn("after.png"));
    printf("deskewed page: ImageMagick measures %.3f degrees\n", straightened);
    CHECK(fabs(straightened) <= 0.2);

    scanPage();
    CHECK(callLong(kCropBorders, NULL, 0) == 0);
    const int32_t width = callLong(kGetWidth, NULL, 0), height = callLong(kGetHeight, NULL, 0);
    printf("framed page: %d x %d after CropBorders\n", width, height);
    CHECK(abs(width - (kFramedWidth - 2 * kFrame)) <= 2 && abs(height - (kFramedHeight - 2 * kFrame)) <= 2);
    /* A crop outside the page fails and keeps it. */
    VARIANT outside[1] = {argLong(height)};
    CHECK(callLong(kCropTop, outside, 1) == 2);
    CHECK(callLong(kGetHeight, NULL, 0) == height);
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_deskew", makePages, "skewed.pnm,framed.pnm", withoutImage, withPages);
}
