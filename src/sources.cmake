# The sources of both levels, floor by floor (docs/architecture.md).  Each
# folder lists its own: VESK_<FOLDER>_SHARED goes into both levels,
# VESK_<FOLDER>_CURRENT into the current level only, VESK_EARLIER_SOURCES
# into the earlier level only.  Included by the top-level CMakeLists.txt and
# by the fuzz build (tests/fuzz/).
include(${CMAKE_CURRENT_LIST_DIR}/base/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/relations/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/simulation/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/unithydrograph/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/preparation/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/earlier/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/registry/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/exports/shared/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/exports/current/sources.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/exports/earlier/sources.cmake)

set(VESK_SHARED_SOURCES
    ${VESK_BASE_SHARED} ${VESK_RELATIONS_SHARED} ${VESK_SIMULATION_SHARED} ${VESK_UNITHYDROGRAPH_SHARED}
    ${VESK_REGISTRY_SHARED} ${VESK_EXPORTS_SHARED})
set(VESK_CURRENT_SOURCES
    ${VESK_BASE_CURRENT} ${VESK_RELATIONS_CURRENT} ${VESK_SIMULATION_CURRENT} ${VESK_PREPARATION_CURRENT}
    ${VESK_EXPORTS_CURRENT})
