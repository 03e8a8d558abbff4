// vesk's storm-file reader: any bytes as a storm file, read in inches, in
// millimetres or in the unit its header names.  A storm the reader accepts
// must be one vesk can run: depths finite and from 0 to the per-step bound,
// a whole-minute step within the longest run, the steps ending within that
// run, and resampling to finer or coarser steps keeping the total depth.
//
// First byte: 'u' inches, 's' millimetres, '-' no unit asked for.
#include <cmath>
#include <optional>

#include "input_error.h"
#include "storm_file.h"
#include "tool_fuzz_support.h"

namespace {

using vesk::host::Storm;
using vesk::host::UnitSystem;

double total(const Storm &storm) {
    double sum = 0.0;
    for (double depth : storm.depths) sum += depth;
    return sum;
}

void checkDepths(const Storm &storm) {
    if (storm.depths.empty()) fuzz::broken("a storm without depths was accepted");
    for (double depth : storm.depths)
        if (!std::isfinite(depth) || depth < 0.0 || depth > vesk::host::kMaxStepDepthInches)
            fuzz::broken("accepted depth outside 0 to the per-step bound", depth);
}

void checkSteps(const Storm &storm) {
    if (storm.stepMinutes < 0 || storm.stepMinutes > vesk::host::kMaxRunMinutes)
        fuzz::broken("accepted step outside 0 to the longest run", storm.stepMinutes);
    const double minutes = static_cast<double>(storm.depths.size()) * storm.stepMinutes;
    if (minutes > vesk::host::kMaxRunMinutes) fuzz::broken("accepted storm ends beyond the longest run", minutes);
}

// Split into steps of one minute and summed into steps three times as long:
// the same rain, to rounding.
void checkResampling(const Storm &storm) {
    if (storm.stepMinutes == 0 || storm.depths.size() * static_cast<std::size_t>(storm.stepMinutes) > 100000) return;
    const double before = total(storm);
    for (int step : {1, storm.stepMinutes * 3}) {
        const Storm resampled = vesk::host::resampled(storm, step);
        const double after = total(resampled);
        if (std::fabs(after - before) > 1e-9 * (1.0 + before)) fuzz::broken("resampling changed the total depth", after);
        if (resampled.stepMinutes != step) fuzz::broken("resampling kept the wrong step", resampled.stepMinutes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    if (size == 0) return 0;
    const int chosen = fuzz::mode(bytes[0], "us-", 3);
    const std::optional<UnitSystem> units =
        chosen == 0 ? std::optional(UnitSystem::Us) : chosen == 1 ? std::optional(UnitSystem::Si) : std::nullopt;
    const std::string path = fuzz::scratchFile("storm", ".csv", bytes + 1, size - 1);
    Storm storm;
    try {
        storm = vesk::host::readStorm(path, units);
    } catch (const vesk::host::InputError &) {
        return 0; // refused with a message: what a faulty file should get
    }
    if (units && storm.units != *units) fuzz::broken("the storm was read in another unit than asked for");
    checkDepths(storm);
    checkSteps(storm);
    checkResampling(storm);
    return 0;
}
