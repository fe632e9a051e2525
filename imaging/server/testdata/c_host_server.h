/* The server library as a C host uses it: loaded by path with a private
 * registry file, its four entry points found by name, controls created by
 * class ID, and the whole run of a host of one member family. */
#ifndef SCANVELT_C_HOST_SERVER_H
#define SCANVELT_C_HOST_SERVER_H
#include <dlfcn.h>

#include "c_host_calls.h"
#include "c_host_scratch.h"

static void* serverLibrary = NULL;
static HRESULT (*serverCanUnloadNow)(void) = NULL;
static HRESULT (*serverGetClassObject)(const GUID*, const GUID*, void**) = NULL;
static HRESULT (*serverRegister)(void) = NULL;
static HRESULT (*serverUnregister)(void) = NULL;

/* Loads the library with `registry` as its registry file; 0 when it cannot be
 * loaded or lacks one of its entry points. */
static inline int loadServer(const char* path, const char* registry) {
    setenv("SCANVELT_REGISTRY", registry, 1);
    serverLibrary = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!serverLibrary) {
        fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
        ++failures;
        return 0;
    }
    serverCanUnloadNow = (HRESULT (*)(void))dlsym(serverLibrary, "DllCanUnloadNow");
    serverGetClassObject = (HRESULT (*)(const GUID*, const GUID*, void**))dlsym(serverLibrary, "DllGetClassObject");
    serverRegister = (HRESULT (*)(void))dlsym(serverLibrary, "DllRegisterServer");
    serverUnregister = (HRESULT (*)(void))dlsym(serverLibrary, "DllUnregisterServer");
    CHECK(serverCanUnloadNow && serverGetClassObject && serverRegister && serverUnregister);
    return serverCanUnloadNow && serverGetClassObject && serverRegister && serverUnregister;
}

/* A new control of the class through its class factory, as IDispatch; NULL
 * (and a failed check) when it cannot be made. */
static inline Dispatch* createControl(const GUID* clsid) {
    ClassFactory* factory = NULL;
    Dispatch* control = NULL;
    CHECK(serverGetClassObject(clsid, &kIidClassFactory, (void**)&factory) == 0 && factory);
    if (factory) {
        CHECK(factory->vtbl->CreateInstance(factory, NULL, &kIidDispatch, (void**)&control) == 0 && control);
        factory->vtbl->Release(factory);
    }
    return control;
}

static inline void unloadServer(void) {
    if (serverLibrary) dlclose(serverLibrary);
    serverLibrary = NULL;
}

/* The whole run of a host of one member family, as main's result: makes the
 * scratch folder, runs `prepare` there when given (0: the host cannot start),
 * loads the library (argv[1]) with its registry in argv[2], registers it,
 * creates Twain by its class ID as calledControl, runs `checks`, releases
 * Twain and unregisters. A host without `prepare` must leave the scratch
 * folder empty; one with it has the folder removed. */
static inline int runTwainHost(int argc, char** argv, const char* host, int (*prepare)(void), void (*checks)(void)) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s LIBRARY REGISTRY-FILE\n", host);
        return 2;
    }
    if (!makeScratch(host)) return 1;
    if (prepare && !prepare()) return 1;
    if (!loadServer(argv[1], argv[2])) return 1;
    CHECK(serverRegister() == 0);
    calledControl = createControl(&kClsidTwain);
    if (calledControl) {
        checks();
        CHECK(calledControl->vtbl->Release(calledControl) == 0);
    }
    CHECK(serverUnregister() == 0);
    unloadServer();
    if (prepare) return finishScratch();
    CHECK(rmdir(scratch) == 0);
    if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures ? 1 : 0;
}

#endif
