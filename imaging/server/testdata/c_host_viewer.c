/* A plain C host of the viewer and the scanning control together, by dispatch
 * ID only: Twain scans a page from SANE's "test" backend (through a private
 * SANE configuration it writes itself), the viewer shows that image ID, raises
 * its events in order to the host's sink, forgets the image on ImageClosed,
 * and once Twain has closed the image nothing of it is left registered. The
 * page written twice into a PDF by Twain is shown page by page from that file.
 * Usage: c_host_viewer LIBRARY REGISTRY-FILE. */
#include "c_host_sane.h"
#include "c_host_viewer_surface.h"

static const GUID kIidViewerEvents = {0xcaf35ba2, 0xaf39, 0x496a, {0xb1, 0xe4, 0xec, 0x4d, 0xce, 0x8d, 0x02, 0xd8}};
static const GUID kIidUnknown = {0x00000000, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
static const GUID kIidConnectionPointContainer = {0xb196b284, 0xbab4, 0x101a, {0xb6, 0x9c, 0x00, 0xaa, 0x00, 0x34, 0x1d, 0x07}};

enum {
    kTwainCloseImage = 0x60030051,
    kViewerSilentMode = 0x6803000d,
    kViewerGetStat = 0x60030037,
    kViewerGetNativeImage = 0x6003003c,
    kViewerImageClosed = 0x6003003e,
    kViewerSetNativeImage = 0x60030077,
    kViewerGetDocumentType = 0x6003003d,
    kViewerCloseImage = 0x6003003f,
    kViewerDisplayFromPdfFile = 0x600300a0,
    kViewerPdfGetTitle = 0x600300a3,
    kViewerDisplayFrame = 0x600300ab,
    kViewerDisplayNextFrame = 0x600300ac,
    kViewerDisplayFirstFrame = 0x600300ae,
};


/* --- the host's event sink: an IDispatch that records event numbers --- */

typedef struct Sink Sink;
struct Sink {
    const DispatchVtbl* vtbl;
    int events[64];
    int count;
};

static HRESULT sinkQuery(Dispatch* self, const GUID* iid, void** object) {
    if (!memcmp(iid, &kIidUnknown, sizeof *iid) || !memcmp(iid, &kIidDispatch, sizeof *iid) ||
        !memcmp(iid, &kIidViewerEvents, sizeof *iid)) {
        *object = self;
        return 0;
    }
    *object = NULL;
    return (HRESULT)0x80004002;
}
static uint32_t sinkAddRef(Dispatch* self) { (void)self; return 2; }
static uint32_t sinkRelease(Dispatch* self) { (void)self; return 1; }
static HRESULT sinkTypeInfoCount(Dispatch* self, uint32_t* count) { (void)self; *count = 0; return 0; }
static HRESULT sinkTypeInfo(Dispatch* self, uint32_t i, uint32_t l, TypeInfo** t) {
    (void)self; (void)i; (void)l;
    *t = NULL;
    return kNotImplemented;
}
static HRESULT sinkIds(Dispatch* self, const GUID* g, OLECHAR** n, uint32_t c, uint32_t l, int32_t* ids) {
    (void)self; (void)g; (void)n; (void)c; (void)l; (void)ids;
    return kNotImplemented;
}
static HRESULT sinkInvoke(Dispatch* self, int32_t id, const GUID* g, uint32_t l, uint16_t flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* e, uint32_t* a) {
    (void)g; (void)l; (void)flags; (void)params; (void)result; (void)e; (void)a;
    Sink* sink = (Sink*)self;
    if (sink->count < 64) sink->events[sink->count++] = id;
    return 0;
}
static const DispatchVtbl kSinkVtbl = {sinkQuery, sinkAddRef, sinkRelease, sinkTypeInfoCount, sinkTypeInfo, sinkIds, sinkInvoke};

/* --- the viewer's faces this host uses --- */

typedef struct ConnectionPoint ConnectionPoint;
typedef struct {
    HRESULT (*QueryInterface)(ConnectionPoint*, const GUID*, void**);
    uint32_t (*AddRef)(ConnectionPoint*);
    uint32_t (*Release)(ConnectionPoint*);
    HRESULT (*GetConnectionInterface)(ConnectionPoint*, GUID*);
    HRESULT (*GetConnectionPointContainer)(ConnectionPoint*, void**);
    HRESULT (*Advise)(ConnectionPoint*, Unknown*, uint32_t*);
    HRESULT (*Unadvise)(ConnectionPoint*, uint32_t);
} ConnectionPointVtbl;
struct ConnectionPoint {
    const ConnectionPointVtbl* vtbl;
};

typedef struct Container Container;
typedef struct {
    HRESULT (*QueryInterface)(Container*, const GUID*, void**);
    uint32_t (*AddRef)(Container*);
    uint32_t (*Release)(Container*);
    HRESULT (*EnumConnectionPoints)(Container*, void**);
    HRESULT (*FindConnectionPoint)(Container*, const GUID*, ConnectionPoint**);
} ContainerVtbl;
struct Container {
    const ContainerVtbl* vtbl;
};

/* --- calls by dispatch ID on the viewer (the shared helpers call Twain) --- */

static Dispatch* viewer = NULL;

static int32_t viewerLong(int32_t id, VARIANT* args, uint32_t count) {
    Dispatch* twain = callOn(viewer);
    const int32_t result = callLong(id, args, count);
    callOn(twain);
    return result;
}

static void viewerNone(int32_t id) {
    Dispatch* twain = callOn(viewer);
    callNone(id, NULL, 0);
    callOn(twain);
}

static int sameEvents(const Sink* sink, const int* expected, int count) {
    if (sink->count != count) return 0;
    for (int i = 0; i < count; ++i)
        if (sink->events[i] != expected[i]) return 0;
    return 1;
}

static int32_t viewerText(int32_t id, char* out, size_t size) {
    Dispatch* twain = callOn(viewer);
    callText(id, NULL, 0, out, size);
    callOn(twain);
    return 0;
}

/* Twain writes the page twice into a PDF. */
static void writePdf(int32_t image) {
    VARIANT start[2] = {argText(pathIn("scanned.pdf")), argText("Scanned")};
    CHECK(callLong(kTwainPdfStart, start, 2) == 0);
    VARIANT page[1] = {argLong(image)};
    CHECK(callLong(kTwainAddMorvalenImageToPdf, page, 1) == 0);
    CHECK(callLong(kTwainAddMorvalenImageToPdf, page, 1) == 0);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 0);
}

