// Raising the library's coded failures: each throw wraps a fresh value in its holder.
#pragma once

#include "znException.h"

namespace zn {

[[noreturn]] void throwContextFailure(int code);
[[noreturn]] void throwRenderFailure(int code);

} // namespace zn
