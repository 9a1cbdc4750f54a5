// The C interface as a C host uses it, on the recording platform: results, callbacks, answers.
#include <stdexcept>

#include "RecordTest.h"
#include "znVelmora_c.h"

namespace {

// The scene's callbacks note themselves in the call log as "scene.<operation>(user)"; the
// operation named in `failing` returns 1, or throws when `throwing` is set (a C++ host's
// callback).
struct SceneState {
    std::string failing;
    bool throwing = false;
};

int happen(void* user, const char* operation) {
    SceneState& state = *static_cast<SceneState*>(user);
    znRecord::note(std::string("scene.") + operation);
    if (state.failing != operation)
        return 0;
    if (state.throwing)
        throw std::runtime_error(operation);
    return 1;
}

const znvScene kScene = {
    [](void* user) { return happen(user, "prepare"); },
    [](void* user) { return happen(user, "init"); },
    [](void* user) { return happen(user, "sync"); },
    [](void* user, float) { return happen(user, "animate"); },
    [](void* user) { return happen(user, "render"); },
    [](void* user) { return happen(user, "destroy"); },
};

class CInterface : public RecordTest {
  protected:
    void SetUp() override {
        RecordTest::SetUp();
        ASSERT_EQ(znvManager_create(window(), &kScene, &scene, &manager), ZNV_OK);
    }
    void TearDown() override { EXPECT_EQ(znvManager_destroy(manager), ZNV_OK); }

    // Start-up, the first sync, and a clock that stands where the next frame measures from.
    void startUp() {
        ASSERT_EQ(znvManager_initializeOpenGL(manager), ZNV_OK);
        ASSERT_EQ(znvManager_enterRenderLoop(manager), ZNV_OK);
        znRecord::clearCalls();
    }

    // A frame that the pacing rule lets through.
    znvResult frame() {
        znRecord::advanceCounter(20);
        return znvManager_renderFunc(manager);
    }

    static Texts sceneCalls() {
        Texts calls;
        for (const std::string& call : znRecord::callTexts())
            if (call.rfind("scene.", 0) == 0)
                calls.push_back(call);
        return calls;
    }

