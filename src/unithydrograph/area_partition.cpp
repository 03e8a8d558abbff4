#include "unithydrograph/area_partition.h"

#include "simulation/step_minutes.h"

namespace vesk {

namespace {

// A fraction of a part of the basin snaps to 0 when its share of that part
// is below the floor, to 1 when the rest of the part is, and the snapped
// value is written back (writing an unchanged 0 or 1 changes nothing).  This
// also brings a fraction below 0 or above 1 to 0 or 1.
void snapFraction(double part, double &fraction, double &callerFraction) {
    if (part * fraction < kFractionFloor)
        fraction = callerFraction = 0.0;
    else if (part * (1.0 - fraction) < kFractionFloor)
        fraction = callerFraction = 1.0;
}

// The imperviousness with its fractions after snapping.
struct Split {
    double imperviousPct, dcif, rpf;
};

Split snappedSplit(BasinInput &record) {
    const double area = record.area;
    Split s{record.imperviousPct, record.dcif, record.rpf};
    if (area * s.imperviousPct / 100.0 < kFractionFloor) {
        // No impervious part.  The pervious part is the whole basin: its
        // fraction is snapped as any other, so RPA and SPA stay within it.
        s.imperviousPct = record.imperviousPct = 0.0;
        s.dcif = record.dcif = 0.0;
        snapFraction(area * (1.0 - s.imperviousPct / 100.0), s.rpf, record.rpf);
    } else if (area * (1.0 - s.imperviousPct / 100.0) < kFractionFloor) {
        // No pervious part: rpf splits nothing.
        s.imperviousPct = record.imperviousPct = 100.0;
        s.dcif = record.dcif = 1.0;
    } else {
        snapFraction(area * s.imperviousPct / 100.0, s.dcif, record.dcif);
        snapFraction(area * (1.0 - s.imperviousPct / 100.0), s.rpf, record.rpf);
    }
    return s;
}

SubArea imperviousSubArea(double area, const BasinInput &record) {
    SubArea sub;
    sub.area = area;
    sub.maxDepressionStorage = record.imperviousDepressionStorage;
    sub.excessLossPercent = 5.0;
    return sub;
}

SubArea perviousSubArea(double area, const BasinInput &record) {
    SubArea sub;
    sub.area = area;
    sub.initialInfiltrationRate = record.initialInfiltrationRate;
    sub.finalInfiltrationRate = record.finalInfiltrationRate;
    sub.infiltrationDecay = record.infiltrationDecay;
    sub.maxDepressionStorage = record.perviousDepressionStorage;
    return sub;
}

} // namespace

void partitionArea(BasinInput &record, Basin &basin) {
    const Split split = snappedSplit(record);

    basin.area = record.area;
    basin.length = record.length;
    basin.centroidLength = record.centroidLength;
    basin.imperviousPct = split.imperviousPct;
    basin.eiaPct = record.eiaPct;
    basin.slope = record.slope;
    basin.disconnectionLevel = record.disconnectionLevel;
    basin.dcif = split.dcif;
    basin.rpf = split.rpf;
    basin.shape = record.shape;
    basin.precip.timeStep = wholeMinutes(record.timeStep);

    const double impervious = basin.area * basin.imperviousPct / 100.0;
    const double pervious = (1.0 - basin.imperviousPct / 100.0) * basin.area;
    basin.dcia = imperviousSubArea(basin.dcif * impervious, record);
    basin.uia = imperviousSubArea((1.0 - basin.dcif) * impervious, record);
    basin.rpa = perviousSubArea(basin.rpf * pervious, record);
    basin.spa = perviousSubArea((1.0 - basin.rpf) * pervious, record);
}

} // namespace vesk
