# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads flavour), and
# running what is built under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PELMORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PELMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PELMORA_MINGW_TRIPLET}-windres)

# Headers and libraries come from the Windows side only; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${PELMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each function and datum in a section of its own (in Qt's static libraries too, which are built
# with this file), so that a program's link drops every one it does not reach. The C++ runtime,
# libgcc and winpthreads go into each program, so that no DLL has to be found.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")

# CTest starts the test programs through Wine. Debian's wine64 package keeps its loader out of
# PATH unless the `wine` wrapper package is installed too.
find_program(PELMORA_WINE NAMES wine64 wine PATHS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELMORA_WINE})
