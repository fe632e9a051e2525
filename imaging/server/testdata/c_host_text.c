/* A plain C host of the text, font, clipboard and display members: text
 * drawn on a scanned page by dispatch ID only and read back by ImageMagick,
 * the font list, and the answers where the host offers no clipboard or window.
 * Usage: c_host_text LIBRARY REGISTRY-FILE. Exits with 77 (skipped) while the
 * build has no acquisition members. */
#include "c_host_image_calls.h"

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
};
enum { kWidth = 320, kHeight = 120 };

static void makePages(void) { writeScannedPage("page.pnm", kWidth, kHeight, 0.0, 0); }

static void withoutImage(void) {
    VARIANT draw[4] = {text("Bill"), i4(0), i4(0), i4(12)};
    CHECK(number(kDrawText, draw, 4) == 1);
    VARIANT measure[3] = {text("Bill"), text("Arial"), i4(12)};
    CHECK(single(kGetTextWidth, measure, 3) == 0.0f);
    CHECK(noArgument(kDispidGetStat) == 1);

    VARIANT count = call(kFontGetCount, NULL, 0);
    CHECK(count.vt == VT_I2);
    const int16_t fonts = (int16_t)(count.u.lVal & 0xFFFF);
    char first[128], none[8], past[8];
    VARIANT one[1] = {i4(1)}, zero[1] = {i4(0)}, beyond[1] = {i4(fonts + 1)};
    textResult(kFontGetName, one, 1, first, sizeof first);
    textResult(kFontGetName, zero, 1, none, sizeof none);
    textResult(kFontGetName, beyond, 1, past, sizeof past);
    printf("%d fonts, the first %s\n", fonts, first);
    CHECK(fonts > 0 && first[0] != 0 && none[0] == 0 && past[0] == 0);
    VARIANT bold[2] = {text("Arial"), i4(1)};
    VARIANT available = call(kFontIsStyleAvailable, bold, 2);
    CHECK(available.vt == VT_BOOL && available.u.boolVal != 0);
    VARIANT pixels[1] = {i4(2)};
    call(kFontSetUnit, pixels, 1);
    CHECK(noArgument(kFontGetUnit) == 2);
}

static void withPages(void) {
    scanPage();
    /* Red as a Windows RGB value draws opaque red. */
    VARIANT draw[6] = {text("Bill 42"), i4(10), i4(60), i4(40), i4(1), i4(255)};
    CHECK(number(kDrawText, draw, 6) == 0);
    VARIANT box[11] = {text("Box"), i4(200), i4(10), i4(100), i4(100), i4(20), i4(2), i4(0), i4(-16777216),
                       text("Arial"), flag(1)};
    CHECK(number(kDrawTextBox, box, 11) == 0);
    VARIANT measure[3] = {text("Bill 42"), text("Arial"), i4(40)};
    const float width = single(kGetTextWidth, measure, 3);
    CHECK(width > 40.0f && width < 300.0f);
    VARIANT saved[1] = {text(pathIn("text.png"))};
    CHECK(number(kSaveAsPNG, saved, 1) == 0);
    char command[1024], out[128];
    snprintf(command, sizeof command,
             "convert '%s' -crop 180x50+10+60 +repage -fx 'r>0.8&&g<0.2&&b<0.2' -format '%%[fx:mean]' info: "
             "2>/dev/null",
             pathIn("text.png"));
    CHECK(run(command, out, sizeof out));
    printf("share of red pixels where the text is: %s\n", out);
    CHECK(atof(out) > 0.05);

    /* Neither a clipboard nor windows are offered by this host. */
    CHECK(noArgument(kCopyToClipboard) != 0);
    VARIANT window[5] = {i4(12345), i4(0), i4(0), i4(10), i4(10)};
    CHECK(number(kDisplayImageOnHwnd, window, 5) == 7);
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_text", makePages, "page.pnm", withoutImage, withPages);
}
