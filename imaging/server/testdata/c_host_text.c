/* A plain C host of the text, font, clipboard and display members: text
 * drawn on a scanned page by dispatch ID only and read back by ImageMagick,
 * the font list, the page drawn into windows of the host, and the answers
 * where the host offers no clipboard or no such window.
 * Usage: c_host_text LIBRARY REGISTRY-FILE. Exits with 77 (skipped) while the
 * build has no acquisition members. */
#include "c_host_scanned_pages.h"
#include "c_host_window.h"

enum {
    kSaveAsPNG = 0x60030052,
    kDrawText = 0x600300ff,
    kDrawTextBox = 0x60030103,
    kGetTextWidth = 0x60030107,
    kFontSetUnit = 0x60030109,
    kFontGetUnit = 0x6003010a,
    kFontGetCount = 0x6003010b,
    kFontGetName = 0x6003010c,
    kFontIsStyleAvailable = 0x6003010d,
    kCopyToClipboard = 0x6003010e,
    kDisplayImageOnHwnd = 0x60030122,
    kDisplayImageRectOnHwnd = 0x60030124,
};
enum { kGrey = 0x808080, kWhite = 0xFFFFFF, kRed = 0xFF0000, kNearestNeighbour = 5 };
enum { kWidth = 320, kHeight = 120 };

static void makePages(void) { writeScannedPage("page.pnm", kWidth, kHeight, 0.0, 0); }

static void withoutImage(void) {
    VARIANT draw[4] = {argText("Bill"), argLong(0), argLong(0), argLong(12)};
    CHECK(callLong(kDrawText, draw, 4) == 1);
    VARIANT measure[3] = {argText("Bill"), argText("Arial"), argLong(12)};
    CHECK(callSingle(kGetTextWidth, measure, 3) == 0.0f);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 1);

    VARIANT count = invokeMember(kFontGetCount, NULL, 0, NULL);
    CHECK(count.vt == VT_I2);
    const int16_t fonts = (int16_t)(count.u.lVal & 0xFFFF);
    char first[128], none[8], past[8];
    VARIANT one[1] = {argLong(1)}, zero[1] = {argLong(0)}, beyond[1] = {argLong(fonts + 1)};
    callText(kFontGetName, one, 1, first, sizeof first);
    callText(kFontGetName, zero, 1, none, sizeof none);
    callText(kFontGetName, beyond, 1, past, sizeof past);
    printf("%d fonts, the first %s\n", fonts, first);
    CHECK(fonts > 0 && first[0] != 0 && none[0] == 0 && past[0] == 0);
    VARIANT bold[2] = {argText("Arial"), argLong(1)};
    VARIANT available = invokeMember(kFontIsStyleAvailable, bold, 2, NULL);
    CHECK(available.vt == VT_BOOL && available.u.boolVal != 0);
    VARIANT pixels[1] = {argLong(2)};
    invokeMember(kFontSetUnit, pixels, 1, NULL);
    CHECK(callLong(kFontGetUnit, NULL, 0) == 2);
}

static void withPages(void) {
    scanPage();
    /* Red as a Windows RGB value draws opaque red. */
    VARIANT draw[6] = {argText("Bill 42"), argLong(10), argLong(60), argLong(40), argLong(1), argLong(255)};
    CHECK(callLong(kDrawText, draw, 6) == 0);
    VARIANT box[11] = {argText("Box"), argLong(200), argLong(10), argLong(100),
                       argLong(100), argLong(20), argLong(2), argLong(0),
                       argLong(-16777216), argText("Arial"), argFlag(1)};
    CHECK(callLong(kDrawTextBox, box, 11) == 0);
    VARIANT measure[3] = {argText("Bill 42"), argText("Arial"), argLong(40)};
    const float width = callSingle(kGetTextWidth, measure, 3);
    CHECK(width > 40.0f && width < 300.0f);
    VARIANT saved[1] = {argText(pathIn("text.png"))};
    CHECK(callLong(kSaveAsPNG, saved, 1) == 0);
    char command[1024], out[128];
    snprintf(command, sizeof command,
             "convert '%s' -crop 180x50+10+60 +repage -fx 'r>0.8&&g<0.2&&b<0.2' -format '%%[fx:mean]' info: "
             "2>/dev/null",
             pathIn("text.png"));
    CHECK(run(command, out, sizeof out));
    printf("share of red pixels where the text is: %s\n", out);
    CHECK(atof(out) > 0.05);

    /* No clipboard is offered by this host, and window 12345 is none of its own. */
    CHECK(callLong(kCopyToClipboard, NULL, 0) != 0);
    VARIANT unknown[5] = {argLong(12345), argLong(0), argLong(0), argLong(10), argLong(10)};
    CHECK(callLong(kDisplayImageOnHwnd, unknown, 5) == 7);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 7);
}

/* The page at full size into a grey window 20 pixels larger each way. */
static void drawnIntoWindows(void) {
    const int32_t width = kWidth + 20, height = kHeight + 20;
    const uint32_t window = c_host_window_open(width, height, 0xFF000000u | kGrey);
    CHECK(window != 0);
    VARIANT whole[6] = {argLong((int32_t)window), argLong(10), argLong(10), argLong(kWidth), argLong(kHeight),
                        argLong(kNearestNeighbour)};
    CHECK(callLong(kDisplayImageOnHwnd, whole, 6) == 0);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 0);
    CHECK(c_host_window_handovers(window) == 1);
    /* The page covers its rectangle and nothing beyond. */
    CHECK(c_host_window_count(window, 10, 10, kWidth, kHeight, kGrey) == 0);
    CHECK(c_host_window_count(window, 0, 0, width, height, kGrey) == width * height - kWidth * kHeight);
    /* The margin of the page is white paper; the text drawn in red lies where it was drawn. */
    CHECK(c_host_window_count(window, 10, 10, 20, 10, kWhite) == 200);
    const int32_t red = c_host_window_count(window, 20, 70, 180, 50, kRed);
    printf("red pixels of the text in the window: %d\n", red);
    CHECK(red > 200);

    /* The top left corner of the page (white margin) stretched over the whole window. */
    VARIANT corner[10] = {argLong((int32_t)window), argLong(0), argLong(0), argLong(width), argLong(height),
                          argLong(0), argLong(0), argLong(8), argLong(8), argLong(kNearestNeighbour)};
    CHECK(callLong(kDisplayImageRectOnHwnd, corner, 10) == 0);
    CHECK(c_host_window_count(window, 0, 0, width, height, kWhite) == width * height);

    /* A window the host closed is no window any more. */
    c_host_window_close(window);
    CHECK(callLong(kDisplayImageOnHwnd, whole, 6) == 7);
}

static void withPagesAndWindows(void) {
    withPages();
    drawnIntoWindows();
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_text", makePages, "page.pnm", withoutImage, withPagesAndWindows);
}
