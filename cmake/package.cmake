# The Windows release archive, znVelmora-<version>-win32.zip or -win64.zip: what the install
# rules give (the DLL, its import library, the C++ runtime DLLs beside it, the headers and the
# CMake package). Made with `cpack` (or the `package` target) in the build folder.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME znVelmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_PACKAGE_FILE_NAME znVelmora-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
include(CPack)
