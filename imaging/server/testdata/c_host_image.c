/* A plain C host of the image members: it scans pages made in code (PNM
 * files served by the scanning engine's scripted test source), edits and
 * saves them by dispatch ID only, and reads the files back with ImageMagick
 * and tiffinfo.
 * Usage: c_host_image LIBRARY REGISTRY-FILE.
 * Exits with 77 (skipped) while the build has no acquisition members. */
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_BSTR = 8, VT_BOOL = 11 };
enum {
    kFxNegative = 0x6003002c,
    kConvertTo1Bpp = 0x6003001a,
    kTiffSaveAsNativeMultiPage = 0x60030043,
    kTiffCloseNativeMultiPage = 0x60030044,
    kTiffAddToNativeMultiPage = 0x60030045,
    kCloseImage = 0x60030051,
    kSaveAsPNG = 0x60030052,
    kSaveAsGIF = 0x60030053,
    kSaveAsJPEG = 0x6003005d,
    kGetNativeImage = 0x6003006a,
    kTwainAcquireToMorvalenImage = 0x60030078,
    kTwainOpenSource = 0x6003007a,
    kTwainGetSourceCount = 0x6003007f,
    kTwainGetSourceName = 0x60030080,
    kTwainSetHideUI = 0x600300f4,
};
static const HRESULT kNotImplemented = (HRESULT)0x80004001;
static const HRESULT kMemberNotFound = (HRESULT)0x80020003;

enum { kWidth = 240, kHeight = 160 };

static Dispatch* twain = NULL;
static char scratch[256];

static const char* pathIn(const char* name) {
    static char paths[8][512];
    static int next = 0;
    char* path = paths[next++ % 8];
    snprintf(path, sizeof paths[0], "%s/%s", scratch, name);
    return path;
}

static VARIANT i4(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

static VARIANT flag(int value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BOOL;
    v.u.boolVal = value ? -1 : 0;
    return v;
}

static VARIANT text(const char* value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BSTR;
    v.u.bstrVal = makeBstr(value);
    return v;
}

/* The member's result and HRESULT; arguments in the host's order, texts freed. */
static VARIANT invoke(int32_t id, VARIANT* arguments, uint32_t count, HRESULT* hr) {
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

static VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    HRESULT hr = 0;
    VARIANT result = invoke(id, arguments, count, &hr);
    if (hr != 0) {
        fprintf(stderr, "member 0x%08x failed: 0x%08x\n", (unsigned)id, (unsigned)hr);
        ++failures;
    }
    return result;
}

static int32_t number(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static int32_t noArgument(int32_t id) { return number(id, NULL, 0); }
static int32_t withId(int32_t member, int32_t id) {
    VARIANT a[1] = {i4(id)};
    return number(member, a, 1);
}
static int32_t withPath(int32_t member, const char* name) {
    VARIANT a[1] = {text(pathIn(name))};
    return number(member, a, 1);
}

/* The output of a shell command (at most size - 1 bytes); 0 when it failed. */
static int run(const char* command, char* out, size_t size) {
    FILE* pipe = popen(command, "r");
    if (!pipe) return 0;
    size_t n = fread(out, 1, size - 1, pipe);
    out[n] = 0;
    return pclose(pipe) == 0;
}

/* Size and the colour of two pixels of a saved file, as ImageMagick reads them. */
typedef struct {
    int width, height;
    int left[3], right[3];
} ReadBack;

static int readBack(const char* path, ReadBack* read) {
    char command[1024], out[512];
    snprintf(command, sizeof command,
             "identify -format '%%w %%h "
             "%%[fx:int(255*p{60,80}.r+0.5)] %%[fx:int(255*p{60,80}.g+0.5)] %%[fx:int(255*p{60,80}.b+0.5)] "
             "%%[fx:int(255*p{180,80}.r+0.5)] %%[fx:int(255*p{180,80}.g+0.5)] %%[fx:int(255*p{180,80}.b+0.5)]' "
             "'%s' 2>/dev/null",
             path);
    if (!run(command, out, sizeof out)) return 0;
    return sscanf(out, "%d %d %d %d %d %d %d %d", &read->width, &read->height, &read->left[0], &read->left[1],
                  &read->left[2], &read->right[0], &read->right[1], &read->right[2]) == 8;
}

static int near(const int* got, int r, int g, int b, int tolerance) {
    return abs(got[0] - r) <= tolerance && abs(got[1] - g) <= tolerance && abs(got[2] - b) <= tolerance;
}

/* ImageMagick's signature of the decoded pixels. */
static int pixelSignature(const char* path, char* out, size_t size) {
    char command[1024];
    snprintf(command, sizeof command, "identify -format '%%#' '%s' 2>/dev/null", path);
    return run(command, out, size) && strlen(out) > 0;
}

/* A page made in code: left half red, right half blue, a black frame, and
 * three black bars across the middle. */
static void writePage(const char* name) {
    FILE* f = fopen(pathIn(name), "wb");
    CHECK(f != NULL);
    if (!f) return;
    fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            unsigned char rgb[3] = {0, 0, 0};
            const int frame = x < 4 || y < 4 || x >= kWidth - 4 || y >= kHeight - 4;
            const int bar = (y >= 40 && y < 46) || (y >= 100 && y < 106);
            if (!frame && !bar) {
                if (x < kWidth / 2) rgb[0] = 255;
                else rgb[2] = 255;
            }
            fwrite(rgb, 1, 3, f);
        }
    }
    fclose(f);
}

