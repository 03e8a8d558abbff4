# Floor 6: the current level's own exports: the open with its version
# handshake, adding and loading basins, stepping, the basin queries and the
# calculators whose arguments are this level's.
set(VESK_EXPORTS_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/add_basin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_queries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/calculators.cpp
    ${CMAKE_CURRENT_LIST_DIR}/execute.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_and_version.cpp
)
