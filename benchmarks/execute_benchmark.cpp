// One step of a stored basin through vesk_execute (lookup included) against
// the bare kernel (loss step and ring convolution called on the same basin),
// and vesk_execute over registries of 1, 1000 and 10000 basins.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frame/basin_registry.h"
#include "frame/library_state.h"
#include "simulation/basin_loss_step.h"
#include "simulation/ring_convolution.h"
#include "veskdll133.h"

namespace {

// A half-impervious square mile with a 19-ordinate unit hydrograph.  Steps of
// one minute keep the int32 clock far from its end for any iteration count.
BasinInput suburbanRecord() {
    BasinInput r{};
    r.area = 1.0;
    r.length = 2.0;
    r.centroidLength = 1.0;
    r.imperviousPct = 50.0;
    r.slope = 0.02;
    r.timeStep = 5.0;
    r.perviousDepressionStorage = 0.35;
    r.imperviousDepressionStorage = 0.1;
    r.initialInfiltrationRate = 3.0;
    r.finalInfiltrationRate = 0.5;
    r.infiltrationDecay = 0.0018;
    r.disconnectionLevel = 1;
    r.dcif = -1.0;
    r.rpf = -1.0;
    r.shape.uhTimeStep = 5;
    return r;
}

std::string basinName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "B-%04d", number);
    return name;
}

// A fresh, confirmed library holding `count` basins "B-0001" ... .
std::vector<std::string> openWithBasins(int count) {
    vesk_free();
    vesk_open();
    const VersionStamp stamp{1, 3, 6, 3};
    vesk_checkversion(&stamp);
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(basinName(i));
        BasinInput record = suburbanRecord();
        vesk_addbasin(&record, names.back().c_str());
    }
    return names;
}

constexpr double kRain = 0.05; // inches per five-minute step: a steady rain

void ExecuteOneStep(benchmark::State &state) {
    openWithBasins(1);
    int32_t target = 0;
    for (auto _ : state) benchmark::DoNotOptimize(vesk_execute("B-0001", kRain, target += 5));
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused the basin");
    vesk_free();
}
BENCHMARK(ExecuteOneStep);

void BareKernelOneStep(benchmark::State &state) {
    openWithBasins(1);
    vesk::Basin &basin = *vesk::lookupBasin(vesk::libraryState().registry, "B-0001");
    for (auto _ : state) {
        basin.precip.time += basin.precip.timeStep;
        basin.precip.stepRain = kRain;
        vesk::basinLossStep(basin);
        benchmark::DoNotOptimize(vesk::advanceRing(basin.ring, basin.precip.stepExcess));
    }
    vesk_free();
}
BENCHMARK(BareKernelOneStep);

// A host stepping every basin once per time step: the names in turn, the
// target advancing after each sweep.  The time is per call.
void ExecuteAmongBasins(benchmark::State &state) {
    const std::vector<std::string> names = openWithBasins(static_cast<int>(state.range(0)));
    std::size_t next = 0;
    int32_t target = 5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk_execute(names[next].c_str(), kRain, target));
        if (++next == names.size()) {
            next = 0;
            target += 5;
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
    // How the names spread over the registry's 256 chains.
    int used = 0, longest = 0;
    for (auto *node : vesk::libraryState().registry->chains) {
        int length = 0;
        for (; node != nullptr; node = node->next) ++length;
        used += length > 0;
        longest = length > longest ? length : longest;
    }
    state.counters["chains_used"] = used;
    state.counters["longest_chain"] = longest;
    vesk_free();
}
BENCHMARK(ExecuteAmongBasins)->Arg(1)->Arg(1000)->Arg(10000);

} // namespace

BENCHMARK_MAIN();
