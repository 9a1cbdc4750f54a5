// The C interface's boundary: every exported function runs its body through guarded(), which
// turns whatever was thrown into a result, so that no exception reaches a C caller.
#pragma once

#include <new>
#include <utility>

#include "znException.h"
#include "znVelmora_c.h"

namespace zn::c {

// Thrown by the scene adapter when a callback fails during start-up or tear-down.
struct SceneFailure {};

// The result for a code of the context or render family; codes outside 1..255 count as 0, the
// family's "Unknown internal error.".
inline znvResult familyResult(znvResult family, int code) {
    if (code == 0)
        return ZNV_OK;
    return family | (code > 0 && code <= 0xFF ? code : 0);
}

// True when none of the pointers is null.
template <class... Pointers> bool present(const Pointers*... pointers) {
    return (... && (pointers != nullptr));
}

template <class Body> znvResult guarded(Body body) noexcept {
    try {
        return body();
    } catch (znExceptionHolder<znContextException>& failure) {
        return familyResult(ZNV_CONTEXT_FAILURE, failure.exception.code);
    } catch (znExceptionHolder<znRenderException>& failure) {
        return familyResult(ZNV_RENDER_FAILURE, failure.exception.code);
    } catch (SceneFailure&) {
        return ZNV_SCENE_FAILURE;
    } catch (std::bad_alloc&) {
        return ZNV_OUT_OF_MEMORY;
    } catch (...) {
        return ZNV_INTERNAL_FAILURE;
    }
}

// Runs an operation that answers nothing on what a handle holds (handle->*held); a null handle is
// refused.
template <class Handle, class Held, class Operation>
znvResult onHeld(Handle* handle, Held Handle::*held, Operation operation) noexcept {
    return guarded([&] {
        if (!handle)
            return ZNV_INVALID_ARGUMENT;
        operation(handle->*held);
        return ZNV_OK;
    });
}

// Makes a new handle into *made; a null answer pointer is refused.
template <class Handle, class... Arguments>
znvResult create(Handle** made, Arguments&&... arguments) noexcept {
    return guarded([&] {
        if (!made)
            return ZNV_INVALID_ARGUMENT;
        *made = new Handle(std::forward<Arguments>(arguments)...);
        return ZNV_OK;
    });
}

} // namespace zn::c
