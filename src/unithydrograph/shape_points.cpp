#include "unithydrograph/shape_points.h"

#include <cmath>

#include "base/elementary_functions.h"
#include "base/finite_values.h"

namespace vesk {

namespace {

constexpr double kMinutesPerHour = 60.0;
constexpr double kAcresPerSquareMile = 640.0;
constexpr double kInchesPerFoot = 12.0;
constexpr double kSquareFeetPerAcre = 43560.0;
// The earlier level writes two of the conversions as one rounded number:
// acre-ft of an inch per sq mi (640 / 12) and cfs × min per acre-ft
// (43560 / 60).
constexpr double kEarlierAcreFeetPerInchSquareMile = 53.33333333333333;
constexpr double kEarlierRateMinutesPerAcreFoot = 726.0;

// Exponent of the lag product in the time to peak (hours).
constexpr double kLagExponent = 0.48;
// Unit peak rate (cfs per sq mi) = this · cp / tp (h): an inch per hour over
// the 640 acres of a square mile is about 640 cfs.
constexpr double kPeakRateFactor = kAcresPerSquareMile;
// Widths at 50 % and 75 % of the peak, in hours, as these numbers over the
// unit peak rate (cfs per sq mi).
constexpr double kWidth50Factor = 500.0;
constexpr double kWidth75Factor = 260.0;
// Shares of the widths that lie before the peak, unless the host gives both.
constexpr double kDefaultRise50Fraction = 0.35;
constexpr double kDefaultRise75Fraction = 0.45;
// The 50 % point may not come before this share of the time to peak; the
// 75 % point then moves to the second share.
constexpr double kEarliestRise50Share = 0.4;
constexpr double kMovedRise75Share = 0.576;
constexpr double kPeak75Share = 0.75;
constexpr double kPeak50Share = 0.5;

// Time to peak in hours from the lag product L · Lc / √S (mi², ft/ft).
double timeToPeakHours(const HydrographGeometry &g, double ct) {
    return ct * correctlyRoundedPow(g.length * g.centroidLength / std::sqrt(g.slope), kLagExponent);
}

// Acre-feet of one inch of runoff over the basin.
double unitRunoffVolume(double area, OperationOrder order) {
    if (order == OperationOrder::Earlier) return area * kEarlierAcreFeetPerInchSquareMile;
    return area * kAcresPerSquareMile / kInchesPerFoot;
}

// The same inch in cfs × minutes.
double runoffVolumeInRateMinutes(double acreFeet, OperationOrder order) {
    if (order == OperationOrder::Earlier) return acreFeet * kEarlierRateMinutesPerAcreFoot;
    return acreFeet / kMinutesPerHour * kSquareFeetPerAcre;
}

// Both widths (min) are derived from the unit peak rate unless both are
// given; likewise both rise fractions default together.
void fillWidthsAndFractions(ShapeParameters &shape, double unitPeakRate) {
    if (shape.width50 <= 0.0 || shape.width75 <= 0.0) {
        shape.width50 = kWidth50Factor / unitPeakRate * kMinutesPerHour;
        shape.width75 = kWidth75Factor / unitPeakRate * kMinutesPerHour;
    }
    if (shape.rise50Fraction <= 0.0 || shape.rise75Fraction <= 0.0) {
        shape.rise50Fraction = kDefaultRise50Fraction;
        shape.rise75Fraction = kDefaultRise75Fraction;
    }
}

} // namespace

ShapePoints shapePoints(const HydrographGeometry &geometry, ShapeParameters &shape,
                        UnitHydrographSummary &summary, OperationOrder order) {
    ShapePoints p;
    const double tp = timeToPeakHours(geometry, shape.ct);
    const double qp = kPeakRateFactor * shape.cp / tp;
    p.qPeak = qp * geometry.area;
    summary.unitPeakRate = qp;
    summary.uhPeakRate = p.qPeak;
    summary.unitRunoffVolume = unitRunoffVolume(geometry.area, order);
    // The peak time counts from the start of the unit rain: half a step on.
    p.tPeak = kMinutesPerHour * tp + 0.5 * shape.uhTimeStep;
    summary.uhPeakTime = p.tPeak;
    p.q75 = kPeak75Share * p.qPeak;
    p.q50 = kPeak50Share * p.qPeak;

    fillWidthsAndFractions(shape, qp);
    p.t50r = p.tPeak - shape.rise50Fraction * shape.width50;
    p.t75r = p.tPeak - shape.rise75Fraction * shape.width75;
    // The 50 % point may not come before 40 % of the time to peak: both
    // rising points move and the stored fractions follow them.
    if (kEarliestRise50Share * p.tPeak > p.t50r) {
        p.t50r = kEarliestRise50Share * p.tPeak;
        p.t75r = kMovedRise75Share * p.tPeak;
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
