// znChooseX11Visual: the visual a host creates its window with, chosen by the same rules that
// ChoosePixelFormat applies, over every configuration of the screen that can draw to a window.
#include "context/pixelFormatRequest.h"
#include "platform/x11/x11_platform.h"

using namespace zn::x11;

int znChooseX11Visual(Display* display, int screen, znX11Visual* visual) {
    if (!display)
        display = zn::x11::display();
    if (!display || !visual || screen < 0 || screen >= ScreenCount(display))
        return 0;
    // A window yet to be made: visuals of the default depth and class rank first, and among
    // them none is preferred for being the default one.
    Visual* defaultVisual = DefaultVisual(display, screen);
    X11Window screenDC{};
    screenDC.display = display;
    screenDC.window = None;
    screenDC.screen = screen;
    screenDC.visual = XVisualIDFromVisual(defaultVisual);
    screenDC.depth = DefaultDepth(display, screen);
    screenDC.visualClass = defaultVisual->c_class;
    FBConfigList configs(display, screen);
    std::vector<FormatTraits> formats(configs.size());
    for (int format = 1; format <= configs.size(); ++format)
        formats[format - 1] = readTraits(display, configs.at(format), screenDC);
    const int chosen = chooseFormat(formats, zn::requestedPixelFormat());
    XVisualInfo* info = chosen ? glXGetVisualFromFBConfig(display, configs.at(chosen)) : nullptr;
    if (!info) {
        diagnose("znChooseX11Visual", "no framebuffer configuration serves the request");
        return 0;
    }
    visual->visualid = info->visualid;
    visual->depth = info->depth;
    visual->needsColormap = info->visualid != screenDC.visual;
    XFree(info);
    return 1;
}
