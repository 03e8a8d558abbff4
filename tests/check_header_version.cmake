# Checks that a public header's version macros are the project's version.
#   cmake -DHEADER=<veskdll133.h> -DVERSION=<major.minor.release.build> -P check_header_version.cmake

cmake_minimum_required(VERSION 3.25)

file(READ ${HEADER} text)
set(written)
foreach(part MAJOR MINOR RELEASE BUILD)
  if(NOT text MATCHES "\n#define VESK_VERSION_${part} ([0-9]+)\n")
    message(FATAL_ERROR "${HEADER}: no '#define VESK_VERSION_${part} <number>' line")
  endif()
  list(APPEND written ${CMAKE_MATCH_1})
endforeach()
list(JOIN written "." written)
if(NOT written STREQUAL VERSION)
  message(FATAL_ERROR "${HEADER} says version ${written}, the project is ${VERSION}: "
                      "write the project's version into the header's VESK_VERSION_* macros")
endif()
message(STATUS "${HEADER}: version ${written}")
