# Cross build for 32-bit Windows, the platform the DLLs are made for, with
# Debian's MinGW-w64 compilers (packages g++-mingw-w64-i686 and
# binutils-mingw-w64-i686):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
#
# cmake/windows.cmake does the rest: static runtime, .def exports, GoogleTest
# from source and wine as the emulator that runs the test programs.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VESK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
