# The part of the MinGW-w64 cross builds that both toolchain files share.
# They set VESK_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR, then include this.
set(CMAKE_SYSTEM_NAME Windows)

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
