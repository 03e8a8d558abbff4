// The earlier level's effective imperviousness: only disconnection level 2
// counts less than the whole impervious area as effective, by the mean of the
// imperviousness and a banded straight line in it.
#include "earlier/impervious_fraction_tables.h"
#include "earlier/relations.h"
#include "relations/selector.h"

namespace vesk::earlier {

double eiaCoefficient(int32_t level, double imperviousPct, const char *key) {
    if (level != kEiaLevel) return 0.0;
    const char selector = selectorOf(key);
    const Band &band = bandOf(kEiaLines, imperviousPct);
    if (selector == 'a') return static_cast<double>(band.a);
    if (selector == 'b') return static_cast<double>(band.b);
    return 0.0;
}

double effectiveImperviousness(int32_t level, double imperviousPct) {
    if (level != kEiaLevel) return imperviousPct;
    const double a = eiaCoefficient(level, imperviousPct, "a");
    const double b = eiaCoefficient(level, imperviousPct, "b");
    return ((b + a * imperviousPct) + imperviousPct) * 0.5;
}

} // namespace vesk::earlier
