# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread needs). Libraries are looked up in the prefix given as
# KEELWRIGHT_WIN_DEPS (scripts/windows.sh builds them there) and never on
# the build machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
set(CMAKE_AR ${MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Passed on to try_compile projects, which read the toolchain file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KEELWRIGHT_WIN_DEPS)
if(NOT KEELWRIGHT_WIN_DEPS AND DEFINED ENV{KEELWRIGHT_WIN_DEPS})
  set(KEELWRIGHT_WIN_DEPS $ENV{KEELWRIGHT_WIN_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET} ${KEELWRIGHT_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and tools run through Wine when CMake needs to run them.
find_program(KEELWRIGHT_WINE wine64 PATHS /usr/lib/wine)
if(KEELWRIGHT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KEELWRIGHT_WINE})
endif()
