// The earlier level's DCIF and RPF relations: straight lines in the
// imperviousness, one to three bands per disconnection level, no floor.
#include "earlier/impervious_fraction_tables.h"
#include "earlier/relations.h"
#include "relations/selector.h"

namespace vesk::earlier {

namespace {

// The key is looked at before the level: a wrong key gives 0 whatever else.
double lineCoefficient(const BandedLines (&table)[kEarlierLevels], int32_t level,
                       double imperviousPct, const char *key) {
    const char selector = selectorOf(key);
    if (selector != 'a' && selector != 'b') return 0.0;
    if (level < 0 || level >= kEarlierLevels) return 0.0;
    const Band &band = bandOf(table[level], imperviousPct);
    return selector == 'a' ? static_cast<double>(band.a) : static_cast<double>(band.b);
}

// Multiplied by 0.01 rather than divided by 100: the last bits follow that.
double lineValue(double a, double b, double imperviousPct) { return b + imperviousPct * 0.01 * a; }

} // namespace

double dcifCoefficient(int32_t level, double imperviousPct, const char *key) {
    return lineCoefficient(kDcifLines, level, imperviousPct, key);
}

double rpfCoefficient(int32_t level, double imperviousPct, const char *key) {
    return lineCoefficient(kRpfLines, level, imperviousPct, key);
}

double dcifRelation(int32_t level, double imperviousPct) {
    return lineValue(dcifCoefficient(level, imperviousPct, "a"), dcifCoefficient(level, imperviousPct, "b"),
                     imperviousPct);
}

double rpfRelation(int32_t level, double imperviousPct) {
    return lineValue(rpfCoefficient(level, imperviousPct, "a"), rpfCoefficient(level, imperviousPct, "b"),
                     imperviousPct);
}

} // namespace vesk::earlier
