// Replies and errors xcb hands over are the caller's to free.
#pragma once

#include <cstdlib>
#include <memory>

namespace zn::x11::dialog {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

template <class T> using Reply = std::unique_ptr<T, FreeReply>;

} // namespace zn::x11::dialog
