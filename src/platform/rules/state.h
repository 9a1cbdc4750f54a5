// What the rules layer keeps: the objects behind its handles, and each thread's current context.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/ranked_mutex.h"
#include "platform/rules/rules.h"

namespace zn::rules {

// Live objects behind the handles of one kind. A handle is a number from the registry's
// counter; one that is not registered (unknown, released, deleted) is refused rather than
// dereferenced. A handle found keeps its object alive until the caller lets go, whatever
// another thread releases meanwhile.
template <class T> class Registry {
  public:
    explicit Registry(uintptr_t first) : first(first), next(first) {}

    template <class Handle> Handle add(std::shared_ptr<T> object) {
        std::lock_guard<decltype(mutex)> lock(mutex);
        const uintptr_t handle = next++;
        objects[handle] = std::move(object);
        return reinterpret_cast<Handle>(handle);
    }
    std::shared_ptr<T> find(const void* handle) {
        std::lock_guard<decltype(mutex)> lock(mutex);
        auto found = objects.find(reinterpret_cast<uintptr_t>(handle));
        return found == objects.end() ? nullptr : found->second;
    }
    std::shared_ptr<T> remove(const void* handle) {
        std::lock_guard<decltype(mutex)> lock(mutex);
        auto found = objects.find(reinterpret_cast<uintptr_t>(handle));
        if (found == objects.end())
            return nullptr;
        std::shared_ptr<T> removed = std::move(found->second);
        objects.erase(found);
        return removed;
    }
    template <class Predicate> bool any(Predicate predicate) {
        std::lock_guard<decltype(mutex)> lock(mutex);
        for (const auto& entry : objects)
            if (predicate(*entry.second))
                return true;
        return false;
    }
    int size() {
        std::lock_guard<decltype(mutex)> lock(mutex);
        return static_cast<int>(objects.size());
    }
    // Forgets every object; they are let go of once the lock is released, since a back-end's
    // object may call into the window system as it goes.
    void clear() {
        std::unordered_map<uintptr_t, std::shared_ptr<T>> forgotten;
        std::lock_guard<decltype(mutex)> lock(mutex);
        forgotten.swap(objects);
        next = first;
    }

  private:
    const uintptr_t first;
    platform::RankedMutex<platform::kRegistryRank> mutex;
    uintptr_t next;
    std::unordered_map<uintptr_t, std::shared_ptr<T>> objects;
};

struct DeviceContext {
    HWND window; // null for the screen
    std::shared_ptr<native::Window> native;
    std::atomic<int> format{0}; // the window's format once known; 0 until then
    std::atomic<HGDIOBJ> font;
};

struct RenderingContext {
    std::shared_ptr<native::Context> native;
    int format;
    // The thread it is current on (or being deleted by), none while it is current nowhere. No
    // other thread may take it or delete it meanwhile, as in WGL.
    std::atomic<std::thread::id> owner{};
};

struct State {
    Registry<DeviceContext> deviceContexts{0x1001};
    Registry<RenderingContext> renderingContexts{0x2001};
    Registry<native::Font> fonts{0x3001};
    // A window's format is read and set as one step, so that two threads setting it at once
    // cannot both succeed with different formats.
    platform::RankedMutex<platform::kFormatRank> formatMutex;
};

State& state();

// The live device context behind a handle, or null.
std::shared_ptr<DeviceContext> findDC(HDC dc);
// The window's format, asked of the back-end until one is set (it never changes then).
int formatOf(DeviceContext& dc);
// Forgets the calling thread's current context (the platform's reset).
void forgetCurrent();

} // namespace zn::rules
