// The processing run on the 3-hour four-sonde flight by the classic method,
// by the standard method, and by the standard method with the cell's
// time-response correction: what the correction costs against the run.
#include <cstdio>
#include <memory>

#include <benchmark/benchmark.h>

#include "flight/q5.h"
#include "support/synthflight.h"

namespace {

std::unique_ptr<lumo::Q5> buildFlight(lumo::O3Method method, bool response)
{
    auto q = std::make_unique<lumo::Q5>();
    lumo::test::SynthFlight f;
    f.totalSeconds = 3 * 3600;
    f.build(*q);
    q->lpFilter = 10;
    q->o3Method.method = method;
    q->o3Method.responseCorrection = response;
    for (lumo::O3SondeCfg& s : q->o3Sonde) {
        // Every input the standard method and the correction use.
        s.family = lumo::SondeFamily::SixA;
        s.kiPct = 1.0;
        s.bufferFraction = 1.0;
        s.solutionVolume = 3.0;
        s.ib0 = 0.02;
        s.ib1 = 0.05;
        s.thermistor = lumo::Thermistor::Internal;
        s.flowTemp = 20;
        s.flowHumidity = 40;
    }
    return q;
}

void run(benchmark::State& state, lumo::O3Method method, bool response)
{
    const auto q = buildFlight(method, response);
    for (auto _ : state) {
        const bool ok = q->processFlight();
        benchmark::DoNotOptimize(ok);
    }
    state.counters["records"] = static_cast<double>(q->fltRecs.size() + q->sfcRecs.size());
}

void BM_RunClassic(benchmark::State& state) { run(state, lumo::O3Method::Classic, false); }
void BM_RunStandard(benchmark::State& state) { run(state, lumo::O3Method::Standard, false); }
void BM_RunStandardResponse(benchmark::State& state) { run(state, lumo::O3Method::Standard, true); }
BENCHMARK(BM_RunClassic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunStandardResponse)->Unit(benchmark::kMillisecond);

} // namespace
