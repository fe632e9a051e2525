/* A plain C host of the viewer's mouse and menu members, by dispatch ID only:
 * the viewer shows a bitmap the host wrote, the host moves the mouse over the
 * face and reads the image pixel under it back, and renames and disables
 * context-menu items (indexes outside 1-38 are ignored, not errors).
 * Usage: c_host_viewer_mouse LIBRARY REGISTRY-FILE. */

#include "c_host_bitmap.h"
#include "c_host_server.h"
#include "c_host_viewer_surface.h"

enum {
    kViewerBorderStyle = 0x6803001e,
    kViewerSilentMode = 0x6803000d,
    kViewerDisplayFromFile = 0x60030041,
    kViewerGetImageLeft = 0x6003005b,
    kViewerGetImageTop = 0x6003005c,
    kViewerGetMouseX = 0x60030066,
    kViewerGetMouseY = 0x60030067,
    kViewerSetItemMenuCaption = 0x60030068,
    kViewerSetItemMenuEnabled = 0x60030069,
};

static Dispatch* viewer = NULL;

static VARIANT onViewer(int32_t id, VARIANT* args, uint32_t count, HRESULT* hr) {
    Dispatch* twain = callOn(viewer);
    VARIANT result = invokeMember(id, args, count, hr);
    callOn(twain);
    return result;
}

static void checks(void) {
    viewer = createControl(&kClsidViewer);
    if (!viewer) return;
    putProperty(viewer, kViewerSilentMode, argFlag(1));
    putProperty(viewer, kViewerBorderStyle, argLong(0));
    Surface* surface = showViewer(viewer, 200, 100);
    const char* path = pathIn("grey.bmp");
    CHECK(writeGreyBitmap(path, 40, 20, 2835));
    VARIANT file[1] = {argText(path)};
    HRESULT hr = 0;
    VARIANT status = onViewer(kViewerDisplayFromFile, file, 1, &hr);
    CHECK(hr == 0 && status.u.lVal == 0);
    const int32_t left = onViewer(kViewerGetImageLeft, NULL, 0, &hr).u.lVal;
    const int32_t top = onViewer(kViewerGetImageTop, NULL, 0, &hr).u.lVal;
    CHECK(left == 80 && top == 40); /* the 40 x 20 image in the middle of the 200 x 100 face */

    /* The pixel under the pointer, clamped to the image. */
    static const int32_t moves[][4] = {{90, 45, 10, 5}, {119, 59, 39, 19}, {5, 5, 0, 0}, {199, 99, 39, 19}};
    for (unsigned i = 0; surface && i < sizeof moves / sizeof moves[0]; ++i) {
        CHECK(surface->vtbl->MouseMove(surface, 0, 0, moves[i][0], moves[i][1]) == 0);
        CHECK(onViewer(kViewerGetMouseX, NULL, 0, &hr).u.lVal == moves[i][2] && hr == 0);
        CHECK(onViewer(kViewerGetMouseY, NULL, 0, &hr).u.lVal == moves[i][3] && hr == 0);
    }

    static const int32_t indexes[] = {0, 1, 15, 38, 39, -5};
    for (unsigned i = 0; i < sizeof indexes / sizeof indexes[0]; ++i) {
        VARIANT caption[2] = {argLong(indexes[i]), argText("Renamed")};
        onViewer(kViewerSetItemMenuCaption, caption, 2, &hr);
        CHECK(hr == 0);
        VARIANT enabled[2] = {argLong(indexes[i]), argFlag(0)};
        onViewer(kViewerSetItemMenuEnabled, enabled, 2, &hr);
        CHECK(hr == 0);
    }

    if (surface) surface->vtbl->Release(surface);
    CHECK(viewer->vtbl->Release(viewer) == 0);
    viewer = NULL;
    CHECK(remove(path) == 0);
}

int main(int argc, char** argv) {
    return runTwainHost(argc, argv, "c_host_viewer_mouse", NULL, checks);
}
