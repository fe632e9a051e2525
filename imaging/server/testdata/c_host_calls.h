/* Calling members of one control by dispatch ID from plain C: arguments in
 * the host's order (reversed for Invoke as COM wants them), results as
 * variants, and the small readers of results the C hosts share. */
#ifndef SCANVELT_C_HOST_CALLS_H
#define SCANVELT_C_HOST_CALLS_H
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include "c_host_abi.h"

enum { VT_BSTR_ = 8, VT_BOOL_ = 11, VT_BYREF_ = 0x4000 };

static Dispatch* calledControl = NULL;

static inline VARIANT argLong(int32_t value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_I4;
    v.u.lVal = value;
    return v;
}

static inline VARIANT argFlag(int value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BOOL_;
    v.u.boolVal = value ? -1 : 0;
    return v;
}

static inline VARIANT argText(const char* value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BSTR_;
    v.u.bstrVal = makeBstr(value);
    return v;
}

static inline VARIANT argDouble(double value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_R8;
    v.u.dblVal = value;
    return v;
}

/* A double passed by reference: the member writes into *target. */
static inline VARIANT argDoubleRef(double* target) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_R8 | VT_BYREF_;
    v.u.record.a = target;
    return v;
}

/* The member's result (HRESULT in *hr when given); text arguments are freed. */
static inline VARIANT invokeMember(int32_t id, VARIANT* arguments, uint32_t count, HRESULT* hr) {
    VARIANT reversed[16];
    for (uint32_t i = 0; i < count; ++i) reversed[i] = arguments[count - 1 - i];
    DISPPARAMS params = {reversed, NULL, count, 0};
    VARIANT result;
    memset(&result, 0, sizeof result);
    HRESULT got = calledControl->vtbl->Invoke(calledControl, id, &kIidNull, 0, 1, &params, &result, NULL, NULL);
    if (hr) *hr = got;
    else if (got != 0) {
        fprintf(stderr, "member 0x%08x failed: 0x%08x\n", (unsigned)id, (unsigned)got);
        ++failures;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (arguments[i].vt == VT_BSTR_) freeBstr(arguments[i].u.bstrVal);
    }
    return result;
}

static inline int32_t callLong(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static inline int callBool(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_BOOL_);
    CHECK(result.u.boolVal == 0 || result.u.boolVal == -1);
    return result.u.boolVal != 0;
}

static inline double callDouble(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_R8);
    return result.u.dblVal;
}

/* The text result as ASCII into `out` (other characters as '?'). */
static inline const char* callText(int32_t id, VARIANT* arguments, uint32_t count, char* out, size_t size) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_BSTR_);
    size_t n = 0;
    if (result.vt == VT_BSTR_ && result.u.bstrVal) {
        for (const OLECHAR* c = result.u.bstrVal; *c && n + 1 < size; ++c) out[n++] = *c < 128 ? (char)*c : '?';
        freeBstr(result.u.bstrVal);
    }
    out[n] = 0;
    return out;
}

/* Members of one Long or one Boolean argument. */
static inline int32_t longWithLong(int32_t id, int32_t value) {
    VARIANT a[1] = {argLong(value)};
    return callLong(id, a, 1);
}
static inline int boolWithLong(int32_t id, int32_t value) {
    VARIANT a[1] = {argLong(value)};
    return callBool(id, a, 1);
}
static inline int boolWithFlag(int32_t id, int value) {
    VARIANT a[1] = {argFlag(value)};
    return callBool(id, a, 1);
}

static inline void callNone(int32_t id, VARIANT* arguments, uint32_t count) { invokeMember(id, arguments, count, NULL); }

/* The host's scratch folder, fresh for each run and expected empty at its end. */
static const char* hostFolder = NULL;

static inline char* hostPath(const char* name) {
    static char path[4096];
    snprintf(path, sizeof path, "%s/%s", hostFolder, name);
    return path;
}

/* Entries of the scratch folder, temporary files included. */
static inline int hostFolderEntries(void) {
    DIR* dir = opendir(hostFolder);
    if (!dir) return -1;
    int count = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) ++count;
    }
    closedir(dir);
    return count;
}

/* The whole run of a host of one member family, as main's result: loads the
 * library (argv[1]) with its registry in argv[2], registers it, creates
 * Twain by its class ID as calledControl, runs `checks`, and unregisters.
 * The scratch folder must be empty again when the checks end. */
static inline int runTwainHost(int argc, char** argv, const char* name, void (*checks)(void)) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY REGISTRY-FILE\n", name);
        return 2;
    }
    char scratch[256];
    snprintf(scratch, sizeof scratch, "/tmp/%s-XXXXXX", name);
    hostFolder = mkdtemp(scratch);
    if (!hostFolder) {
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
        checks();
        CHECK(calledControl->vtbl->Release(calledControl) == 0);
    }
    CHECK(unregisterServer() == 0);
    dlclose(library);
    CHECK(rmdir(hostFolder) == 0);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}

#endif
