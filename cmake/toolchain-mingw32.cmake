# SPDX-License-Identifier: GPL-2.0-or-later
# Cross build for 32-bit Windows with Debian's MinGW-w64 compilers; tests run under Wine.
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake \
#         -DKPX_BUILD_GUI=OFF -DKPX_BUILD_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(KPX_MINGW_TRIPLET i686-w64-mingw32)
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
# Large-address-aware: on 64-bit Windows a 32-bit program so marked has 4 GB of address space
# instead of 2, room for the largest data file and table it accepts.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--large-address-aware")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs and test discovery run under Wine.
find_program(KPX_WINE_PROGRAM NAMES wine)
if(KPX_WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KPX_WINE_PROGRAM})
endif()
