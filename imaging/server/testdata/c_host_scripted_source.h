/* The scanning engine's scripted test source for the plain C hosts: it
 * serves the PNM page files named, and SANE, pointed at an empty
 * configuration, sees no backend of the machine, so the scripted source is
 * the only one. */
#ifndef SCANVELT_C_HOST_SCRIPTED_SOURCE_H
#define SCANVELT_C_HOST_SCRIPTED_SOURCE_H
#include <sys/stat.h>

#include "c_host_calls.h"

/* Sets the environment before the library is loaded: `pages` is the script's
 * comma-separated list of page files, `folder` a private folder that receives
 * the empty SANE configuration and the engine's settings. */
static inline void useScriptedSource(const char* folder, const char* pages) {
    char text[1200];
    snprintf(text, sizeof text, "pages=%s", pages);
    setenv("MVTWAIN_SCRIPTED_SOURCE", text, 1);
    char sane[600], config[600];
    snprintf(sane, sizeof sane, "%s/sane", folder);
    snprintf(config, sizeof config, "%s/config", folder);
    CHECK(mkdir(sane, 0700) == 0 && mkdir(config, 0700) == 0);
    snprintf(text, sizeof text, "%s/dll.conf", sane);
    FILE* conf = fopen(text, "w");
    if (conf) fclose(conf);
    setenv("SANE_CONFIG_DIR", sane, 1);
    setenv("XDG_CONFIG_HOME", config, 1);
}

/* Opens the scripted source by the name it lists, with the user interface
 * hidden; 0 when the build has no acquisition members. */
static inline int openScriptedSource(void) {
    enum { kTwainOpenSource = 0x6003007a, kTwainGetSourceCount = 0x6003007f, kTwainGetSourceName = 0x60030080,
           kTwainSetHideUI = 0x600300f4 };
    HRESULT hr = 0;
    VARIANT count = invokeMember(kTwainGetSourceCount, NULL, 0, &hr);
    if (hr == kNotImplemented || hr == kMemberNotFound) return 0;
    CHECK(hr == 0 && count.vt == VT_I4);
    for (int32_t n = 1; n <= count.u.lVal; ++n) {
        VARIANT which[1] = {argLong(n)};
        char name[256];
        callText(kTwainGetSourceName, which, 1, name, sizeof name);
        if (strncmp(name, "scripted", 8) == 0) {
            VARIANT open[1] = {argText(name)};
            CHECK(callBool(kTwainOpenSource, open, 1));
            VARIANT hide[1] = {argFlag(1)};
            callNone(kTwainSetHideUI, hide, 1);
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
    VARIANT hwnd[1] = {argLong(0)};
    const int32_t id = callLong(kTwainAcquireToMorvalenImage, hwnd, 1);
    if (id == 0) fprintf(stderr, "the scan failed with status %d\n", (int)lastStatus());
    CHECK(id != 0);
    CHECK(callLong(kGetNativeImage, NULL, 0) == id);
    return id;
}

#endif
