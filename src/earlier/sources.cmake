# Floor 3: what the earlier level replaces below its exports: its relations
# (DCIF/RPF lines, effective imperviousness, CT and CP), its lumped stored
# basin with the basin shares, loss step and time step, and its preparation.
# The veskdll library is built from these, every folder's VESK_*_SHARED list
# and its exports (src/exports/earlier/).
set(VESK_EARLIER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/basin_preparation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_shares.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_time_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effective_impervious_area.cpp
    ${CMAKE_CURRENT_LIST_DIR}/impervious_fractions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lumped_loss_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parameter_defaults.cpp
    ${CMAKE_CURRENT_LIST_DIR}/peaking_coefficients.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prepared_record.cpp
)
