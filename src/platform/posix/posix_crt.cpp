// The C runtime calls of Windows that POSIX spells differently.
#include <climits>
#include <strings.h>

#include "platform/win32api.h"

int _stricmp(const char* a, const char* b) {
    // The Windows runtime answers a missing string with _NLSCMPERROR.
    if (!a || !b)
        return INT_MAX;
    return strcasecmp(a, b);
}