    SceneState scene;
    znvManager* manager = nullptr;
};

TEST_F(CInterface, AHostDrivesItsSceneThroughTheCallbacks) {
    startUp();
    EXPECT_EQ(frame(), ZNV_OK);
    EXPECT_EQ(znvManager_setRenderContentModified(manager, 1), ZNV_OK);
    EXPECT_EQ(znvManager_enterRenderLoop(manager), ZNV_OK);
    EXPECT_EQ(znvManager_destroyOpenGL(manager), ZNV_OK);
    EXPECT_EQ(sceneCalls(),
              (Texts{"scene.animate()", "scene.render()", "scene.sync()", "scene.destroy()"}));
    EXPECT_EQ(znRecord::callsNamed("SwapBuffers").size(), 1u);
    EXPECT_EQ(znRecord::heldDCs(), 0);
}

TEST_F(CInterface, FailuresComeBackAsTheirFamilyAndTheirBoxesCode) {
    znRecord::failCall("wglCreateContext", 1);
    EXPECT_EQ(znvManager_initializeOpenGL(manager), ZNV_CONTEXT_FAILURE | 4);
    EXPECT_EQ(ZNV_CODE(ZNV_CONTEXT_FAILURE | 4), 4);
    EXPECT_EQ(ZNV_FAMILY(ZNV_CONTEXT_FAILURE | 4), ZNV_CONTEXT_FAILURE);
    startUp();

    scene.failing = "sync";
    EXPECT_EQ(znvManager_setRenderContentModified(manager, 1), ZNV_OK);
    EXPECT_EQ(znvManager_enterRenderLoop(manager), ZNV_RENDER_FAILURE | 3);
    scene.failing = "render";
    EXPECT_EQ(frame(), ZNV_RENDER_FAILURE | 2);
    scene.throwing = true;
    EXPECT_EQ(frame(), ZNV_RENDER_FAILURE | 2);
    scene.failing.clear();
    znRecord::failCall("SwapBuffers", 1);
    EXPECT_EQ(frame(), ZNV_RENDER_FAILURE | 1);
    znRecord::failCall("wglMakeCurrent", 1);
    EXPECT_EQ(znvManager_makeCurrent(manager), ZNV_CONTEXT_FAILURE | 5);
    znRecord::failCall("wglDeleteContext", 1);
    EXPECT_EQ(znvManager_destroyOpenGL(manager), ZNV_CONTEXT_FAILURE | 6);

    // The same boxes as in C++: none for a sync, a swap or makeCurrent.
    EXPECT_EQ(boxes(), (Texts{"znVelmora Context Error|Could not create the rendercontext.|16",
                              "znVelmora Render Error|Error, while rendering the environment.|16",
                              "znVelmora Render Error|Error, while rendering the environment.|16",
                              "znVelmora Context Error|Could not destroy the rendercontext.|16"}));
}

TEST_F(CInterface, ASceneFailingAtStartUpOrTearDownEndsTheCall) {
    scene.failing = "prepare";
    EXPECT_EQ(znvManager_initializeOpenGL(manager), ZNV_SCENE_FAILURE);
    scene.throwing = true;
    EXPECT_EQ(znvManager_initializeOpenGL(manager), ZNV_SCENE_FAILURE);
    EXPECT_TRUE(znRecord::callsNamed("scene.init").empty());
    scene.failing = "destroy";
    EXPECT_EQ(znvManager_destroyOpenGL(manager), ZNV_SCENE_FAILURE);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(CInterface, NullHandlesAndAnswerPointersAreRefused) {
    int i = 0;
    unsigned int u = 0;
    float f = 0;
    size_t n = 0;
    const char* s = nullptr;
    znvManager* noManager = nullptr;
    znvTimer* noTimer = nullptr;
    znvFont* noFont = nullptr;
    const znvResult results[] = {
        znvManager_create(nullptr, nullptr, nullptr, nullptr),
        znvManager_destroy(noManager),
        znvManager_initializeOpenGL(noManager),
        znvManager_destroyOpenGL(noManager),
        znvManager_enterRenderLoop(noManager),
        znvManager_renderFunc(noManager),
        znvManager_makeCurrent(noManager),
        znvManager_setWindowSize(noManager, 0, 0, 1, 1),
        znvManager_getWindowsPos(noManager, &i, &i),
        znvManager_getWindowsPos(manager, &i, nullptr),
        znvManager_getWindowsSize(noManager, &i, &i, &i, &i),
        znvManager_getWindowsSize(manager, &i, &i, &i, nullptr),
        znvManager_setRenderContentModified(noManager, 1),
        znvManager_setShowFPS(noManager, 1),
        znvManager_getDestinatedFPS(noManager, &u),
        znvManager_getDestinatedFPS(manager, nullptr),
        znvManager_setDestinatedFPS(noManager, 60),
        znvManager_getGLDriver(noManager, &s),
        znvManager_getGLVendor(manager, nullptr),
        znvManager_getGLRenderer(noManager, &s),
        znvManager_getGLVersion(noManager, &s),
        znvManager_getGLExtensionCount(noManager, &n),
        znvManager_getGLExtensionCount(manager, nullptr),
        znvManager_getGLExtension(noManager, 0, &s),
        znvManager_getGLExtension(manager, 0, &s), // no extensions before start-up
        znvTimer_create(nullptr),
        znvTimer_destroy(noTimer),
        znvTimer_initializeTimer(noTimer, &i),
        znvTimer_performCounter(noTimer),
        znvTimer_reset(noTimer),
        znvTimer_getElapsedSeconds(noTimer, &f),
        znvTimer_getFPS(noTimer, &f),
        znvTimer_elapsedTimeinMSSinceLastRender(noTimer, &u),
        znvFont_create(nullptr),
        znvFont_destroy(noFont),
        znvFont_createFont(noFont, "Arial", 15, 700, 0, 0),
        znvFont_printString(noFont, "x", 0, 0, 0, 1, 1, 1, 1),
        znvFont_printOverlay(noFont, "x", 0, 0, 1, 1, 1),
        znvFont_clearFont(noFont),
        znvFont_setDeviceContextManual(noFont, nullptr),
        znvGL_hasGLContext(nullptr),
        znvGL_isGLExtensionsSupported(1, nullptr),
        znvGL_getMaxTextureUnits(nullptr),
        znvGL_glPointParameterfvARB(0x8127, nullptr),
        znvGL_glGenBuffersARB(1, nullptr),
    };
    for (size_t call = 0; call < sizeof results / sizeof results[0]; ++call)
        EXPECT_EQ(results[call], ZNV_INVALID_ARGUMENT) << "call " << call;
    EXPECT_TRUE(znRecord::calls().empty());
}

TEST_F(CInterface, SettingsAndDriverInformationAnswerAsInCpp) {
    const char* vendor = "unset";
    EXPECT_EQ(znvManager_getGLVendor(manager, &vendor), ZNV_OK);
    EXPECT_EQ(vendor, nullptr);
    startUp();
    EXPECT_EQ(znvManager_setWindowSize(manager, -5, 7, 0, 300), ZNV_OK);
    int x = -1, y = -1, width = -1, height = -1;
    EXPECT_EQ(znvManager_getWindowsSize(manager, &x, &y, &width, &height), ZNV_OK);
    EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{0, 7, 1, 300}));
    unsigned int fps = 0;
    EXPECT_EQ(znvManager_setDestinatedFPS(manager, 60), ZNV_OK);
    EXPECT_EQ(znvManager_getDestinatedFPS(manager, &fps), ZNV_OK);
    EXPECT_EQ(fps, 60u);
    int precise = -1, interval = -1, granted = -1;
    EXPECT_EQ(znvManager_setPrecisePacing(manager, 1), ZNV_OK);
    EXPECT_EQ(znvManager_getPrecisePacing(manager, &precise), ZNV_OK);
    EXPECT_EQ(precise, 1);
    EXPECT_EQ(znvManager_setPrecisePacing(manager, 0), ZNV_OK);
    EXPECT_EQ(znvManager_setSwapInterval(manager, 1, &granted), ZNV_OK);
    EXPECT_EQ(znvManager_getSwapInterval(manager, &interval), ZNV_OK);
    EXPECT_EQ((std::vector<int>{granted, interval}), (std::vector<int>{1, 1}));
    EXPECT_EQ(znvManager_getSwapInterval(manager, nullptr), ZNV_INVALID_ARGUMENT);

