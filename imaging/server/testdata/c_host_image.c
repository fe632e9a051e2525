/* A plain C host of the image members: it scans pages made in code (PNM
 * files served by the scanning engine's scripted test source), edits and
 * saves them by dispatch ID only, and reads the files back with ImageMagick
 * and tiffinfo.
 * Usage: c_host_image LIBRARY REGISTRY-FILE.
 * Exits with 77 (skipped) while the build has no acquisition members. */
#include "c_host_scanned_pages.h"

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
};

enum { kWidth = 240, kHeight = 160 };

static int32_t withId(int32_t member, int32_t id) {
    VARIANT a[1] = {argLong(id)};
    return callLong(member, a, 1);
}
static int32_t withPath(int32_t member, const char* name) {
    VARIANT a[1] = {argText(pathIn(name))};
    return callLong(member, a, 1);
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
static void pageColour(int x, int y, const void* context, unsigned char rgb[3]) {
    (void)context;
    const int frame = x < 4 || y < 4 || x >= kWidth - 4 || y >= kHeight - 4;
    const int bar = (y >= 40 && y < 46) || (y >= 100 && y < 106);
    if (!frame && !bar) {
        if (x < kWidth / 2) rgb[0] = 255;
        else rgb[2] = 255;
    }
}


static void checkNegativeTwice(void) {
    char before[128], negative[128], after[128];
    CHECK(withPath(kSaveAsPNG, "before.png") == 0);
    CHECK(callLong(kFxNegative, NULL, 0) == 0);
    CHECK(withPath(kSaveAsPNG, "negative.png") == 0);
    CHECK(callLong(kFxNegative, NULL, 0) == 0);
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
            VARIANT a[2] = {argText(pathIn(files[i].name)), argLong(files[i].quality)};
            CHECK(callLong(kSaveAsJPEG, a, 2) == 0);
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
    CHECK(callLong(kConvertTo1Bpp, NULL, 0) == 0);
    const int32_t second = scanPage();
    CHECK(callLong(kConvertTo1Bpp, NULL, 0) == 0);
    const int32_t third = scanPage();
    CHECK(callLong(kConvertTo1Bpp, NULL, 0) == 0);

    VARIANT start[2] = {argText(pathIn("pages.tif")), argLong(4)};
    CHECK(callLong(kTiffSaveAsNativeMultiPage, start, 2) == 0);
    CHECK(withId(kCloseImage, third) == 9); /* the open file's first page stays */
    CHECK(withId(kTiffAddToNativeMultiPage, first) == 0);
    CHECK(withId(kTiffAddToNativeMultiPage, second) == 0);
    CHECK(callLong(kTiffCloseNativeMultiPage, NULL, 0) == 0);
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

static int32_t firstPage = 0;

static void withoutImage(void) {}

static void makePages(void) { writePnmPage("page.pnm", kWidth, kHeight, pageColour, NULL); }

static void withPages(void) {
    firstPage = scanPage();
    checkNegativeTwice();
    checkSavedFiles();
    checkThreePageTiff(firstPage);
}

int main(int argc, char** argv) {
    return runHost(argc, argv, "c_host_image", makePages, "page.pnm", withoutImage, withPages);
}
