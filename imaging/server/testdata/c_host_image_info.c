/* A plain C host of the image information and handle members: a scanned
 * page's size, format and resolution by dispatch ID only, the handles it is
 * handed out as, given back by their members, and its encoded forms.
 * Usage: c_host_image_info LIBRARY REGISTRY-FILE. Exits with 77 (skipped)
 * while the build has no acquisition members. */
#include "c_host_scanned_pages.h"

enum {
    kSaveAsString = 0x6003005c,
    kGetWidth = 0x6003005e,
    kGetHeight = 0x6003005f,
    kGetWidthMM = 0x60030060,
    kGetPixelFormatString = 0x60030063,
    kGetPixelDepth = 0x60030065,
    kGetHorizontalResolution = 0x60030068,
    kSetHorizontalResolution = 0x6003006b,
    kSetVerticalResolution = 0x6003006c,
    kGetHBitmap = 0x6003006d,
    kDeleteHBitmap = 0x6003006e,
    kGetHICON = 0x6003006f,
    kDeleteHICON = 0x60030070,
    kGetPicture = 0x60030073,
    kDeletePictureObject = 0x600300fb,
    kGetDib = 0x600300fc,
    kRemoveDib = 0x600300fd,
    kGetGdiplusImage = 0x600300fe,
};
enum { kWidth = 240, kHeight = 160 };

static void makePages(void) { writeScannedPage("page.pnm", kWidth, kHeight, 0.0, 4); }

static void giveBack(int32_t member, int32_t handle) {
    VARIANT a[1] = {argLong(handle)};
    invokeMember(member, a, 1, NULL);
}

static void withoutImage(void) {
    CHECK(callLong(kGetWidth, NULL, 0) == 0);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 2);
    VARIANT dpi[1] = {argSingle(200)};
    CHECK(callLong(kSetVerticalResolution, dpi, 1) == 1);
    CHECK(callLong(kGetHBitmap, NULL, 0) == 0);
    CHECK(callLong(kGetGdiplusImage, NULL, 0) == 0);
    char encoded[8];
    VARIANT png[1] = {argText("PNG")};
    callText(kSaveAsString, png, 1, encoded, sizeof encoded);
    CHECK(encoded[0] == 0);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 1);
}

static void withPages(void) {
    const int32_t id = scanPage();
    CHECK(callLong(kGetWidth, NULL, 0) == kWidth && callLong(kGetHeight, NULL, 0) == kHeight);
    VARIANT dpi[1] = {argSingle(300)};
    CHECK(callLong(kSetHorizontalResolution, dpi, 1) == 0);
    VARIANT vertical[1] = {argSingle(150)};
    CHECK(callLong(kSetVerticalResolution, vertical, 1) == 0);
    CHECK(callSingle(kGetHorizontalResolution, NULL, 0) == 300.0f);
    const float millimetres = callSingle(kGetWidthMM, NULL, 0);
    printf("%d pixels at 300 dpi: %.4f mm\n", kWidth, millimetres);
    CHECK(fabs(millimetres - kWidth / 300.0 * 25.4) < 1e-3);
    char format[32];
    callText(kGetPixelFormatString, NULL, 0, format, sizeof format);
    printf("pixel format %s, %d bits\n", format, callLong(kGetPixelDepth, NULL, 0));
    CHECK(strstr(format, "bpp") != NULL);
    CHECK(callLong(kGetGdiplusImage, NULL, 0) == id);

    const int32_t bitmap = callLong(kGetHBitmap, NULL, 0), icon = callLong(kGetHICON, NULL, 0);
    const int32_t dib = callLong(kGetDib, NULL, 0);
    CHECK(bitmap != 0 && icon != 0 && dib != 0);
    giveBack(kDeleteHBitmap, bitmap);
    giveBack(kDeleteHICON, icon);
    giveBack(kRemoveDib, dib);

    VARIANT picture = invokeMember(kGetPicture, NULL, 0, NULL);
    CHECK(picture.vt == VT_DISPATCH && picture.u.record.a != NULL);
    if (picture.vt == VT_DISPATCH && picture.u.record.a) {
        Dispatch* object = (Dispatch*)picture.u.record.a;
        DISPPARAMS none = {NULL, NULL, 0, 0};
        VARIANT handle;
        memset(&handle, 0, sizeof handle);
        CHECK(object->vtbl->Invoke(object, 0, &kIidNull, 0, 2, &none, &handle, NULL, NULL) == 0);
        CHECK(handle.vt == VT_I4 && handle.u.lVal != 0);
        /* The host's variable, passed by reference. */
        Dispatch* held = object;
        VARIANT ref;
        memset(&ref, 0, sizeof ref);
        ref.vt = 0x4000 | VT_DISPATCH;
        ref.u.record.a = &held;
        invokeMember(kDeletePictureObject, &ref, 1, NULL);
        CHECK(held == object);
        CHECK(object->vtbl->Release(object) == 0);
    }

    VARIANT png[1] = {argText("PNG")};
    char encoded[8];
    callText(kSaveAsString, png, 1, encoded, sizeof encoded);
    CHECK(strncmp(encoded + 1, "PNG", 3) == 0);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 0);
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_image_info", makePages, "page.pnm", withoutImage, withPages);
}