/* The viewer shows that PDF page by page. */
static void showPdf(void) {
    VARIANT open[2] = {argText(pathIn("scanned.pdf")), argText("")};
    CHECK(viewerLong(kViewerDisplayFromPdfFile, open, 2) == 0);
    CHECK(viewerLong(kViewerGetDocumentType, NULL, 0) == 2);
    char title[64];
    viewerText(kViewerPdfGetTitle, title, sizeof title);
    CHECK(strcmp(title, "Scanned") == 0);
    CHECK(viewerLong(kViewerDisplayNextFrame, NULL, 0) == 0);
    VARIANT third[1] = {argLong(3)};
    CHECK(viewerLong(kViewerDisplayFrame, third, 1) == 0);
    CHECK(viewerLong(kViewerDisplayFirstFrame, NULL, 0) == 0);
    viewerNone(kViewerCloseImage);
    CHECK(viewerLong(kViewerGetDocumentType, NULL, 0) == 0);
    viewerText(kViewerPdfGetTitle, title, sizeof title);
    CHECK(title[0] == 0);
    VARIANT missing[2] = {argText(pathIn("missing.pdf")), argText("")};
    CHECK(viewerLong(kViewerDisplayFromPdfFile, missing, 2) == 10);
    remove(pathIn("scanned.pdf"));
}

static void showAndClose(int32_t image, Sink* sink) {
    putProperty(viewer, kViewerSilentMode, argFlag(1));

    VARIANT id[1] = {argLong(image)};
    sink->count = 0;
    CHECK(viewerLong(kViewerSetNativeImage, id, 1) == 0);
    /* BeforeZoomChange, PictureChange, Display, PaintControl, PictureChanged, PageChange, ZoomChange */
    static const int first[] = {22, 8, 10, 20, 9, 5, 2};
    CHECK(sameEvents(sink, first, 7));
    CHECK(viewerLong(kViewerGetNativeImage, NULL, 0) == image);

    /* ImageClosed forgets the image without releasing it: it can be shown again. */
    viewerNone(kViewerImageClosed);
    CHECK(viewerLong(kViewerGetNativeImage, NULL, 0) == 0);
    CHECK(viewerLong(kViewerSetNativeImage, id, 1) == 0);
    viewerNone(kViewerImageClosed);

    /* The host releases its image; no ID of it is left for anyone to show. */
    CHECK(callLong(kTwainCloseImage, id, 1) == 0);
    CHECK(viewerLong(kViewerSetNativeImage, id, 1) == 2);
    CHECK(viewerLong(kViewerGetStat, NULL, 0) == 2);
    viewerNone(kViewerImageClosed);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_viewer LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    makeFolders();
    if (!createTwain(argv[1], argv[2])) return finishScratch();
    viewer = createControl(&kClsidViewer);
    Sink sink = {&kSinkVtbl, {0}, 0};
    if (viewer) {
        Surface* surface = showViewer(viewer, 320, 240);
        Container* container = NULL;
        ConnectionPoint* point = NULL;
        uint32_t cookie = 0;
        CHECK(viewer->vtbl->QueryInterface(viewer, &kIidConnectionPointContainer, (void**)&container) == 0);
        if (container) {
            CHECK(container->vtbl->FindConnectionPoint(container, &kIidViewerEvents, &point) == 0 && point);
            if (point) CHECK(point->vtbl->Advise(point, (Unknown*)&sink, &cookie) == 0);
            container->vtbl->Release(container);
        }
        VARIANT hide[1] = {argFlag(1)};
        callNone(kTwainSetHideUI, hide, 1);
        CHECK(openDefault());
        const int32_t image = acquireImage();
        CHECK(image != 0);
        if (image) {
            putProperty(viewer, kViewerSilentMode, argFlag(1));
            writePdf(image);
            showAndClose(image, &sink);
            showPdf();
        }
        if (point) {
            CHECK(point->vtbl->Unadvise(point, cookie) == 0);
            point->vtbl->Release(point);
        }
        if (surface) surface->vtbl->Release(surface);
        CHECK(viewer->vtbl->Release(viewer) == 0);
    }
    CHECK(calledControl->vtbl->Release(calledControl) == 0);
    CHECK(serverCanUnloadNow() == 0);
    unloadServer();
    return finishScratch();
}
