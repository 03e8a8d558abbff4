# Compiles a public header on its own, as a host that copies just that header
# would: the header alone in an empty folder, a source file that includes it
# and uses its version macros, strict warnings as errors.
#   cmake -DCOMPILER=<cc or c++> -DLANGUAGE=C|CXX -DHEADER=<path> -DWORK_DIR=<dir> -P check_header_alone.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${HEADER} DESTINATION ${WORK_DIR})
get_filename_component(header_name ${HEADER} NAME)
if(LANGUAGE STREQUAL "C")
  set(source ${WORK_DIR}/host.c)
  set(standard -std=c11)
else()
  set(source ${WORK_DIR}/host.cpp)
  set(standard -std=c++11)
endif()
file(WRITE ${source} "#include \"${header_name}\"\n
static const int version[4] = {VESK_VERSION_MAJOR, VESK_VERSION_MINOR, VESK_VERSION_RELEASE, VESK_VERSION_BUILD};\n
int main(void) { return version[0] == 0 ? 1 : VESK_OK; }\n")
execute_process(COMMAND ${COMPILER} ${standard} -pedantic-errors -Wall -Wextra -Werror -fsyntax-only ${source}
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${header_name} does not compile alone as ${LANGUAGE} (${status}):\n${output}${errors}")
endif()
message(STATUS "${header_name} compiles alone as ${LANGUAGE}")
