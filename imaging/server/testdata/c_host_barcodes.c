/* A plain C host of the barcode members: it creates Twain by its class ID
 * and calls every barcode member of the shipped library by dispatch ID only.
 * Without a current image a scan answers 2 and every per-code member answers
 * nothing (0, an empty text, False, 0.0); the readers' plug-ins lie beside
 * the library, so the scans get as far as the image.
 * Usage: c_host_barcodes LIBRARY REGISTRY-FILE. */
#include <dlfcn.h>

#include "c_host_abi.h"

enum { VT_EMPTY = 0, VT_BSTR = 8, VT_BOOL = 11 };
enum {
    kLinearDoScan = 0x60030143,
    kLinearCount = 0x60030144,
    kLinearType = 0x60030145,
    kLinearValue = 0x60030146,
    kLinearSkew = 0x60030147,
    kLinearHasChecksum = 0x60030148,
    kLinearX1 = 0x60030149, /* to Y4 0x60030150 */
    kLinearClear = 0x60030151,
    kMatrixDoScan = 0x60030155,
    kMatrixCount = 0x60030156,
    kMatrixValue = 0x60030157,
    kMatrixX1 = 0x60030158, /* to Y4 0x6003015f */
    kMatrixRows = 0x60030160,
    kMatrixColumns = 0x60030161,
    kMatrixClear = 0x60030162,
    kSetROI = 0x60030137,
};

static Dispatch* twain = NULL;

static VARIANT i4(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

/* The member's result, arguments in the host's order. */
static VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT reversed[8];
    for (uint32_t i = 0; i < count; ++i) reversed[i] = arguments[count - 1 - i];
    DISPPARAMS params = {reversed, NULL, count, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    const HRESULT hr = twain->vtbl->Invoke(twain, id, &kIidNull, 0, 1, &params, &result, NULL, NULL);
    if (hr != 0) fprintf(stderr, "member 0x%x answered 0x%x\n", (unsigned)id, (unsigned)hr);
    CHECK(hr == 0);
    return result;
}

static int32_t number(int32_t id, int32_t argument, int withArgument) {
    VARIANT a = i4(argument);
    VARIANT result = call(id, &a, withArgument ? 1 : 0);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

/* A text member's answer is empty (a null or zero-length BSTR). */
static int emptyText(int32_t id, int32_t n) {
    VARIANT a = i4(n);
    VARIANT result = call(id, &a, 1);
    CHECK(result.vt == VT_BSTR);
    const int empty = result.u.bstrVal == NULL || result.u.bstrVal[0] == 0;
    freeBstr(result.u.bstrVal);
    return empty;
}

static void checkMembers(void) {
    /* No current image: both scans answer 2 and find nothing. */
    CHECK(number(kLinearDoScan, 1, 1) == 2);
    CHECK(number(kMatrixDoScan, 0, 1) == 2);
    CHECK(number(kLinearCount, 0, 0) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 0);

    /* A user region changes nothing without an image. */
    VARIANT region[4] = {i4(10), i4(20), i4(300), i4(200)};
    call(kSetROI, region, 4);
    CHECK(number(kLinearDoScan, 0, 1) == 2);
    CHECK(number(kMatrixDoScan, 1, 1) == 2);

    /* Every per-code member, for codes 0 and 1: nothing. */
    for (int32_t n = 0; n <= 1; ++n) {
        CHECK(number(kLinearType, n, 1) == 0);
        CHECK(emptyText(kLinearValue, n));
        VARIANT a = i4(n);
        VARIANT skew = call(kLinearSkew, &a, 1);
        CHECK(skew.vt == VT_R8 && skew.u.dblVal == 0.0);
        VARIANT checksum = call(kLinearHasChecksum, &a, 1);
        CHECK(checksum.vt == VT_BOOL && checksum.u.boolVal == 0);
        for (int32_t corner = 0; corner < 8; ++corner) {
            CHECK(number(kLinearX1 + corner, n, 1) == 0);
            CHECK(number(kMatrixX1 + corner, n, 1) == 0);
        }
        CHECK(emptyText(kMatrixValue, n));
        CHECK(number(kMatrixRows, n, 1) == 0);
        CHECK(number(kMatrixColumns, n, 1) == 0);
    }

    /* The clears answer nothing and leave the counts at 0. */
    VARIANT cleared = call(kLinearClear, NULL, 0);
    CHECK(cleared.vt == VT_EMPTY);
    cleared = call(kMatrixClear, NULL, 0);
    CHECK(cleared.vt == VT_EMPTY);
    CHECK(number(kLinearCount, 0, 0) == 0);
    CHECK(number(kMatrixCount, 0, 0) == 0);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_barcodes LIBRARY REGISTRY-FILE\n");
        return 2;
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
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&twain) == 0 && twain);
        factory->vtbl->Release(factory);
    }
    if (twain) {
        checkMembers();
        CHECK(twain->vtbl->Release(twain) == 0);
    }
    CHECK(unregisterServer() == 0);
    dlclose(library);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
