// Conveyance coefficient from the imperviousness.
#pragma once

namespace vesk {

// Rising along two straight lines up to 40 %, 20 up to 100 %, and 0 outside
// 0 to below 100 % (also for an imperviousness that is not a number).
double conveyanceCoefficient(double imperviousPct);

} // namespace vesk
