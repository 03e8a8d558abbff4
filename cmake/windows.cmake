# Windows builds: each level is a DLL that a Windows host loads and binds by
# the undecorated export names.  Included by the top-level CMakeLists.txt
# before any target exists, so the settings here reach every target.
#
# - Exports: a .def file per level, generated from cmake/exports/<level>.txt
#   (the same list the export checks compare with), linked with --kill-at so
#   the __stdcall names carry no @n suffix.
# - Runtime: libgcc, libstdc++ and winpthread are linked statically, so the
#   DLLs and the test programs need only DLLs that come with Windows.
# - Cross builds (cmake/toolchain-mingw-i686.cmake, -x86_64.cmake): GoogleTest
#   is built from Debian's sources and the test programs run under wine (the
#   64-bit loader for 64-bit programs), in a wine prefix of their own inside
#   the build tree.
# - VESK_WINDOWS_STATIC_CHECKS: a build without test programs still checks
#   each DLL's export and import tables, which needs no Windows program to
#   run (the 32-bit DLLs on a machine that cannot run 32-bit programs).

# 32-bit x86: doubles are computed in SSE2 registers, not on the x87 stack
# whose 80-bit intermediates would round differently from 64-bit builds.
# long double stays the x87 extended format, as on x86-64.  GCC realigns the
# stack where SSE needs it, since 32-bit Windows callers keep only 4 bytes.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# No compiler runtime DLLs: everything but the system DLLs is linked in.
add_link_options(-static)

# Programs beside the DLLs, where the Windows loader looks for them first.
if(NOT CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/windows_exports.cmake)
set(VESK_WINDOWS_IMPORT_LIBRARY_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/windows_import_library.cmake)

# Turns the shared library of one level into <level>.dll exporting exactly
# the names in cmake/exports/<level>.txt.
function(vesk_windows_level name)
  set(names_file ${PROJECT_SOURCE_DIR}/cmake/exports/${name}.txt)
  file(STRINGS ${names_file} names REGEX "[^ \t]")
  list(TRANSFORM names STRIP)
  list(JOIN names "\n    " def_body)
  set(def_file ${CMAKE_BINARY_DIR}/${name}.def)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "LIBRARY ${name}.dll\nEXPORTS\n    ${def_body}\n" @ONLY)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${names_file})

  target_sources(${name} PRIVATE ${def_file})
  # veskdll133.dll, not libveskdll133.dll: hosts load it by that name.
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  # The .def names the exports undecorated; stdcall fix-up matches them to
  # the _name@n symbols (enabled, so without a warning per name) and
  # --kill-at keeps the @n out of the export table.  A name the level lacks
  # fails the link.
  target_link_options(${name} PRIVATE
      -Wl,--enable-stdcall-fixup -Wl,--kill-at -Wl,--no-undefined)

  # Programs compiled with the header call the decorated __stdcall symbols;
  # cmake/windows_import_library.cmake gives the import library those.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_NM AND CMAKE_DLLTOOL)
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
                -DLIBRARY=$<TARGET_FILE:${name}> -DIMPORT_LIBRARY=$<TARGET_LINKER_FILE:${name}>
                -DEXPECTED=${names_file} -DDEF=${CMAKE_BINARY_DIR}/${name}-import.def
                -P ${VESK_WINDOWS_IMPORT_LIBRARY_SCRIPT}
        VERBATIM)
  endif()

  if(VESK_BUILD_TESTS)
    vesk_windows_export_tests(${name} ${names_file})
  elseif(VESK_WINDOWS_STATIC_CHECKS)
    vesk_windows_static_export_test(${name} ${names_file})
  endif()
endfunction()

option(VESK_WINDOWS_STATIC_CHECKS
       "Without the test programs, still check the DLLs' export and import tables" OFF)
if(VESK_WINDOWS_STATIC_CHECKS AND NOT VESK_BUILD_TESTS)
  enable_testing()
endif()

if(NOT CMAKE_CROSSCOMPILING OR NOT VESK_BUILD_TESTS)
  return()
endif()

