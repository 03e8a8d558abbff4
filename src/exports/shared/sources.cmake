# Floor 5: the process-wide state (registry and error code), the exports both
# levels have alike (vesk_free, vesk_geterror, the unit-hydrograph queries,
# sixteen calculators) and the reading of a basin input file both levels'
# vesk_loadandadd start with.  Compiled into both levels.
set(VESK_EXPORTS_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/basin_file_loading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/calculators.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lifecycle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit_hydrograph_queries.cpp
)
