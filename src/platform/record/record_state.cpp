#include "record_state.h"

#include "platform/rules/rules.h"

#include <cstdarg>
#include <cstdio>

namespace znRecord {
namespace detail {

namespace {

const DWORD kIcdFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

void restoreDefaults(State& s) {
    s = State();
    s.pixelFormatFlags = kIcdFlags;
    s.chosenPixelFormat = 1;
    s.strings[GL_VENDOR] = "znVelmora record";
    s.strings[GL_RENDERER] = "recording stand-in";
    s.strings[GL_VERSION] = "1.1.0 record";
    s.strings[GL_EXTENSIONS] = "GL_ARB_multitexture GL_ARB_point_parameters "
                               "GL_ARB_vertex_buffer_object";
    s.pendingError = GL_NO_ERROR;
    s.maxTextureUnits = 4;
    s.frequency = 1000;
    s.count = 0;
    s.nextTimer = 0x4001;
    s.highResolutionTimers = true;
    s.nextList = 1;
    s.nextBuffer = 1;
}

State& freshState() {
    static State s;
    restoreDefaults(s);
    return s;
}

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace

State& state() {
    static State& s = freshState();
    return s;
}

RecordMutex& mutex() {
    static RecordMutex made;
    return made;
}

bool fails(const char* name) {
    std::lock_guard<RecordMutex> lock(mutex());
    auto rule = state().failures.find(name);
    if (rule == state().failures.end() || rule->second == 0)
        return false;
    if (rule->second > 0)
        --rule->second;
    return true;
}

std::string arg(double v) {
    return printed("%g", v);
}
std::string arg(Hex v) {
    return printed("0x%04llX", v.value);
}
std::string arg(const void* handle) {
    return handle ? printed("0x%llX",
                            static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)))
                  : "NULL";
}
std::string arg(const char* text) {
    return text ? arg(Text{text, std::char_traits<char>::length(text)}) : "NULL";
}

std::string arg(Text v) {
    std::string quoted = "\"";
    for (size_t i = 0; i < v.length; ++i) {
        const unsigned char c = static_cast<unsigned char>(v.value[i]);
        if (c >= 32 && c < 127 && c != '"' && c != '\\')
            quoted += static_cast<char>(c);
        else if (c == '\n')
            quoted += "\\n";
        else
            quoted += printed("\\x%02X", c);
    }
    return quoted + "\"";
}

} // namespace detail

using detail::state;

std::string Call::text() const {
    std::string joined = name + "(";
    for (size_t i = 0; i < args.size(); ++i)
        joined += (i ? ", " : "") + args[i];
    return joined + ")";
}

void reset() {
    zn::rules::reset();
    detail::restoreDefaults(state());
}

const std::vector<Call>& calls() {
    return state().calls;
}

std::vector<std::string> callTexts() {
    std::vector<std::string> texts;
    for (const Call& call : state().calls)
        texts.push_back(call.text());
    return texts;
}

std::vector<std::string> callsNamed(const std::string& name) {
    std::vector<std::string> texts;
    for (const Call& call : state().calls)
        if (call.name == name)
            texts.push_back(call.text());
    return texts;
}

void clearCalls() {
    state().calls.clear();
}

void note(const std::string& name, const std::vector<std::string>& args) {
    state().calls.push_back(Call{name, args});
}

void failCall(const std::string& name, int times) {
    state().failures[name] = times;
}
void removeProc(const std::string& name) {
    state().missingProcs.insert(name);
}
void answerProc(const std::string& name, intptr_t address) {
    state().procAnswers[name] = address;
}
void leaveGLError(const std::string& call, GLenum error) {
    state().errorsLeft[call] = error;
}
void setPixelFormatFlags(unsigned int flags) {
    state().pixelFormatFlags = flags;
}
void setChosenPixelFormat(int format) {
    state().chosenPixelFormat = format;
}
void setGLString(GLenum name, const char* value) {
    state().strings[name] = value;
}
void failGLString(GLenum name) {
    state().failingStrings.insert(name);
}
void setGLError(GLenum error) {
    state().pendingError = error;
}
void setMaxTextureUnits(GLint units) {
    state().maxTextureUnits = units;
}
void setCounterFrequency(long long countsPerSecond) {
    state().frequency = countsPerSecond;
}
void setCounter(long long count) {
    state().count = count;
}
void advanceCounter(long long counts) {
    state().count += counts;
}
long long counter() {
    return state().count;
}

void setIconic(HWND window, bool iconic) {
    if (iconic)
        state().iconic.insert(window);
    else
        state().iconic.erase(window);
}

const std::vector<MessageBox>& messageBoxes() {
    return state().boxes;
}
const std::vector<ListBlock>& listBlocks() {
    return state().lists;
}

int liveListNames() {
    int names = 0;
    for (const ListBlock& block : state().lists)
        names += block.deleted ? 0 : block.range;
    return names;
}

int liveFonts() {
    return zn::rules::liveFonts();
}

int heldDCs() {
    return zn::rules::liveDeviceContexts();
}

HGLRC currentContext() {
    return zn::rules::currentContext();
}
HDC currentDC() {
    return zn::rules::currentDC();
}

int windowPixelFormat(HWND window) {
    std::lock_guard<detail::RecordMutex> lock(detail::mutex());
    auto format = state().windowFormats.find(window);
    return format == state().windowFormats.end() ? 0 : format->second;
}

} // namespace znRecord
