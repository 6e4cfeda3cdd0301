// Import of the 3-hour four-ozonesonde flight in the desktop program, from
// the raw file chosen to the totals shown on the Total Ozone page: reading
// the configuration and the raw file, filling the pages, the processing run
// and the refill of the three plot windows. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

#include "flight/scripteddialogs.h"
#include "labelededit.h"
#include "mainfrm.h"

namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "app_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void ImportFourSondeFlight(benchmark::State& state)
{
    application();
    lumo::ScriptedDialogs dialogs;
    lumo::TMainFrm::Options options;
    options.prefsFile = QStringLiteral(LUMO_BINARY_DIR "/bench-app-prefs.ini");
    options.splashMs = 0;
    lumo::TMainFrm w(dialogs, options);
    w.createPlotWindows();
    const QString raw = QStringLiteral(LUMO_SOURCE_DIR "/samples/flight4.raw");
    for (auto _ : state) {
        w.importFile(raw);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.edTotalO3->text());
    }
    if (!dialogs.errors().empty() || w.edTotalO3->text().isEmpty())
        state.SkipWithError("import failed");
    state.counters["records"] = static_cast<double>(w.q5.fltRecs.size() + w.q5.sfcRecs.size());
}

} // namespace

BENCHMARK(ImportFourSondeFlight)->Unit(benchmark::kMillisecond)->MinTime(2.0);