/* Opens the scripted source by the name the engine lists; 0 when acquisition is not built. */
static int openScriptedSource(void) {
    HRESULT hr = 0;
    VARIANT count = invoke(kTwainGetSourceCount, NULL, 0, &hr);
    if (hr == kNotImplemented || hr == kMemberNotFound) return 0;
    CHECK(hr == 0 && count.vt == VT_I4);
    for (int32_t n = 1; n <= count.u.lVal; ++n) {
        VARIANT number[1] = {i4(n)};
        VARIANT name = call(kTwainGetSourceName, number, 1);
        if (name.vt != VT_BSTR || !name.u.bstrVal) continue;
        char ascii[256];
        size_t i = 0;
        for (const OLECHAR* c = name.u.bstrVal; *c && i + 1 < sizeof ascii; ++c) ascii[i++] = (char)*c;
        ascii[i] = 0;
        freeBstr(name.u.bstrVal);
        if (strncmp(ascii, "scripted", 8) == 0) {
            VARIANT open[1] = {text(ascii)};
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

static int32_t scanPage(void) {
    VARIANT hwnd[1] = {i4(0)};
    const int32_t id = number(kTwainAcquireToMorvalenImage, hwnd, 1);
    CHECK(id != 0);
    CHECK(noArgument(kGetNativeImage) == id);
    return id;
}

static void checkNegativeTwice(void) {
    char before[128], negative[128], after[128];
    CHECK(withPath(kSaveAsPNG, "before.png") == 0);
    CHECK(noArgument(kFxNegative) == 0);
    CHECK(withPath(kSaveAsPNG, "negative.png") == 0);
    CHECK(noArgument(kFxNegative) == 0);
    CHECK(withPath(kSaveAsPNG, "after.png") == 0);
    CHECK(pixelSignature(pathIn("before.png"), before, sizeof before));
    CHECK(pixelSignature(pathIn("negative.png"), negative, sizeof negative));
    CHECK(pixelSignature(pathIn("after.png"), after, sizeof after));
    CHECK(strcmp(before, after) == 0);
    CHECK(strcmp(before, negative) != 0);
    ReadBack read;
    CHECK(readBack(pathIn("negative.png"), &read));
    CHECK(near(read.left, 0, 255, 255, 0) && near(read.right, 255, 255, 0, 0));
}

static void checkSavedFiles(void) {
    struct {
        int32_t member;
        const char* name;
        int quality;
        int tolerance;
    } files[] = {
        {kSaveAsJPEG, "page.jpg", 90, 24},
        {kSaveAsPNG, "page.png", 0, 0},
        {kSaveAsGIF, "page.gif", 0, 0},
    };
    for (size_t i = 0; i < sizeof files / sizeof files[0]; ++i) {
        if (files[i].member == kSaveAsJPEG) {
            VARIANT a[2] = {text(pathIn(files[i].name)), i4(files[i].quality)};
            CHECK(number(kSaveAsJPEG, a, 2) == 0);
        } else {
            CHECK(withPath(files[i].member, files[i].name) == 0);
        }
        ReadBack read;
        memset(&read, 0, sizeof read);
        CHECK(readBack(pathIn(files[i].name), &read));
        printf("%s: %d x %d, left %d,%d,%d right %d,%d,%d\n", files[i].name, read.width, read.height, read.left[0],
               read.left[1], read.left[2], read.right[0], read.right[1], read.right[2]);
        CHECK(read.width == kWidth && read.height == kHeight);
        CHECK(near(read.left, 255, 0, 0, files[i].tolerance));
        CHECK(near(read.right, 0, 0, 255, files[i].tolerance));
    }
}

static void checkThreePageTiff(int32_t first) {
    CHECK(noArgument(kConvertTo1Bpp) == 0);
    const int32_t second = scanPage();
    CHECK(noArgument(kConvertTo1Bpp) == 0);
    const int32_t third = scanPage();
    CHECK(noArgument(kConvertTo1Bpp) == 0);

    VARIANT start[2] = {text(pathIn("pages.tif")), i4(4)};
    CHECK(number(kTiffSaveAsNativeMultiPage, start, 2) == 0);
    CHECK(withId(kCloseImage, third) == 9); /* the open file's first page stays */
    CHECK(withId(kTiffAddToNativeMultiPage, first) == 0);
    CHECK(withId(kTiffAddToNativeMultiPage, second) == 0);
    CHECK(noArgument(kTiffCloseNativeMultiPage) == 0);
    CHECK(withId(kCloseImage, first) == 0);
    CHECK(withId(kCloseImage, second) == 0);

    char command[1024];
    static char info[1 << 16];
    snprintf(command, sizeof command, "tiffinfo '%s' 2>/dev/null", pathIn("pages.tif"));
    CHECK(run(command, info, sizeof info));
    int directories = 0, group4 = 0, sizes = 0;
    for (const char* p = info; (p = strstr(p, "TIFF Directory at offset")) != NULL; ++p) ++directories;
    for (const char* p = info; (p = strstr(p, "Compression Scheme: CCITT Group 4")) != NULL; ++p) ++group4;
    for (const char* p = info; (p = strstr(p, "Image Width: 240 Image Length: 160")) != NULL; ++p) ++sizes;
    printf("pages.tif: %d pages, %d in CCITT group 4, %d of 240 x 160\n", directories, group4, sizes);
    CHECK(directories == 3 && group4 == 3 && sizes == 3);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_image LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    snprintf(scratch, sizeof scratch, "%s", "/tmp/scanvelt-c-host-image-XXXXXX");
    if (!mkdtemp(scratch)) {
        perror("mkdtemp");
        return 1;
    }
    writePage("page.pnm");
    char script[600];
    snprintf(script, sizeof script, "pages=%s", pathIn("page.pnm"));
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
        if (!openScriptedSource()) {
            skipped = 1;
        } else {
            const int32_t page = scanPage();
            checkNegativeTwice();
            checkSavedFiles();
            checkThreePageTiff(page);
        }
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
