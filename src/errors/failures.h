// Raising the library's coded failures: each throw wraps a fresh value in its holder.
#pragma once

#include "znException.h"

namespace zn {

[[noreturn]] void throwContextFailure(int code);
[[noreturn]] void throwRenderFailure(int code);

// A caught failure's code as a result that is never 0: a holder with code 0, which only a host's
// scene can throw, is still a failure (-1).
inline int failureCode(int code) {
    return code != 0 ? code : -1;
}

} // namespace zn
