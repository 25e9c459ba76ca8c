# cmake -DBUILD_DIR=... -DPREFIX=... -DCOMPONENT=... [-DCONFIG=...] [-DEXPECTED=a,b,...]
#       [-DABSENT=dir,...] [-DCLEAN=dir,...] -P install_into.cmake
#
# Installs one component of the build in BUILD_DIR into a new, empty PREFIX.
# EXPECTED, when given, is the exact list of files (relative to PREFIX) the
# component must install: a missing file or a stray one fails. ABSENT lists
# folders of PREFIX that must not exist. CLEAN lists folders to delete first
# (results of earlier runs that would otherwise hide a broken install).
# Lists are separated by commas, as a test command line cannot carry ";".
cmake_minimum_required(VERSION 3.25)

foreach(name IN ITEMS EXPECTED ABSENT CLEAN)
  if(DEFINED ${name})
    string(REPLACE "," ";" ${name} "${${name}}")
  endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}" ${CLEAN})
set(config_args)
if(CONFIG)
  set(config_args --config "${CONFIG}")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
          --component "${COMPONENT}" ${config_args}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install of component ${COMPONENT} failed: ${result}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
if(NOT installed)
  message(FATAL_ERROR "component ${COMPONENT} installed nothing")
endif()

if(DEFINED EXPECTED)
  set(missing ${EXPECTED})
  list(REMOVE_ITEM missing ${installed})
  set(stray ${installed})
  list(REMOVE_ITEM stray ${EXPECTED})
  if(missing OR stray)
    list(JOIN missing "\n  " missing)
    list(JOIN stray "\n  " stray)
    message(FATAL_ERROR "component ${COMPONENT}:\nnot installed:\n  ${missing}\nnot expected:\n  ${stray}")
  endif()
endif()

foreach(dir IN LISTS ABSENT)
  if(EXISTS "${PREFIX}/${dir}")
    message(FATAL_ERROR "component ${COMPONENT} installs into ${dir}/")
  endif()
endforeach()
