# Installs the build tree into a scratch prefix, checks the installed files
# and the vesk program, then builds and runs the consumer project against it.
# cmake -DBUILD_DIR=... -DCONSUMER_DIR=... -DWORK_DIR=... [-DCONFIG=...] -P check_installed.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${output}\n${errors}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

set(config_arguments)
if(CONFIG)
  set(config_arguments --config ${CONFIG})
endif()
run_step("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} ${config_arguments})

foreach(pattern bin/vesk include/veskdll133.h lib*/cmake/vesk/veskConfig.cmake
                lib*/cmake/vesk/veskConfigVersion.cmake lib*/pkgconfig/veskdll133.pc)
  file(GLOB found ${prefix}/${pattern})
  if(NOT found)
    message(FATAL_ERROR "not installed: ${pattern}")
  endif()
endforeach()

# The installed program finds the installed library by its run path.
run_step("installed vesk" ${prefix}/bin/vesk calc calcMinTc 25)
if(NOT step_output STREQUAL "10\n")
  message(FATAL_ERROR "installed vesk calc calcMinTc 25 printed '${step_output}'")
endif()

run_step("configuring the consumer" ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build
         -DCMAKE_PREFIX_PATH=${prefix})
run_step("building the consumer" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run_step("running the consumer" ${CMAKE_CTEST_COMMAND} --test-dir ${WORK_DIR}/build --output-on-failure)
message(STATUS "${step_output}")
