#include "relations/impervious_fractions.h"

#include "base/common_records.h"
#include "relations/impervious_fraction_tables.h"
#include "relations/selector.h"

namespace vesk {

namespace {

// Band 0..9 of imperviousPct, or -1 outside 0..100 (NaN included).  A value
// on a band edge belongs to the upper band; 100 itself to the last band.
int fractionBand(double imperviousPct) {
    if (imperviousPct < 0.0) return -1;
    for (int band = 0; band < kFractionBands - 1; ++band) {
        if (imperviousPct < 10.0 * (band + 1)) return band;
    }
    if (imperviousPct <= 100.0) return kFractionBands - 1;
    return -1;
}

double tableCoefficient(const FractionTable &table, int32_t level, double imperviousPct,
                        const char *key) {
    const char column = selectorOf(key);
    if (column != 'a' && column != 'b') return 0.0;
    if (level < 0 || level >= kDisconnectionLevels) return 0.0;
    const int band = fractionBand(imperviousPct);
    if (band < 0) return 0.0;
    const FractionLine &line = table[band][level];
    return static_cast<double>(column == 'a' ? line.a : line.b);
}

// The floor also catches a value that is not a number, which an infinite
// imperviousness produces (inf * 0): outside the table means the floor.
double atLeastFloor(double value) { return value >= kFractionFloor ? value : kFractionFloor; }

double fractionRelation(const FractionTable &table, int32_t level, double imperviousPct) {
    const double a = tableCoefficient(table, level, imperviousPct, "a");
    const double b = tableCoefficient(table, level, imperviousPct, "b");
    return atLeastFloor(b + (imperviousPct / 100.0) * a);
}

} // namespace

double dcifCoefficient(int32_t level, double imperviousPct, const char *key) {
    return tableCoefficient(kDcifTable, level, imperviousPct, key);
}

double rpfCoefficient(int32_t level, double imperviousPct, const char *key) {
    return tableCoefficient(kRpfTable, level, imperviousPct, key);
}

double dcifRelation(int32_t level, double imperviousPct) {
    return fractionRelation(kDcifTable, level, imperviousPct);
}

double rpfRelation(int32_t level, double imperviousPct) {
    return fractionRelation(kRpfTable, level, imperviousPct);
}

double complementFraction(double fraction) {
    const double value = 1.0 - fraction;
    return value < kFractionFloor ? kFractionFloor : value;
}

} // namespace vesk
