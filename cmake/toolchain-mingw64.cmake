# SPDX-License-Identifier: GPL-2.0-or-later
# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers. The program ships as a
# 32-bit build; this one runs the same code under Wine on machines whose kernel cannot run
# 32-bit processes (and so no 32-bit Wine).
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
#         -DKPX_BUILD_GUI=OFF -DKPX_BUILD_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(KPX_MINGW_TRIPLET x86_64-w64-mingw32)
# The -posix compilers: with the default win32 thread model std::mutex and std::thread are
# missing, and GoogleTest does not build.
set(CMAKE_C_COMPILER ${KPX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KPX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KPX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KPX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: no libgcc, libstdc++ or winpthread DLLs to ship beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs and test discovery run under Wine.
find_program(KPX_WINE_PROGRAM NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(KPX_WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KPX_WINE_PROGRAM})
endif()
