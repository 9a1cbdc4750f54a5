// A system library opened with dlopen on first need, its entry points bound one by one, for the
// back-ends whose libraries an X11-only system may lack (EGL, Wayland, FreeType, fontconfig). A
// library that opens is kept open for the life of the process.
#pragma once

#include <dlfcn.h>

#include <string>

namespace zn::platform {

class SharedLibrary {
  public:
    explicit SharedLibrary(const char* soname)
        : soname(soname), handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle) {
            const char* error = dlerror();
            failure = error ? error : soname;
        }
    }
    // Binds an entry point; the first one missing is what why() tells.
    template <class Function> void bind(Function& entry, const char* name) {
        entry = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
        if (handle && !entry && failure.empty())
            failure = std::string(soname) + ": no " + name;
    }
    // Empty when the library opened and every entry point asked for was found, else why not.
    const std::string& why() const { return failure; }

  private:
    const char* soname;
    void* handle;
    std::string failure;
};

} // namespace zn::platform
