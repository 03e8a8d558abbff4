# Floor 3: the current level's basin preparation (area partition with
# write-back, defaults, the hydrograph of a prepared basin) and the record
# vesk_getbasin gives back.  The earlier level prepares in src/earlier/.
set(VESK_PREPARATION_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/area_partition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parameter_defaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prepared_record.cpp
)
