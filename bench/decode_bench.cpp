// `lumo-batch decode --summary` on a 100 MB raw file set beside a bare line
// count of the same file (`wc -l`), in one run, as ratios of wall time, and
// the decoder's peak memory per MB of file. The file is four long simulated
// four-ozonesonde soundings (0.5 s packets) one after another, about 1.8
// million lines, made once in the temporary folder.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "childrun.h"
#include "flightsimulator.h"

namespace {

std::string bigRawFile()
{
    const std::string path = (std::filesystem::temp_directory_path() / "lumo-decode-bench.raw").string();
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) > 90'000'000 && !ec)
        return path;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return path;
    for (int seed = 3; seed <= 6; ++seed) {
        lumo::sim::SimOptions o;
        o.seed = static_cast<std::uint64_t>(seed);
        o.sondes = 4;
        o.surfaceMin = 120;
        o.durationMin = 1440;
        o.ascentRate = o.landingRate = 1.5;
        o.ptuPeriod = o.gpsPeriod = o.ozonePeriod = 0.5;
        o.auxPeriod = 1;
        o.gpsVelocities = o.extendedPtu = true;
        o.truthStep = 600;
        const auto flight = lumo::sim::simulateFlight(o);
        std::fwrite(flight.raw.data(), 1, flight.raw.size(), f);
    }
    std::fclose(f);
    return path;
}

// Alternates the two commands and keeps the fastest run of each, the figure
// least disturbed by other work on the machine.
void BM_DecodeSummaryVersusLineCount(benchmark::State& state)
{
    const std::string file = bigRawFile();
    const double mb = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    lumo::bench::ChildRun bestCount, bestDecode;
    bestCount.wallMs = bestDecode.wallMs = 1e30;
    for (auto _ : state) {
        const auto count = lumo::bench::runChild({"wc", "-l", file});
        const auto decode = lumo::bench::runChild({LUMO_BATCH_EXE, "decode", "--summary", file});
        if (!count.ok || !decode.ok) {
            state.SkipWithError("wc or lumo-batch failed");
            return;
        }
        if (count.wallMs < bestCount.wallMs)
            bestCount = count;
        if (decode.wallMs < bestDecode.wallMs)
            bestDecode = decode;
    }
    state.counters["file_MB"] = mb;
    state.counters["wc_ms"] = bestCount.wallMs;
    state.counters["decode_ms"] = bestDecode.wallMs;
    state.counters["decode_cpu_ms"] = bestDecode.cpuMs;
    state.counters["wall_ratio"] = bestDecode.wallMs / bestCount.wallMs;
    state.counters["decode_MB_per_s"] = mb / (bestDecode.wallMs / 1000);
    state.counters["peak_MB_per_file_MB"] = bestDecode.peakRssMb * 1.048576 / mb;
}
BENCHMARK(BM_DecodeSummaryVersusLineCount)->Iterations(7)->Unit(benchmark::kMillisecond);

} // namespace
