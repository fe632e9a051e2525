/* A plain C host of the viewer's mouse and menu members, by dispatch ID only:
 * the viewer shows a bitmap the host wrote, the host moves the mouse over the
 * face and reads the image pixel under it back, and renames and disables
 * context-menu items (indexes outside 1-38 are ignored, not errors).
 * Usage: c_host_viewer_mouse LIBRARY REGISTRY-FILE. */
#include <dlfcn.h>

#include "c_host_calls.h"

static const GUID kClsidViewer = {0xf4d3f1fc, 0xa6ab, 0x41e3, {0x8a, 0x76, 0x0e, 0xee, 0x16, 0xce, 0x2b, 0xe4}};
static const GUID kIidControlSurface = {0xe04d8830, 0xb6ce, 0x406b, {0xa0, 0x03, 0x89, 0x45, 0xe7, 0x05, 0x80, 0xfe}};

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
enum { kPropertyPut = 4, kPropertyPutId = -3 };

/* The first slots of the control's face, up to the mouse moves. */
typedef struct Surface Surface;
typedef struct {
    HRESULT (*QueryInterface)(Surface*, const GUID*, void**);
    uint32_t (*AddRef)(Surface*);
    uint32_t (*Release)(Surface*);
    HRESULT (*SetSite)(Surface*, void*);
    HRESULT (*Show)(Surface*, int32_t);
    HRESULT (*Resize)(Surface*, int32_t, int32_t);
    HRESULT (*GetBackBuffer)(Surface*, void*);
    HRESULT (*MouseDown)(Surface*, int32_t, int32_t, int32_t, int32_t);
    HRESULT (*MouseMove)(Surface*, int32_t, int32_t, int32_t, int32_t);
} SurfaceVtbl;
struct Surface {
    const SurfaceVtbl* vtbl;
};

static Dispatch* viewer = NULL;
static const char* libraryPath = NULL;

static VARIANT onViewer(int32_t id, VARIANT* args, uint32_t count, HRESULT* hr) {
    Dispatch* twain = calledControl;
    calledControl = viewer;
    VARIANT result = invokeMember(id, args, count, hr);
    calledControl = twain;
    return result;
}

static void viewerPut(int32_t id, VARIANT value) {
    int32_t named = kPropertyPutId;
    DISPPARAMS params = {&value, &named, 1, 1};
    CHECK(viewer->vtbl->Invoke(viewer, id, &kIidNull, 0, kPropertyPut, &params, NULL, NULL, NULL) == 0);
}

static void put16(FILE* f, uint16_t v) { fputc(v & 0xff, f), fputc(v >> 8, f); }
static void put32(FILE* f, uint32_t v) { put16(f, (uint16_t)(v & 0xffff)), put16(f, (uint16_t)(v >> 16)); }

/* A grey 24-bit bitmap of 40 x 20 pixels (rows of 120 bytes, no padding). */
static int writeBitmap(const char* path) {
    FILE* f = fopen(path, "wb");
    if (!f) return 0;
    const uint32_t pixels = 40 * 20 * 3;
    fputc('B', f), fputc('M', f);
    put32(f, 54 + pixels), put32(f, 0), put32(f, 54);
    put32(f, 40), put32(f, 40), put32(f, 20), put16(f, 1), put16(f, 24), put32(f, 0), put32(f, pixels);
    put32(f, 2835), put32(f, 2835), put32(f, 0), put32(f, 0);
    for (uint32_t i = 0; i < pixels; ++i) fputc(0x80, f);
    return fclose(f) == 0;
}

static void checks(void) {
    HRESULT (*getClassObject)(const GUID*, const GUID*, void**) = NULL;
    void* library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (library) getClassObject = (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(library, "DllGetClassObject");
    CHECK(getClassObject != NULL);
    ClassFactory* factory = NULL;
    if (getClassObject) CHECK(getClassObject(&kClsidViewer, &kIidClassFactory, (void**)&factory) == 0 && factory);
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&viewer) == 0 && viewer);
        factory->vtbl->Release(factory);
    }
    if (!viewer) return;
    Surface* surface = NULL;
    CHECK(viewer->vtbl->QueryInterface(viewer, &kIidControlSurface, (void**)&surface) == 0 && surface);
    viewerPut(kViewerSilentMode, argFlag(1));
    viewerPut(kViewerBorderStyle, argLong(0));
    if (surface) {
        CHECK(surface->vtbl->Resize(surface, 200, 100) == 0);
        CHECK(surface->vtbl->Show(surface, 1) == 0);
    }
    const char* path = hostPath("grey.bmp");
    CHECK(writeBitmap(path));
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
    if (library) dlclose(library);
}

int main(int argc, char** argv) {
    libraryPath = argc > 1 ? argv[1] : NULL;
    return runTwainHost(argc, argv, "c_host_viewer_mouse", checks);
}
