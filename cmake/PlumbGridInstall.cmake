# `cmake --install` puts the libraries, their public headers and a CMake package under a
# prefix, so that another project can write
#
#   find_package(PlumbGrid REQUIRED)
#   target_link_libraries(app PRIVATE PlumbGrid::recordgrid PlumbGrid::headless)
#
# Layout under the prefix:
#   lib/libplumb_<name>.a                 one library per folder, as in the build
#   lib/plumbgrid/libPlumbGrid.so         the design-time package, loaded by a host
#   include/plumbgrid/platform/<folder>/  headers of the platform layer
#   include/plumbgrid/{grid,recordgrid}/  headers of the grids
#   lib/cmake/PlumbGrid/                  PlumbGridConfig.cmake, its version file, the targets
# The header folders mirror the source tree, and an installed target's include directories
# are the same two roots the build uses (platform/ and the top), so "core/Object.h" and
# "recordgrid/uPlumbGrid.h" are written the same way in and out of the tree.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(PLUMB_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/plumbgrid)
set(PLUMB_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/PlumbGrid)

# Headers that only their own library's .cpp files include: they name third-party headers
# (nlohmann, sqlite3, FreeType) or the window system's insides, and stay out of the package.
set(PLUMB_PRIVATE_HEADERS
  platform/core/FilerImpl.h platform/data/SQLiteImpl.h platform/gfx/Fonts.h
  platform/gfx/Raster.h platform/win/WinSystem.h)

# plumb_install_library(<target> <package name> <source folder>)
# Adds the target to the export set as PlumbGrid::<package name> and installs the public
# headers of its folder. A target that this build does not have (SDL2 missing) is left out.
function(plumb_install_library target name folder)
  if(NOT TARGET ${target})
    return()
  endif()
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
  install(TARGETS ${target} EXPORT PlumbGridTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${PLUMB_INSTALL_INCLUDEDIR}/platform ${PLUMB_INSTALL_INCLUDEDIR})
  file(GLOB headers RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(REMOVE_ITEM headers ${PLUMB_PRIVATE_HEADERS})
  list(TRANSFORM headers PREPEND ${CMAKE_SOURCE_DIR}/)
  install(FILES ${headers} DESTINATION ${PLUMB_INSTALL_INCLUDEDIR}/${folder})
endfunction()

plumb_install_library(plumb_core core platform/core)
plumb_install_library(plumb_gfx gfx platform/gfx)
plumb_install_library(plumb_win win platform/win)
plumb_install_library(plumb_controls controls platform/controls)
plumb_install_library(plumb_data data platform/data)
plumb_install_library(plumb_headless headless platform/backends/headless)
plumb_install_library(plumb_sdl sdl platform/backends/sdl)
plumb_install_library(plumb_grid grid grid)
plumb_install_library(plumb_recordgrid recordgrid recordgrid)
plumb_install_library(plumb_design design platform/design)

# The design-time package is loaded at run time by a host (LoadPackage), not linked: it goes
# beside the libraries, in a folder of its own, outside the export set.
if(TARGET PlumbGrid)
  install(TARGETS PlumbGrid LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/plumbgrid)
endif()

# A sanitized build's libraries need the sanitizer runtimes wherever they are linked.
if(PLUMB_SANITIZE)
  target_link_options(plumb_core INTERFACE
    $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

# The config finds what the libraries link, as this build found it. Static libraries carry
# their private dependencies to the final link, so FreeType, libpng and SQLite are needed
# even by a program that never names them; nlohmann_json is header-only and used inside
# core's .cpp files only, so it is not.
function(plumb_links_to target dependency result)
  set(found OFF)
  if(TARGET ${target})
    get_target_property(links ${target} LINK_LIBRARIES)
    if(links AND dependency IN_LIST links)
      set(found ON)
    endif()
  endif()
  set(${result} ${found} PARENT_SCOPE)
endfunction()
plumb_links_to(plumb_gfx Fontconfig::Fontconfig PLUMB_PACKAGE_FONTCONFIG)
plumb_links_to(plumb_sdl SDL2::SDL2 PLUMB_PACKAGE_SDL)

install(EXPORT PlumbGridTargets NAMESPACE PlumbGrid:: DESTINATION ${PLUMB_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/PlumbGridConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/PlumbGridConfig.cmake
  INSTALL_DESTINATION ${PLUMB_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/PlumbGridConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/PlumbGridConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/PlumbGridConfigVersion.cmake
  DESTINATION ${PLUMB_INSTALL_CMAKEDIR})
