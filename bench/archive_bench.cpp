// Writing the archive files of the sample flight samples/flight4 (four
// ozonesondes, 2 h 40 min) after one processing run: a WOUDC and a NASA Ames
// file per ozonesonde and the netCDF file of the flight. Target: all nine
// files in under 150 ms. Also each format alone and the profile alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "output/archivefiles.h"
#include "output/archiveprofile.h"
#include "processing/flightimport.h"

namespace {

using namespace lumo;

std::unique_ptr<Q5> sampleFlight()
{
    auto q = std::make_unique<Q5>();
    ScriptedDialogs answers(false);
    q->dialogs = &answers;
    const bool ok = importFlight(*q, LUMO_SOURCE_DIR "/samples/flight4.raw", LUMO_SOURCE_DIR "/samples/flight4.cfg").ok()
        && q->processFlight();
    q->dialogs = nullptr;
    return ok ? std::move(q) : nullptr;
}

ArchiveMeta meta()
{
    ArchiveMeta m;
    m.station.agency = "LUMO";
    m.station.platformId = "999";
    m.station.country = "CHE";
    m.generated = 46370.5;
    m.baseName = "flight4";
    return m;
}

void writeKinds(benchmark::State& state, const std::vector<ArchiveKind>& kinds)
{
    const auto q = sampleFlight();
    if (!q) {
        state.SkipWithError("sample flight could not be read and processed");
        return;
    }
    const std::filesystem::path dir = std::filesystem::path(LUMO_BINARY_DIR) / "bench-archive";
    std::filesystem::create_directories(dir);
    std::size_t files = 0;
    for (auto _ : state) {
        const ArchiveResult r = writeArchiveFiles(*q, meta(), kinds, dir.string());
        if (!r.ok)
            state.SkipWithError(r.error.c_str());
        files = r.paths.size();
    }
    state.counters["files"] = static_cast<double>(files);
}

void BM_ArchiveAllThree(benchmark::State& state)
{
    writeKinds(state, {ArchiveKind::Woudc, ArchiveKind::Ames, ArchiveKind::Netcdf});
}
BENCHMARK(BM_ArchiveAllThree)->Unit(benchmark::kMillisecond);

void BM_ArchiveOneKind(benchmark::State& state)
{
    const auto kind = static_cast<ArchiveKind>(state.range(0));
    writeKinds(state, {kind});
    state.SetLabel(kind == ArchiveKind::Woudc ? "woudc" : kind == ArchiveKind::Ames ? "ames" : "nc");
}
BENCHMARK(BM_ArchiveOneKind)
    ->Arg(static_cast<int>(ArchiveKind::Woudc))
    ->Arg(static_cast<int>(ArchiveKind::Ames))
    ->Arg(static_cast<int>(ArchiveKind::Netcdf))
    ->Unit(benchmark::kMillisecond);

void BM_ArchiveProfileOnly(benchmark::State& state)
{
    const auto q = sampleFlight();
    if (!q) {
        state.SkipWithError("sample flight could not be read and processed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(buildArchiveProfile(*q));
}
BENCHMARK(BM_ArchiveProfileOnly)->Unit(benchmark::kMillisecond);

} // namespace
