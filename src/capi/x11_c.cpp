// The X11 layer's own calls through the C interface; Windows has no counterpart.
#if !defined(_WIN32)
#include "capi/boundary.h"
#include "znPlatform.h"

znvResult ZNCALL znvSetX11Display(void* display) {
    return zn::c::guarded([&] {
        znSetX11Display(static_cast<Display*>(display));
        return ZNV_OK;
    });
}

znvResult ZNCALL znvChooseX11Visual(void* display, int screen, unsigned long* visualid, int* depth,
                                    int* needsColormap) {
    return zn::c::guarded([&] {
        if (!zn::c::present(visualid, depth, needsColormap))
            return ZNV_INVALID_ARGUMENT;
        znX11Visual chosen = {};
        if (!znChooseX11Visual(static_cast<Display*>(display), screen, &chosen))
            return ZNV_CONTEXT_FAILURE | 2;
        *visualid = chosen.visualid;
        *depth = chosen.depth;
        *needsColormap = chosen.needsColormap;
        return ZNV_OK;
    });
}
#endif
