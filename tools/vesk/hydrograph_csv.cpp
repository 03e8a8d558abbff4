#include "hydrograph_csv.h"

#include "number_text.h"

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
    out << "time_min,rain_in";
    for (const BasinRun &basin : result.basins) out << ',' << csvField(basin.name + "_cfs");
    out << "\n0,0";
    for (std::size_t b = 0; b < result.basins.size(); ++b) out << ",0";
    out << '\n';
    for (std::size_t k = 0; k < result.rain.size(); ++k) {
        out << (k + 1) * static_cast<std::size_t>(result.timeStep) << ',' << exactText(result.rain[k]);
        for (const BasinRun &basin : result.basins) out << ',' << exactText(basin.outflow[k]);
        out << '\n';
    }
}

} // namespace vesk::tool
