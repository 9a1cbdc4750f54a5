// The recording platform's state and its log formatting, shared by its Win32 and GL halves.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/native.h"
#include "platform/ranked_mutex.h"
#include "platform/win32api.h"
#include "znRecord.h"

namespace znRecord {
namespace detail {

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

    std::map<HWND, int> windowFormats;
    uintptr_t nextTimer;
    GLuint nextList;
    GLuint nextBuffer;
};

State& state();
// Held while a call logs, consumes a scripted failure or reads or changes what the window system
// keeps (formats, lists, boxes), so that threads may make calls at once.
using RecordMutex = zn::platform::RankedMutex<zn::platform::kLeafRank>;
RecordMutex& mutex();

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
    Call call{name, {arg(args)...}};
    std::lock_guard<RecordMutex> lock(mutex());
    State& s = state();
    s.calls.push_back(std::move(call));
    const auto left = s.errorsLeft.find(name);
    if (left != s.errorsLeft.end())
        s.pendingError = left->second;
}

} // namespace detail
} // namespace znRecord
