# Compiles through ccache when it is installed (scripts/install-deps installs
# it) and no compiler launcher was chosen: rebuilding unchanged sources, in
# this build tree or in another one, then costs a cache lookup.  Included
# after project() by the top-level CMakeLists.txt and by the fuzz build.
# -DVESK_CCACHE=OFF compiles without it; CCACHE_DISABLE=1 in the environment
# bypasses the cache for one build.
option(VESK_CCACHE "Compile through ccache when it is installed" ON)
if(VESK_CCACHE)
  find_program(VESK_CCACHE_PROGRAM ccache)
  if(VESK_CCACHE_PROGRAM)
    foreach(language C CXX)
      if(NOT CMAKE_${language}_COMPILER_LAUNCHER)
        set(CMAKE_${language}_COMPILER_LAUNCHER ${VESK_CCACHE_PROGRAM})
      endif()
    endforeach()
  endif()
endif()
