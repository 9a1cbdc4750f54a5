# Headers (under include/znVelmora/), libraries, a CMake package (find_package(znVelmora) then
# znVelmora::znVelmora, whose include directory is include/znVelmora so that hosts write
# #include "znVelmora.h"), on Linux a pkg-config file, and on Windows a release archive.
include(CMakePackageConfigHelpers)

if(TARGET znVelmora)
  list(APPEND ZN_INSTALL_TARGETS znVelmora)
endif()
if(NOT ZN_INSTALL_TARGETS)
  return()
endif()

install(TARGETS ${ZN_INSTALL_TARGETS} EXPORT znVelmoraTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/znVelmora)
install(EXPORT znVelmoraTargets NAMESPACE znVelmora::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/znVelmora)
configure_package_config_file(cmake/znVelmoraConfig.cmake.in
  ${PROJECT_BINARY_DIR}/znVelmoraConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/znVelmora)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/znVelmoraConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/znVelmoraConfig.cmake
  ${PROJECT_BINARY_DIR}/znVelmoraConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/znVelmora)

# The guide, the licence and the changes, at the top of a Windows archive.
if(WIN32)
  set(ZN_DOC_DESTINATION .)
else()
  set(ZN_DOC_DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${ZN_DOC_DESTINATION})
install(FILES docs/behaviour.md docs/linux-dialog.png DESTINATION ${ZN_DOC_DESTINATION}/docs)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/debuginfo.cmake)
  # The release archive is the project's own; a host that embeds the library packs its own.
  if(ZN_TOP_LEVEL)
    include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
  endif()
elseif(TARGET znVelmora)
  include(${CMAKE_CURRENT_LIST_DIR}/pkgconfig.cmake)
endif()
