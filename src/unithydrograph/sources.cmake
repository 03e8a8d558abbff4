# Basin preparation, the unit hydrograph and its curve fitting.
# VESK_UNITHYDROGRAPH_SHARED is compiled into both levels: the earlier level
# builds the same hydrograph with its own order of operations.
# VESK_UNITHYDROGRAPH_CURRENT holds the current level's preparation (area
# partition with write-back, defaults, vesk_addbasin).
set(VESK_UNITHYDROGRAPH_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/hydrograph_curve.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linear_system.cpp
    ${CMAKE_CURRENT_LIST_DIR}/non_negative_rise.cpp
    ${CMAKE_CURRENT_LIST_DIR}/piece_fitting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shape_points.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit_hydrograph.cpp
)
set(VESK_UNITHYDROGRAPH_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/addbasin_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/area_partition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parameter_defaults.cpp
)
