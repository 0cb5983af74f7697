# Release packages (CPack), built with `cmake --build <dir> --target package`:
#   Linux:   Korvessa-<version>-linux-x86_64.tar.gz  the bundle, the .vstpreset files,
#            korvessa-render, README.md, COPYING and install.sh
#   Windows: Korvessa-<version>-windows-x86_64.zip   the bundle, the .vstpreset files,
#            korvessa-render.exe, README.md and COPYING
# Their contents are the install component "package", which a plain `cmake --install` leaves
# out (that one installs into the user's VST 3 folders, see hostbinding/CMakeLists.txt).
set(_pkg COMPONENT package EXCLUDE_FROM_ALL)
install(DIRECTORY "${KORVESSA_BUNDLE_DIR}" DESTINATION . USE_SOURCE_PERMISSIONS ${_pkg})
if(TARGET korvessa_presets)
  install(DIRECTORY "${KORVESSA_PRESET_DIR}/" DESTINATION presets ${_pkg}
          FILES_MATCHING PATTERN "*.vstpreset")
endif()
install(TARGETS korvessa-render RUNTIME DESTINATION . ${_pkg})
install(FILES "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/COPYING" DESTINATION . ${_pkg})
if(WIN32)
  set(_platform windows-x86_64)
  set(CPACK_GENERATOR ZIP)
else()
  set(_platform linux-x86_64)
  set(CPACK_GENERATOR TGZ)
  install(PROGRAMS "${CMAKE_SOURCE_DIR}/scripts/package-install.sh" DESTINATION . RENAME install.sh
          ${_pkg})
endif()

set(CPACK_PACKAGE_NAME "${KORVESSA_PRODUCT}")
set(CPACK_PACKAGE_VENDOR "${KORVESSA_VENDOR}")
set(CPACK_PACKAGE_VERSION "${KORVESSA_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${KORVESSA_PRODUCT}, a guitar distortion pedal as a VST 3 plug-in")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KORVESSA_URL}")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/COPYING")
set(CPACK_PACKAGE_FILE_NAME "${KORVESSA_PRODUCT}-${KORVESSA_VERSION}-${_platform}")
# One archive of the "package" component, its files under a folder of the archive's name.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};package;/")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")
include(CPack)

# The licence, as target metadata: every target of the project carries it in SPDX_LICENSE.
function(korvessa_license_targets dir)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    set_property(TARGET ${target} PROPERTY SPDX_LICENSE "${KORVESSA_LICENSE}")
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    korvessa_license_targets("${subdir}")
  endforeach()
endfunction()
korvessa_license_targets("${CMAKE_SOURCE_DIR}")
