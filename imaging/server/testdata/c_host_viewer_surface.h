/* The viewer's class and the first slots of its face (IControlSurface), for
 * the C hosts that size and show it and move the mouse over it. */
#ifndef SCANVELT_C_HOST_VIEWER_SURFACE_H
#define SCANVELT_C_HOST_VIEWER_SURFACE_H
#include "c_host_abi.h"

static const GUID kClsidViewer = {0xf4d3f1fc, 0xa6ab, 0x41e3, {0x8a, 0x76, 0x0e, 0xee, 0x16, 0xce, 0x2b, 0xe4}};
static const GUID kIidControlSurface = {0xe04d8830, 0xb6ce, 0x406b, {0xa0, 0x03, 0x89, 0x45, 0xe7, 0x05, 0x80, 0xfe}};

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

/* The viewer's face, sized and shown; NULL (and a failed check) when the
 * viewer has none. The caller releases it. */
static inline Surface* showViewer(Dispatch* viewer, int32_t width, int32_t height) {
    Surface* surface = NULL;
    CHECK(viewer->vtbl->QueryInterface(viewer, &kIidControlSurface, (void**)&surface) == 0 && surface);
    if (surface) {
        CHECK(surface->vtbl->Resize(surface, width, height) == 0);
        CHECK(surface->vtbl->Show(surface, 1) == 0);
    }
    return surface;
}

#endif
