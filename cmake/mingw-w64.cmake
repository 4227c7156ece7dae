# Cross-build for Windows with Debian's mingw-w64, x86-64 (g++-mingw-w64-x86-64-posix) by
# default or 32-bit x86 with -DQUORVEX_MINGW_ARCH=i686 (g++-mingw-w64-i686-posix):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Debian ships no Qt for this target, so by default only the standard-C++ libraries, the Win32
# serial line and their tests are built (QUORVEX_WITH_QT off), as self-contained programs.
# With -DQUORVEX_WINDOWS_QT=<folder> (Qt built by tools/windows-qt.sh) the whole program is
# built against that Qt, linked to the compiler's runtime DLLs as Qt's own DLLs are.
# GoogleTest is built from /usr/src/googletest. When Wine is installed, ctest runs the test
# programs under it.
set(QUORVEX_MINGW_ARCH x86_64 CACHE STRING "Target processor: x86_64 or i686")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-target.cmake)

set(QUORVEX_WINDOWS_QT "" CACHE PATH "Qt for this target (tools/windows-qt.sh); empty: no Qt")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEX_WINDOWS_QT)
if(QUORVEX_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${QUORVEX_WINDOWS_QT})
  list(APPEND CMAKE_PREFIX_PATH ${QUORVEX_WINDOWS_QT})
  # moc, uic and rcc of the build machine (qt6-base-dev-tools), the same Qt version.
  set(QT_HOST_PATH /usr CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
  set(QUORVEX_WITH_QT ON CACHE BOOL "Qt for Windows from tools/windows-qt.sh")
else()
  # Self-contained programs: no libstdc++, libgcc or winpthread DLLs to carry along.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
  set(QUORVEX_WITH_QT OFF CACHE BOOL "Debian has no Qt for mingw-w64")
endif()
set(QUORVEX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built for the target")

find_program(QUORVEX_WINE NAMES wine wine64)
if(QUORVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVEX_WINE})
endif()
