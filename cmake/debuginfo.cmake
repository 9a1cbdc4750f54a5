# Installs the DLL without its debug information, which goes to znVelmora.dll.debug beside it, as
# MinGW packagers ship a DLL: the DLL keeps only what runs, and gdb finds the debug file through
# the link objcopy leaves in it (--add-gnu-debuglink). Included after the DLL's install rule.
if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "Splitting the DLL's debug information needs objcopy (CMAKE_OBJCOPY)")
endif()
install(CODE "
  set(dll \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/znVelmora.dll\")
  foreach(step \"--only-keep-debug;\${dll};\${dll}.debug\"
               \"--strip-unneeded;--add-gnu-debuglink=\${dll}.debug;\${dll}\")
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" \${step} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR \"objcopy \${step}: failed\")
    endif()
  endforeach()
  message(STATUS \"Split debug information: \${dll}.debug\")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${dll}.debug\")
")
