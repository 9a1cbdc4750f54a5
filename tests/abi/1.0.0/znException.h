// The failures that the library throws, and their reports to the user.
#pragma once

#include "znPlatform.h"

// A render-context failure. Codes: 1 no device context, 2 no matching pixel format, 3 pixel
// format not set, 4 rendering context not created, 5 rendering context not made current or not
// released, 6 rendering context not deleted.
class ZN_API znContextException {
  public:
    explicit znContextException(int code);
    virtual ~znContextException();

    // Shows the code's text in a modal error box captioned "znVelmora Context Error" (or hands it
    // to the report handler).
    void showErrorMessage() const;

    int code;
};

// A frame-loop failure. Codes: 1 buffer swap failed, 2 the environment threw while animating or
// drawing, 3 the environment threw while being synchronised.
class ZN_API znRenderException {
  public:
    explicit znRenderException(int code);
    virtual ~znRenderException();

    // Shows the code's text in a modal error box captioned "znVelmora Render Error". A swap
    // failure (code 1) is shown only from its second report on the same object: the first one
    // marks it seenOnce and shows nothing.
    void showErrorMessage();

    int code;
    bool seenOnce;
};

// Receives each report the library would show in a message box, instead of the box: its caption
// ("znVelmora Context Error", "znVelmora Render Error", or "Error" for a missing extension entry
// point), its text, and the box's style (0x10 error icon, 0x30 warning icon, 0 no icon; always
// one OK button). It runs on the thread that reports, where the box would have blocked; an
// exception it throws is dropped. `user` is handed back unchanged.
typedef void (*znReportHandler)(void* user, const char* caption, const char* text,
                                unsigned int style);

// Routes every later report of the process to the handler; null brings the boxes back.
ZN_API void znSetReportHandler(znReportHandler handler, void* user);

// Windows exports the two instantiations below; elsewhere the template itself carries the
// visibility.
#if defined(_WIN32)
#define ZN_HOLDER_API
#define ZN_HOLDER_INSTANCE_API ZN_API
#else
#define ZN_HOLDER_API ZN_API
#define ZN_HOLDER_INSTANCE_API
#endif

// What the library throws: a copy of one of the values above. Hosts catch it by type, e.g.
// catch (znExceptionHolder<znRenderException>& failure).
template <class T> class ZN_HOLDER_API znExceptionHolder {
  public:
    explicit znExceptionHolder(const T& value) : exception(value) {}
    virtual ~znExceptionHolder();

    T exception;
};

template <class T> znExceptionHolder<T>::~znExceptionHolder() {}

// Both holders live in the library, so their type information is the library's own and a host
// catches them by type across the DLL boundary.
extern template class ZN_HOLDER_INSTANCE_API znExceptionHolder<znContextException>;
extern template class ZN_HOLDER_INSTANCE_API znExceptionHolder<znRenderException>;
