# Floor 2: the unit hydrograph and its curve fitting, compiled into both
# levels (the earlier level builds the same hydrograph in its own order of
# operations).
set(VESK_UNITHYDROGRAPH_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/hydrograph_curve.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linear_system.cpp
    ${CMAKE_CURRENT_LIST_DIR}/non_negative_rise.cpp
    ${CMAKE_CURRENT_LIST_DIR}/piece_fitting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/shape_points.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit_hydrograph.cpp
)
