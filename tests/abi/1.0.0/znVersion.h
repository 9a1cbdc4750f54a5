// The library's version. The macros give the version of the headers a host compiles against;
// znGetVersion gives that of the library it runs with, which may be a newer release of the same
// major version (the shared library's SONAME, libznVelmora.so.1, changes with the major version).
// The macros are plain C, read by CMake and by the DLL's version resource too.
#pragma once

#define ZNVELMORA_VERSION_MAJOR 1
#define ZNVELMORA_VERSION_MINOR 0
#define ZNVELMORA_VERSION_PATCH 0
#define ZNVELMORA_VERSION_STRING "1.0.0"

#ifdef __cplusplus

#include "znPlatform.h"

// The running library's version numbers; a null pointer skips its number.
ZN_API void znGetVersion(int* major, int* minor, int* patch);
// The running library's version as "major.minor.patch"; the text lives as long as the library.
ZN_API const char* znGetVersionString();

#endif
