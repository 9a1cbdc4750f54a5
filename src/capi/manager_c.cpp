// The render manager behind the C interface, with the host's table of callbacks as its scene.
#include <string>
#include <vector>

#include "capi/boundary.h"
#include "znVelmora.h"

namespace {

using zn::c::guarded;
using zn::c::present;

// The scene as the manager sees it. A callback's failure is thrown so that the manager handles it
// as it handles a C++ scene's exception: code 3 from a sync, code 2 from a frame; start-up and
// tear-down pass it on, and the boundary answers ZNV_SCENE_FAILURE.
class CallbackScene : public znRenderEnv {
  public:
    CallbackScene(const znvScene* callbacks, void* user)
        : table(callbacks ? *callbacks : znvScene{}), user(user) {}

    void prepareEnvironment() override { run(table.prepareEnvironment); }
    void initEnvironment() override { run(table.initEnvironment); }
    void syncEnvironment() override { run(table.syncEnvironment); }
    void renderEnvironment() override { run(table.renderEnvironment); }
    void destroyEnvironment() override { run(table.destroyEnvironment); }
    void animateEnvironment(float seconds) override {
        if (table.animateEnvironment && table.animateEnvironment(user, seconds) != 0)
            throw zn::c::SceneFailure();
    }

  private:
    void run(int(ZNCALL* callback)(void*)) {
        if (!callback)
            return;
        int status = 0;
        try {
            status = callback(user);
        } catch (...) {
            // A C++ host's callback may throw; it fails like one that returns non-zero.
            throw zn::c::SceneFailure();
        }
        if (status != 0)
            throw zn::c::SceneFailure();
    }

    znvScene table;
    void* user;
};

znvResult contextResult(int code) {
    return zn::c::familyResult(ZNV_CONTEXT_FAILURE, code);
}

} // namespace

// Declared a friend of znVelmora, to read the codes that the C++ calls only report.
struct znvManager {
    znvManager(void* window, const znvScene* table, void* user)
        : scene(table, user), manager(static_cast<HWND>(window), &scene) {}

    znvResult startUp() { return contextResult(manager.startUp()); }
    znvResult tearDown() { return contextResult(manager.tearDown()); }
    znvResult renderFrame() {
        return zn::c::familyResult(ZNV_RENDER_FAILURE, manager.renderFrame());
    }

    CallbackScene scene; // before the manager, which must not outlive it
    znVelmora manager;
};

namespace {

znvResult answer(znvManager* manager, const char** out, const char* (znVelmora::*get)()) {
    return guarded([&] {
        if (!present(manager, out))
            return ZNV_INVALID_ARGUMENT;
        *out = (manager->manager.*get)();
        return ZNV_OK;
    });
}

// Runs an operation on the manager that answers nothing and fails only by throwing.
template <class Operation> znvResult onManager(znvManager* manager, Operation operation) {
    return zn::c::onHeld(manager, &znvManager::manager, operation);
}

} // namespace

znvResult ZNCALL znvManager_create(void* window, const znvScene* scene, void* user,
                                   znvManager** manager) {
    return zn::c::create(manager, window, scene, user);
}

znvResult ZNCALL znvManager_destroy(znvManager* manager) {
    return guarded([&] {
        if (!manager)
            return ZNV_INVALID_ARGUMENT;
        delete manager;
        return ZNV_OK;
    });
}

znvResult ZNCALL znvManager_initializeOpenGL(znvManager* manager) {
    return guarded([&] { return manager ? manager->startUp() : ZNV_INVALID_ARGUMENT; });
}

znvResult ZNCALL znvManager_destroyOpenGL(znvManager* manager) {
    return guarded([&] { return manager ? manager->tearDown() : ZNV_INVALID_ARGUMENT; });
}

znvResult ZNCALL znvManager_enterRenderLoop(znvManager* manager) {
    return onManager(manager, [](znVelmora& m) { m.enterRenderLoop(); });
}

