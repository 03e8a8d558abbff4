# Floor 1: the empirical relations, pure functions of their arguments.
# VESK_RELATIONS_SHARED is compiled into both levels: the CT and P tables with
# their lookups and CT from the imperviousness, the conveyance and runoff
# coefficients, flow-path lengths and times, and the rainfall intensity.
# VESK_RELATIONS_CURRENT holds what the earlier level replaces with its own
# (src/earlier/): the DCIF/RPF tables and relations, UIF/SPF, the effective
# impervious area, and the small-area CT correction and CP.
set(VESK_RELATIONS_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/conveyance_coefficient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flow_path_lengths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/flow_times.cpp
    ${CMAKE_CURRENT_LIST_DIR}/peaking_tables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rainfall_intensity.cpp
    ${CMAKE_CURRENT_LIST_DIR}/runoff_coefficient.cpp
)
set(VESK_RELATIONS_CURRENT
    ${CMAKE_CURRENT_LIST_DIR}/effective_impervious_area.cpp
    ${CMAKE_CURRENT_LIST_DIR}/impervious_fractions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/peaking_coefficients.cpp
)
