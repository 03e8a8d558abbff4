#include "preparation/parameter_defaults.h"

#include "relations/impervious_fractions.h"
#include "relations/peaking_coefficients.h"
#include "relations/peaking_tables.h"

namespace vesk {

namespace {

// A given fraction (0 or more) is at least the floor.
double raisedToFloor(double fraction) { return fraction < kFractionFloor ? kFractionFloor : fraction; }

} // namespace

int32_t dcifTableLevel(int32_t disconnectionLevel) {
    return disconnectionLevel == 1 || disconnectionLevel == 2 ? disconnectionLevel : 0;
}

void applyParameterDefaults(Basin &basin) {
    // A negative fraction asks for the relation.  The RPF relation takes the
    // level as stored (outside 0..2 it gives its floor).
    basin.dcif = basin.dcif < 0.0
                     ? dcifRelation(dcifTableLevel(basin.disconnectionLevel), basin.imperviousPct)
                     : raisedToFloor(basin.dcif);
    basin.rpf = basin.rpf < 0.0 ? rpfRelation(basin.disconnectionLevel, basin.imperviousPct)
                                : raisedToFloor(basin.rpf);
    if (basin.dcif > 1.0) basin.dcif = 1.0;
    if (basin.rpf > 1.0) basin.rpf = 1.0;

    ShapeParameters &shape = basin.shape;
    if (shape.ct <= 0.0)
        shape.ct = smallAreaCorrectedCt(ctFromImperviousness(basin.imperviousPct), basin.area);
    if (shape.cp <= 0.0) shape.cp = peakCoefficient(basin.imperviousPct, basin.area, shape.ct);
}

} // namespace vesk
