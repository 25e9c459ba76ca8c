# Included by the top-level CMakeLists.txt when it cross-builds for Windows
# (cmake/mingw-w64-x86_64.cmake). The headers-only libraries come from the
# build machine's Debian packages, and GoogleTest from its sources there; all
# are staged in <build>/stage, since the build machine's /usr/include cannot be
# on a MinGW include path. Test programs run under wine (scripts/wine.sh), in
# the wine prefix <build>/wine.
include_guard(GLOBAL)

set(LLAVE_STAGE ${CMAKE_BINARY_DIR}/stage)
set(LLAVE_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
set(LLAVE_WINE ${PROJECT_SOURCE_DIR}/scripts/wine.sh)

# Copies a header folder and its CMake package files, unless already staged.
function(llave_stage_headers package header_dir debian_package)
  if(NOT EXISTS /usr/include/${header_dir} OR NOT EXISTS /usr/share/cmake/${package})
    message(FATAL_ERROR "${package} not found: install the Debian package ${debian_package}")
  endif()
  file(COPY /usr/include/${header_dir} DESTINATION ${LLAVE_STAGE}/include)
  file(COPY /usr/share/cmake/${package} DESTINATION ${LLAVE_STAGE}/share/cmake)
  set(${package}_DIR ${LLAVE_STAGE}/share/cmake/${package} CACHE PATH "" FORCE)
endfunction()

if(LLAVE_BUILD_CLI)
  llave_stage_headers(CLI11 CLI libcli11-dev)
  llave_stage_headers(nlohmann_json nlohmann nlohmann-json3-dev)
endif()

# GoogleTest, built once with this build's compiler and installed in the stage.
if(BUILD_TESTING AND NOT EXISTS ${LLAVE_STAGE}/lib/cmake/GTest/GTestConfig.cmake)
  set(gtest_source /usr/src/googletest)
  if(NOT EXISTS ${gtest_source}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources not found in ${gtest_source}: install libgtest-dev")
  endif()
  message(STATUS "Building GoogleTest for Windows from ${gtest_source}")
  set(gtest_build ${CMAKE_BINARY_DIR}/googletest)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${gtest_source} -B ${gtest_build} -G ${CMAKE_GENERATOR}
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${LLAVE_STAGE} -DBUILD_GMOCK=OFF
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(
    COMMAND ${CMAKE_COMMAND} --build ${gtest_build} --target install
    COMMAND_ERROR_IS_FATAL ANY)
endif()
set(GTest_DIR ${LLAVE_STAGE}/lib/cmake/GTest CACHE PATH "" FORCE)
list(APPEND CMAKE_FIND_ROOT_PATH ${LLAVE_STAGE})

# The programs side by side in the build folder, as they are installed.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Test programs (and GoogleTest's listing of their tests) run under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${LLAVE_WINE} ${LLAVE_WINE_PREFIX})
