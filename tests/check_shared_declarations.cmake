# Checks that what the two public headers declare alike stays alike: every
# function, record and VESK_ macro of the same name has the same declaration
# text (comments and spacing aside) in veskdll133.h and veskdll.h, apart from
# the names listed below whose declarations differ by design, and the block
# that defines the platform macros is the same in both.
#   cmake -DCURRENT=<veskdll133.h> -DEARLIER=<veskdll.h> -P check_shared_declarations.cmake

cmake_minimum_required(VERSION 3.25)

# Declared in both headers with other arguments or other records.
set(differ_by_design
    vesk_addbasin          # the earlier level does not write back into the record
    vesk_calcEIA           # the earlier level's relation takes a level and the imperviousness
    vesk_calcCT            # the earlier level derives CT from the imperviousness itself
    vesk_calcCP            # likewise
    vesk_calcUIF           # the earlier level's complements take a level and the imperviousness
    vesk_calcSPF           # likewise
    vesk_execute           # the earlier level's third argument is not used
    vesk_getbasin_precip   # the earlier level copies out its step block
    BasinInput             # 216 bytes at the earlier level, 232 at the current one
)

function(read_header path out_prefix)
  file(READ ${path} text)
  # The platform block: from the first guard of VESK_CALL to the C++ linkage.
  string(FIND "${text}" "#ifndef VESK_CALL" begin)
  string(FIND "${text}" "#ifdef __cplusplus\nextern \"C\" {" end)
  if(begin LESS 0 OR end LESS begin)
    message(FATAL_ERROR "${path}: no platform block")
  endif()
  math(EXPR length "${end} - ${begin}")
  string(SUBSTRING "${text}" ${begin} ${length} platform)
  set(${out_prefix}_platform "${platform}" PARENT_SCOPE)

  # Semicolons would split CMake lists: every statement end becomes "@" (so
  # it shows in the messages too).
  string(REPLACE ";" "@" text "${text}")
  string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
  string(REGEX MATCHALL "#[ ]*define VESK_[A-Za-z0-9_]+[^\n]*" macros "${text}")
  set(names)
  foreach(macro IN LISTS macros)
    string(REGEX REPLACE "[ \t]+" " " macro "${macro}")
    string(STRIP "${macro}" macro)
    string(REGEX MATCH "VESK_[A-Za-z0-9_]+" name "${macro}")
    set(${out_prefix}_${name} "${macro}" PARENT_SCOPE)
    list(APPEND names ${name})
  endforeach()

  string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
  string(REGEX MATCHALL "VESK_API [^@]*@" functions "${text}")
  foreach(function IN LISTS functions)
    string(REGEX MATCH "vesk_[A-Za-z0-9_]+" name "${function}")
    set(${out_prefix}_${name} "${function}" PARENT_SCOPE)
    list(APPEND names ${name})
  endforeach()
  string(REGEX MATCHALL "typedef struct [A-Za-z]+ {[^}]*} [A-Za-z]+@" records "${text}")
  foreach(record IN LISTS records)
    string(REGEX MATCH "[A-Za-z]+@$" name "${record}")
    string(REPLACE "@" "" name "${name}")
    set(${out_prefix}_${name} "${record}" PARENT_SCOPE)
    list(APPEND names ${name})
  endforeach()
  set(${out_prefix}_names ${names} PARENT_SCOPE)
endfunction()

read_header(${CURRENT} current)
read_header(${EARLIER} earlier)

set(failures)
if(NOT current_platform STREQUAL earlier_platform)
  list(APPEND failures "the platform macros are defined differently")
endif()
set(shared 0)
foreach(name IN LISTS current_names)
  if(NOT DEFINED earlier_${name} OR name IN_LIST differ_by_design)
    continue()
  endif()
  math(EXPR shared "${shared} + 1")
  if(NOT current_${name} STREQUAL earlier_${name})
    list(APPEND failures "${name}:\n    ${current_${name}}\n    ${earlier_${name}}")
  endif()
endforeach()
foreach(name IN LISTS differ_by_design)
  if(NOT DEFINED current_${name} OR NOT DEFINED earlier_${name})
    list(APPEND failures "${name} is listed as differing but is not declared in both headers")
  elseif(current_${name} STREQUAL earlier_${name})
    list(APPEND failures "${name} is listed as differing but is declared alike")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n  " failures)
  message(FATAL_ERROR "the public headers disagree:\n  ${failures}")
endif()
message(STATUS "${shared} shared declarations alike")
