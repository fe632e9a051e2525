/* A plain C host of the viewer's turning, millimetre and selection-rectangle
 * members, by dispatch ID only: the viewer shows a BMP file the host writes,
 * turns it a quarter, places a rectangle in image pixels and reads it back
 * through by-reference longs, and removes it again.
 * Usage: c_host_viewer_view LIBRARY REGISTRY-FILE. */
#include "c_host_server.h"
#include "c_host_viewer_surface.h"

enum {
    kViewerImageWidth = 0x68030003,
    kViewerImageHeight = 0x68030004,
    kViewerGetStat = 0x60030037,
    kViewerCloseImage = 0x6003003f,
    kViewerDisplayFromFile = 0x60030041,
    kViewerRotate90 = 0x600300d0,
    kViewerCopyRegion2Clipboard = 0x600300d8,
    kViewerClearRect = 0x600300db,
    kViewerGetWidthMM = 0x600300de,
    kViewerIsRectDrawed = 0x600300e1,
    kViewerGetRectValues = 0x600300e2,
    kViewerGetRectWidth = 0x600300e5,
    kViewerSetRectValues = 0x600300e9,
};
enum { kPropertyGet = 2 };


static int32_t getLong(int32_t id) {
    DISPPARAMS params = {NULL, NULL, 0, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    CHECK(calledControl->vtbl->Invoke(calledControl, id, &kIidNull, 0, kPropertyGet, &params, &result, NULL, NULL) == 0);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static VARIANT longRef(int32_t* target) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4 | VT_BYREF;
    v.u.record.a = target;
    return v;
}

/* A 300 x 200 24-bit BMP at 300 dpi (11811 pixels per metre), all grey. */
static void writeBmp(const char* path) {
    const int width = 300, height = 200, stride = width * 3;
    const uint32_t size = 54 + (uint32_t)(stride * height);
    uint8_t header[54] = {'B', 'M'};
    memcpy(header + 2, &size, 4);
    header[10] = 54;
    header[14] = 40;
    memcpy(header + 18, &width, 4);
    memcpy(header + 22, &height, 4);
    header[26] = 1;
    header[28] = 24;
    const int32_t ppm = 11811;
    memcpy(header + 38, &ppm, 4);
    memcpy(header + 42, &ppm, 4);
    FILE* f = fopen(path, "wb");
    CHECK(f != NULL);
    if (!f) return;
    fwrite(header, 1, sizeof header, f);
    uint8_t row[900];
    memset(row, 0x80, sizeof row);
    for (int y = 0; y < height; ++y) fwrite(row, 1, (size_t)stride, f);
    fclose(f);
}

static void viewChecks(Dispatch* viewer) {
    calledControl = viewer;
    const char* path = pathIn("page.bmp");
    writeBmp(path);
    VARIANT file[1] = {argText(path)};
    CHECK(callLong(kViewerDisplayFromFile, file, 1) == 0);
    CHECK(getLong(kViewerImageWidth) == 300);

    /* 300 pixels at 300 dpi are 25.4 mm. */
    VARIANT mm = invokeMember(kViewerGetWidthMM, NULL, 0, NULL);
    float widthMM = 0;
    memcpy(&widthMM, &mm.u, sizeof widthMM);
    CHECK(mm.vt == VT_R4 && widthMM > 25.39f && widthMM < 25.41f);

    /* A quarter turn swaps the sides. */
    CHECK(callLong(kViewerRotate90, NULL, 0) == 0);
    CHECK(getLong(kViewerImageWidth) == 200 && getLong(kViewerImageHeight) == 300);

    /* A rectangle in image pixels comes back through the by-reference longs. */
    VARIANT rect[4] = {argLong(10), argLong(20), argLong(30), argLong(40)};
    callNone(kViewerSetRectValues, rect, 4);
    CHECK(callBool(kViewerIsRectDrawed, NULL, 0));
    int32_t got[4] = {-1, -1, -1, -1};
    VARIANT refs[4] = {longRef(&got[0]), longRef(&got[1]), longRef(&got[2]), longRef(&got[3])};
    callNone(kViewerGetRectValues, refs, 4);
    CHECK(got[0] == 10 && got[1] == 20 && got[2] == 30 && got[3] == 40);
    CHECK(callLong(kViewerGetRectWidth, NULL, 0) == 30);
    callNone(kViewerClearRect, NULL, 0);
    CHECK(!callBool(kViewerIsRectDrawed, NULL, 0));

    /* A region outside the image reaches no clipboard and reports the failure. */
    VARIANT region[4] = {argLong(190), argLong(0), argLong(40), argLong(40)};
    callNone(kViewerCopyRegion2Clipboard, region, 4);
    CHECK(callLong(kViewerGetStat, NULL, 0) != 0);

    callNone(kViewerCloseImage, NULL, 0);
    CHECK(unlink(path) == 0);
}

static void checks(void) {
    Dispatch* twain = calledControl;
    Dispatch* viewer = createControl(&kClsidViewer);
    if (viewer) {
        Surface* surface = NULL;
        CHECK(viewer->vtbl->QueryInterface(viewer, &kIidControlSurface, (void**)&surface) == 0 && surface);
        if (surface) {
            CHECK(surface->vtbl->Resize(surface, 400, 400) == 0);
            CHECK(surface->vtbl->Show(surface, 1) == 0);
        }
        viewChecks(viewer);
        if (surface) surface->vtbl->Release(surface);
        CHECK(viewer->vtbl->Release(viewer) == 0);
    }
    calledControl = twain;
}

int main(int argc, char** argv) {
    return runTwainHost(argc, argv, "c_host_viewer_view", NULL, checks);
}
