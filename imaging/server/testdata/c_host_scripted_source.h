/* The scanning engine's scripted test source for the plain C hosts: it
 * serves the PNM page files named, and SANE, pointed at an empty
 * configuration, sees no backend of the machine, so the scripted source is
 * the only one. */
#ifndef SCANVELT_C_HOST_SCRIPTED_SOURCE_H
#define SCANVELT_C_HOST_SCRIPTED_SOURCE_H
#include <sys/stat.h>

#include "c_host_abi.h"

/* Sets the environment before the library is loaded: `pages` is the script's
 * comma-separated list of page files, `folder` a private folder that receives
 * the empty SANE configuration and the engine's settings. */
static inline void useScriptedSource(const char* folder, const char* pages) {
    char text[1024];
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

#endif
