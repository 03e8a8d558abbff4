// The storm-file reader (the host core's, behind vesk and Python): any bytes
// as a storm file or storm set, read in inches, in millimetres or in the
// unit its header names, with gaps refused or filled.  A storm the reader
// accepts must be one a run can take: depths finite and from 0 to the
// per-step bound, a whole-minute step within the longest run, the steps
// ending within that run, a dated record's dates within years 1 to 9999,
// filled steps dry and counted within the storm, and resampling to finer or
// coarser steps keeping the total depth and the start.
//
// First byte: 'u' inches, 's' millimetres, '-' the header's unit, 'g' the
// header's unit with gaps filled, 'm' a storm set with gaps filled.
#include <cmath>
#include <optional>

#include "civil_time.h"
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
    if (storm.filledSteps() >= storm.depths.size()) fuzz::broken("more filled steps than rows", storm.filledSteps());
}

void checkSteps(const Storm &storm) {
    if (storm.stepMinutes < 0 || storm.stepMinutes > vesk::host::kMaxRunMinutes)
        fuzz::broken("accepted step outside 0 to the longest run", storm.stepMinutes);
    const double minutes = static_cast<double>(storm.depths.size()) * storm.stepMinutes;
    if (minutes > vesk::host::kMaxRunMinutes) fuzz::broken("accepted storm ends beyond the longest run", minutes);
    if (storm.start) {
        if (storm.stepMinutes < 1) fuzz::broken("a dated storm without a step");
        if (!vesk::host::civilMinuteInRange(*storm.start) ||
            !vesk::host::civilMinuteInRange(*storm.start + static_cast<long long>(minutes)))
            fuzz::broken("a dated storm outside the years 1 to 9999", static_cast<double>(*storm.start));
    }
}

// Split into steps of one minute and summed into steps three times as long:
// the same rain, to rounding, from the same start.
void checkResampling(const Storm &storm) {
    if (storm.stepMinutes == 0 || storm.depths.size() * static_cast<std::size_t>(storm.stepMinutes) > 100000) return;
    const double before = total(storm);
    for (int step : {1, storm.stepMinutes * 3}) {
        const Storm resampled = vesk::host::resampled(storm, step);
        const double after = total(resampled);
        if (std::fabs(after - before) > 1e-9 * (1.0 + before)) fuzz::broken("resampling changed the total depth", after);
        if (resampled.stepMinutes != step) fuzz::broken("resampling kept the wrong step", resampled.stepMinutes);
        if (resampled.start != storm.start) fuzz::broken("resampling moved the start");
    }
}

void check(const Storm &storm) {
    checkDepths(storm);
    checkSteps(storm);
    checkResampling(storm);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    if (size == 0) return 0;
    const int chosen = fuzz::mode(bytes[0], "us-gm", 5);
    vesk::host::StormReading reading;
    if (chosen == 0) reading.units = UnitSystem::Us;
    if (chosen == 1) reading.units = UnitSystem::Si;
    if (chosen >= 3) reading.gaps = vesk::host::GapRule::Zero;
    const std::string path = fuzz::scratchFile("storm", ".csv", bytes + 1, size - 1);
    vesk::host::StormSet set;
    try {
        if (chosen == 4) set = vesk::host::readStorms(path, reading);
        else set.storms.push_back({"", vesk::host::readStorm(path, reading)});
    } catch (const vesk::host::InputError &) {
        return 0; // refused with a message: what a faulty file should get
    }
    if (set.storms.empty()) fuzz::broken("a storm set without storms was accepted");
    for (const vesk::host::NamedStorm &named : set.storms) {
        if (set.named && vesk::host::stormNameFault(named.name)) fuzz::broken("a storm with a faulty name");
        if (reading.units && named.storm.units != *reading.units)
            fuzz::broken("the storm was read in another unit than asked for");
        if (reading.gaps == vesk::host::GapRule::Refuse && !named.storm.gaps.empty())
            fuzz::broken("a gap was filled without being asked to");
        check(named.storm);
    }
    return 0;
}
