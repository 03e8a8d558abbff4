# Floor 6: the earlier level's own exports: the open without a handshake,
# adding and loading basins, one step per vesk_execute, the basin queries and
# the calculators whose arguments are this level's.  They join the earlier
# level's list begun in src/earlier/sources.cmake.
set(VESK_EARLIER_SOURCES ${VESK_EARLIER_SOURCES}
    ${CMAKE_CURRENT_LIST_DIR}/add_basin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_queries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/calculators.cpp
    ${CMAKE_CURRENT_LIST_DIR}/execute.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open.cpp
)
