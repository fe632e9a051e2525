/* A plain C host of the image information and handle members: a scanned
 * page's size, format and resolution by dispatch ID only, the handles it is
 * handed out as, given back by their members, and its encoded forms.
 * Usage: c_host_image_info LIBRARY REGISTRY-FILE. Exits with 77 (skipped)
 * while the build has no acquisition members. */
#include "c_host_image_calls.h"

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
    VARIANT a[1] = {i4(handle)};
    call(member, a, 1);
}

static void withoutImage(void) {
    CHECK(noArgument(kGetWidth) == 0);
    CHECK(noArgument(kDispidGetStat) == 2);
    VARIANT dpi[1] = {r4(200)};
    CHECK(number(kSetVerticalResolution, dpi, 1) == 1);
    CHECK(noArgument(kGetHBitmap) == 0);
    CHECK(noArgument(kGetGdiplusImage) == 0);
    char encoded[8];
    VARIANT png[1] = {text("PNG")};
    textResult(kSaveAsString, png, 1, encoded, sizeof encoded);
    CHECK(encoded[0] == 0);
    CHECK(noArgument(kDispidGetStat) == 1);
}

static void withPages(void) {
    const int32_t id = scanPage();
    CHECK(noArgument(kGetWidth) == kWidth && noArgument(kGetHeight) == kHeight);
    VARIANT dpi[1] = {r4(300)};
    CHECK(number(kSetHorizontalResolution, dpi, 1) == 0);
    VARIANT vertical[1] = {r4(150)};
    CHECK(number(kSetVerticalResolution, vertical, 1) == 0);
    CHECK(single(kGetHorizontalResolution, NULL, 0) == 300.0f);
    const float millimetres = single(kGetWidthMM, NULL, 0);
    printf("%d pixels at 300 dpi: %.4f mm\n", kWidth, millimetres);
    CHECK(fabs(millimetres - kWidth / 300.0 * 25.4) < 1e-3);
    char format[32];
    textResult(kGetPixelFormatString, NULL, 0, format, sizeof format);
    printf("pixel format %s, %d bits\n", format, noArgument(kGetPixelDepth));
    CHECK(strstr(format, "bpp") != NULL);
    CHECK(noArgument(kGetGdiplusImage) == id);

    const int32_t bitmap = noArgument(kGetHBitmap), icon = noArgument(kGetHICON), dib = noArgument(kGetDib);
    CHECK(bitmap != 0 && icon != 0 && dib != 0);
    giveBack(kDeleteHBitmap, bitmap);
    giveBack(kDeleteHICON, icon);
    giveBack(kRemoveDib, dib);

    VARIANT picture = call(kGetPicture, NULL, 0);
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
        call(kDeletePictureObject, &ref, 1);
        CHECK(held == object);
        CHECK(object->vtbl->Release(object) == 0);
    }

    VARIANT png[1] = {text("PNG")};
    char encoded[8];
    textResult(kSaveAsString, png, 1, encoded, sizeof encoded);
    CHECK(strncmp(encoded + 1, "PNG", 3) == 0);
    CHECK(noArgument(kDispidGetStat) == 0);
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_image_info", makePages, "page.pnm", withoutImage, withPages);
}
