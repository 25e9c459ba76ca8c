# Read by cpack for each generator. Without dpkg-shlibdeps the DEB generator
# only prints a note and writes a .deb with no Depends line, which installs
# but then fails to start on a machine without Qt: stop instead.
if(CPACK_GENERATOR STREQUAL "DEB" AND CPACK_DEBIAN_PACKAGE_SHLIBDEPS)
  find_program(LLAVE_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(NOT LLAVE_DPKG_SHLIBDEPS)
    message(FATAL_ERROR
      "dpkg-shlibdeps not found (Debian package dpkg-dev): cannot compute the .deb's dependencies")
  endif()
endif()
