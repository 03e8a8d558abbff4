# Frame and registry.  VESK_FRAME_SHARED is compiled into both levels;
# VESK_FRAME_CURRENT only into the current level (the earlier level has no
# version handshake and opens without it).
set(VESK_FRAME_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/allocation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_registry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/elementary_functions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/learned_sweep.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lifecycle_exports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/load_and_add.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit_hydrograph_queries.cpp
)
set(VESK_FRAME_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/basin_queries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_and_version_exports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/version.cpp
)
