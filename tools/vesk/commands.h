// The three commands of the vesk program, each returning the exit status.
// Faults are printed to `err` as "vesk: ..." lines; results go to `out`.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "storm_run.h"

namespace vesk::tool {

using namespace vesk::host;

inline constexpr int kExitOk = 0;
inline constexpr int kExitInputError = 1;   // the user's files or arguments
inline constexpr int kExitLibraryError = 2; // the library refused
inline constexpr int kExitUsage = 3;        // a malformed command line

struct RunCommand {
    std::vector<std::string> basinFiles; // positional basin files or basin tables (.csv)
    std::vector<std::string> stormFiles; // storm files or storm sets; several storms run one after another
    std::string fillGaps;  // "zero" to fill gaps with dry steps; empty: gaps refused
    std::string timeStep; // minutes as typed; empty: the storm's own step
    std::string duration; // minutes as typed; empty: until every outflow is back to 0
    std::string units;    // "us", "si" or empty (US, unless the storm names its unit)
    std::string csvFile;  // empty: no CSV
    std::string plotFile; // empty: no SVG
    std::string summaryFile; // empty: none; .json: JSON, else CSV
    std::string reportFile;  // empty: none; the run as a self-contained HTML report
    std::vector<std::string> commandWords; // the command line as typed, for the report
    bool exact = false;      // print every digit instead of six significant ones
    std::string events;      // hours of a dry spell that splits the record into events; empty: one run
    std::string reportStep;  // minutes between reported values, dividing the data step; empty: the data step
    std::string volumeTolerance; // percent; empty: 2
};

struct UhCommand {
    std::vector<std::string> basinFiles; // basin files or tables, in any mix
    std::string csvFile; // empty: none; the ordinates as CSV
    std::string timeStep; // empty: the basin's uhTimeStep
    std::string units;
};

struct StormCommand {
    std::string a, b, c, factor;        // the intensity relation, as typed (factor empty: 1)
    std::vector<std::string> durations; // minutes, as typed; several make a batch
    std::string step;                   // minutes, as typed
    std::string peakPosition;           // empty: 0.5
    bool uniform = false;
    std::string units;
    std::string idf;                        // an IDF table: one relation per return period
    std::vector<std::string> returnPeriods; // years, as typed
    std::string distribution;  // a distribution's name (built in, or in `distributions`)
    std::string distributions; // a CSV of cumulative fractions; empty: the built-in ones
    std::string depth;         // the total depth a distribution is scaled to
    std::string out;           // empty or "-": standard output
    std::string outDir;        // one file per storm in this folder
};

struct CheckCommand {
    std::vector<std::string> basinFiles; // basin files or tables
    std::string stormFile;               // empty: none
    std::string units;
    std::string fillGaps;
};

int stormCommand(const StormCommand &command, std::ostream &out, std::ostream &err);
int checkCommand(const CheckCommand &command, std::ostream &out, std::ostream &err);
int runCommand(const RunCommand &command, std::ostream &out, std::ostream &err);
int unitHydrographCommand(const UhCommand &command, std::ostream &out, std::ostream &err);
int calcCommand(const std::vector<std::string> &words, bool list, std::ostream &out, std::ostream &err);

} // namespace vesk::tool
