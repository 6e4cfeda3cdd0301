// Plot windows on the four-ozonesonde sample flight: refilling all three
// windows after a processing run, redrawing the flight window with ten
// channels shown, and the profile view filled and drawn.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>

#include <memory>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "plots/fltplot.h"
#include "plots/profileplot.h"
#include "plots/sfcplot.h"
#include "plots/windplot.h"
#include "plots/xyplot.h"
#include "processing/flightimport.h"

namespace {

using namespace lumo;

QApplication& app()
{
    static int argc = 1;
    static char name[] = "plots_bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *instance;
}

// The processed sample flight and the three windows, built once.
struct Setup {
    Q5 q5;
    ScriptedDialogs dialogs{false};
    std::unique_ptr<TsfcPlotFrm> sfc;
    std::unique_ptr<TfltPlotFrm> flt;
    std::unique_ptr<TwindPlotFrm> wind;
    std::unique_ptr<TprofilePlotFrm> profile;
    bool ok = false;

    Setup()
    {
        app();
        q5.dialogs = &dialogs;
        ok = importFlight(q5, LUMO_SOURCE_DIR "/samples/flight4.raw", LUMO_SOURCE_DIR "/samples/flight4.cfg").ok()
            && q5.processFlight();
        q5.showAll = 0;
        sfc = std::make_unique<TsfcPlotFrm>(q5);
        flt = std::make_unique<TfltPlotFrm>(q5);
        wind = std::make_unique<TwindPlotFrm>(q5);
        // Ten ascent channels: four radiosonde quantities, O3pp of all four
        // ozonesondes, cell current and pump temperature of the first.
        for (QCheckBox* box : {flt->cbxT, flt->cbxU, flt->cbxVb, flt->cbxARate, flt->cbxO3pp, flt->cbxIcell, flt->cbxTpmp})
            box->setChecked(true);
        for (int n = 2; n <= MaxSondes; ++n) {
            flt->btnNextClick();
            flt->cbxO3pp->setChecked(true);
        }
        flt->setAttribute(Qt::WA_DontShowOnScreen);
        flt->show();
        profile = std::make_unique<TprofilePlotFrm>(q5);
        profile->setAttribute(Qt::WA_DontShowOnScreen);
        profile->show();
        QApplication::processEvents();
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

int shownChannels(const XYPlot& plot)
{
    int shown = 0;
    for (int i = 0; i < plot.channelCount(); ++i)
        shown += plot.GetChannel(i)->Visible() ? 1 : 0;
    return shown;
}

void RefillAllAndRedrawFlight(benchmark::State& state)
{
    Setup& s = setup();
    if (!s.ok || shownChannels(*s.flt->fltPlot) != 10) {
        state.SkipWithError("sample flight not processed");
        return;
    }
    for (auto _ : state) {
        s.sfc->LoadPlotData(s.q5);
        s.flt->LoadPlotData(s.q5);
        s.wind->LoadPlotData(s.q5);
        s.flt->FormShow();
        s.flt->fltPlot->replotNow();
    }
    state.counters["records"] = double(s.q5.fltRecs.size());
}
BENCHMARK(RefillAllAndRedrawFlight)->Unit(benchmark::kMillisecond);

void RefillAll(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state) {
        s.sfc->LoadPlotData(s.q5);
        s.flt->LoadPlotData(s.q5);
        s.wind->LoadPlotData(s.q5);
    }
}
BENCHMARK(RefillAll)->Unit(benchmark::kMillisecond);

void RedrawFlightTenChannels(benchmark::State& state)
{
    Setup& s = setup();
    s.flt->LoadPlotData(s.q5);
    s.flt->FormShow();
    for (auto _ : state)
        s.flt->fltPlot->replotNow();
}
BENCHMARK(RedrawFlightTenChannels)->Unit(benchmark::kMillisecond);

// One step of a mouse drag: a range change and the redraw that follows.
void ScrollStepFlight(benchmark::State& state)
{
    Setup& s = setup();
    PlotAxis* y = s.flt->fltPlot->GetYAxis(0);
    const double min = y->Min();
    const double span = y->Span();
    int step = 0;
    for (auto _ : state) {
        y->setRange(min + 0.01 * (++step % 50), span);
        s.flt->fltPlot->replotNow();
    }
}
BENCHMARK(ScrollStepFlight)->Unit(benchmark::kMillisecond);

// The profile view as the Plot > Profile command and a processing run
// leave it: refilled from the flight (four ozonesondes and the temperature,
// ascent), fitted and drawn at its window size.
void RenderProfile(benchmark::State& state)
{
    Setup& s = setup();
    if (!s.ok) {
        state.SkipWithError("sample flight not processed");
        return;
    }
    for (auto _ : state) {
        s.profile->LoadPlotData(s.q5);
        s.profile->profilePlot->replotNow();
    }
    int points = 0;
    for (int i = 0; i < s.profile->profilePlot->channelCount(); ++i)
        if (s.profile->profilePlot->GetChannel(i)->Visible())
            points += s.profile->profilePlot->GetChannel(i)->count();
    state.counters["points"] = points;
}
BENCHMARK(RenderProfile)->Unit(benchmark::kMillisecond);

} // namespace