    const char *driver = nullptr, *renderer = nullptr, *version = nullptr;
    EXPECT_EQ(znvManager_getGLDriver(manager, &driver), ZNV_OK);
    EXPECT_EQ(znvManager_getGLVendor(manager, &vendor), ZNV_OK);
    EXPECT_EQ(znvManager_getGLRenderer(manager, &renderer), ZNV_OK);
    EXPECT_EQ(znvManager_getGLVersion(manager, &version), ZNV_OK);
    EXPECT_STREQ(driver, "Installable Client ICD");
    EXPECT_STREQ(vendor, "znVelmora record");
    EXPECT_STREQ(renderer, "recording stand-in");
    EXPECT_STREQ(version, "1.1.0 record");
    size_t count = 0;
    EXPECT_EQ(znvManager_getGLExtensionCount(manager, &count), ZNV_OK);
    ASSERT_EQ(count, 3u);
    const char* last = nullptr;
    EXPECT_EQ(znvManager_getGLExtension(manager, 2, &last), ZNV_OK);
    EXPECT_STREQ(last, "GL_ARB_vertex_buffer_object");
    EXPECT_EQ(znvManager_getGLExtension(manager, 3, &last), ZNV_INVALID_ARGUMENT);
}

TEST_F(CInterface, TimerFontAndGLFunctionsForwardToTheLibrary) {
    znvTimer* timer = nullptr;
    ASSERT_EQ(znvTimer_create(&timer), ZNV_OK);
    int available = 0;
    EXPECT_EQ(znvTimer_initializeTimer(timer, &available), ZNV_OK);
    EXPECT_EQ(available, 1);
    znRecord::advanceCounter(20);
    EXPECT_EQ(znvTimer_performCounter(timer), ZNV_OK);
    float fps = 0, seconds = 0;
    unsigned int ms = 0;
    EXPECT_EQ(znvTimer_getFPS(timer, &fps), ZNV_OK);
    EXPECT_EQ(znvTimer_getElapsedSeconds(timer, &seconds), ZNV_OK);
    EXPECT_EQ(znvTimer_elapsedTimeinMSSinceLastRender(timer, &ms), ZNV_OK);
    EXPECT_FLOAT_EQ(fps, 50.0f);
    EXPECT_FLOAT_EQ(seconds, 0.02f);
    EXPECT_EQ(ms, 21u);
    EXPECT_EQ(znvTimer_reset(timer), ZNV_OK);
    EXPECT_EQ(znvTimer_destroy(timer), ZNV_OK);

    startUp();
    znvFont* font = nullptr;
    ASSERT_EQ(znvFont_create(&font), ZNV_OK);
    EXPECT_EQ(znvFont_createFont(font, "Courier", 12, 400, 0, 0), ZNV_OK);
    EXPECT_EQ(znvFont_printString(font, "in", 0.5f, 0.5f, 0, 1, 0, 0, 1), ZNV_OK);
    EXPECT_EQ(znvFont_printOverlay(font, "over", 0.1f, 0.2f, 0, 0, 1), ZNV_OK);
    EXPECT_EQ(znvFont_clearFont(font), ZNV_OK);
    EXPECT_EQ(znvFont_destroy(font), ZNV_OK);
    EXPECT_EQ(znRecord::callsNamed("glCallLists"),
              (Texts{"glCallLists(2, 0x1401, \"in\")", "glCallLists(4, 0x1401, \"over\")"}));
    EXPECT_EQ(znRecord::callsNamed("glRasterPos2f"), Texts{"glRasterPos2f(0.1, 0.2)"});

    int has = 0, supported = 0;
    unsigned int units = 0, buffer = 0;
    EXPECT_EQ(znvGL_hasGLContext(&has), ZNV_OK);
    EXPECT_EQ(znvGL_isGLExtensionsSupported(ZNV_GL_VERTEX_BUFFER_OBJECT, &supported), ZNV_OK);
    EXPECT_EQ(znvGL_getMaxTextureUnits(&units), ZNV_OK);
    EXPECT_EQ((std::vector<int>{has, supported}), (std::vector<int>{1, 1}));
    znRecord::clearCalls();
    EXPECT_EQ(znvGL_glGenBuffersARB(1, &buffer), ZNV_OK);
    EXPECT_EQ(znvGL_glBindBufferARB(0x8892, buffer), ZNV_OK);
    EXPECT_EQ(znvGL_glBufferDataARB(0x8892, 16, nullptr, 0x88E4), ZNV_OK);
    EXPECT_EQ(znvGL_glPointParameterfARB(0x8126, 2.0f), ZNV_OK);
    EXPECT_EQ(znvGL_glMultiTexCoord2fARB(0x84C1, 0.5f, 0.25f), ZNV_OK);
    EXPECT_EQ(znvGL_glActiveTextureARB(0x84C1), ZNV_OK);
    EXPECT_EQ(znvGL_glClientActiveTextureARB(0x84C2), ZNV_OK);
    EXPECT_EQ(znvGL_wglSwapIntervalEXT(0), ZNV_OK);
    EXPECT_EQ(znRecord::callTexts(),
              (Texts{"glGenBuffersARB(1)", "glBindBufferARB(0x8892, 1)",
                     "glBufferDataARB(0x8892, 16, NULL, 0x88E4)", "glPointParameterfARB(0x8126, 2)",
                     "glMultiTexCoord2fARB(0x84C1, 0.5, 0.25)", "glActiveTextureARB(0x84C1)",
                     "glClientActiveTextureARB(0x84C2)", "wglSwapIntervalEXT(0)"}));
}

} // namespace
