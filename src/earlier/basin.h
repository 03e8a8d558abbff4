// The stored basin of the earlier level.  It keeps the host's parameters as
// preparation left them, the unit hydrograph with its ring, and one lumped
// loss state for the whole basin; there are no sub-areas, no simulation time
// step of its own (it steps by shape.uhTimeStep), no peak tracking and no
// running volumes.
#pragma once

#include "base/common_records.h"
#include "simulation/convolution_ring.h"
#include "simulation/horton_infiltration.h"
#include "veskdll.h"

namespace vesk {

// A prepared basin.  Created all zero; its ring owns the ring's arrays, so a
// basin moves (into the registry) but is never copied.
struct Basin {
    double area{};           // sq mi
    double length{};         // mi
    double centroidLength{}; // mi
    double imperviousPct{};  // %
    double eiaPct{};         // %, effective imperviousness computed by preparation
    double slope{};          // ft/ft
    double perviousDepressionStorage{};   // in, capacity of each pervious storage
    double imperviousDepressionStorage{}; // in, capacity of the shared impervious storage
    double initialInfiltrationRate{};     // in/h
    double finalInfiltrationRate{};       // in/h
    double infiltrationDecay{};           // 1/s
    int32_t disconnectionLevel{};
    double dcif{};       // given or defaulted, at most 1
    double rpf{};        // given or defaulted, at most 1
    double rpaShare{};   // share of the basin that receives the run-on
    double spaShare{};   // share of the basin that is separate pervious
    double runOnRatio{}; // UIA area per unit of RPA area; kept for completeness, read by no step
    ShapeParameters shape{};
    UnitHydrographSummary uh{};
    ConvolutionRing ring{};
    StepState step{}; // latest step, copied out whole by vesk_getbasin_precip
    HortonCarry infiltration{}; // Horton rates carried from step to step
};

// The record a basin input file is read into: a file that ends early still
// describes a basin of unit area and unit lengths.
inline BasinInput blankFileRecord() {
    BasinInput record{};
    record.area = 1.0;
    record.length = 1.0;
    record.centroidLength = 1.0;
    return record;
}

} // namespace vesk
