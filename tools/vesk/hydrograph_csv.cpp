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
    out << "\n0,0";
    for (std::size_t b = 0; b < result.basins.size(); ++b) out << ",0";
    out << '\n';
    for (std::size_t k = 0; k < result.rain.size(); ++k) {
        out << (k + 1) * static_cast<std::size_t>(result.timeStep) << ','
            << exactText(fromLibraryUnits(result.rain[k], Quantity::Depth, result.units));
        for (const BasinRun &basin : result.basins)
            out << ',' << exactText(fromLibraryUnits(basin.outflow[k], Quantity::Flow, result.units));
        out << '\n';
    }
}

} // namespace vesk::tool
