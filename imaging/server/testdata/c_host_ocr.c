/* A plain C host of the OCR members: it creates Twain by its class ID and
 * calls the recognition and searchable-PDF members by dispatch ID only, with
 * no current image and around an OCR session, checking what they answer and
 * that they leave no file in a fresh folder of its own.
 * Usage: c_host_ocr LIBRARY REGISTRY-FILE. */
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include "c_host_calls.h"

enum { VT_EMPTY = 0, VT_R4 = 4 };
enum {
    kSaveAsPDFOCR = 0x6003010f,
    kTwainPdfOCRStart = 0x60030110,
    kTwainAddMorvalenImageToPdfOCR = 0x60030111,
    kTwainPdfOCRStop = 0x60030112,
    kOCRTesseractGetCharConfidence = 0x60030114,
    kOCRTesseractGetCharCode = 0x60030117,
    kOCRTesseractGetCharCount = 0x6003011c,
    kOCRTesseractDoOCR = 0x6003011d,
    kOCRTesseractClear = 0x6003011e,
    kSaveAsPDFOCREx = 0x60030132,
    kTwainPdfOCRStartEx = 0x60030134,
    kOCRTesseractGetOrientation = 0x6003013a,
};

/* An OCR session loads its text layer's font: fontconfig's start-up keeps a
 * few hundred bytes until FcFini, which the library must not call in a host
 * that shares fontconfig. The leak checker of the sanitizer build expects them. */
const char* __lsan_default_suppressions(void) { return "leak:libfontconfig.so\n"; }

static const char* folder = NULL;

static VARIANT i4(int32_t value) { return argLong(value); }
static VARIANT text(const char* value) { return argText(value); }
static int32_t status(int32_t id, VARIANT* arguments, uint32_t count) { return callLong(id, arguments, count); }
static int32_t lastStatus(void) { return callLong(kDispidGetStat, NULL, 0); }

/* True when the member answers an empty string. */
static int answersEmpty(int32_t id, VARIANT* arguments, uint32_t count) {
    char answer[256];
    return callText(id, arguments, count, answer, sizeof answer)[0] == 0;
}

static float single(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_R4);
    float value = 0;
    memcpy(&value, &result.u, sizeof value);
    return value;
}

static char* pathOf(const char* name) {
    static char path[4096];
    snprintf(path, sizeof path, "%s/%s", folder, name);
    return path;
}

/* Entries of the folder, temporary files included. */
static int entryCount(void) {
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) ++count;
    }
    closedir(dir);
    return count;
}

static void checkMembers(void) {
    /* Nothing recognised yet: no characters; outside the count a code is 0, a confidence 100. */
    CHECK(status(kOCRTesseractGetCharCount, NULL, 0) == 0);
    VARIANT first[1] = {i4(1)};
    CHECK(status(kOCRTesseractGetCharCode, first, 1) == 0);
    VARIANT zero[1] = {i4(0)};
    CHECK(single(kOCRTesseractGetCharConfidence, zero, 1) == 100.0f);
    VARIANT cleared = invokeMember(kOCRTesseractClear, NULL, 0, NULL);
    CHECK(cleared.vt == VT_EMPTY);

    /* Recognition without a current image: "" and status 1; the white list may be left out. */
    VARIANT recognise[2] = {i4(2), text("")};
    CHECK(answersEmpty(kOCRTesseractDoOCR, recognise, 2));
    CHECK(lastStatus() == 1);
    VARIANT orientation[2] = {i4(2), text("")};
    CHECK(status(kOCRTesseractGetOrientation, orientation, 2) == 0);
    CHECK(lastStatus() == 1);

    /* A searchable page without a current image: "" and status 2, no file. */
    VARIANT save[3] = {text(pathOf("page.pdf")), i4(2), text("")};
    CHECK(answersEmpty(kSaveAsPDFOCR, save, 3));
    CHECK(lastStatus() == 2);
    VARIANT saveEx[13] = {text(pathOf("page.pdf")), i4(2), text(""), text("0123456789"), text("T"), text("A"),
                          text("S"), text("K"), text("C"), i4(2), i4(4), text("u"), text("o")};
    CHECK(answersEmpty(kSaveAsPDFOCREx, saveEx, 13));
    CHECK(lastStatus() == 2);

    /* The OCR session: adds and stops without a document answer 35, an ID of 0 answers 2. */
    VARIANT add[3] = {i4(12345), i4(2), text("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, add, 3));
    CHECK(lastStatus() == 35);
    CHECK(status(kTwainPdfOCRStop, NULL, 0) == 35);
    VARIANT noImage[3] = {i4(0), i4(2), text("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, noImage, 3));
    CHECK(lastStatus() == 2);

    /* A start that cannot make its file opens nothing. */
    VARIANT missing[1] = {text(pathOf("missing/bills.pdf"))};
    CHECK(status(kTwainPdfOCRStart, missing, 1) == 41);
    VARIANT again[3] = {i4(12345), i4(2), text("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, again, 3));
    CHECK(lastStatus() == 35);

    /* A refused image drops the document at the stop; an empty encrypted one leaves no file. */
    VARIANT start[2] = {text(pathOf("bills.pdf")), text("Bills")};
    CHECK(status(kTwainPdfOCRStart, start, 2) == 0);
    VARIANT unknown[3] = {i4(12345), i4(2), text("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, unknown, 3));
    CHECK(lastStatus() == 230);
    CHECK(status(kTwainPdfOCRStop, NULL, 0) == 230);
    VARIANT secured[10] = {text(pathOf("secret.pdf")), text("T"), text("A"), text("S"), text("K"),
                           text("C"), i4(2), i4(4), text("u"), text("o")};
    CHECK(status(kTwainPdfOCRStartEx, secured, 10) == 0);
    CHECK(status(kTwainPdfOCRStop, NULL, 0) == 0);
    CHECK(status(kTwainPdfOCRStop, NULL, 0) == 35);

    CHECK(entryCount() == 0);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_ocr LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    char scratch[] = "/tmp/c_host_ocr-XXXXXX";
    folder = mkdtemp(scratch);
    if (!folder) {
        perror("mkdtemp");
        return 1;
    }
    setenv("SCANVELT_REGISTRY", argv[2], 1);
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    HRESULT (*getClassObject)(const GUID*, const GUID*, void**) =
        (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(library, "DllGetClassObject");
    HRESULT (*registerServer)(void) = (HRESULT (*)(void))dlsym(library, "DllRegisterServer");
    HRESULT (*unregisterServer)(void) = (HRESULT (*)(void))dlsym(library, "DllUnregisterServer");
    CHECK(getClassObject && registerServer && unregisterServer);
    if (failures) return 1;
    CHECK(registerServer() == 0);

    ClassFactory* factory = NULL;
    CHECK(getClassObject(&kClsidTwain, &kIidClassFactory, (void**)&factory) == 0 && factory);
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&calledControl) == 0 &&
              calledControl);
        factory->vtbl->Release(factory);
    }
    if (calledControl) {
        checkMembers();
        CHECK(calledControl->vtbl->Release(calledControl) == 0);
    }
    CHECK(unregisterServer() == 0);
    dlclose(library);
    CHECK(rmdir(folder) == 0);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
