// A tiny shared object that carries a file version, for the version reader's tests.
#include "platform/win/version_note.h"

WIN_FILE_VERSION_NOTE(6, 1, 760, 175);

extern "C" int version_probe_answer() { return 42; }
