/* Calls by dispatch ID for the plain C hosts of the Twain control's image
 * members: variants in, results out, shell tools for reading files back.
 * Needs c_host_abi.h and a `twain` object. */
#ifndef SCANVELT_C_HOST_IMAGE_CALLS_H
#define SCANVELT_C_HOST_IMAGE_CALLS_H

#include <dlfcn.h>
#include <math.h>
#include <sys/stat.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_I2 = 2, VT_R4 = 4, VT_BSTR = 8, VT_DISPATCH = 9, VT_BOOL = 11 };
static const HRESULT kNotImplemented = (HRESULT)0x80004001;
static const HRESULT kMemberNotFound = (HRESULT)0x80020003;

static Dispatch* twain = NULL;

static inline VARIANT i4(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

static inline VARIANT r4(float value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_R4;
    memcpy(&v.u, &value, sizeof value);
    return v;
}

static inline VARIANT flag(int value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BOOL;
    v.u.boolVal = value ? -1 : 0;
    return v;
}

static inline VARIANT text(const char* value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BSTR;
    v.u.bstrVal = makeBstr(value);
    return v;
}

/* The member's result and HRESULT; arguments in the host's order, texts freed. */
static inline VARIANT invoke(int32_t id, VARIANT* arguments, uint32_t count, HRESULT* hr) {
    VARIANT reversed[16];
    for (uint32_t i = 0; i < count; ++i) reversed[i] = arguments[count - 1 - i];
    DISPPARAMS params = {reversed, NULL, count, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    *hr = twain->vtbl->Invoke(twain, id, &kIidNull, 0, 1, &params, &result, NULL, NULL);
    for (uint32_t i = 0; i < count; ++i) {
        if (arguments[i].vt == VT_BSTR) freeBstr(arguments[i].u.bstrVal);
    }
    return result;
}

static inline VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    HRESULT hr = 0;
    VARIANT result = invoke(id, arguments, count, &hr);
    if (hr != 0) {
        fprintf(stderr, "member 0x%08x failed: 0x%08x\n", (unsigned)id, (unsigned)hr);
        ++failures;
    }
    return result;
}

static inline int32_t number(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static inline float single(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_R4);
    float value = 0;
    memcpy(&value, &result.u, sizeof value);
    return value;
}

/* A text result as ASCII (at most size - 1 characters), freed. */
static inline void textResult(int32_t id, VARIANT* arguments, uint32_t count, char* out, size_t size) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_BSTR);
    size_t n = 0;
    if (result.vt == VT_BSTR && result.u.bstrVal) {
        for (const OLECHAR* c = result.u.bstrVal; *c && n + 1 < size; ++c) out[n++] = (char)*c;
        freeBstr(result.u.bstrVal);
    }
    out[n] = 0;
}

static inline int32_t noArgument(int32_t id) { return number(id, NULL, 0); }

/* The output of a shell command (at most size - 1 bytes); 0 when it failed. */
static inline int run(const char* command, char* out, size_t size) {
    FILE* pipe = popen(command, "r");
    if (!pipe) return 0;
    size_t n = fread(out, 1, size - 1, pipe);
    out[n] = 0;
    return pclose(pipe) == 0;
}

/* Opens the scanning engine's scripted test source by the name it lists,
 * with the user interface hidden; 0 when the build has no acquisition members. */
static inline int openScriptedSource(void) {
    enum { kTwainOpenSource = 0x6003007a, kTwainGetSourceCount = 0x6003007f, kTwainGetSourceName = 0x60030080,
           kTwainSetHideUI = 0x600300f4 };
    HRESULT hr = 0;
    VARIANT count = invoke(kTwainGetSourceCount, NULL, 0, &hr);
    if (hr == kNotImplemented || hr == kMemberNotFound) return 0;
    CHECK(hr == 0 && count.vt == VT_I4);
    for (int32_t n = 1; n <= count.u.lVal; ++n) {
        VARIANT which[1] = {i4(n)};
        char name[256];
        textResult(kTwainGetSourceName, which, 1, name, sizeof name);
        if (strncmp(name, "scripted", 8) == 0) {
            VARIANT open[1] = {text(name)};
            VARIANT opened = call(kTwainOpenSource, open, 1);
            CHECK(opened.vt == VT_BOOL && opened.u.boolVal != 0);
            VARIANT hide[1] = {flag(1)};
            call(kTwainSetHideUI, hide, 1);
            return 1;
        }
    }
    fprintf(stderr, "the scripted source is not listed\n");
    ++failures;
    return 1;
}

