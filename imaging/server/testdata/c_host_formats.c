/* A plain C host of the further file formats, the icon saver and the FTP
 * upload: it creates Twain by its class ID and calls them by dispatch ID only.
 * Without a current image every saver answers 1 and writes nothing; the
 * upload reaches no server on a closed local port and answers 101 before any
 * file is made. Usage: c_host_formats LIBRARY REGISTRY-FILE. */
#include <arpa/inet.h>
#include <dirent.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_BSTR = 8, VT_BOOL = 11 };
enum {
    kSaveAsBmp = 0x6003003f,
    kSaveAsWBMP = 0x60030040,
    kSaveAsXPM = 0x60030041,
    kSaveAsPNM = 0x60030042,
    kSaveAsTGA = 0x60030046,
    kSaveAsPBM = 0x60030047,
    kSaveAsEXR = 0x60030048,
    kSaveAsJ2K = 0x60030049,
    kSaveAsJP2 = 0x6003004a,
    kSaveAsTIFF = 0x6003004b,
    kSaveAsTIFFjpg = 0x6003004c,
    kSaveAsTIFFjpgEx = 0x6003004d,
    kSaveAsICO = 0x6003004e,
    kSaveToFTP = 0x60030050,
};

static Dispatch* twain = NULL;
static const char* folder = NULL;

static VARIANT i4(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

static VARIANT boolean(int value) {
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

/* The member's result; the arguments come in the host's order and are freed. */
static VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT reversed[16];
    for (uint32_t i = 0; i < count; ++i) reversed[i] = arguments[count - 1 - i];
    DISPPARAMS params = {reversed, NULL, count, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    CHECK(twain->vtbl->Invoke(twain, id, &kIidNull, 0, 1, &params, &result, NULL, NULL) == 0);
    for (uint32_t i = 0; i < count; ++i) {
        if (arguments[i].vt == VT_BSTR) freeBstr(arguments[i].u.bstrVal);
    }
    return result;
}

static int32_t status(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static int32_t lastStatus(void) { return status(kDispidGetStat, NULL, 0); }

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

/* A local port nothing listens on: bound once, then let go. */
static int closedPort(void) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address;
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, (struct sockaddr*)&address, sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, (struct sockaddr*)&address, &length);
    close(s);
    return ntohs(address.sin_port);
}

static void checkMembers(void) {
    const int32_t pathOnly[] = {kSaveAsBmp, kSaveAsWBMP, kSaveAsXPM, kSaveAsPNM, kSaveAsTGA, kSaveAsPBM,
                                kSaveAsEXR, kSaveAsJ2K, kSaveAsJP2, kSaveAsTIFF, kSaveAsTIFFjpg};
    /* Optional arguments left out take their defaults. */
    for (size_t i = 0; i < sizeof pathOnly / sizeof pathOnly[0]; ++i) {
        VARIANT path[1] = {text(pathOf("image.out"))};
        CHECK(status(pathOnly[i], path, 1) == 1);
        CHECK(lastStatus() == 1);
    }
    VARIANT withRate[2] = {text(pathOf("image.j2k")), i4(8)};
    CHECK(status(kSaveAsJ2K, withRate, 2) == 1);
    VARIANT withQuality[2] = {text(pathOf("image.tif")), i4(120)};
    CHECK(status(kSaveAsTIFFjpgEx, withQuality, 2) == 1);
    /* The icon saver ends with its first failing step: the size of no image. */
    VARIANT icon[3] = {text(pathOf("image.ico")), boolean(1), i4(0x604020)};
    CHECK(status(kSaveAsICO, icon, 3) == 2);
    CHECK(entryCount() == 0);

    /* The upload: no server on the port, 101; the port is above 32767 here. */
    int port = closedPort();
    CHECK(port > 32767);
    VARIANT upload[7] = {text("PNG"), i4(0), text("127.0.0.1"), text("\\\\in\\page.png"),
                         text("scan"), text("pw"), i4(port)};
    CHECK(status(kSaveToFTP, upload, 7) == 101);
    CHECK(lastStatus() == 101);
    CHECK(entryCount() == 0);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_formats LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    char scratch[] = "/tmp/c_host_formats-XXXXXX";
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
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&twain) == 0 && twain);
        factory->vtbl->Release(factory);
    }
    if (twain) {
        checkMembers();
        CHECK(twain->vtbl->Release(twain) == 0);
    }
    CHECK(unregisterServer() == 0);
    dlclose(library);
    CHECK(rmdir(folder) == 0);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}
