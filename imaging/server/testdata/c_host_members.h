/* What the plain C hosts of the member families share: a Twain instance made
 * by its class ID from the library given on the command line, a fresh scratch
 * folder, and calls by dispatch ID. A host defines checkMembers() and calls
 * runMemberHost() from main. */
#ifndef SCANVELT_C_HOST_MEMBERS_H
#define SCANVELT_C_HOST_MEMBERS_H
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_BSTR = 8, VT_BOOL = 11 };

static Dispatch* twain = NULL;
static const char* folder = NULL;

static VARIANT i4(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
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

/* Registers the server, makes Twain, runs the checks, and expects the folder
 * empty again at the end; the exit code of main. */
static int runMemberHost(int argc, char** argv, const char* name, void (*checkMembers)(void)) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY REGISTRY-FILE\n", name);
        return 2;
    }
    char scratch[256];
    snprintf(scratch, sizeof scratch, "/tmp/%s-XXXXXX", name);
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

#endif
