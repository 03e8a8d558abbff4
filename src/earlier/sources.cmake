# The earlier level's replacements.  The veskdll library is built from these
# plus every directory's VESK_*_SHARED list (registry, unit hydrograph, ring
# convolution, basin-file reader and loading, unit-hydrograph queries, CT/P tables and the
# calculators both levels have in common).
set(VESK_EARLIER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/add_basin_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_queries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_shares.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effective_imperviousness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/execute_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fraction_defaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fraction_relations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lumped_loss_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/open_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/peaking_coefficients.cpp
    ${CMAKE_CURRENT_LIST_DIR}/relation_exports.cpp
)
