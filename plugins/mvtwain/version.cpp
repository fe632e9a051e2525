// The engine's version: the number the control checks, and the file version
// note that tells the control the engine file is there.
#include "plugins/mvtwain/mvtwain.h"
#include "platform/win/version_note.h"

#ifndef MVTWAIN_VERSION
#define MVTWAIN_VERSION 630
#endif

WIN_FILE_VERSION_NOTE(6, 30, 0, 0);

extern "C" __attribute__((visibility("default"))) int32_t MVTWAIN_GetVersion(void) { return MVTWAIN_VERSION; }
