// The layout of every public class, as hosts built against any earlier release of this major
// version laid it out in their own objects: size, alignment, the offsets of public members and
// the order of virtual functions. A change that moves any of it fails to build here (the sizes
// and offsets, per target) or fails when run (the order of virtual functions, the same on every
// target of GCC's C++ ABI). Private state belongs behind each class's State pointer.
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "znVelmora.h"

#if defined(_WIN64)
#define ZN_LAYOUT(win64, win32, linux64) win64
#elif defined(_WIN32)
#define ZN_LAYOUT(win64, win32, linux64) win32
#elif defined(__linux__) && defined(__x86_64__)
#define ZN_LAYOUT(win64, win32, linux64) linux64
#else
#error "no layout is recorded for this target"
#endif

#define ZN_SIZE(type, win64, win32, linux64)                                                       \
    static_assert(sizeof(type) == ZN_LAYOUT(win64, win32, linux64), "the size of " #type " moved")
#define ZN_ALIGN(type, win64, win32, linux64)                                                      \
    static_assert(alignof(type) == ZN_LAYOUT(win64, win32, linux64),                               \
                  "the alignment of " #type " moved")
// Public members of classes with virtual functions: GCC lays them out as for any other class.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#define ZN_OFFSET(type, member, win64, win32, linux64)                                             \
    static_assert(offsetof(type, member) == ZN_LAYOUT(win64, win32, linux64),                      \
                  "the offset of " #type "::" #member " moved")

using Timer = znVelmora::znHiResTimer;
using ContextHolder = znExceptionHolder<znContextException>;
using RenderHolder = znExceptionHolder<znRenderException>;

ZN_SIZE(znVelmora, 16, 8, 16);
ZN_ALIGN(znVelmora, 8, 4, 8);
ZN_SIZE(znRenderContext, 16, 8, 16);
ZN_ALIGN(znRenderContext, 8, 4, 8);
ZN_SIZE(znGLBitmapFont, 16, 8, 16);
ZN_ALIGN(znGLBitmapFont, 8, 4, 8);
ZN_SIZE(znRenderEnv, 8, 4, 8);
ZN_ALIGN(znRenderEnv, 8, 4, 8);

ZN_SIZE(Timer, 32, 32, 32);
ZN_ALIGN(Timer, 8, 8, 8);
ZN_OFFSET(Timer, startCount, 0, 0, 0);
ZN_OFFSET(Timer, lastCount, 8, 8, 8);
ZN_OFFSET(Timer, currentCount, 16, 16, 16);
ZN_OFFSET(Timer, frequency, 24, 24, 24);

ZN_SIZE(znContextException, 16, 8, 16);
ZN_ALIGN(znContextException, 8, 4, 8);
ZN_OFFSET(znContextException, code, 8, 4, 8);
ZN_SIZE(znRenderException, 16, 12, 16);
ZN_ALIGN(znRenderException, 8, 4, 8);
ZN_OFFSET(znRenderException, code, 8, 4, 8);
ZN_OFFSET(znRenderException, seenOnce, 12, 8, 12);
ZN_SIZE(ContextHolder, 24, 12, 24);
ZN_OFFSET(ContextHolder, exception, 8, 4, 8);
ZN_SIZE(RenderHolder, 24, 16, 24);
ZN_OFFSET(RenderHolder, exception, 8, 4, 8);

namespace {

// The slot a virtual function has in its class's table, counted in pointers: GCC represents a
// pointer to a virtual member function as 1 + the slot's byte offset. Slots 0 and 1 are the
// destructor's.
template <class Member> long slotOf(Member member) {
    struct Represented {
        std::ptrdiff_t pointer, adjustment;
    } represented;
    static_assert(sizeof member == sizeof represented, "not GCC's pointer to member");
    std::memcpy(&represented, &member, sizeof represented);
    return static_cast<long>((represented.pointer - 1) /
                             static_cast<std::ptrdiff_t>(sizeof(void*)));
}

int failures = 0;

void expectSlot(const char* name, long slot, long expected) {
    if (slot == expected)
        return;
    std::printf("%s is in slot %ld of its class's table, hosts call slot %ld\n", name, slot,
                expected);
    ++failures;
}

} // namespace

int main() {
    expectSlot("znRenderContext::initRenderContext", slotOf(&znRenderContext::initRenderContext),
               2);
    expectSlot("znRenderContext::destroyRenderContext",
               slotOf(&znRenderContext::destroyRenderContext), 3);
    expectSlot("znRenderContext::makeCurrent", slotOf(&znRenderContext::makeCurrent), 4);
    expectSlot("znRenderEnv::initEnvironment", slotOf(&znRenderEnv::initEnvironment), 2);
    expectSlot("znRenderEnv::destroyEnvironment", slotOf(&znRenderEnv::destroyEnvironment), 3);
    expectSlot("znRenderEnv::syncEnvironment", slotOf(&znRenderEnv::syncEnvironment), 4);
    expectSlot("znRenderEnv::animateEnvironment", slotOf(&znRenderEnv::animateEnvironment), 5);
    expectSlot("znRenderEnv::renderEnvironment", slotOf(&znRenderEnv::renderEnvironment), 6);
    expectSlot("znRenderEnv::prepareEnvironment", slotOf(&znRenderEnv::prepareEnvironment), 7);
    if (failures == 0)
        std::printf("every public layout is the recorded one\n");
    return failures == 0 ? 0 : 1;
}
