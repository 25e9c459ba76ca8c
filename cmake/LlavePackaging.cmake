# CPack settings, included at the end of the top-level CMakeLists.txt.
#
#   cpack -G DEB                            llave_<version>_<arch>.deb
#   cpack --config CPackSourceConfig.cmake  llave-<version>.tar.gz
#
# The .deb holds only the "runtime" install component (the program, its
# desktop entry, metainfo and icons), never the library package for
# developers. Its Depends line is computed from the libraries the program
# links (dpkg-shlibdeps), so apt pulls exactly the Qt packages it needs.
include_guard(GLOBAL)

# Write every value below into the CPack config files exactly as given here.
set(CPACK_VERBATIM_VARIABLES ON)

set(CPACK_PACKAGE_NAME llave)
set(CPACK_PACKAGE_VENDOR Llave)
set(CPACK_PACKAGE_CONTACT "Llave <contacto@llave.mx>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Computes the Mexican population registry key (CURP)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Llave computes a person's CURP, the 18-character key of Mexico's population\n"
  "registry, from paternal surname, maternal surname, given names, date of\n"
  "birth, sex and state of birth, in one small window. Nothing is stored,\n"
  "configured or sent anywhere.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${LLAVE_HOMEPAGE})
set(CPACK_STRIP_FILES ON)

# Only the runtime component of this build goes into binary packages.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts of the window (context menus, the calendar), and the C
# library's system error texts that curp shows ("No hay espacio en el
# dispositivo"), in the desktop's language: both are loaded at run time, so no
# library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, libc-l10n")
# The window is drawn for Liberation Sans metrics; it still fits other fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation2)
# Read by cpack itself: refuses to build a .deb without dependencies.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/LlaveCPackChecks.cmake)

# The source archive: the checkout without version control, build folders and
# fuzzing output. Patterns are anchored at the source folder so that a parent
# folder called "build" does not empty the archive.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION})
string(REGEX REPLACE "([][+.*?()^$|\\\\{}])" "\\\\\\1" source_re "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_IGNORE_FILES
  "^${source_re}/\\.git(/|$)"
  "^${source_re}/build/"
  "^${source_re}/build-[^/]*/"
  "^${source_re}/CMakeUserPresets\\.json$"
  "^${source_re}/fuzz/generated-corpus/"
  "^${source_re}/fuzz/artifacts/"
  "~$"
  "\\.swp$")

include(CPack)

# The .msi and .zip of a Windows build.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/LlaveWindowsPackage.cmake)
endif()
