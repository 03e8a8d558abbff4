# The earlier level's replacements, most of them named after the current-level
# file they replace.  The veskdll library is built from these plus every directory's
# VESK_*_SHARED list (registry, unit hydrograph, convolution ring, Horton
# infiltration, basin-file reader and loading, unit-hydrograph queries, CT/P
# tables and the calculators both levels have in common).  open_export.cpp
# replaces the current level's open and version handshake; relation_exports.cpp
# holds the calculators whose arguments differ.
set(VESK_EARLIER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/addbasin_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_queries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_shares.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_time_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effective_impervious_area.cpp
    ${CMAKE_CURRENT_LIST_DIR}/execute_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/impervious_fractions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lumped_loss_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parameter_defaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/peaking_coefficients.cpp
    ${CMAKE_CURRENT_LIST_DIR}/relation_exports.cpp
)
