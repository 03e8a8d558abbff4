# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (package
# g++-mingw-w64-x86-64).  The test programs then run under the 64-bit wine
# loader, which needs no 32-bit support from the build machine's kernel:
#
#   cmake -S . -B build-windows-x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
#
# x86-64 Windows has one calling convention, so these DLLs check the Windows
# runtime, file reading and numerics, but not the 32-bit __stdcall exports.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VESK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
