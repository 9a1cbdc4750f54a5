#include "host.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "DemoScene.h"
#include "DemoWindow.h"
#include "screenshot.h"
#include "znVelmora.h"

namespace {

using Clock = std::chrono::steady_clock;

const unsigned int kRateStep = 10;
const unsigned int kMaxRate = 1000;

// A rate of 0 is unpaced, the fastest: raising keeps it, lowering starts from the top.
unsigned int raised(unsigned int fps) {
    return fps == 0 ? 0 : std::min(fps + kRateStep, kMaxRate);
}

unsigned int lowered(unsigned int fps) {
    if (fps == 0)
        return kMaxRate;
    return fps > kRateStep ? fps - kRateStep : fps;
}

// The host's side of the render manager's sequence. The members are built in the order the
// manager needs them (window, scene, manager) and destroyed in reverse.
class DemoHost {
  public:
    explicit DemoHost(const DemoOptions& options);
    RunSummary run();

  private:
    void loop();
    bool limitReached() const;
    double secondsSinceStart() const;
    double secondsLeft() const;
    bool obey(const std::vector<Command>& commands);
    void setRate(unsigned int fps);
    void followResize();

    const DemoOptions& options;
    DemoWindow window;
    DemoScene scene;
    znVelmora manager;
    int width;
    int height;
    bool overlay;
    Clock::time_point start;
};

DemoHost::DemoHost(const DemoOptions& options)
    : options(options), window("znVelmora demo", options.width, options.height),
      scene(window.width(), window.height()), manager(window.handle(), &scene),
      width(window.width()), height(window.height()), overlay(options.overlay) {
    manager.setWindowSize(0, 0, width, height);
    manager.setShowFPS(overlay);
    manager.setPrecisePacing(options.precisePacing);
    setRate(options.fps);
}

RunSummary DemoHost::run() {
    manager.initializeOpenGL();
    // The manager has shown why in a box. With no context there is nothing to tear down, and
    // trying would only add a second report.
    if (!manager.getGLRenderer())
        throw std::runtime_error("OpenGL could not be started in the window");
    RunSummary summary;
    summary.driver = manager.getGLDriver();
    summary.renderer = manager.getGLRenderer(); // copied: it lives only as long as the context
    std::vector<unsigned char> pixels;
    try {
        loop();
        summary.seconds = secondsSinceStart();
        if (!options.screenshot.empty())
            pixels = window.capture();
    } catch (...) {
        manager.destroyOpenGL();
        throw;
    }
    summary.frames = scene.framesRendered();
    summary.targetRate = manager.getDestinatedFPS();
    summary.precisePacing = manager.getPrecisePacing();
    manager.destroyOpenGL();
    if (!options.screenshot.empty())
        writePng(options.screenshot, window.width(), window.height(), pixels);
    return summary;
}

void DemoHost::loop() {
    start = Clock::now();
    bool running = true;
    while (running && !limitReached()) {
        try {
            manager.enterRenderLoop();
        } catch (znExceptionHolder<znRenderException>&) {
            throw std::runtime_error("the scene could not rebuild its vertex data");
        }
        manager.renderFunc();
        // A minimised window draws nothing, so the loop sleeps until the window system wakes it.
        running = obey(window.minimised() ? window.waitEvents(secondsLeft()) : window.pollEvents());
        followResize();
    }
}

bool DemoHost::limitReached() const {
    return (options.frames > 0 && scene.framesRendered() >= options.frames) ||
           (options.seconds > 0 && secondsSinceStart() >= options.seconds);
}

double DemoHost::secondsSinceStart() const {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double DemoHost::secondsLeft() const {
    return options.seconds > 0 ? std::max(0.0, options.seconds - secondsSinceStart()) : -1;
}

bool DemoHost::obey(const std::vector<Command>& commands) {
    for (Command command : commands) {
        switch (command) {
        case Command::quit:
            return false;
        case Command::toggleOverlay:
            overlay = !overlay;
            manager.setShowFPS(overlay);
            break;
        case Command::raiseRate:
            setRate(raised(manager.getDestinatedFPS()));
            break;
        case Command::lowerRate:
            setRate(lowered(manager.getDestinatedFPS()));
            break;
        case Command::switchModel:
            scene.switchModel();
            manager.setRenderContentModified(true);
            break;
        }
    }
    return true;
}

void DemoHost::setRate(unsigned int fps) {
    manager.setDestinatedFPS(fps);
    scene.setTargetRate(manager.getDestinatedFPS());
}

void DemoHost::followResize() {
    const int newWidth = window.width();
    const int newHeight = window.height();
    if ((newWidth == width && newHeight == height) || newWidth < 1 || newHeight < 1)
        return;
    width = newWidth;
    height = newHeight;
    manager.setWindowSize(0, 0, width, height);
    scene.resize(width, height);
}

} // namespace

RunSummary runDemo(const DemoOptions& options) {
    DemoHost host(options);
    return host.run();
}
