# The x11 platform: the shared library with the Win32/WGL/GDI subset answered over Xlib, GLX
# and POSIX clocks (src/platform/x11).
find_package(X11 REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)

# The layer on its own, so that its tests can reach the calls the library keeps hidden.
add_library(znVelmora_x11_objects OBJECT
  src/platform/x11/x11_display.cpp
  src/platform/x11/x11_window.cpp
  src/platform/x11/x11_watch.cpp
  src/platform/x11/x11_message.cpp
  src/platform/x11/x11_messagebox.cpp
  src/platform/x11/x11_message_wrap.cpp
  src/platform/x11/x11_font.cpp
  src/platform/x11/x11_xlfd.cpp
  src/platform/x11/pixel_format.cpp
  src/platform/x11/glx_pixelformat.cpp
  src/platform/x11/glx_context.cpp
  src/platform/x11/glx_procaddress.cpp
  src/platform/x11/posix_time.cpp
  src/platform/x11/posix_waitable_timer.cpp
  src/platform/x11/x11_visual.cpp
  src/platform/x11/posix_crt.cpp)
set_target_properties(znVelmora_x11_objects PROPERTIES ${ZN_LIBRARY_PROPERTIES})
target_include_directories(znVelmora_x11_objects PUBLIC include src)
target_compile_definitions(znVelmora_x11_objects PRIVATE ZN_BUILDING_LIBRARY)
target_link_libraries(znVelmora_x11_objects PUBLIC OpenGL::GL OpenGL::GLX X11::X11)
zn_warnings(znVelmora_x11_objects)

zn_platform_library(znVelmora SHARED $<TARGET_OBJECTS:znVelmora_x11_objects>)
# Hosts draw with the GL calls of the public headers; X11 and GLX stay inside the library.
target_link_libraries(znVelmora PUBLIC OpenGL::GL PRIVATE OpenGL::GLX X11::X11)
target_link_options(znVelmora PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/znVelmora.map)
set_property(TARGET znVelmora APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/znVelmora.map)
