# Cross-build for Windows with Debian's mingw-w64, x86-64 (g++-mingw-w64-x86-64-posix) by
# default or 32-bit x86 with -DQUORVEX_MINGW_ARCH=i686 (g++-mingw-w64-i686-posix):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Debian ships no Qt for this target, so only the standard-C++ libraries and their tests are
# built (QUORVEX_WITH_QT off); GoogleTest is built from /usr/src/googletest. When Wine is
# installed, ctest runs the test programs under it.
set(CMAKE_SYSTEM_NAME Windows)
set(QUORVEX_MINGW_ARCH x86_64 CACHE STRING "Target processor: x86_64 or i686")
# The checks CMake compiles for itself see the same target.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEX_MINGW_ARCH)
set(CMAKE_SYSTEM_PROCESSOR ${QUORVEX_MINGW_ARCH})

set(QUORVEX_MINGW_TRIPLE ${QUORVEX_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: no libstdc++, libgcc or winpthread DLLs to carry along.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(QUORVEX_WITH_QT OFF CACHE BOOL "Debian has no Qt for mingw-w64")
set(QUORVEX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built for the target")

find_program(QUORVEX_WINE NAMES wine wine64)
if(QUORVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEX_WINE})
endif()
