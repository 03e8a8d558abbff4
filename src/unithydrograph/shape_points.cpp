#include "unithydrograph/shape_points.h"

#include <cmath>

#include "unithydrograph/finite_values.h"

namespace vesk {

namespace {

// Time to peak in hours from the lag product L · Lc / √S.
double timeToPeakHours(const HydrographGeometry &g, double ct) {
    return ct * std::pow(g.length * g.centroidLength / std::sqrt(g.slope), 0.48);
}

// Acre-feet of one inch of runoff over the basin.
double unitRunoffVolume(double area, OperationOrder order) {
    if (order == OperationOrder::Earlier) return area * 53.33333333333333;
    return area * 640.0 / 12.0;
}

// The same inch in cfs × minutes.
double runoffVolumeInRateMinutes(double acreFeet, OperationOrder order) {
    if (order == OperationOrder::Earlier) return acreFeet * 726.0;
    return acreFeet / 60.0 * 43560.0;
}

// Both widths are derived from the unit peak rate unless both are given;
// likewise both rise fractions default together.
void fillWidthsAndFractions(ShapeParameters &shape, double unitPeakRate) {
    if (shape.width50 <= 0.0 || shape.width75 <= 0.0) {
        shape.width50 = 500.0 / unitPeakRate * 60.0;
        shape.width75 = 260.0 / unitPeakRate * 60.0;
    }
    if (shape.rise50Fraction <= 0.0 || shape.rise75Fraction <= 0.0) {
        shape.rise50Fraction = 0.35;
        shape.rise75Fraction = 0.45;
    }
}

} // namespace

ShapePoints shapePoints(const HydrographGeometry &geometry, ShapeParameters &shape,
                        UnitHydrographSummary &summary, OperationOrder order) {
    ShapePoints p;
    const double tp = timeToPeakHours(geometry, shape.ct);
    const double qp = 640.0 * shape.cp / tp;
    p.qPeak = qp * geometry.area;
    summary.unitPeakRate = qp;
    summary.uhPeakRate = p.qPeak;
    summary.unitRunoffVolume = unitRunoffVolume(geometry.area, order);
    p.tPeak = 60.0 * tp + 0.5 * shape.uhTimeStep;
    summary.uhPeakTime = p.tPeak;
    p.q75 = 0.75 * p.qPeak;
    p.q50 = 0.5 * p.qPeak;

    fillWidthsAndFractions(shape, qp);
    p.t50r = p.tPeak - shape.rise50Fraction * shape.width50;
    p.t75r = p.tPeak - shape.rise75Fraction * shape.width75;
    // The 50 % point may not come before 40 % of the time to peak: both
    // rising points move and the stored fractions follow them.
    if (0.4 * p.tPeak > p.t50r) {
        p.t50r = 0.4 * p.tPeak;
        p.t75r = 0.576 * p.tPeak;
        shape.rise50Fraction = (p.tPeak - p.t50r) / shape.width50;
        shape.rise75Fraction = (p.tPeak - p.t75r) / shape.width75;
    }
    p.t75f = p.t75r + shape.width75;
    p.t50f = p.t50r + shape.width50;
    p.volume = runoffVolumeInRateMinutes(summary.unitRunoffVolume, order);
    return p;
}

bool isFinite(const ShapePoints &p) {
    return allFinite({p.tPeak, p.qPeak, p.q75, p.q50, p.t50r, p.t75r, p.t75f, p.t50f, p.volume});
}

} // namespace vesk