# --- GoogleTest for the target, built from source ---------------------------
# A GoogleTest built for the build machine cannot be linked into Windows
# programs, so the sources Debian ships are compiled with the cross compiler.
set(VESK_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources compiled into the cross build")
if(NOT TARGET GTest::gtest_main)
  if(NOT EXISTS ${VESK_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${VESK_GOOGLETEST_SOURCE_DIR} "
                        "(Debian package googletest); set VESK_GOOGLETEST_SOURCE_DIR")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # GoogleTest's own Windows threading, not winpthread.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${VESK_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Our warnings-as-errors is for our code, not for GoogleTest's.
  foreach(target gtest gtest_main)
    get_target_property(options ${target} COMPILE_OPTIONS)
    list(REMOVE_ITEM options -Werror)
    set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}")
  endforeach()
  # The names find_package(GTest) gives (GoogleTest's sources may have some).
  foreach(alias gtest:gtest gtest_main:gtest_main GTest:gtest Main:gtest_main)
    string(REPLACE ":" ";" alias ${alias})
    list(GET alias 0 name)
    list(GET alias 1 target)
    if(NOT TARGET GTest::${name})
      add_library(GTest::${name} ALIAS ${target})
    endif()
  endforeach()
endif()
# find_package(GTest) in tests/ then finds the targets above instead of
# searching the MinGW sysroot.
set(VESK_WINDOWS_MODULE_DIR ${CMAKE_BINARY_DIR}/windows-modules)
file(CONFIGURE OUTPUT ${VESK_WINDOWS_MODULE_DIR}/FindGTest.cmake CONTENT
"# Generated by cmake/windows.cmake: GoogleTest is built in this build tree.
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
")
list(PREPEND CMAKE_MODULE_PATH ${VESK_WINDOWS_MODULE_DIR})

# --- wine as the emulator of the test programs ------------------------------
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  # 64-bit programs run under the 64-bit loader itself: Debian's `wine`
  # picks the 32-bit one whenever it is installed.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(VESK_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
    find_program(VESK_WINE NAMES wine64)
  else()
    find_program(VESK_WINE wine)
  endif()
  find_program(VESK_BASH bash)
  find_program(VESK_WINESERVER wineserver)
  if(NOT VESK_WINE OR NOT VESK_BASH)
    message(FATAL_ERROR "The Windows test programs run under wine: install wine and wine32 "
                        "(64-bit builds: wine64; see .ci/windows.sh) or build with "
                        "-DVESK_BUILD_TESTS=OFF")
  endif()
  set(VESK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix
      CACHE PATH "wine prefix in which the Windows test programs run")
  # The first wine process of a session starts wine's own services, which
  # inherit its standard streams and outlive it: were those the pipes CTest
  # reads, CTest would wait for them.  So the program writes into files that
  # are copied out once it ends.  Its text-mode output ends lines with CR LF;
  # the CRs are dropped so that CTest and GoogleTest's test discovery read
  # plain lines.  Standard input is closed: the programs never read it.  No
  # Mono or Gecko either, so a fresh prefix never asks to download them.
  set(VESK_WINE_RUNNER ${CMAKE_BINARY_DIR}/wine-run.sh)
  file(CONFIGURE OUTPUT ${VESK_WINE_RUNNER} @ONLY CONTENT
[=[# Generated by cmake/windows.cmake: runs a Windows program under wine.
export WINEPREFIX='@VESK_WINEPREFIX@'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
out=$(mktemp) && err=$(mktemp) || exit 1
# The wine loader itself now and then dies of a signal while a finished
# program shuts down; that says nothing about the program, so such a run is
# repeated (at most twice).  A program's own failure is an ordinary status.
for attempt in 1 2 3; do
  '@VESK_WINE@' "$@" </dev/null >"$out" 2>"$err"
  status=$?
  [ $status -gt 128 ] && [ $status -lt 160 ] && [ $attempt -lt 3 ] || break
  echo "wine-run: wine died of signal $((status - 128)); running again" >&2
done
tr -d '\r' <"$out"
tr -d '\r' <"$err" >&2
rm -f "$out" "$err"
exit $status
]=])
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VESK_BASH} ${VESK_WINE_RUNNER})

  # Test discovery runs each program under wine with a 5 second limit, which
  # creating a prefix can exceed: create it now, once.
  if(NOT EXISTS ${VESK_WINEPREFIX}/system.reg)
    message(STATUS "Creating the wine prefix ${VESK_WINEPREFIX}")
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET TIMEOUT 600)
    # The registry reaches the prefix when the wineserver stops, a few
    # seconds after wineboot.
    if(VESK_WINESERVER)
      execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${VESK_WINEPREFIX}
                              ${VESK_WINESERVER} --wait
                      OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
    endif()
    if(NOT EXISTS ${VESK_WINEPREFIX}/system.reg)
      message(FATAL_ERROR "wineboot could not create ${VESK_WINEPREFIX} (${status})")
    endif()
  endif()
endif()
