#include "znVelmora_c.h"

#include "capi/boundary.h"
#include "znPlatform.h"

znvResult ZNCALL znvSetWaylandDisplay(void* display) {
    return zn::c::guarded([&] {
        znSetWaylandDisplay(static_cast<wl_display*>(display));
        return ZNV_OK;
    });
}
