// The recording platform: a scripted stand-in for the window system, GDI, WGL, the performance
// counter and OpenGL. Link znVelmora_record instead of znVelmora and every call the library
// makes is appended to one ordered log with its arguments, answered as the script says.
//
// Log format: name(arg, ...). Integers are decimal, OpenGL enumerants and masks hex (0x0B71),
// floats as %g, texts quoted, handles hex (NULL for none). Handles are numbered from a fresh
// start after reset(): device contexts 0x1001..., rendering contexts 0x2001..., fonts 0x3001...
// (0x3000 is the font every device context starts with).
//
// The clock moves only when a test moves it or when the library waits (Sleep, a waitable
// timer), which advances it by the time asked, or to the system timer's next tick when the tick
// is modelled. Message boxes are stored and never block. Display lists are tracked.
//
// The platform calls follow the same Windows rules as the x11 platform, from the same code: a
// rendering context is current on one thread at a time, as in WGL, and threads may make calls at
// once (the log then holds them in the order they were made). Where it differs from Windows:
// there are no real windows, so every non-null window handle stands for a live, shown window. A
// failed wglMakeCurrent leaves the thread's current context as it was, as Wine and GLX do
// (Windows releases it). ReleaseDC refuses a device context named with another window than its
// own. A thread that ends with a context current releases it. The script, the log and what the
// library left behind are read and changed from one thread while no other makes calls; reset()
// forgets the calling thread's current context only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "znPlatform.h"

namespace znRecord {

struct Call {
    std::string name;
    std::vector<std::string> args;
    std::string text() const; // "name(arg, ...)"
};

struct MessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    unsigned int style;
};

struct ListBlock {
    GLuint base;
    GLsizei range;
    bool built;   // filled by wglUseFontBitmapsA
    bool deleted; // freed by glDeleteLists
};

// Forgets every call, box, handle and list and restores the default script: every call
// succeeds, all nine extension entry points exist, the eight pixel formats all describe an
// installable client driver, the counter runs at 1000 counts per second from 0.
void reset();

// ---- the log
const std::vector<Call>& calls();
std::vector<std::string> callTexts();
// The texts of the calls with this name, in order.
std::vector<std::string> callsNamed(const std::string& name);
void clearCalls();
// Appends an entry of the caller's own (an environment's operation, say) to the same log.
void note(const std::string& name, const std::vector<std::string>& args = {});

// ---- the script
// The next `times` calls of the named function fail (-1: every call from now on).
void failCall(const std::string& name, int times = -1);
// wglGetProcAddress answers null for this name.
void removeProc(const std::string& name);
// wglGetProcAddress answers this raw address for the name, as drivers that answer 1, 2, 3 or -1
// for a name they lack.
void answerProc(const std::string& name, intptr_t address);
// Each call of the named function leaves this error pending for glGetError, as Wine's
// wglUseFontBitmapsA leaves GL_OUT_OF_MEMORY.
void leaveGLError(const std::string& call, GLenum error);
void setPixelFormatFlags(unsigned int flags);
// ChoosePixelFormat's answer (default 1); formats above 8 do not exist and cannot be set.
void setChosenPixelFormat(int format);
// What glGetString answers for GL_VENDOR, GL_RENDERER, GL_VERSION or GL_EXTENSIONS; null is
// allowed and answered as null.
void setGLString(GLenum name, const char* value);
// glGetString for this name leaves GL_INVALID_ENUM pending.
void failGLString(GLenum name);
// The error the next glGetError answers.
void setGLError(GLenum error);
void setMaxTextureUnits(GLint units);
// 0 means the machine has no performance counter.
void setCounterFrequency(long long countsPerSecond);
void setCounter(long long count);
void advanceCounter(long long counts);
long long counter();
void setIconic(HWND window, bool iconic);

// ---- the system timer (kernel32 and winmm)
// Models Windows' timer tick: Sleep, and a wait on a timer without high resolution, end at the
// first tick at or after the time asked. The tick is 15.625 ms, or the finest period asked with
// timeBeginPeriod while one is outstanding. Off after reset(): every wait ends exactly on time.
void modelTimerTick(bool modelled);
// CreateWaitableTimerExW refuses CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, as Windows did before
// Windows 10 1803.
void removeHighResolutionTimer();
// The periods asked with timeBeginPeriod and not yet given back with timeEndPeriod.
std::vector<unsigned int> timerPeriods();
// Waitable timers created and not closed.
int liveTimers();

// ---- what the library left behind
const std::vector<MessageBox>& messageBoxes();
const std::vector<ListBlock>& listBlocks();
// Display-list names reserved and not deleted.
int liveListNames();
// Fonts created and not deleted.
int liveFonts();
// Device contexts obtained and not released.
int heldDCs();
// The calling thread's current rendering context and its device context.
HGLRC currentContext();
HDC currentDC();
// The format set on a window, 0 when none.
int windowPixelFormat(HWND window);

} // namespace znRecord
