# Installs the build into a scratch prefix and imports the package from there
# with VESK_LIBRARY unset: it must load both levels and the host core from its
# own folder.
# cmake -DBUILD_DIR=... -DPYTHON=... -DSITE=... -DWORK_DIR=... -DEXAMPLE=... [-DPYTHON_ENVIRONMENT=...]
#       -P check_installed.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${errors}")
endif()
if(IS_ABSOLUTE "${SITE}")
  message(STATUS "the package installs to the absolute ${SITE}; nothing to check in the scratch prefix")
  return()
endif()
set(check [=[
import os, vesk
folder = os.path.dirname(vesk.__file__)
assert folder.startswith(os.environ["PREFIX"]), folder
with vesk.Library() as lib:
    assert lib.version == vesk.VERSION
with vesk.Library("earlier"):
    pass
assert vesk.read_basins(os.environ["EXAMPLE"]).keys() == {"CedarCreek"}  # the core, from here too
assert "libvesk_host.so" in os.listdir(folder)
print("installed package loads", sorted(f for f in os.listdir(folder) if ".so" in f))
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=VESK_LIBRARY PREFIX=${prefix} EXAMPLE=${EXAMPLE}
                        ${PYTHON_ENVIRONMENT}
                        PYTHONPATH=${prefix}/${SITE} ${PYTHON} -c "${check}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed package failed (${status}):\n${output}\n${errors}")
endif()
message(STATUS "${output}")
