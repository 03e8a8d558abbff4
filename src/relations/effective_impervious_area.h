// Effective impervious area: all of the directly connected impervious area
// plus the share of the unconnected impervious area whose runoff survives the
// receiving pervious area, in percent of the basin.
#pragma once

namespace vesk {

// 0 below the fraction floor of imperviousness, 100 within the floor of
// 100 %; dcif and rpf are kept strictly inside (0, 1) first.  The surviving
// share falls with the receiving share and with infiltration / rainfall.
double effectiveImperviousArea(double dcif, double rpf, double imperviousPct, double rainfall,
                               double infiltration);

} // namespace vesk
