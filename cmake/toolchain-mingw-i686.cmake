# Cross build for 32-bit Windows with Debian's MinGW-w64 compilers
# (packages g++-mingw-w64-i686 and binutils-mingw-w64-i686):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
#
# cmake/windows.cmake does the rest: static runtime, .def exports, GoogleTest
# from source and wine as the emulator that runs the test programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(VESK_MINGW_TRIPLET i686-w64-mingw32)

# The posix thread model carries the whole C++ thread library (std::thread,
# std::mutex); its threading runtime is linked statically like the rest, so
# the choice adds no DLL.  The win32 model is taken when posix is missing.
find_program(CMAKE_C_COMPILER NAMES ${VESK_MINGW_TRIPLET}-gcc-posix ${VESK_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VESK_MINGW_TRIPLET}-g++-posix ${VESK_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VESK_MINGW_TRIPLET}-windres)

# Libraries, headers and packages come from the MinGW sysroot only; programs
# (the build tools, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VESK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
