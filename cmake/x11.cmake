# The Linux platform: the shared library with the Win32/WGL/GDI subset answered over Xlib and GLX
# (src/platform/x11) or, for hosts that ask for it, over Wayland and EGL (src/platform/wayland),
# message box dialogs over xcb (src/platform/x11/dialog), and the clock and C runtime over POSIX
# (src/platform/posix). libwayland and libEGL are opened at run time, so only their headers are
# needed here.
find_package(X11 REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
find_path(ZN_WAYLAND_INCLUDE_DIR wayland-egl-core.h)
find_path(ZN_EGL_INCLUDE_DIR EGL/egl.h)
if(NOT ZN_WAYLAND_INCLUDE_DIR OR NOT ZN_EGL_INCLUDE_DIR)
  message(FATAL_ERROR "The Wayland back-end needs the headers of libwayland and EGL "
    "(Debian: libwayland-dev libegl-dev; scripts/setup.sh installs them)")
endif()

# The layer on its own, so that its tests can reach the calls the library keeps hidden.
add_library(znVelmora_x11_objects OBJECT
  ${ZN_RULES_SOURCES}
  src/platform/rules/win32_calls.cpp
  src/platform/x11/x11_platform.cpp
  src/platform/x11/x11_connection.cpp
  src/platform/x11/x11_errors.cpp
  src/platform/x11/x11_window.cpp
  src/platform/x11/x11_watch.cpp
  src/platform/x11/dialog/message_box.cpp
  src/platform/x11/dialog/dialog.cpp
  src/platform/x11/dialog/layout.cpp
  src/platform/x11/dialog/window.cpp
  src/platform/x11/dialog/draw.cpp
  src/platform/x11/dialog/core_font.cpp
  src/platform/x11/dialog/wrap.cpp
  src/platform/report_line.cpp
  src/platform/x11/x11_font.cpp
  src/platform/x11/x11_xlfd.cpp
  src/platform/pixel_format.cpp
  src/platform/entry_points.cpp
  src/platform/chosen_backend.cpp
  src/platform/wayland/wayland_libraries.cpp
  src/platform/wayland/wayland_display.cpp
  src/platform/wayland/wayland_window.cpp
  src/platform/wayland/egl_pixelformat.cpp
  src/platform/wayland/egl_context.cpp
  src/platform/wayland/egl_procaddress.cpp
  src/platform/wayland/wayland_font.cpp
  src/platform/x11/glx_pixelformat.cpp
  src/platform/x11/glx_context.cpp
  src/platform/x11/glx_procaddress.cpp
  src/platform/x11/x11_visual.cpp
  src/platform/posix/posix_time.cpp
  src/platform/posix/posix_waitable_timer.cpp
  src/platform/posix/posix_crt.cpp)
set_target_properties(znVelmora_x11_objects PROPERTIES ${ZN_LIBRARY_PROPERTIES})
target_include_directories(znVelmora_x11_objects PUBLIC include src
  PRIVATE ${ZN_WAYLAND_INCLUDE_DIR} ${ZN_EGL_INCLUDE_DIR})
target_compile_definitions(znVelmora_x11_objects PRIVATE ZN_BUILDING_LIBRARY)
target_link_libraries(znVelmora_x11_objects PUBLIC OpenGL::GL OpenGL::GLX X11::X11 X11::xcb
  ${CMAKE_DL_LIBS} znVelmora_freetype_objects)
# The Wayland back-end draws its text with the FreeType fonts: whatever links the layer gets them.
target_sources(znVelmora_x11_objects INTERFACE $<TARGET_OBJECTS:znVelmora_freetype_objects>)
zn_warnings(znVelmora_x11_objects)

zn_platform_library(znVelmora SHARED $<TARGET_OBJECTS:znVelmora_x11_objects>
  $<TARGET_OBJECTS:znVelmora_freetype_objects>)
# Hosts draw with the GL calls of the public headers; X11 and GLX stay inside the library.
target_link_libraries(znVelmora PUBLIC OpenGL::GL PRIVATE OpenGL::GLX X11::X11 X11::xcb)
# libznVelmora.so.1: a host runs with any later release of the same major version.
set_target_properties(znVelmora PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_link_options(znVelmora PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/znVelmora.map)
set_property(TARGET znVelmora APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/znVelmora.map)
