# The shipping target: znVelmora.dll over the system's user32, gdi32 and opengl32.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

enable_language(RC)
zn_platform_library(znVelmora SHARED
  src/platform/windows/win32_report.cpp
  src/platform/report_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/znVelmora.rc)
set_target_properties(znVelmora PROPERTIES PREFIX "" OUTPUT_NAME znVelmora
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
target_link_libraries(znVelmora PUBLIC opengl32 PRIVATE gdi32 user32 winmm)
# The exports as a module-definition file, from which MSVC makes an import library for C hosts.
target_link_options(znVelmora PRIVATE -Wl,--output-def,${PROJECT_BINARY_DIR}/bin/znVelmora.def)
install(FILES ${PROJECT_BINARY_DIR}/bin/znVelmora.def DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Host and DLL exchange C++ exceptions, so both use the shared C++ runtime, shipped beside the
# DLL. (With the runtime linked statically into both, an exception thrown in the DLL and caught
# by type in the host ends in terminate.)
set(ZN_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_dw2-1.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
    list(APPEND ZN_RUNTIME_DLLS ${path})
  endif()
endforeach()
add_custom_command(TARGET znVelmora POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ZN_RUNTIME_DLLS} ${PROJECT_BINARY_DIR}/bin
  VERBATIM)
install(FILES ${ZN_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
