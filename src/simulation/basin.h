// The stored basin of the current level and its sub-areas.
#pragma once

#include "base/common_records.h"
#include "simulation/convolution_ring.h"
#include "simulation/horton_infiltration.h"
#include "veskdll133.h"

namespace vesk {

// Parameters of one of the four sub-areas; fixed by preparation.
struct SubArea {
    double area{};                    // sq mi
    double initialInfiltrationRate{}; // in/h
    double finalInfiltrationRate{};   // in/h
    double infiltrationDecay{};       // 1/s
    double maxDepressionStorage{};    // in
    double excessLossPercent{};       // % of the remainder lost after depression storage
    double basinFraction{};           // area / the basin's area, formed once the areas are final
};

// The sub-areas in the order they are stepped, as indices of per-sub-area
// arrays.
enum SubAreaIndex : uint8_t { kDcia, kUia, kRpa, kSpa, kSubAreaCount };

// The Horton capacities of the four sub-areas.  Sub-areas with the very same
// curve share one carry, so each distinct rate is evaluated once per step;
// formStepConstants decides which once the sub-areas are fixed.  Until then
// each sub-area has a carry of its own.
struct SubAreaCarries {
    HortonCarry carries[kSubAreaCount]{};
    uint8_t carryOf[kSubAreaCount] = {kDcia, kUia, kRpa, kSpa}; // by SubAreaIndex
};

// A prepared basin with its unit hydrograph and complete simulation state.
// Created all zero; its ring owns the ring's arrays, so a basin moves (into
// the registry) but is never copied.
struct Basin {
    double area{};           // sq mi
    double length{};         // mi
    double centroidLength{}; // mi
    double imperviousPct{};  // %, after snapping
    double eiaPct{};         // %, carried only
    double slope{};          // ft/ft
    int32_t disconnectionLevel{};
    double dcif{}; // after snapping and defaults
    double rpf{};  // after snapping and defaults
    ShapeParameters shape{};
    ConvolutionRing ring{};
    PrecipState precip{};
    SubArea dcia{}; // directly connected impervious area
    SubArea uia{};  // unconnected impervious area
    SubArea rpa{};  // receiving pervious area
    SubArea spa{};  // separate pervious area
    UnitHydrographSummary uh{};
    double peakTime{};     // min, time of the largest outflow so far
    double peakOutflow{};  // cfs, largest outflow so far
    double rainVolume{};   // in x sq mi, running
    double lossVolume{};   // in x sq mi, running
    double runoffVolume{}; // in x sq mi, running
    double runOnRatio{}; // UIA area / RPA area while both are stepped, else 0; formed once
    SubAreaCarries infiltration{}; // Horton rates carried from step to step
};

// The record a basin input file is read into: all zero, so the time step and
// the outputs the file does not carry stay 0.
inline BasinInput blankFileRecord() { return BasinInput{}; }

} // namespace vesk
