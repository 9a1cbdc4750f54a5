// The library's version through the C interface.
#include "capi/boundary.h"
#include "znVersion.h"

znvResult ZNCALL znvGetVersion(int* major, int* minor, int* patch) {
    znGetVersion(major, minor, patch);
    return ZNV_OK;
}

const char* ZNCALL znvGetVersionString(void) {
    return znGetVersionString();
}
