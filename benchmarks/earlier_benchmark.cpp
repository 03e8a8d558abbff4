// The earlier level: one step through vesk_execute against the bare kernel
// (lumped loss step and ring convolution), vesk_execute among 1 to 100,000
// basins for three naming styles, adding 100,000 basins, and the city storm
// (10,000 basins, 288 steps of the basin's uhTimeStep, one per call).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchmark_basins.h"
#include "earlier/basin_time_step.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll.h"

namespace {

BasinInput suburbanRecord() {
    BasinInput r{};
    r.area = 1.0;
    r.length = 2.0;
    r.centroidLength = 1.0;
    r.imperviousPct = 50.0;
    r.slope = 0.02;
    r.perviousDepressionStorage = 0.35;
    r.imperviousDepressionStorage = 0.1;
    r.initialInfiltrationRate = 3.0;
    r.finalInfiltrationRate = 0.5;
    r.infiltrationDecay = 0.0018;
    r.disconnectionLevel = 1;
    r.shape.uhTimeStep = 5;
    return r;
}

void openWithBasins(const std::vector<std::string> &names) {
    vesk_free();
    vesk_open();
    const BasinInput record = suburbanRecord();
    for (const std::string &name : names) vesk_addbasin(&record, name.c_str());
}

constexpr double kRain = 0.05;

// Both one-step cases run 24-hour storms of 288 steps, the step block cleared
// between storms, so the Horton curve is evaluated where storms put it.
constexpr int kStormSteps = 288;

void restartStorm(vesk::Basin &basin) { basin.step = StepState{}; }

void EarlierExecuteOneStep(benchmark::State &state) {
    openWithBasins({"B-000001"});
    vesk::Basin &basin = *vesk::lookupBasin(vesk::libraryState().registry, "B-000001").basin;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk_execute("B-000001", kRain, 0));
        if (++step == kStormSteps) {
            step = 0;
            restartStorm(basin);
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused the basin");
    vesk_free();
}
BENCHMARK(EarlierExecuteOneStep)->MinWarmUpTime(bench::kWarmUpSeconds);

void EarlierBareKernelOneStep(benchmark::State &state) {
    openWithBasins({"B-000001"});
    vesk::Basin &basin = *vesk::lookupBasin(vesk::libraryState().registry, "B-000001").basin;
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk::earlier::takeBasinStep(basin, kRain));
        if (++step == kStormSteps) {
            step = 0;
            restartStorm(basin);
        }
    }
    vesk_free();
}
BENCHMARK(EarlierBareKernelOneStep)->MinWarmUpTime(bench::kWarmUpSeconds);

void EarlierExecuteAmongBasins(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    const int style = static_cast<int>(state.range(1));
    static int loadedCount = -1, loadedStyle = -1;
    static std::vector<std::string> names;
    const vesk::BasinRegistry *registry = vesk::libraryState().registry;
    if (count != loadedCount || style != loadedStyle || registry == nullptr ||
        registry->count != static_cast<std::size_t>(count)) {
        names = bench::basinNames(style, count);
        openWithBasins(names);
        loadedCount = count;
        loadedStyle = style;
    }
    state.SetLabel(bench::styleLabel(style));
    static int sweeps = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vesk_execute(names[next].c_str(), kRain, 0));
        if (++next == names.size()) {
            next = 0;
            if (++sweeps == kStormSteps) { // a fresh storm, the reset timed with the calls
                bench::restartEveryBasin(*vesk::libraryState().registry, restartStorm);
                sweeps = 0;
            }
        }
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
}
BENCHMARK(EarlierExecuteAmongBasins)->MinWarmUpTime(bench::kWarmUpSeconds)->ArgsProduct({{1, 1000, 10000, 100000}, {0, 1, 2}});

void EarlierAddBasins(benchmark::State &state) {
    const std::vector<std::string> names = bench::basinNames(static_cast<int>(state.range(1)),
                                                             static_cast<int>(state.range(0)));
    state.SetLabel(bench::styleLabel(static_cast<int>(state.range(1))));
    for (auto _ : state) openWithBasins(names);
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
    vesk_free();
}
BENCHMARK(EarlierAddBasins)->ArgsProduct({{100000}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(1);

void EarlierCityStorm(benchmark::State &state) {
    const std::vector<std::string> names = bench::basinNames(0, 10000);
    openWithBasins(names);
    for (auto _ : state) {
        bench::restartEveryBasin(*vesk::libraryState().registry, restartStorm);
        for (int step = 0; step < kStormSteps; ++step)
            for (const std::string &name : names) benchmark::DoNotOptimize(vesk_execute(name.c_str(), kRain, 0));
    }
    if (vesk_geterror() != VESK_OK) state.SkipWithError("the library refused a basin");
    vesk_free();
}
BENCHMARK(EarlierCityStorm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
