# Installation: the shared objects (and the interactive backend's module), the headers under include/tq3view/, a CMake
# package (find_package(TQ3View) -> TQ3View::tq3view, TQ3View::tq3testing) and
# pkg-config files (tq3view, and tq3testing for the test harness).
include(CMakePackageConfigHelpers)

# The interactive backend's module (libtq3sdl.so) goes beside the framework,
# where the framework looks for it when a host asks for a real window.
set(TQ3_INSTALLED_LIBRARIES tq3framework tq3view)
if(TARGET tq3sdl)
  list(APPEND TQ3_INSTALLED_LIBRARIES tq3sdl)
endif()
install(TARGETS ${TQ3_INSTALLED_LIBRARIES} EXPORT TQ3ViewTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${CMAKE_INSTALL_INCLUDEDIR}/tq3view)

# Headers keep their path from the top of the tree below include/tq3view/, so the
# library's own #include lines work unchanged for a host. The interactive
# backend's header goes with the framework only when the framework was built with
# it; its key tables include SDL itself and stay private.
if(SDL2_FOUND)
  set(TQ3_SDL_HEADERS_EXCLUDE "sdl_input_map.h")
else()
  set(TQ3_SDL_HEADERS_EXCLUDE "backends/sdl")
endif()
foreach(dir framework text model view clipboard find headers settings controlbar resources)
  if(EXISTS ${TQ3_SOURCE_ROOT}/${dir})
    install(DIRECTORY ${TQ3_SOURCE_ROOT}/${dir}/
      DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tq3view/${dir}
      FILES_MATCHING PATTERN "*.h"
      PATTERN "*_internal.h" EXCLUDE
      PATTERN "${TQ3_SDL_HEADERS_EXCLUDE}" EXCLUDE)
  endif()
endforeach()
install(FILES ${TQ3_SOURCE_ROOT}/include/tq3view/tq3view.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tq3view)

set(TQ3_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TQ3View)
install(EXPORT TQ3ViewTargets NAMESPACE TQ3View:: DESTINATION ${TQ3_CMAKE_DIR})
configure_package_config_file(${TQ3_SOURCE_ROOT}/cmake/TQ3ViewConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TQ3ViewConfig.cmake INSTALL_DESTINATION ${TQ3_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TQ3ViewConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TQ3ViewConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/TQ3ViewConfigVersion.cmake DESTINATION ${TQ3_CMAKE_DIR})

# The .pc file finds its prefix relative to itself, so the tree can be moved.
file(RELATIVE_PATH TQ3_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${TQ3_SOURCE_ROOT}/cmake/tq3view.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tq3view.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tq3view.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(TARGET tq3testing)
  configure_file(${TQ3_SOURCE_ROOT}/cmake/tq3testing.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tq3testing.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tq3testing.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()
