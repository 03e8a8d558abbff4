# Floor 1: runoff simulation.  The convolution ring and Horton infiltration
# are common to both levels; the current level's stored basin, the loss step
# of its four sub-areas and its time step with the peak belong to the current
# level (the earlier level has its own lumped basin and loss step).
set(VESK_SIMULATION_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/convolution_ring.cpp
    ${CMAKE_CURRENT_LIST_DIR}/horton_infiltration.cpp
)
set(VESK_SIMULATION_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/sub_area_loss_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/step_constants.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_loss_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/basin_time_step.cpp
)
