#include "design_storm.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "input_error.h"
#include "number_text.h"
#include "veskdll133.h"

namespace vesk::host {

namespace {

void checkOptions(const DesignStormOptions &o) {
    const IntensityRelation &r = o.relation;
    for (double value : {r.a, r.b, r.c, r.factor, o.peakPosition})
        if (!std::isfinite(value)) throw InputError("storm: every coefficient must be a finite number");
    if (o.step < 1 || o.duration < o.step || o.duration % o.step != 0)
        throw InputError("storm: --duration " + std::to_string(o.duration) + " min must be a whole number of --step " +
                         std::to_string(o.step) + "-minute steps");
    if (o.peakPosition < 0.0 || o.peakPosition > 1.0)
        throw InputError("storm: --peak-position takes 0 (first step) to 1 (last step), got " +
                         exactText(o.peakPosition));
}

// The blocks, deepest first, from the depths of 1..n steps.
std::vector<double> blocksDeepestFirst(const DesignStormOptions &o, std::size_t n) {
    std::vector<double> blocks;
    double before = 0.0;
    for (std::size_t k = 1; k <= n; ++k) {
        const double depth = durationDepth(o.relation, static_cast<int>(k) * o.step);
        if (!std::isfinite(depth) || depth < before)
            throw InputError("storm: the intensity relation gives " + exactText(depth) + " for " +
                             std::to_string(k * static_cast<std::size_t>(o.step)) + " min after " +
                             exactText(before) + " for one step less; the depth must be finite and never fall "
                             "as the duration grows");
        blocks.push_back(depth - before);
        before = depth;
    }
    std::stable_sort(blocks.begin(), blocks.end(), std::greater<double>());
    return blocks;
}

} // namespace

double durationDepth(const IntensityRelation &r, int minutes) {
    return vesk_calcIntensity(r.a, r.b, r.factor, minutes, r.c) * minutes / 60.0;
}

std::vector<double> designStorm(const DesignStormOptions &o) {
    checkOptions(o);
    const std::size_t n = static_cast<std::size_t>(o.duration / o.step);
    if (o.uniform) {
        const double total = durationDepth(o.relation, o.duration);
        if (!std::isfinite(total) || total < 0.0)
            throw InputError("storm: the intensity relation gives " + exactText(total) + " for the whole duration");
        return std::vector<double>(n, total / static_cast<double>(n));
    }
    const std::vector<double> blocks = blocksDeepestFirst(o, n);
    std::vector<double> depths(n, 0.0);
    const std::size_t peak = static_cast<std::size_t>(std::lround(o.peakPosition * static_cast<double>(n - 1)));
    depths[peak] = blocks[0];
    // Alternately after and before the peak; once one side is full, the other.
    std::size_t after = peak + 1, before = peak;
    bool next = true;
    for (std::size_t b = 1; b < n; ++b, next = !next) {
        const bool takeAfter = after < n && (next || before == 0);
        depths[takeAfter ? after++ : --before] = blocks[b];
    }
    return depths;
}

} // namespace vesk::host
