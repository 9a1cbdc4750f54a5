// The render manager: one per window, driving the host's environment frame by frame.
#pragma once

#include <string>
#include <vector>

#include "znException.h"
#include "znGLBitmapFont.h"
#include "znPlatform.h"
#include "znRenderContext.h"
#include "znRenderEnv.h"
#include "znVersion.h"

class znFramePacer;

class ZN_API znVelmora {
  public:
    // Measures spans of the performance counter: from the reference reading lastCount to the
    // latest reading currentCount. Call initializeTimer first, then per span performCounter, any
    // queries, and reset to start the next span at the same reading.
    class ZN_API znHiResTimer {
      public:
        znHiResTimer();
        ~znHiResTimer();
        znHiResTimer(const znHiResTimer& other);
        znHiResTimer& operator=(const znHiResTimer& other);

        // Reads the frequency and the start reading; false when there is no performance counter.
        bool initializeTimer();
        void performCounter();
        void reset();

        // Span in seconds; 0 while the frequency is 0.
        float getElapsedSeconds() const;
        // Frequency over span; 0 (never a real rate) while the frequency or the span is 0.
        float getFPS() const;
        // Whole milliseconds of the span plus 1 (low 32 bits). A frequency of 0 counts as 0 ms;
        // a span too long for 64-bit milliseconds counts as the largest (or smallest) such value.
        unsigned long elapsedTimeinMSSinceLastRender() const;

        LARGE_INTEGER startCount;
        LARGE_INTEGER lastCount;
        LARGE_INTEGER currentCount;
        LARGE_INTEGER frequency;
    };

    // Makes no system call: the window and OpenGL are touched from initializeOpenGL on. A null
    // environment throws std::invalid_argument.
    znVelmora(HWND window, znRenderEnv* environment);
    // Deletes the render context object, but releases no OpenGL resource: call destroyOpenGL.
    virtual ~znVelmora();

    // Copies would share and both delete one render context, so there are none.
    znVelmora(const znVelmora&) = delete;
    znVelmora& operator=(const znVelmora&) = delete;

    // Binds OpenGL to the window, sets the defaults, collects the driver information, builds the
    // overlay font and prepares and initialises the environment. A context failure is shown in a
    // box and ends the sequence early; the environment's own exceptions reach the caller.
    // Returns false after such a failure: the window then has no context to tear down, so skip
    // destroyOpenGL.
    bool initializeOpenGL();
    // Destroys the environment, the overlay glyphs and the rendering context; a context failure
    // is shown in a box.
    void destroyOpenGL();

    // Synchronises the environment when its content was marked modified (always on the first
    // call). Throws znExceptionHolder<znRenderException> code 3 when the sync throws; the mark
    // stays, so the next call tries again.
    bool enterRenderLoop();
    // Renders one frame when the frame interval has passed, otherwise sleeps out the rest of it.
    // Skips minimised or empty windows at once. Render failures are shown, never thrown.
    void renderFunc();

    znRenderContext& getRenderContext();
    // "Generic (Software Emulation)", "Mini Client MCD" or "Installable Client ICD".
    const char* getGLDriver();
    // Valid while the rendering context exists; "no-information-available" when the driver
    // could not answer; null before start-up.
    const char* getGLVendor();
    const char* getGLRenderer();
    const char* getGLVersion();
    const std::vector<std::string>& getGLExtensions();

    // The drawing area in OpenGL window coordinates; the overlay sits 45 pixels below its top.
    // Negative positions count as 0, sizes below 1 as 1.
    void setWindowSize(int x, int y, int width, int height);
    void getWindowsPos(int& x, int& y);
    void getWindowsSize(int& x, int& y, int& width, int& height);
    void setRenderContentModified(bool modified);
    void setShowFPS(bool show);
    unsigned int getDestinatedFPS();
    // Rates up to 1000 set the frame interval to 1000 / rate whole milliseconds (0: no pacing);
    // higher rates are ignored.
    void setDestinatedFPS(unsigned int fps);
    // Off by default. When on, frames follow an absolute schedule at the target rate itself
    // (not the whole-millisecond interval): renderFunc waits for the frame's deadline (on a
    // high-resolution timer, or sleeping until shortly before it and waiting out the rest on a
    // plain one) and renders. A late frame neither shifts
    // the schedule nor causes catch-up frames. While it is on, the manager holds a waitable
    // timer and, on Windows, a 1 ms system timer period (timeBeginPeriod).
    void setPrecisePacing(bool precise);
    bool getPrecisePacing();
    // Asks the driver to tie buffer swaps to the vertical retrace: 0 not at all (as after
    // start-up), n every n-th retrace, -n adaptively (a late frame swaps at once; needs
    // WGL_EXT_swap_control_tear or GLX_EXT_swap_control_tear). Acts on the rendering context
    // current on the calling thread, so call it after initializeOpenGL. False, changing
    // nothing, when there is no context or the driver cannot.
    bool setSwapInterval(int interval);
    // The interval last set; 0 after start-up.
    int getSwapInterval();

  private:
    // The C interface (znVelmora_c.h) returns the codes of the failures these report.
    friend struct znvManager;
    // 0, or the code of the context failure reported (-1 for a code of 0).
    int startUp();
    int tearDown();
    // 0, or the code of the render failure caught (and reported, but for a first swap failure);
    // -1 for a code of 0.
    int renderFrame();

    void doPreRendering();
    void doRendering();
    void doPostRendering();
    float framesPerSecond();
    bool isWindowValid();
    void awaitFrame();
    void timerReset();
    const char* getString(GLenum name);
    void driverInformation();

    int windowX;
    int windowY;
    int windowWidth;
    int windowHeight;
    const char* glVendor;
    const char* glRenderer;
    const char* glVersion;
    int glDriver;
    std::vector<std::string> glExtensions;
    znGLBitmapFont fpsFont;
    int frameIntervalMs;
    unsigned int destinatedFPS;
    bool showFPS;
    char fpsText[32];
    znRenderContext* renderContext;
    znRenderEnv* renderEnv;
    znHiResTimer timer;
    bool renderContentModified;
    znFramePacer* framePacer; // null unless precise pacing is on
    int swapInterval;
};
