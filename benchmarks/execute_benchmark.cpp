// The current level: one step through vesk_execute (lookup included) against
// the bare kernel (the basin's time step, losses, convolution and peak,
// called on the same basin);
// vesk_execute among 1 to 100,000 basins for three naming styles; adding
// 100,000 basins; and a city storm, 10,000 basins stepped 288 times at 5 min.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchmark_basins.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "simulation/basin_time_step.h"
#include "veskdll133.h"

namespace {

// A half-impervious square mile with a 19-ordinate unit hydrograph, stepped
// every `timeStep` minutes.
BasinInput suburbanRecord(double timeStep) {
    BasinInput r{};
    r.area = 1.0;
    r.length = 2.0;
    r.centroidLength = 1.0;
    r.imperviousPct = 50.0;
    r.slope = 0.02;
    r.timeStep = timeStep;
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

// A fresh, confirmed library holding `names`.
void openWithBasins(const std::vector<std::string> &names, double timeStep) {
    vesk_free();
    vesk_open();
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
    for (const std::string &name : names) {
        BasinInput record = suburbanRecord(timeStep);
        vesk_addbasin(&record, name.c_str());
    }
}

constexpr double kRain = 0.05; // inches per step: a heavy, steady rain

// Both one-step cases run 24-hour storms of 288 steps of 5 minutes, the
// basin's step state cleared between storms (outside the timing), so the
// Horton curve is evaluated where storms put it, not far out on its tail.
constexpr int kStormSteps = 288;

void restartStorm(vesk::Basin &basin) {
    const int32_t timeStep = basin.precip.timeStep;
    basin.precip = PrecipState{};
    basin.precip.timeStep = timeStep;
}

void ExecuteOneStep(benchmark::State &state) {
    openWithBasins({"B-000001"}, 5.0);
    vesk::Basin &basin = *vesk::lookupBasin(vesk::libraryState().registry, "B-000001").basin;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk_execute("B-000001", kRain, basin.precip.time + 5));
        if (++step == kStormSteps) {
            step = 0;
            restartStorm(basin);
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused the basin");
    vesk_free();
}
BENCHMARK(ExecuteOneStep)->MinWarmUpTime(bench::kWarmUpSeconds);

void BareKernelOneStep(benchmark::State &state) {
    openWithBasins({"B-000001"}, 5.0);
    vesk::Basin &basin = *vesk::lookupBasin(vesk::libraryState().registry, "B-000001").basin;
    int step = 0;
    for (auto _ : state) {
        vesk::takeBasinStep(basin, kRain);
        benchmark::DoNotOptimize(basin.ring.outflow);
        if (++step == kStormSteps) {
            step = 0;
            restartStorm(basin);
        }
    }
    vesk_free();
}
BENCHMARK(BareKernelOneStep)->MinWarmUpTime(bench::kWarmUpSeconds);

// A host stepping every basin once per time step: the names in turn, the
// target advancing after each sweep, every basin starting a fresh storm
// after 288 sweeps (timed with the calls: one reset per basin per 288 calls).  The time is per call.  The registry
// is loaded once per setting (Google Benchmark calls the function repeatedly).
void ExecuteAmongBasins(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const int style = static_cast<int>(state.range(1));
    static int loadedCount = -1, loadedStyle = -1;
    static std::vector<std::string> names;
    static int32_t target = 0;
    static int sweeps = 0;
    const vesk::BasinRegistry *registry = vesk::libraryState().registry;
    if (count != loadedCount || style != loadedStyle || registry == nullptr ||
        registry->count != static_cast<std::size_t>(count)) {
        names = bench::basinNames(style, count);
        openWithBasins(names, 5.0);
        loadedCount = count;
        loadedStyle = style;
        target = 0;
        sweeps = 0;
    }
    state.SetLabel(bench::styleLabel(style));
    std::size_t next = 0;
    target += 5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk_execute(names[next].c_str(), kRain, target));
        if (++next == names.size()) {
            next = 0;
            target += 5;
            if (++sweeps == kStormSteps) {
                bench::restartEveryBasin(*vesk::libraryState().registry, restartStorm);
                sweeps = 0;
                target = 5;
            }
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
}
BENCHMARK(ExecuteAmongBasins)->MinWarmUpTime(bench::kWarmUpSeconds)->ArgsProduct({{1, 1000, 10000, 100000}, {0, 1, 2}});

void AddBasins(benchmark::State &state) {
    const std::vector<std::string> names = bench::basinNames(static_cast<int>(state.range(1)),
                                                             static_cast<int>(state.range(0)));
    state.SetLabel(bench::styleLabel(static_cast<int>(state.range(1))));
    for (auto _ : state) openWithBasins(names, 5.0);
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
    vesk_free();
}
BENCHMARK(AddBasins)->ArgsProduct({{100000}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(1);

// 10,000 basins B-000001 ... stepped through a 24-hour storm at 5 minutes:
// one iteration is one storm (288 sweeps), every basin starting it afresh
// (the reset, one per basin per storm, is timed with it).
void CityStorm(benchmark::State &state) {
    const std::vector<std::string> names = bench::basinNames(0, 10000);
    openWithBasins(names, 5.0);
    for (auto _ : state) {
        bench::restartEveryBasin(*vesk::libraryState().registry, restartStorm);
        int32_t target = 0;
        for (int step = 0; step < kStormSteps; ++step) {
            target += 5;
            for (const std::string &name : names) benchmark::DoNotOptimize(vesk_execute(name.c_str(), kRain, target));
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
    vesk_free();
}
BENCHMARK(CityStorm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
