// The version compiled into the library, for hosts that check what they run with.
#include "znVersion.h"

void znGetVersion(int* major, int* minor, int* patch) {
    if (major)
        *major = ZNVELMORA_VERSION_MAJOR;
    if (minor)
        *minor = ZNVELMORA_VERSION_MINOR;
    if (patch)
        *patch = ZNVELMORA_VERSION_PATCH;
}

const char* znGetVersionString() {
    return ZNVELMORA_VERSION_STRING;
}
