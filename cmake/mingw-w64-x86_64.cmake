# Cross-builds Llave for 64-bit Windows with Debian's MinGW-w64 compilers (the
# "posix" ones, whose C++ library has std::thread and std::mutex):
#
#   cmake --preset windows      (or -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
#
# The programs are linked statically, so that they need only Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LLAVE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LLAVE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LLAVE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${LLAVE_MINGW}-windres)

# Libraries and headers only from the MinGW tree (and the folders a project
# adds): the build machine's /usr/include holds glibc's headers.
set(CMAKE_FIND_ROOT_PATH /usr/${LLAVE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# 64-bit file offsets (ftello, fseeko) for files over 2 GiB.
set(CMAKE_C_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-D_FILE_OFFSET_BITS=64")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
