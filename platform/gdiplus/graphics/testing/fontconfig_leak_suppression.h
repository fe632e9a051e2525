#pragma once
// fontconfig's start-up keeps a few hundred bytes until FcFini, which a
// library sharing its process with other fontconfig users (a host's toolkit)
// must not call. The leak checker of the sanitizer build is told to expect
// them. Include in exactly one source file of each test binary that uses fonts.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
