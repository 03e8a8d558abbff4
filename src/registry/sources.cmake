# Floor 4: the registry of named basins with its index and learned sweep,
# holding the level's stored basin (stored_basin.h).  Compiled into both
# levels, each with its own basin.
set(VESK_REGISTRY_SHARED
    ${CMAKE_CURRENT_LIST_DIR}/basin_registry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/learned_sweep.cpp
)
