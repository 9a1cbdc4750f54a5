// The Wayland back-end's own calls through the C interface; Windows has no counterpart.
#if !defined(_WIN32)
#include "znVelmora_c.h"

#include "capi/boundary.h"
#include "znPlatform.h"

znvResult ZNCALL znvSetWaylandDisplay(void* display) {
    return zn::c::guarded([&] {
        znSetWaylandDisplay(static_cast<wl_display*>(display));
        return ZNV_OK;
    });
}

znvResult ZNCALL znvSetWaylandWindowSize(void* window, int width, int height) {
    return zn::c::guarded([&] {
        if (!window || width < 1 || height < 1)
            return ZNV_INVALID_ARGUMENT;
        znSetWaylandWindowSize(static_cast<HWND>(window), width, height);
        return ZNV_OK;
    });
}
#endif