/* Scans the next page into a new image ID, which becomes the current image. */
static inline int32_t scanPage(void) {
    enum { kTwainAcquireToMorvalenImage = 0x60030078, kGetNativeImage = 0x6003006a };
    VARIANT hwnd[1] = {i4(0)};
    const int32_t id = number(kTwainAcquireToMorvalenImage, hwnd, 1);
    CHECK(id != 0);
    CHECK(noArgument(kGetNativeImage) == id);
    return id;
}

static char scratch[256];

static inline const char* pathIn(const char* name) {
    static char paths[8][512];
    static int next = 0;
    char* path = paths[next++ % 8];
    snprintf(path, sizeof paths[0], "%s/%s", scratch, name);
    return path;
}

/* Whether (x, y) lies on a stroke of lines of text tilted by `degrees`
 * (down to the right when positive), inside a margin of a tenth of the page. */
static inline int onStroke(int x, int y, int width, int height, double degrees) {
    if (x < width / 10 || x > width * 9 / 10 || y < height / 10 || y > height * 9 / 10) return 0;
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const double u = x * cos(a) + y * sin(a), v = y * cos(a) - x * sin(a);
    const double line = fmod(v + 100000.0, 36.0), word = fmod(u + 100000.0, 64.0);
    return line >= 18.0 && line < 29.0 && word < 48.0 && fmod(word, 8.0) < 4.0;
}

/* A scanned page as a PNM file: black text strokes on white, inside a black
 * frame of `border` pixels. */
static inline void writeScannedPage(const char* name, int width, int height, double degrees, int border) {
    FILE* f = fopen(pathIn(name), "wb");
    CHECK(f != NULL);
    if (!f) return;
    fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int frame = x < border || y < border || x >= width - border || y >= height - border;
            const unsigned char level = frame || onStroke(x, y, width, height, degrees) ? 0 : 255;
            const unsigned char rgb[3] = {level, level, level};
            fwrite(rgb, 1, 3, f);
        }
    }
    fclose(f);
}

/* Loads the library, serves `pages` (comma-separated file names in the
 * scratch folder) through the scripted source, creates Twain and runs the
 * checks: `withoutImage` first, then `withPages` when the build can scan.
 * The exit code of the host: 0, 1 for failures, 77 when nothing could be scanned. */
static inline int runHost(int argc, char** argv, const char* host, void (*makePages)(void), const char* pages,
                   void (*withoutImage)(void), void (*withPages)(void)) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY REGISTRY-FILE\n", host);
        return 2;
    }
    snprintf(scratch, sizeof scratch, "/tmp/scanvelt-%s-XXXXXX", host);
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    makePages();
    char script[1200] = "pages=";
    for (const char* p = pages; *p;) {
        const char* end = strchr(p, ',');
        const size_t length = end ? (size_t)(end - p) : strlen(p);
        char name[128];
        snprintf(name, sizeof name, "%.*s", (int)length, p);
        if (p != pages) strncat(script, ",", sizeof script - strlen(script) - 1);
        strncat(script, pathIn(name), sizeof script - strlen(script) - 1);
        p += length + (end ? 1 : 0);
    }
    setenv("MVTWAIN_SCRIPTED_SOURCE", script, 1);
    /* SANE sees no backend of the machine: the scripted source is the only one. */
    CHECK(mkdir(pathIn("sane"), 0700) == 0 && mkdir(pathIn("config"), 0700) == 0);
    FILE* conf = fopen(pathIn("sane/dll.conf"), "w");
    if (conf) fclose(conf);
    setenv("SANE_CONFIG_DIR", pathIn("sane"), 1);
    setenv("XDG_CONFIG_HOME", pathIn("config"), 1);
    setenv("SCANVELT_REGISTRY", argv[2], 1);

    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    HRESULT (*getClassObject)(const GUID*, const GUID*, void**) =
        (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(library, "DllGetClassObject");
    CHECK(getClassObject != NULL);
    ClassFactory* factory = NULL;
    if (getClassObject) CHECK(getClassObject(&kClsidTwain, &kIidClassFactory, (void**)&factory) == 0 && factory);
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&twain) == 0 && twain);
        factory->vtbl->Release(factory);
    }
    int skipped = 0;
    if (twain) {
        withoutImage();
        if (!openScriptedSource()) skipped = 1;
        else withPages();
        CHECK(twain->vtbl->Release(twain) == 0);
    }
    char command[600];
    snprintf(command, sizeof command, "rm -rf '%s'", scratch);
    if (!failures && system(command) != 0) fprintf(stderr, "cannot remove %s\n", scratch);
    if (failures) fprintf(stderr, "%d check(s) failed (files kept in %s)\n", failures, scratch);
    if (skipped && !failures) {
        fprintf(stderr, "this build has no acquisition members: nothing to scan\n");
        return 77;
    }
    return failures ? 1 : 0;
}

#endif
