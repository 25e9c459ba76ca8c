# Llave's Windows packages, from a cross build (cmake/mingw-w64-x86_64.cmake):
#
#   cmake --build --preset windows
#
# leaves llave-<version>.msi (built with wixl, from msitools) and
# llave-<version>-windows.zip, both holding the same stripped programs, in the
# build folder.
include_guard(GLOBAL)

set(windows_programs)
foreach(target IN ITEMS llave_win curp)
  if(TARGET ${target})
    list(APPEND windows_programs ${target})
  endif()
endforeach()
if(NOT windows_programs)
  return()
endif()

find_program(LLAVE_WIXL wixl)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(package_name llave-${PROJECT_VERSION})

# The programs as shipped: stripped copies in <build>/package/Llave.
set(shipped)
set(wxs_files)
foreach(target IN LISTS windows_programs)
  get_target_property(program ${target} OUTPUT_NAME)
  if(NOT program)
    set(program ${target})
  endif()
  set(file ${package_dir}/Llave/${program}.exe)
  add_custom_command(OUTPUT ${file}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/Llave
    COMMAND ${CMAKE_STRIP} -o ${file} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Stripping ${program}.exe for the packages")
  list(APPEND shipped ${file})
  string(APPEND wxs_files
    "            <File Id=\"${program}.exe\" Name=\"${program}.exe\" Source=\"Llave/${program}.exe\"/>\n")
endforeach()

# The Start menu's "Llave" starts the window; without it, it opens a console
# in the installed folder, showing curp's help.
if(TARGET llave_win)
  set(LLAVE_WXS_SHORTCUT "Target=\"[INSTALLDIR]llave.exe\"")
else()
  set(LLAVE_WXS_SHORTCUT
    "Target=\"[System64Folder]cmd.exe\" Arguments='/k \"[INSTALLDIR]curp.exe\" --help'")
endif()
set(LLAVE_WXS_FILES "${wxs_files}")
# wixl reads only paths relative to the folder it runs in: the package folder.
set(icon ${PROJECT_SOURCE_DIR}/ui/icons/llave.ico)
configure_file(${icon} ${package_dir}/llave.ico COPYONLY)
set(LLAVE_WXS_ICON llave.ico)
set(LLAVE_WXS_SUMMARY "Computes the Mexican population registry key (CURP)")
set(wxs ${package_dir}/llave.wxs)
configure_file(${PROJECT_SOURCE_DIR}/win/llave.wxs.in ${wxs} @ONLY)

set(msi ${CMAKE_BINARY_DIR}/${package_name}.msi)
add_custom_command(OUTPUT ${msi}
  COMMAND ${LLAVE_WIXL} --arch x64 -o ${msi} ${wxs}
  WORKING_DIRECTORY ${package_dir}
  DEPENDS ${wxs} ${shipped} ${icon}
  COMMENT "Building ${package_name}.msi")
add_custom_target(llave_msi ALL DEPENDS ${msi})
if(NOT LLAVE_WIXL)
  add_custom_command(TARGET llave_msi PRE_BUILD
    COMMAND ${CMAKE_COMMAND} -E echo "wixl not found: install the Debian package wixl"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()

set(zip ${CMAKE_BINARY_DIR}/${package_name}-windows.zip)
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Llave
  WORKING_DIRECTORY ${package_dir}
  DEPENDS ${shipped}
  COMMENT "Building ${package_name}-windows.zip")
add_custom_target(llave_zip ALL DEPENDS ${zip})