znvResult ZNCALL znvManager_renderFunc(znvManager* manager) {
    return guarded([&] { return manager ? manager->renderFrame() : ZNV_INVALID_ARGUMENT; });
}

znvResult ZNCALL znvManager_makeCurrent(znvManager* manager) {
    return onManager(manager, [](znVelmora& m) { m.getRenderContext().makeCurrent(); });
}

znvResult ZNCALL znvManager_setWindowSize(znvManager* manager, int x, int y, int width,
                                          int height) {
    return onManager(manager, [&](znVelmora& m) { m.setWindowSize(x, y, width, height); });
}

znvResult ZNCALL znvManager_getWindowsPos(znvManager* manager, int* x, int* y) {
    if (!present(x, y))
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { m.getWindowsPos(*x, *y); });
}

znvResult ZNCALL znvManager_getWindowsSize(znvManager* manager, int* x, int* y, int* width,
                                           int* height) {
    if (!present(x, y, width, height))
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { m.getWindowsSize(*x, *y, *width, *height); });
}

znvResult ZNCALL znvManager_setRenderContentModified(znvManager* manager, int modified) {
    return onManager(manager, [&](znVelmora& m) { m.setRenderContentModified(modified != 0); });
}

znvResult ZNCALL znvManager_setShowFPS(znvManager* manager, int show) {
    return onManager(manager, [&](znVelmora& m) { m.setShowFPS(show != 0); });
}

znvResult ZNCALL znvManager_getDestinatedFPS(znvManager* manager, unsigned int* fps) {
    if (!fps)
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { *fps = m.getDestinatedFPS(); });
}

znvResult ZNCALL znvManager_setDestinatedFPS(znvManager* manager, unsigned int fps) {
    return onManager(manager, [&](znVelmora& m) { m.setDestinatedFPS(fps); });
}

znvResult ZNCALL znvManager_setPrecisePacing(znvManager* manager, int precise) {
    return onManager(manager, [&](znVelmora& m) { m.setPrecisePacing(precise != 0); });
}

znvResult ZNCALL znvManager_getPrecisePacing(znvManager* manager, int* precise) {
    if (!precise)
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { *precise = m.getPrecisePacing() ? 1 : 0; });
}

znvResult ZNCALL znvManager_setSwapInterval(znvManager* manager, int interval, int* granted) {
    return onManager(manager, [&](znVelmora& m) {
        const bool done = m.setSwapInterval(interval);
        if (granted)
            *granted = done ? 1 : 0;
    });
}

znvResult ZNCALL znvManager_getSwapInterval(znvManager* manager, int* interval) {
    if (!interval)
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { *interval = m.getSwapInterval(); });
}

znvResult ZNCALL znvManager_getGLDriver(znvManager* manager, const char** driver) {
    return answer(manager, driver, &znVelmora::getGLDriver);
}

znvResult ZNCALL znvManager_getGLVendor(znvManager* manager, const char** vendor) {
    return answer(manager, vendor, &znVelmora::getGLVendor);
}

znvResult ZNCALL znvManager_getGLRenderer(znvManager* manager, const char** renderer) {
    return answer(manager, renderer, &znVelmora::getGLRenderer);
}

znvResult ZNCALL znvManager_getGLVersion(znvManager* manager, const char** version) {
    return answer(manager, version, &znVelmora::getGLVersion);
}

znvResult ZNCALL znvManager_getGLExtensionCount(znvManager* manager, size_t* count) {
    if (!count)
        return ZNV_INVALID_ARGUMENT;
    return onManager(manager, [&](znVelmora& m) { *count = m.getGLExtensions().size(); });
}

znvResult ZNCALL znvManager_getGLExtension(znvManager* manager, size_t index, const char** name) {
    return guarded([&] {
        if (!present(manager, name) || index >= manager->manager.getGLExtensions().size())
            return ZNV_INVALID_ARGUMENT;
        *name = manager->manager.getGLExtensions()[index].c_str();
        return ZNV_OK;
    });
}
