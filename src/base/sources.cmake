# Floor 0, the ground: the level's public header, allocation, the correctly
# rounded exp and pow, statuses, the records both levels share, the basin
# input file reader and the version.  VESK_BASE_SHARED is compiled into both
# levels; VESK_BASE_CURRENT only into the current one (the earlier level has
# no version handshake).
set(VESK_BASE_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/allocation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/elementary_functions.cpp
)
set(VESK_BASE_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/version.cpp
)
