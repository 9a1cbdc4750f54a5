// Pixel formats over the screen's GLX framebuffer configurations. A window's format is kept in a
// property on the window: it is visible to every connection and goes away with the window, as a
// Windows window's format does.
#include <algorithm>
#include <mutex>
#include <string>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "platform/x11/x11_platform.h"

namespace zn::x11 {

namespace {

const char* const kFormatProperty = "_ZN_VELMORA_PIXEL_FORMAT";

int attribute(Display* display, GLXFBConfig config, int name) {
    int value = 0;
    glXGetFBConfigAttrib(display, config, name, &value);
    return value;
}

int lowestBit(unsigned long mask) {
    int shift = 0;
    for (; mask && !(mask & 1); mask >>= 1)
        ++shift;
    return shift;
}

void readVisual(FormatTraits& traits, const XVisualInfo& visual, const X11Window& target) {
    if (target.window != None && visual.visualid == target.visual)
        traits.visualMatch = 0;
    else if (visual.depth == target.depth && visual.c_class == target.visualClass)
        traits.visualMatch = 1;
    traits.redShift = lowestBit(visual.red_mask);
    traits.greenShift = lowestBit(visual.green_mask);
    traits.blueShift = lowestBit(visual.blue_mask);
}

} // namespace

FormatTraits readTraits(Display* display, GLXFBConfig config, const X11Window& target) {
    auto get = [display, config](int name) { return attribute(display, config, name); };
    FormatTraits traits = {};
    traits.visualMatch = 2;
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
    if (visual) {
        readVisual(traits, *visual, target);
        XFree(visual);
    }
    traits.window = visual && (get(GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT);
    traits.rgba = get(GLX_RENDER_TYPE) & GLX_RGBA_BIT;
    traits.colorIndex = get(GLX_RENDER_TYPE) & GLX_COLOR_INDEX_BIT;
    traits.doubleBuffer = get(GLX_DOUBLEBUFFER);
    traits.stereo = get(GLX_STEREO);
    traits.mainPlane = get(GLX_LEVEL) == 0;
    traits.slow = get(GLX_CONFIG_CAVEAT) == GLX_SLOW_CONFIG;
    traits.colorBits = get(GLX_BUFFER_SIZE);
    traits.redBits = get(GLX_RED_SIZE);
    traits.greenBits = get(GLX_GREEN_SIZE);
    traits.blueBits = get(GLX_BLUE_SIZE);
    traits.alphaBits = get(GLX_ALPHA_SIZE);
    traits.accumRedBits = get(GLX_ACCUM_RED_SIZE);
    traits.accumGreenBits = get(GLX_ACCUM_GREEN_SIZE);
    traits.accumBlueBits = get(GLX_ACCUM_BLUE_SIZE);
    traits.accumAlphaBits = get(GLX_ACCUM_ALPHA_SIZE);
    traits.depthBits = get(GLX_DEPTH_SIZE);
    traits.stencilBits = get(GLX_STENCIL_SIZE);
    traits.auxBuffers = get(GLX_AUX_BUFFERS);
    traits.samples = get(GLX_SAMPLES);
    // Alpha sits above the colour channels, as in the visual's pixel.
    if (traits.alphaBits > 0)
        traits.alphaShift =
            std::max({traits.redShift + traits.redBits, traits.greenShift + traits.greenBits,
                      traits.blueShift + traits.blueBits});
    return traits;
}

namespace {

// Whether contexts on this connection render indirectly (through the X server), which makes
// every format a generic one. Asked once per connection: of the context current on this thread
// when there is one on the connection, else of a throw-away context.
bool rendersIndirect(Connection& connection, GLXFBConfig config, bool rgba) {
    Display* display = connection.display;
    std::lock_guard<decltype(connection.learntMutex)> lock(connection.learntMutex);
    if (connection.indirect >= 0)
        return connection.indirect != 0;
    bool indirect = false;
    if (glXGetCurrentContext() && glXGetCurrentDisplay() == display) {
        indirect = !glXIsDirect(display, glXGetCurrentContext());
    } else {
        ErrorTrap trap(display);
        GLXContext probe = glXCreateNewContext(
            display, config, rgba ? GLX_RGBA_TYPE : GLX_COLOR_INDEX_TYPE, nullptr, True);
        // A probe that failed says nothing: the formats are taken for direct ones.
        indirect = probe && !trap.failed() && !glXIsDirect(display, probe);
        if (probe)
            glXDestroyContext(display, probe);
    }
    connection.indirect = indirect ? 1 : 0;
    return indirect;
}

Atom formatAtom(Display* display) {
    return XInternAtom(display, kFormatProperty, False);
}

int readFormatProperty(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ErrorTrap trap(display);
    const int status = XGetWindowProperty(display, window, formatAtom(display), 0, 1, False,
                                          XA_INTEGER, &type, &format, &count, &after, &data);
    int index = 0;
    if (status == Success && !trap.failed() && data && type == XA_INTEGER && format == 32 &&
        count == 1)
        index = static_cast<int>(reinterpret_cast<const long*>(data)[0]);
    if (data)
        XFree(data);
    return index;
}

bool writeFormatProperty(Display* display, Window window, int index) {
    const long value = index;
    ErrorTrap trap(display);
    XChangeProperty(display, window, formatAtom(display), XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    if (!trap.failed())
        return true;
    diagnose("SetPixelFormat", trap.why());
    return false;
}

} // namespace

FBConfigList::FBConfigList(Display* display, int screen) : configs(nullptr), count(0) {
    // NOTE: Mesa's glXGetFBConfigs answers no configuration at all now and then when two
    // threads ask at once (seen with two managers starting up together), so they ask in turn.
    Platform& state = platform();
    std::lock_guard<decltype(state.configMutex)> lock(state.configMutex);
    configs = glXGetFBConfigs(display, screen, &count);
    if (!configs)
        count = 0;
}

FBConfigList::~FBConfigList() {
    if (configs)
        XFree(configs);
}

GLXFBConfig FBConfigList::at(int format) const {
    return format >= 1 && format <= count ? configs[format - 1] : nullptr;
}

int GlxBackend::chooseFormat(native::Window& window, const PIXELFORMATDESCRIPTOR& request) {
    const X11Window& target = static_cast<X11Window&>(window);
    // The screen takes no pixel format.
    if (target.window == None)
        return 0;
    FBConfigList configs(target.display, target.screen);
    // The window's own visual ranks first, so the other configurations are read only when none
    // on it serves the request.
    std::vector<FormatTraits> formats(configs.size());
    for (int format = 1; format <= configs.size(); ++format)
        if (attribute(target.display, configs.at(format), GLX_VISUAL_ID) == int(target.visual))
            formats[format - 1] = readTraits(target.display, configs.at(format), target);
    if (const int chosen = native::chooseFormat(formats, request))
        return chosen;
    for (int format = 1; format <= configs.size(); ++format)
        formats[format - 1] = readTraits(target.display, configs.at(format), target);
    const int chosen = native::chooseFormat(formats, request);
    if (!chosen)
        x11::diagnose("ChoosePixelFormat", "no framebuffer configuration serves the request");
    return chosen;
}

int GlxBackend::describeFormat(native::Window& window, int format, PIXELFORMATDESCRIPTOR* out) {
    const X11Window& target = static_cast<X11Window&>(window);
    FBConfigList configs(target.display, target.screen);
    if (!out)
        return configs.size();
    GLXFBConfig config = configs.at(format);
    if (!config)
        return 0;
    const FormatTraits traits = readTraits(target.display, config, target);
    *out = native::describeFormat(traits, rendersIndirect(*target.connection, config, traits.rgba));
    return configs.size();
}

bool GlxBackend::drawsToWindow(native::Window& window, int format) {
    const X11Window& target = static_cast<X11Window&>(window);
    FBConfigList configs(target.display, target.screen);
    GLXFBConfig config = configs.at(format);
    return config && readTraits(target.display, config, target).window;
}

int GlxBackend::windowFormat(native::Window& window) {
    const X11Window& target = static_cast<X11Window&>(window);
    return target.window == None ? 0 : readFormatProperty(target.display, target.window);
}

bool GlxBackend::storeWindowFormat(native::Window& window, int format) {
    const X11Window& target = static_cast<X11Window&>(window);
    return writeFormatProperty(target.display, target.window, format);
}

} // namespace zn::x11
