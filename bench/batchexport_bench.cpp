// `lumo-batch process --export o3,winds,all` of samples/flight4 as a whole
// process, beside `lumo-batch process` of the same flight in the same run:
// what the three legacy exports add to a processing run, start-up and
// teardown included. Target: at most 3 times the run without exports.
// Argument 0 writes new files (the previous run's are removed first, outside
// the timing); argument 1 replaces the previous run's files, where ext4
// starts writing each new file back when it is renamed over the old one.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "childrun.h"

namespace {

// Alternates the two commands and keeps the fastest run of each, the figure
// least disturbed by other work on the machine.
void BM_ProcessWithExportsVersusAlone(benchmark::State& state)
{
    const bool replace = state.range(0) != 0;
    const std::string raw = LUMO_SOURCE_DIR "/samples/flight4.raw";
    const std::filesystem::path outDir = std::filesystem::path(LUMO_BINARY_DIR) / "bench-batchexport";
    std::filesystem::create_directories(outDir);
    lumo::bench::ChildRun bestAlone, bestExport;
    bestAlone.wallMs = bestExport.wallMs = bestAlone.cpuMs = bestExport.cpuMs = 1e30;
    for (auto _ : state) {
        if (!replace) {
            for (const char* ext : {".o3csv", ".wcsv", ".csv"})
                std::filesystem::remove(outDir / (std::string("flight4") + ext));
        }
        const auto alone = lumo::bench::runChild({LUMO_BATCH_EXE, "process", "-j", "1", raw});
        const auto exported = lumo::bench::runChild(
            {LUMO_BATCH_EXE, "process", "-j", "1", "--export", "o3,winds,all", "--out-dir", outDir.string(), raw});
        if (!alone.ok || !exported.ok) {
            state.SkipWithError("lumo-batch failed");
            return;
        }
        if (alone.wallMs < bestAlone.wallMs)
            bestAlone.wallMs = alone.wallMs;
        if (alone.cpuMs < bestAlone.cpuMs)
            bestAlone.cpuMs = alone.cpuMs;
        if (exported.wallMs < bestExport.wallMs)
            bestExport.wallMs = exported.wallMs;
        if (exported.cpuMs < bestExport.cpuMs)
            bestExport.cpuMs = exported.cpuMs;
    }
    state.counters["alone_ms"] = bestAlone.wallMs;
    state.counters["alone_cpu_ms"] = bestAlone.cpuMs;
    state.counters["export_ms"] = bestExport.wallMs;
    state.counters["export_cpu_ms"] = bestExport.cpuMs;
    state.counters["wall_ratio"] = bestExport.wallMs / bestAlone.wallMs;
    state.counters["cpu_ratio"] = bestExport.cpuMs / bestAlone.cpuMs;
}
BENCHMARK(BM_ProcessWithExportsVersusAlone)->Arg(0)->Arg(1)->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace
