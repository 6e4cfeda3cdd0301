// Simulating and writing a 3-hour four-ozonesonde flight (raw file,
// configuration and truth file).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "flightsimulator.h"

namespace {

lumo::sim::SimOptions threeHourFlight()
{
    lumo::sim::SimOptions o;
    o.seed = 4;
    o.sondes = 4;
    o.gpsVelocities = true;
    o.extendedPtu = true;
    o.ascentRate = 4.0; // with the 10-minute surface period about 3 hours in all
    return o;
}

void SimulateFourSondeFlight(benchmark::State& state)
{
    const lumo::sim::SimOptions o = threeHourFlight();
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto f = lumo::sim::simulateFlight(o);
        lines = f.counts.lines;
        benchmark::DoNotOptimize(f.raw.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(SimulateFourSondeFlight)->Unit(benchmark::kMillisecond);

void SimulateAndWriteFourSondeFlight(benchmark::State& state)
{
    const lumo::sim::SimOptions o = threeHourFlight();
    const std::string base = (std::filesystem::temp_directory_path() / "lumo-simulate-bench").string();
    double hours = 0;
    for (auto _ : state) {
        const auto f = lumo::sim::simulateFlight(o);
        std::string error;
        if (!lumo::sim::writeFlight(f, base, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        hours = (f.profile.back().time - f.launchTime) * 24 + o.surfaceMin / 60 + o.groundSec / 3600;
        state.counters["lines"] = static_cast<double>(f.counts.lines);
    }
    state.counters["hours"] = hours;
    for (const char* ext : {".raw", ".cfg", ".truth.json"})
        std::filesystem::remove(base + ext);
}
BENCHMARK(SimulateAndWriteFourSondeFlight)->Unit(benchmark::kMillisecond);

} // namespace
