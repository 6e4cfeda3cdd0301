// The processing run on a 3-hour flight with 1 Hz PTU and GPS and four
// ozonesondes (about 65,000 flight records), and on ten times as many
// records (a 30-hour list) for the growth.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>

#include <benchmark/benchmark.h>

#include "flight/q5.h"
#include "processing/qualitychecks.h"
#include "processing/tropopause.h"
#include "processing/uncertainty.h"
#include "support/synthflight.h"

namespace {

std::unique_ptr<lumo::Q5> buildFlight(double hours)
{
    auto q = std::make_unique<lumo::Q5>();
    lumo::test::SynthFlight f;
    f.totalSeconds = hours * 3600;
    f.build(*q);
    q->lpFilter = 10;
    return q;
}

void BM_ProcessFlight(benchmark::State& state)
{
    const auto q = buildFlight(3.0 * static_cast<double>(state.range(0)));
    for (auto _ : state) {
        const bool ok = q->processFlight();
        benchmark::DoNotOptimize(ok);
    }
    state.counters["records"] = static_cast<double>(q->fltRecs.size() + q->sfcRecs.size());
    state.SetComplexityN(static_cast<std::int64_t>(q->fltRecs.size()));
}
BENCHMARK(BM_ProcessFlight)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// What the uncertainty and tropopause add to a run (already part of
// BM_ProcessFlight): the column uncertainties, correction factors and
// tropopauses.
void BM_UncertaintyAndTropopause(benchmark::State& state)
{
    const auto q = buildFlight(3.0 * static_cast<double>(state.range(0)));
    q->processFlight();
    for (auto _ : state) {
        lumo::columnUncertainties(*q);
        lumo::correctionFactors(*q);
        lumo::tropopauses(*q);
        benchmark::DoNotOptimize(q->o3TotalUnc[0]);
    }
}
BENCHMARK(BM_UncertaintyAndTropopause)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The quality checks after a run (already part of BM_ProcessFlight): one
// walk over the flight records, then the warnings.
void BM_QualityChecks(benchmark::State& state)
{
    const auto q = buildFlight(3.0 * static_cast<double>(state.range(0)));
    q->processFlight();
    for (auto _ : state) {
        q->warnings.clear();
        lumo::checkFlight(*q);
        benchmark::DoNotOptimize(q->warnings.data());
    }
    state.SetComplexityN(static_cast<std::int64_t>(q->fltRecs.size()));
}
BENCHMARK(BM_QualityChecks)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// One pass of per-sample uncertainties, as a writer of the uncertainty
// profile or a plot makes it (not part of the run).
void BM_SampleUncertainties(benchmark::State& state)
{
    const auto q = buildFlight(3.0 * static_cast<double>(state.range(0)));
    q->processFlight();
    for (auto _ : state) {
        double sum = 0;
        for (const lumo::RawRecord* r = q->fltRecs.first(); r; r = r->next)
            if (r->isOzone())
                sum += lumo::o3ppUncertainty(*q, *r);
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(static_cast<std::int64_t>(q->fltRecs.size()));
}
BENCHMARK(BM_SampleUncertainties)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Baseline: one bare walk over the same flight list. The run makes four such
// walks; when the list no longer fits the caches every walk slows down
// alike, whatever the processing does per record.
void BM_ListWalk(benchmark::State& state)
{
    const auto q = buildFlight(3.0 * static_cast<double>(state.range(0)));
    for (auto _ : state) {
        double sum = 0;
        for (const lumo::RawRecord* r = q->fltRecs.first(); r; r = r->next)
            sum += r->time;
        benchmark::DoNotOptimize(sum);
    }
    state.SetComplexityN(static_cast<std::int64_t>(q->fltRecs.size()));
}
BENCHMARK(BM_ListWalk)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Both sizes side by side in one run: the time per record of the 30-hour
// list over that of the 3-hour list (1 for linear growth), for the run and
// for the bare walk. The fastest of the rounds is kept for each.
void BM_GrowthTenfold(benchmark::State& state)
{
    const auto small = buildFlight(3.0);
    const auto large = buildFlight(30.0);
    const auto seconds = [](auto&& f) {
        const auto start = std::chrono::steady_clock::now();
        f();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const auto walk = [](const lumo::Q5& q) {
        double sum = 0;
        for (const lumo::RawRecord* r = q.fltRecs.first(); r; r = r->next)
            sum += r->time;
        benchmark::DoNotOptimize(sum);
    };
    double run[2] = {1e30, 1e30}, bare[2] = {1e30, 1e30};
    for (auto _ : state) {
        lumo::Q5* flights[2] = {small.get(), large.get()};
        for (int k = 0; k < 2; ++k) {
            lumo::Q5& q = *flights[k];
            run[k] = std::min(run[k], seconds([&] { benchmark::DoNotOptimize(q.processFlight()); }));
            bare[k] = std::min(bare[k], seconds([&] { walk(q); }));
        }
    }
    const double n[2] = {static_cast<double>(small->fltRecs.size()), static_cast<double>(large->fltRecs.size())};
    state.counters["run_ns_per_record_65k"] = run[0] / n[0] * 1e9;
    state.counters["run_ns_per_record_650k"] = run[1] / n[1] * 1e9;
    state.counters["run_time_ratio"] = run[1] / run[0];
    state.counters["walk_time_ratio"] = bare[1] / bare[0];
}
BENCHMARK(BM_GrowthTenfold)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace
