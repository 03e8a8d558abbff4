# Rewrites a level's import library so that programs calling the DLL through
# the public header link against it.  Run with cmake -P after the DLL links.
#
# The DLL exports undecorated names (vesk_open), but a program compiled with
# the header refers to the __stdcall symbols (_vesk_open@0), and the import
# library the linker writes from the undecorated .def has only _vesk_open.
# The decorated names are read from the DLL's symbol table, written to a .def
# and turned into an import library by dlltool --kill-at: symbols with the
# @n, imported by the names without.  A DLL without a symbol table keeps the
# linker's import library.
#
# Variables: NM, DLLTOOL, LIBRARY (the DLL), IMPORT_LIBRARY, EXPECTED (the
# list of names), DEF (the decorated .def to write).

foreach(variable NM DLLTOOL LIBRARY IMPORT_LIBRARY EXPECTED DEF)
  if(NOT ${variable})
    message(FATAL_ERROR "windows_import_library.cmake: ${variable} is not set")
  endif()
endforeach()
get_filename_component(dll ${LIBRARY} NAME)

execute_process(COMMAND ${NM} ${LIBRARY} OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT symbols MATCHES "[ \t]_vesk_")
  message(STATUS "${dll} has no symbol table: import library left as linked")
  return()
endif()

file(STRINGS ${EXPECTED} names REGEX "[^ \t]")
list(TRANSFORM names STRIP)
set(decorated)
foreach(name IN LISTS names)
  if(NOT symbols MATCHES "[ \t]_(${name}@[0-9]+)\n")
    message(FATAL_ERROR "${dll}: ${name} has no __stdcall symbol _${name}@n")
  endif()
  list(APPEND decorated ${CMAKE_MATCH_1})
endforeach()
list(JOIN decorated "\n    " decorated)
file(WRITE ${DEF} "LIBRARY ${dll}\nEXPORTS\n    ${decorated}\n")

execute_process(COMMAND ${DLLTOOL} --kill-at --input-def ${DEF} --dllname ${dll}
                        --output-lib ${IMPORT_LIBRARY}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} could not write ${IMPORT_LIBRARY}")
endif()
