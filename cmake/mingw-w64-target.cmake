# The mingw-w64 compilers for Windows (g++-mingw-w64-<arch>-posix, the posix thread model) and
# where CMake looks for the target's libraries. QUORVEX_MINGW_ARCH is x86_64 (the default) or
# i686. Included by mingw-w64.cmake; tools/windows-qt.sh builds Qt with this file alone.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT QUORVEX_MINGW_ARCH)
  set(QUORVEX_MINGW_ARCH x86_64)
endif()
# The checks CMake compiles for itself see the same target.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEX_MINGW_ARCH)
set(CMAKE_SYSTEM_PROCESSOR ${QUORVEX_MINGW_ARCH})

set(QUORVEX_MINGW_TRIPLE ${QUORVEX_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEX_MINGW_TRIPLE}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${QUORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
