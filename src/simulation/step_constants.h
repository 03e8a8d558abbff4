// What a basin's step reads that depends on its parameters alone, formed
// once when the sub-areas are final instead of at every step.
#pragma once

#include "simulation/basin.h"

namespace vesk {

// Forms each sub-area's share of the basin (its area / the basin's area), the
// run-on ratio (UIA area / RPA area) and which sub-areas share a Horton carry:
// each points at the carry of the first sub-area, in stepping order, whose
// curve is the same bit for bit, a zero's sign included.  The quotients are
// the very ones the step used to form, so the step's bits do not change.
// Called once the sub-areas' parameters are final; they never change
// afterwards.
void formStepConstants(Basin &basin);

} // namespace vesk
