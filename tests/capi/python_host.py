"""A host in Python that uses the library through ctypes alone, on X11.

    python3 python_host.py path/to/libznVelmora.so

A start-up without a window goes to the report handler and answers its failure code; then a
real window gets frames drawn. Exits 0 when every check holds.
"""
import ctypes
import sys

WIDTH, HEIGHT, FRAMES = 160, 120, 10
CONTEXT_FAILURE, INVALID_ARGUMENT = 0x100, 0x301
STRUCTURE_NOTIFY_MASK, MAP_NOTIFY = 1 << 17, 19
GL_COLOR_BUFFER_BIT, GL_RGBA, GL_UNSIGNED_BYTE = 0x4000, 0x1908, 0x1401

Callback = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)
Animate = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_float)
ReportHandler = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                 ctypes.c_uint)


class Scene(ctypes.Structure):
    _fields_ = [("prepareEnvironment", Callback), ("initEnvironment", Callback),
                ("syncEnvironment", Callback), ("animateEnvironment", Animate),
                ("renderEnvironment", Callback), ("destroyEnvironment", Callback)]


lib = ctypes.CDLL(sys.argv[1])
x11 = ctypes.CDLL("libX11.so.6")
gl = ctypes.CDLL("libGL.so.1")
handle = ctypes.c_void_p
for name, arguments in {
        "znvSetReportHandler": [ReportHandler, ctypes.c_void_p],
        "znvManager_create": [handle, ctypes.POINTER(Scene), ctypes.c_void_p,
                              ctypes.POINTER(handle)],
        "znvManager_destroy": [handle],
        "znvManager_initializeOpenGL": [handle],
        "znvManager_destroyOpenGL": [handle],
        "znvManager_enterRenderLoop": [handle],
        "znvManager_renderFunc": [handle],
        "znvManager_setWindowSize": [handle] + [ctypes.c_int] * 4,
        "znvManager_setDestinatedFPS": [handle, ctypes.c_uint],
        "znvManager_getGLRenderer": [handle, ctypes.POINTER(ctypes.c_char_p)]}.items():
    getattr(lib, name).argtypes = arguments
    getattr(lib, name).restype = ctypes.c_int
x11.XOpenDisplay.restype = handle
x11.XDefaultRootWindow.argtypes = [handle]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [handle, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XSelectInput.argtypes = [handle, ctypes.c_ulong, ctypes.c_long]
x11.XWindowEvent.argtypes = [handle, ctypes.c_ulong, ctypes.c_long, ctypes.c_void_p]
for name in ("XMapWindow", "XDestroyWindow"):
    getattr(x11, name).argtypes = [handle, ctypes.c_ulong]
x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [handle]

failures = []


def check(holds, what):
    if not holds:
        failures.append(what)
        print("python_host.py: failed:", what)


def start_without_window():
    reports = []
    handler = ReportHandler(lambda user, caption, text, style:
                            reports.append((caption.decode(), text.decode(), style)))
    check(lib.znvSetReportHandler(handler, None) == 0, "handler set")
    manager = handle()
    check(lib.znvManager_create(None, None, None, ctypes.byref(manager)) == 0, "created")
    result = lib.znvManager_initializeOpenGL(manager)
    # No context was bound, so there is nothing to tear down.
    check(lib.znvManager_destroy(manager) == 0, "destroyed")
    check(lib.znvSetReportHandler(ReportHandler(), None) == 0, "handler removed")
    check(result == CONTEXT_FAILURE | 1, "start-up failure code 0x%X" % result)
    check(reports == [("znVelmora Context Error", "Could not get device context", 0x10)],
          "reports %r" % reports)
    print("start-up without a window: result 0x%X, handler got %r" % (result, reports))


def open_window():
    display = x11.XOpenDisplay(None)
    check(display, "display opened")
    window = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, 0, WIDTH,
                                     HEIGHT, 0, 0, 0)
    x11.XSelectInput(display, window, STRUCTURE_NOTIFY_MASK)
    x11.XMapWindow(display, window)
    event = (ctypes.c_long * 24)()
    while True:
        x11.XWindowEvent(display, window, STRUCTURE_NOTIFY_MASK, event)
        if ctypes.cast(event, ctypes.POINTER(ctypes.c_int))[0] == MAP_NOTIFY:
            break
    x11.XFlush(display)
    return display, window


def draw_frames(window):
    frames, centre = [], (ctypes.c_ubyte * 4)()

    def render(user):
        gl.glViewport(0, 0, WIDTH, HEIGHT)
        gl.glClearColor(ctypes.c_float(0), ctypes.c_float(1), ctypes.c_float(0), ctypes.c_float(1))
        gl.glClear(GL_COLOR_BUFFER_BIT)
        gl.glReadPixels(WIDTH // 2, HEIGHT // 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre)
        frames.append(1)
        return 0

    scene = Scene(renderEnvironment=Callback(render))
    manager = handle()
    check(lib.znvManager_create(window, ctypes.byref(scene), None, ctypes.byref(manager)) == 0,
          "created")
    lib.znvManager_setWindowSize(manager, 0, 0, WIDTH, HEIGHT)
    lib.znvManager_setDestinatedFPS(manager, 0)
    check(lib.znvManager_initializeOpenGL(manager) == 0, "started up")
    renderer = ctypes.c_char_p()
    lib.znvManager_getGLRenderer(manager, ctypes.byref(renderer))
    for _ in range(100 * FRAMES):
        if len(frames) == FRAMES:
            break
        check(lib.znvManager_enterRenderLoop(manager) == 0, "synced")
        check(lib.znvManager_renderFunc(manager) == 0, "rendered")
    check(lib.znvManager_destroyOpenGL(manager) == 0, "torn down")
    check(lib.znvManager_destroy(manager) == 0, "destroyed")
    check(len(frames) == FRAMES, "%d frames drawn" % len(frames))
    check(centre[0] < 20 and centre[1] > 235 and centre[2] < 20, "green centre %r" % list(centre))
    print("drew %d frames with %s; centre pixel %r" % (len(frames), renderer.value.decode(),
                                                        list(centre[:3])))


check(lib.znvManager_renderFunc(None) == INVALID_ARGUMENT, "a null handle is refused")
start_without_window()
display, window = open_window()
draw_frames(window)
x11.XDestroyWindow(display, window)
x11.XCloseDisplay(display)
print("FAILED" if failures else "passed")
sys.exit(1 if failures else 0)
