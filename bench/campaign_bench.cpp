// Campaign throughput: `lumo-batch process --json` over 200 simulated 3-hour
// flights (one to four ozonesondes, made once in the temporary folder) with
// one worker and with two, in one run, in flights per second and as a ratio.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "childrun.h"
#include "flightsimulator.h"

namespace {

constexpr int Flights = 200;

std::vector<std::string> campaignFiles()
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lumo-campaign-bench";
    std::filesystem::create_directories(dir);
    std::vector<std::string> raws;
    for (int i = 0; i < Flights; ++i) {
        const std::string base = (dir / ("flight" + std::to_string(i))).string();
        raws.push_back(base + ".raw");
        std::error_code ec;
        if (std::filesystem::exists(base + ".cfg", ec))
            continue;
        lumo::sim::SimOptions o;
        o.seed = static_cast<std::uint64_t>(1000 + i);
        o.sondes = 1 + i % 4;
        o.gpsVelocities = i % 2 == 0;
        o.extendedPtu = i % 3 == 0;
        o.ascentRate = 4.0; // with the surface period about 3 hours in all
        o.truthStep = 60;
        std::string error;
        if (!lumo::sim::writeFlight(lumo::sim::simulateFlight(o), base, error))
            return {};
    }
    return raws;
}

double bestWallMs(const std::vector<std::string>& raws, const char* jobs, benchmark::State& state, double best)
{
    std::vector<std::string> args{LUMO_BATCH_EXE, "process", "--json", "-j", jobs};
    args.insert(args.end(), raws.begin(), raws.end());
    const auto run = lumo::bench::runChild(args);
    if (!run.ok)
        state.SkipWithError("lumo-batch process failed");
    return run.wallMs < best ? run.wallMs : best;
}

void BM_CampaignOneVersusTwoWorkers(benchmark::State& state)
{
    const std::vector<std::string> raws = campaignFiles();
    if (raws.empty()) {
        state.SkipWithError("cannot write the simulated flights");
        return;
    }
    double one = 1e30, two = 1e30;
    for (auto _ : state) {
        one = bestWallMs(raws, "1", state, one);
        two = bestWallMs(raws, "2", state, two);
    }
    state.counters["flights_per_s_j1"] = Flights / (one / 1000);
    state.counters["flights_per_s_j2"] = Flights / (two / 1000);
    state.counters["speedup"] = one / two;
}
BENCHMARK(BM_CampaignOneVersusTwoWorkers)->Iterations(2)->Unit(benchmark::kSecond);

} // namespace
