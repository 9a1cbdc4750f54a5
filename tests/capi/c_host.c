/* A host in C11 that knows the library only through its C interface.
 *   c_host            a start-up without a window goes to the report handler, not a box, and
 *                     answers its failure code; then frames drawn into a real window (on X11
 *                     made on the host's connection with the visual the library chooses)
 *   c_host --boxless  the same failed start-up with no handler, under
 *                     ZNVELMORA_MESSAGEBOX=stderr: a line on standard error, nothing blocks
 * Exits 0 when every check holds. */
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>

#include "window.h"
#include "znVelmora_c.h"

enum { kWidth = 160, kHeight = 120, kFrames = 10 };

static int failures;

static void check(int holds, const char* what, int line) {
    if (holds)
        return;
    printf("c_host.c:%d: failed: %s\n", line, what);
    ++failures;
}
#define CHECK(condition) check((condition) != 0, #condition, __LINE__)

struct report {
    int count;
    char caption[64];
    char text[128];
    unsigned int style;
};

static void ZNCALL keep_report(void* user, const char* caption, const char* text,
                               unsigned int style) {
    struct report* report = user;
    ++report->count;
    snprintf(report->caption, sizeof report->caption, "%s", caption);
    snprintf(report->text, sizeof report->text, "%s", text);
    report->style = style;
}

/* Starts a manager without a window; the host reads the code and skips the tear-down, as there
 * is no context to tear down. */
static znvResult start_without_window(void) {
    znvManager* manager = NULL;
    znvResult result;
    CHECK(znvManager_create(NULL, NULL, NULL, &manager) == ZNV_OK);
    result = znvManager_initializeOpenGL(manager);
    CHECK(znvManager_destroy(manager) == ZNV_OK);
    return result;
}

static void report_to_handler(void) {
    struct report report = {0};
    znvResult result;
    CHECK(znvSetReportHandler(keep_report, &report) == ZNV_OK);
    result = start_without_window();
    CHECK(znvSetReportHandler(NULL, NULL) == ZNV_OK);
    CHECK(result == (ZNV_CONTEXT_FAILURE | 1));
    CHECK(report.count == 1);
    CHECK(strcmp(report.caption, "znVelmora Context Error") == 0);
    CHECK(strcmp(report.text, "Could not get device context") == 0);
    CHECK(report.style == ZNV_STYLE_ERROR);
    printf("start-up without a window: result 0x%X, handler got \"%s: %s\"\n", (unsigned)result,
           report.caption, report.text);
}

struct scene {
    int animated;
    int frames;
    unsigned char centre[4];
};

static int ZNCALL animate(void* user, float seconds) {
    struct scene* scene = user;
    scene->animated += seconds >= 0.0f;
    return 0;
}

/* Clears to blue and reads the back buffer's centre before the library swaps. */
static int ZNCALL render(void* user) {
    struct scene* scene = user;
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glReadPixels(kWidth / 2, kHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, scene->centre);
    ++scene->frames;
    return 0;
}

static void draw_frames(void* window) {
    struct scene scene = {0};
    znvScene callbacks = {0};
    znvManager* manager = NULL;
    const char* renderer = NULL;
    size_t extensions = 0;
    int calls;
    callbacks.animateEnvironment = animate;
    callbacks.renderEnvironment = render;
    CHECK(znvManager_create(window, &callbacks, &scene, &manager) == ZNV_OK);
    CHECK(znvManager_setWindowSize(manager, 0, 0, kWidth, kHeight) == ZNV_OK);
    CHECK(znvManager_setDestinatedFPS(manager, 0) == ZNV_OK);
    CHECK(znvManager_initializeOpenGL(manager) == ZNV_OK);
    CHECK(znvManager_getGLRenderer(manager, &renderer) == ZNV_OK && renderer);
    CHECK(znvManager_getGLExtensionCount(manager, &extensions) == ZNV_OK && extensions > 0);
    for (calls = 0; scene.frames < kFrames && calls < 100 * kFrames; ++calls) {
        CHECK(znvManager_enterRenderLoop(manager) == ZNV_OK);
        CHECK(znvManager_renderFunc(manager) == ZNV_OK);
        pump_window();
    }
    CHECK(znvManager_destroyOpenGL(manager) == ZNV_OK);
    CHECK(znvManager_destroy(manager) == ZNV_OK);
    CHECK(scene.frames == kFrames && scene.animated == kFrames);
    CHECK(scene.centre[0] < 20 && scene.centre[1] < 20 && scene.centre[2] > 235);
    printf("drew %d frames with %s (%u extensions); centre pixel %d,%d,%d\n", scene.frames,
           renderer ? renderer : "?", (unsigned)extensions, scene.centre[0], scene.centre[1],
           scene.centre[2]);
}

#if !defined(_WIN32) && !defined(C_HOST_WAYLAND)
/* Asked on the library's connection, which is the host's by now. */
static void refuse_bad_visual_requests(void) {
    unsigned long visualid = 0;
    int depth = 0, needsColormap = 0;
    CHECK(znvChooseX11Visual(NULL, 0, NULL, &depth, &needsColormap) == ZNV_INVALID_ARGUMENT);
    CHECK(znvChooseX11Visual(NULL, -1, &visualid, &depth, &needsColormap) ==
          (ZNV_CONTEXT_FAILURE | 2));
    CHECK(znvChooseX11Visual(NULL, 0, &visualid, &depth, &needsColormap) == ZNV_OK && visualid);
}
#endif

/* The report goes to standard error, which is caught in a file and read back. */
static void report_without_handler(void) {
    char line[256] = "";
    FILE* caught = freopen("c_host_reports.txt", "w+", stderr);
    znvResult result = start_without_window();
    CHECK(caught != NULL);
    if (caught) {
        fflush(caught);
        rewind(caught);
        CHECK(fgets(line, sizeof line, caught) != NULL);
    }
    CHECK(result == (ZNV_CONTEXT_FAILURE | 1));
    CHECK(strcmp(line, "znVelmora Context Error: Could not get device context\n") == 0);
    printf("start-up without a window and without a handler: result 0x%X, report line %s",
           (unsigned)result, line);
}

int main(int argc, char** argv) {
    void* window;
    CHECK(znvManager_renderFunc(NULL) == ZNV_INVALID_ARGUMENT);
    {
        int major = -1, minor = -1, patch = -1;
        CHECK(znvGetVersion(&major, &minor, &patch) == ZNV_OK);
        CHECK(major == ZNVELMORA_VERSION_MAJOR && minor == ZNVELMORA_VERSION_MINOR &&
              patch == ZNVELMORA_VERSION_PATCH);
        CHECK(strcmp(znvGetVersionString(), ZNVELMORA_VERSION_STRING) == 0);
    }
    if (argc > 1 && strcmp(argv[1], "--boxless") == 0) {
        report_without_handler();
        return failures != 0;
    }
    report_to_handler();
    window = open_window(kWidth, kHeight);
    CHECK(window != NULL);
    if (window) {
#if !defined(_WIN32) && !defined(C_HOST_WAYLAND)
        refuse_bad_visual_requests();
#endif
        draw_frames(window);
        close_window();
    }
    printf("%s\n", failures ? "FAILED" : "passed");
    return failures != 0;
}
