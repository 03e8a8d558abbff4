# Checks of a level's DLL, in two roles:
#
# - included by cmake/windows.cmake, it defines vesk_windows_export_tests(),
#   which adds two CTest tests per level:
#     <level>_exports  this file run with cmake -P on the DLL (below);
#     <level>_load     a Windows program that loads the DLL and binds every
#                      name, as a host does (cmake/windows_load_check.c);
#   and vesk_windows_static_export_test(), which adds only the first, for
#   builds whose programs cannot run here.
# - run with cmake -P, it reads the DLL with objdump -p and nm and fails unless
#     * the export table lists exactly the names in EXPECTED, undecorated;
#     * on 32-bit x86, every export is __stdcall (its symbol is
#       _name@<argument bytes>); x86-64 has one convention and no decoration;
#     * every imported DLL is one that comes with Windows.
#   Variables: OBJDUMP, NM (may be empty), LIBRARY, EXPECTED.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(VESK_WINDOWS_EXPORTS_SCRIPT ${CMAKE_CURRENT_LIST_FILE})
  set(VESK_WINDOWS_LOAD_CHECK_SOURCE ${CMAKE_CURRENT_LIST_DIR}/windows_load_check.c)

  function(vesk_windows_static_export_test name names_file)
    add_test(NAME ${name}_exports
             COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DNM=${CMAKE_NM}
                     -DLIBRARY=$<TARGET_FILE:${name}> -DEXPECTED=${names_file}
                     -P ${VESK_WINDOWS_EXPORTS_SCRIPT})
  endfunction()

  function(vesk_windows_export_tests name names_file)
    vesk_windows_static_export_test(${name} ${names_file})

    # The load check is built beside the DLL, where LoadLibrary looks first.
    file(STRINGS ${names_file} names REGEX "[^ \t]")
    list(TRANSFORM names STRIP)
    list(TRANSFORM names REPLACE "^(.+)$" "    \"\\1\",")
    list(JOIN names "\n" names)
    set(names_dir ${CMAKE_BINARY_DIR}/${name}_load_check)
    file(CONFIGURE OUTPUT ${names_dir}/export_names.h @ONLY CONTENT
         "/* Generated from ${names_file} by cmake/windows_exports.cmake. */\n${names}\n")
    add_executable(${name}_load_check ${VESK_WINDOWS_LOAD_CHECK_SOURCE})
    target_include_directories(${name}_load_check PRIVATE ${names_dir})
    target_compile_definitions(${name}_load_check PRIVATE
        VESK_DLL_NAME="$<TARGET_FILE_NAME:${name}>")
    set_target_properties(${name}_load_check PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:${name}>)
    add_dependencies(${name}_load_check ${name})
    add_test(NAME ${name}_load COMMAND ${name}_load_check)
  endfunction()
  return()
endif()

foreach(variable OBJDUMP LIBRARY EXPECTED)
  if(NOT ${variable})
    message(FATAL_ERROR "windows_exports.cmake: ${variable} is not set")
  endif()
endforeach()
get_filename_component(dll ${LIBRARY} NAME)

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed on ${LIBRARY}")
endif()
set(failures)

# Export names: the lines "[   n] name" after "[Ordinal/Name Pointer] Table",
# up to the blank line that ends the table.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
set(found)
if(start GREATER_EQUAL 0)
  string(SUBSTRING "${dump}" ${start} -1 table)
  string(FIND "${table}" "\n\n" end)
  string(SUBSTRING "${table}" 0 ${end} table)
  string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" entry "${entry}")
    string(STRIP "${entry}" entry)
    list(APPEND found ${entry})
  endforeach()
endif()
file(STRINGS ${EXPECTED} expected REGEX "[^ \t]")
list(TRANSFORM expected STRIP)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  set(missing ${expected})
  set(extra ${found})
  if(found)
    list(REMOVE_ITEM missing ${found})
  endif()
  if(expected)
    list(REMOVE_ITEM extra ${expected})
  endif()
  list(JOIN missing " " missing)
  list(JOIN extra " " extra)
  list(APPEND failures "export table differs from ${EXPECTED}\n    missing: ${missing}\n    extra:   ${extra}")
endif()

# Calling convention: the DLL's own symbol table keeps the decorated names.  A 64-bit DLL
# (PE32+, magic 020b) has nothing to check: x86-64 Windows has one convention.
set(pe32_plus FALSE)
if(dump MATCHES "\nMagic[ \t]+020b")
  set(pe32_plus TRUE)
  message(STATUS "${dll} is a 64-bit DLL: one calling convention, no __stdcall decoration to check")
endif()
if(NM AND NOT pe32_plus)
  execute_process(COMMAND ${NM} ${LIBRARY} OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE status)
  if(status EQUAL 0 AND symbols MATCHES "[ \t]_vesk_")
    set(not_stdcall)
    foreach(name IN LISTS found)
      if(NOT symbols MATCHES "[ \t]_${name}@[0-9]+\n")
        list(APPEND not_stdcall ${name})
      endif()
    endforeach()
    if(not_stdcall)
      list(JOIN not_stdcall " " not_stdcall)
      list(APPEND failures "not __stdcall (no _name@n symbol): ${not_stdcall}")
    endif()
  else()
    # Without the symbol table nothing else shows the convention; a 32-bit
    # DLL whose exports are not __stdcall would crash every host.
    list(APPEND failures "no symbol table: the calling convention cannot be checked (stripped?)")
  endif()
endif()

# Imports: only DLLs that every Windows installation has.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
list(TRANSFORM imports STRIP)
set(foreign)
foreach(import IN LISTS imports)
  string(TOLOWER "${import}" lower)
  if(NOT lower MATCHES "^(kernel32|user32|advapi32|ntdll|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\\.dll$")
    list(APPEND foreign ${import})
  endif()
endforeach()
if(foreign)
  list(JOIN foreign " " foreign)
  list(APPEND failures "imports DLLs that are not part of Windows: ${foreign}")
endif()

if(failures)
  list(JOIN failures "\n  " failures)
  message(FATAL_ERROR "${dll}:\n  ${failures}")
endif()
list(LENGTH found count)
list(JOIN imports " " imports)
if(pe32_plus)
  message(STATUS "${dll}: ${count} exports as listed; imports ${imports}")
else()
  message(STATUS "${dll}: ${count} undecorated __stdcall exports as listed; imports ${imports}")
endif()
