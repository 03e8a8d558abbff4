// Design storms from the library's rainfall-intensity relation
// i = factor * a / (b + t)^c (vesk_calcIntensity(a, b, factor, t, c)), with t
// the duration in minutes and i in the depth unit per hour.  The depth of a
// duration is i * t / 60; the alternating-block method turns the depths of
// 1, 2, ... n steps into n blocks and places the deepest at a chosen position,
// the next ones alternately after and before it.
#pragma once

#include <string>
#include <vector>

namespace vesk::host {

struct IntensityRelation {
    double a = 0.0;      // depth per hour x min^c
    double b = 0.0;      // min
    double c = 0.0;      // exponent
    double factor = 1.0; // e.g. a return-period factor
};

struct DesignStormOptions {
    IntensityRelation relation;
    int duration = 0;            // min
    int step = 0;                // min, divides duration
    double peakPosition = 0.5;   // 0 (first step) to 1 (last step)
    bool uniform = false;        // the whole depth spread evenly instead
};

// Depth (in the relation's unit) of rain lasting `minutes`.
double durationDepth(const IntensityRelation &relation, int minutes);

// The storm's depth per step.  Throws InputError for inconsistent options or
// a relation that gives no finite, non-decreasing depth.
std::vector<double> designStorm(const DesignStormOptions &options);

} // namespace vesk::host
