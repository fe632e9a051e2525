// The plug-in's file version, read by the engine the way a DLL's is.
#include "platform/win/version_note.h"

WIN_FILE_VERSION_NOTE(1, 0, 0, 0);
