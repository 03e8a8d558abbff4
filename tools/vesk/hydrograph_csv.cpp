#include "hydrograph_csv.h"

#include "number_text.h"
#include "units.h"

namespace vesk::tool {

std::string csvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void writeHydrographCsv(std::ostream &out, const RunResult &result) {
    const bool si = result.units == UnitSystem::Si;
    out << (si ? "time_min,rain_mm" : "time_min,rain_in");
    for (const BasinRun &basin : result.basins) out << ',' << csvField(basin.name + (si ? "_m3s" : "_cfs"));
    // Several basins: the outlet column sums their outflows.
    const bool outlet = result.basins.size() > 1;
    if (outlet) out << (si ? ",outlet_m3s" : ",outlet_cfs");
    out << "\n0,0";
    for (std::size_t b = 0; b < result.basins.size() + (outlet ? 1 : 0); ++b) out << ",0";
    out << '\n';
    for (std::size_t k = 0; k < result.rain.size(); ++k) {
        out << (k + 1) * static_cast<std::size_t>(result.timeStep) << ','
            << exactText(fromLibraryUnits(result.rain[k], Quantity::Depth, result.units));
        double sum = 0.0;
        for (const BasinRun &basin : result.basins) {
            out << ',' << exactText(fromLibraryUnits(basin.outflow[k], Quantity::Flow, result.units));
            sum += basin.outflow[k];
        }
        if (outlet) out << ',' << exactText(fromLibraryUnits(sum, Quantity::Flow, result.units));
        out << '\n';
    }
}

void writeOrdinatesCsv(std::ostream &out, const std::string &name, int step, const std::vector<double> &ordinates,
                       UnitSystem units) {
    out << "time_min," << csvField(name + (units == UnitSystem::Si ? "_m3s_per_mm" : "_cfs_per_in")) << '\n';
    for (std::size_t i = 0; i < ordinates.size(); ++i)
        out << (i + 1) * static_cast<std::size_t>(step) << ','
            << exactText(fromLibraryUnits(ordinates[i], Quantity::UnitFlow, units)) << '\n';
}

} // namespace vesk::tool
