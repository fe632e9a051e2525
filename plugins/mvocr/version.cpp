// The plug-in's version: the number the control checks before its first call.
#include "plugins/mvocr/mvocr.h"

#ifndef MVOCR_VERSION
#define MVOCR_VERSION 100
#endif

extern "C" MVOCR_API int32_t MVOCR_GetVersion(void) { return MVOCR_VERSION; }
