#include "preparation/area_partition.h"

#include "preparation/parameter_defaults.h"
#include "relations/impervious_fractions.h"
#include "simulation/step_constants.h"
#include "simulation/step_minutes.h"

namespace vesk {

namespace {

// A fraction of a part of the basin snaps to 0 when its share of that part
// is below the floor, to 1 when the rest of the part is.  This also brings a
// fraction below 0 or above 1 to 0 or 1.  What snapping changes is written
// back; a fraction the host asked the library to derive is written back only
// when snapping changes the derived value, so the host's request otherwise
// stays in its record.
void snapFraction(double part, double &fraction, double &callerFraction, bool derived) {
    const double worked = fraction;
    if (part * fraction < kFractionFloor)
        fraction = 0.0;
    else if (part * (1.0 - fraction) < kFractionFloor)
        fraction = 1.0;
    else
        return;
    if (!derived || fraction != worked) callerFraction = fraction;
}

// The imperviousness the partition works with: 0 when the impervious part
// is below the floor, 100 when the pervious part is, else as given.
double partitionedImperviousPct(double area, double imperviousPct) {
    if (area * imperviousPct / 100.0 < kFractionFloor) return 0.0;
    if (area * (1.0 - imperviousPct / 100.0) < kFractionFloor) return 100.0;
    return imperviousPct;
}

// A negative fraction asks for the relation's value.  It is taken at the
// imperviousness the partition will use, before the partition, so the
// sub-areas are split by the derived fractions rather than by a request
// snapped to 0.  The DCIF relation is read at level 1 or 2 when the basin
// says so and at level 0 otherwise; the RPF relation takes the level as
// stored, as the defaults step does.
double requestedDcif(const BasinInput &record, double imperviousPct) {
    if (!(record.dcif < 0.0)) return record.dcif;
    return dcifRelation(dcifTableLevel(record.disconnectionLevel), imperviousPct);
}

double requestedRpf(const BasinInput &record, double imperviousPct) {
    if (!(record.rpf < 0.0)) return record.rpf;
    return rpfRelation(record.disconnectionLevel, imperviousPct);
}

// The imperviousness with its fractions after snapping.
struct Split {
    double imperviousPct, dcif, rpf;
};

Split snappedSplit(BasinInput &record) {
    const double area = record.area;
    const double imperviousPct = partitionedImperviousPct(area, record.imperviousPct);
    const bool derivedRpf = record.rpf < 0.0;
    Split s{record.imperviousPct, requestedDcif(record, imperviousPct), requestedRpf(record, imperviousPct)};
    if (area * s.imperviousPct / 100.0 < kFractionFloor) {
        // No impervious part.  The pervious part is the whole basin: its
        // fraction is snapped as any other, so RPA and SPA stay within it.
        s.imperviousPct = record.imperviousPct = 0.0;
        s.dcif = record.dcif = 0.0;
        snapFraction(area * (1.0 - s.imperviousPct / 100.0), s.rpf, record.rpf, derivedRpf);
    } else if (area * (1.0 - s.imperviousPct / 100.0) < kFractionFloor) {
        // No pervious part: rpf splits nothing.
        s.imperviousPct = record.imperviousPct = 100.0;
        s.dcif = record.dcif = 1.0;
    } else {
        const bool derivedDcif = record.dcif < 0.0;
        snapFraction(area * s.imperviousPct / 100.0, s.dcif, record.dcif, derivedDcif);
        snapFraction(area * (1.0 - s.imperviousPct / 100.0), s.rpf, record.rpf, derivedRpf);
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
    formStepConstants(basin);
}

} // namespace vesk
