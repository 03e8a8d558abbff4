// Basins put together field by field, without the preparation pipeline, so
// the loss step, the convolution and the queries can be tested on their own.
#pragma once

#include <initializer_list>

#include "base/allocation.h"
#include "simulation/basin.h"
#include "simulation/step_constants.h"

namespace handbuilt {

// A pervious sub-area with the basin's Horton curve and storage.
inline vesk::SubArea pervious(double area, double f0, double fc, double k, double storage) {
    return vesk::SubArea{area, f0, fc, k, storage, 0.0};
}

// An impervious sub-area: no infiltration, 5 % of what passes storage lost.
inline vesk::SubArea impervious(double area, double storage) {
    return vesk::SubArea{area, 0.0, 0.0, 0.0, storage, 5.0};
}

// Gives the basin a ring over `ordinates` (the ring owns and frees them).
inline void giveRing(vesk::Basin &basin, std::initializer_list<double> ordinates) {
    const auto length = static_cast<int32_t>(ordinates.size());
    basin.ring.uhLength = length;
    basin.ring.uhOrdinates.reset(vesk::allocateArray<double>(ordinates.size()));
    basin.ring.convolutionBuffer.reset(vesk::allocateArray<double>(ordinates.size()));
    int32_t i = 0;
    for (double ordinate : ordinates) basin.ring.uhOrdinates[i++] = ordinate;
}

// A basin of `area` whose whole area is one DCIA without storage or percentage
// loss, so the step's excess equals its rain exactly.
inline vesk::Basin lossless(double area, int32_t timeStep, std::initializer_list<double> ordinates) {
    vesk::Basin basin;
    basin.area = area;
    basin.dcia = vesk::SubArea{area, 0.0, 0.0, 0.0, 0.0, 0.0};
    basin.precip.timeStep = timeStep;
    giveRing(basin, ordinates);
    vesk::formStepConstants(basin);
    return basin;
}

} // namespace handbuilt
