#include "basin_names.h"

namespace vesk::host {

const std::vector<std::string> &reservedBasinNames() {
    // The hydrograph CSV's own columns are time_min, rain_in or rain_mm and
    // outlet_cfs or outlet_m3s; events add event and start_min; results in
    // Python add time and storm.
    static const std::vector<std::string> names{"OUTLET", "TIME", "TIME_MIN", "RAIN_IN", "RAIN_MM",
                                                "EVENT", "START_MIN", "STORM"};
    return names;
}

std::string comparedName(std::string_view name) {
    std::string upper(name);
    for (char &c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return upper;
}

std::optional<std::string> basinNameFault(std::string_view name) {
    if (name.empty()) return "a basin name is required";
    if (name.size() > kMaxBasinNameBytes)
        return "the basin name is longer than " + std::to_string(kMaxBasinNameBytes) + " characters";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return "the basin name holds a control character (byte " + std::to_string(byte) +
                   "); names are printed on terminals and in files";
    }
    const std::string compared = comparedName(name);
    for (const std::string &reserved : reservedBasinNames())
        if (compared == reserved)
            return "the basin name '" + std::string(name) +
                   "' is taken by a column of the results (outlet, time, rain, event, storm); rename the basin";
    return std::nullopt;
}

} // namespace vesk::host
