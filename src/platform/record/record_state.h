// The recording platform's state and its log formatting, shared by its Win32 and GL halves.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32api.h"
#include "znRecord.h"

namespace znRecord {
namespace detail {

struct DeviceContext {
    HWND window;
    bool held;
    HGDIOBJ font;
};

// The rendering context current on one thread, and the device context it draws into.
struct Binding {
    HGLRC rc;
    HDC dc;
};

// A waitable timer and the counter reading it is due at.
struct WaitableTimer {
    bool highResolution;
    bool set;
    long long due;
};

struct State {
    std::vector<Call> calls;
    std::vector<MessageBox> boxes;
    std::vector<ListBlock> lists;

    std::map<std::string, int> failures;
    std::set<std::string> missingProcs;
    std::map<std::string, intptr_t> procAnswers;
    std::map<std::string, GLenum> errorsLeft;
    DWORD pixelFormatFlags;
    int chosenPixelFormat;
    std::map<GLenum, const char*> strings;
    std::set<GLenum> failingStrings;
    GLenum pendingError;
    GLint maxTextureUnits;
    long long frequency;
    long long count;
    std::set<HWND> iconic;
    bool tickModelled;
    bool highResolutionTimers;
    std::multiset<UINT> timerPeriods;
    std::map<HANDLE, WaitableTimer> timers;

    std::map<HDC, DeviceContext> dcs;
    std::map<HWND, int> windowFormats;
    std::map<HGLRC, int> contexts; // each with the pixel format it was made for
    std::set<HGDIOBJ> fonts;
    // As in WGL, each thread has its own current context.
    std::map<std::thread::id, Binding> bindings;
    uintptr_t nextDC, nextRC, nextFont, nextTimer;
    GLuint nextList;
    GLuint nextBuffer;
};

State& state();

// The calling thread's current context; both handles are null when none is current.
Binding& binding();
// True when another thread has this context current.
bool currentElsewhere(HGLRC rc);

// The recorded stand-in for an extension entry point, or null for a name it does not know.
PROC procAddress(const char* name);

// Consumes one scripted failure of the named call, if any.
bool fails(const char* name);

// Argument spellings of the log.
struct Hex {
    unsigned long long value;
};
struct Text {
    const char* value;
    size_t length;
};
inline std::string arg(int v) {
    return std::to_string(v);
}
inline std::string arg(unsigned int v) {
    return std::to_string(v);
}
inline std::string arg(long v) {
    return std::to_string(v);
}
inline std::string arg(unsigned long v) {
    return std::to_string(v);
}
inline std::string arg(long long v) {
    return std::to_string(v);
}
std::string arg(double v);
std::string arg(Hex v);
std::string arg(Text v);
std::string arg(const char* text);
std::string arg(const void* handle);
inline std::string arg(const std::string& spelt) {
    return spelt;
}

template <class... Args> void logCall(const char* name, Args... args) {
    State& s = state();
    s.calls.push_back(Call{name, {arg(args)...}});
    const auto left = s.errorsLeft.find(name);
    if (left != s.errorsLeft.end())
        s.pendingError = left->second;
}

} // namespace detail
} // namespace znRecord
