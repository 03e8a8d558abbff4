// Design storms.  From the library's rainfall-intensity relation
// i = factor * a / (b + t)^c (vesk_calcIntensity(a, b, factor, t, c)), with t
// the duration in minutes and i in the depth unit per hour: the depth of a
// duration is i * t / 60, and the alternating-block method turns the depths
// of 1, 2, ... n steps into n blocks and places the deepest at a chosen
// position, the next ones alternately after and before it.  An IDF table
// holds one relation per return period.  From a dimensionless distribution
// (cumulative fractions of the total depth over time): the fractions are
// interpolated linearly to the end of each step and scaled to a total depth.
//
// Every generated storm is one a run takes: finite depths, no step above
// kMaxStepDepthInches; a relation whose depth falls, or whose mean intensity
// rises, as the duration grows is refused.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "storm_file.h"
#include "units.h"

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
    UnitSystem units = UnitSystem::Us; // of the relation's depths (in or mm)
    std::string origin = "storm";      // names the relation in messages
};

// Depth (in the relation's unit) of rain lasting `minutes`.
double durationDepth(const IntensityRelation &relation, int minutes);

// The storm's depth per step, in the relation's unit.  Throws InputError for
// inconsistent options or a relation that gives no finite, non-decreasing
// depth, a mean intensity that rises with the duration, or a step beyond
// what a run takes.
std::vector<double> designStorm(const DesignStormOptions &options);

// An intensity-duration-frequency table: one relation per return period,
// read from CSV with the header return_period_yr, a_in_h (or a_mm_h), b_min,
// c in any order.
struct IdfRow {
    double returnPeriod = 0.0; // years
    IntensityRelation relation;
    int line = 0;
};

struct IdfTable {
    std::string path;
    UnitSystem units = UnitSystem::Us; // of a: in/h or mm/h
    std::vector<IdfRow> rows;          // in the file's order
};

IdfTable readIdfTable(const std::string &path);
IdfTable parseIdfTableText(const std::string &text, const std::string &path);

// A dimensionless distribution: cumulative fractions of the total depth at
// given minutes from its start, from 0 at minute 0 to 1 at its end.
struct Distribution {
    std::string name;
    std::vector<double> minutes;
    std::vector<double> fractions;
    int duration() const { return static_cast<int>(minutes.back()); }
};

// Distributions from CSV: a first column hour or minute, then one column of
// cumulative fractions per distribution, named in the header.
std::vector<Distribution> readDistributions(const std::string &path);
std::vector<Distribution> parseDistributionsText(const std::string &text, const std::string &path);

// The NRCS 24-hour distributions built in: nrcs_type_I and nrcs_type_II.
const std::vector<Distribution> &builtInDistributions();

// The distribution named `name` (ASCII letter case ignored); throws
// InputError listing the names there are.
const Distribution &findDistribution(const std::vector<Distribution> &distributions, const std::string &name,
                                     const std::string &origin);

// The cumulative fraction at `minute`, on the straight line between the
// distribution's points.
double cumulativeFraction(const Distribution &distribution, double minute);

// `depth` (in `units`) spread over the distribution's duration in steps of
// `step` minutes (dividing it): each step gets depth times the growth of the
// interpolated fraction over it.
std::vector<double> distributionStorm(const Distribution &distribution, double depth, int step, UnitSystem units);

// A generated storm with its name, its depths in the unit it was asked in.
struct DesignStorm {
    std::string name;
    int step = 0;
    UnitSystem units = UnitSystem::Us;
    std::vector<double> depths;
};

// "10yr_120min": the name of the storm of a return period and duration.
std::string designStormName(double returnPeriod, int duration);

// The storm of every return period and duration (return periods outer),
// from the table's relations times `factor`, each checked as designStorm
// checks; a return period the table does not hold is refused.
std::vector<DesignStorm> idfStorms(const IdfTable &table, const std::vector<double> &returnPeriods,
                                   const std::vector<int> &durations, int step, double peakPosition, bool uniform,
                                   double factor = 1.0);

// The storm in inches, as a run takes it; `origin` names it in messages.
Storm stormOf(const DesignStorm &storm, const std::string &origin);

// A storm file: "time_min,depth_in" (depth_mm) and one row per step.
void writeStormCsv(std::ostream &out, const DesignStorm &storm);
// A storm set: "storm,time_min,depth_in" and the rows of each storm in turn.
void writeStormSetCsv(std::ostream &out, const std::vector<DesignStorm> &storms);

} // namespace vesk::host
