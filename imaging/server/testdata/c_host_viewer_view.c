/* A plain C host of the viewer's turning, millimetre and selection-rectangle
 * members, by dispatch ID only: the viewer shows a BMP file the host writes,
 * turns it a quarter, places a rectangle in image pixels and reads it back
 * through by-reference longs, and removes it again.
 * Usage: c_host_viewer_view LIBRARY REGISTRY-FILE. */
#include "c_host_bitmap.h"
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
static void viewChecks(Dispatch* viewer) {
    const char* path = pathIn("page.bmp");
    CHECK(writeGreyBitmap(path, 300, 200, 11811)); /* 300 dpi */
    VARIANT file[1] = {argText(path)};
    CHECK(callLong(kViewerDisplayFromFile, file, 1) == 0);
    CHECK(getLongProperty(viewer, kViewerImageWidth) == 300);

    /* 300 pixels at 300 dpi are 25.4 mm. */
    VARIANT mm = invokeMember(kViewerGetWidthMM, NULL, 0, NULL);
    float widthMM = 0;
    memcpy(&widthMM, &mm.u, sizeof widthMM);
    CHECK(mm.vt == VT_R4 && widthMM > 25.39f && widthMM < 25.41f);

    /* A quarter turn swaps the sides. */
    CHECK(callLong(kViewerRotate90, NULL, 0) == 0);
    CHECK(getLongProperty(viewer, kViewerImageWidth) == 200 && getLongProperty(viewer, kViewerImageHeight) == 300);

    /* A rectangle in image pixels comes back through the by-reference longs. */
    VARIANT rect[4] = {argLong(10), argLong(20), argLong(30), argLong(40)};
    callNone(kViewerSetRectValues, rect, 4);
    CHECK(callBool(kViewerIsRectDrawed, NULL, 0));
    int32_t got[4] = {-1, -1, -1, -1};
    VARIANT refs[4] = {argRef(VT_I4, &got[0]), argRef(VT_I4, &got[1]), argRef(VT_I4, &got[2]),
                       argRef(VT_I4, &got[3])};
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
    Dispatch* viewer = createControl(&kClsidViewer);
    if (viewer) {
        Surface* surface = showViewer(viewer, 400, 400);
        Dispatch* twain = callOn(viewer);
        viewChecks(viewer);
        callOn(twain);
        if (surface) surface->vtbl->Release(surface);
        CHECK(viewer->vtbl->Release(viewer) == 0);
    }
}

int main(int argc, char** argv) {
    return runTwainHost(argc, argv, "c_host_viewer_view", NULL, checks);
}
