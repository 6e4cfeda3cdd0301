// lumo-batch process: each raw file imported and processed as the desktop
// program's Import does it, with a summary per flight.
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "batchexports.h"
#include "commands.h"
#include "fileproblems.h"
#include "flight/datetime.h"
#include "flight/filepath.h"
#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "flightjson.h"
#include "flightrun.h"
#include "jsonout.h"
#include "orderedrunner.h"
#include "plannedoutputs.h"
#include "plotrender.h"
#include "progressline.h"
#include "processing/column.h"
#include "processing/columnwarnings.h"
#include "processing/flightimport.h"
#include "processing/o3methodprefs.h"
#include "processing/preferences.h"
#include "processing/uncertainty.h"

namespace lumo::batch {

namespace {

struct ProcessOptions {
    std::string cfg;
    std::string prefs;
    std::string answer = "no";
    std::string surfaceRef;   // "std", "rs" or empty
    std::string launchDetect; // "ptu", "gps" or empty
    bool applySfcCorr = false;
    bool json = false;
    bool strict = false; // a flight with warnings fails
    std::vector<std::string> rawFiles;
    std::string exportList; // "o3,winds,all"
    std::string outDir;     // exports beside the raw file when empty
    std::string plotsDir;   // pictures of the plot windows, none when empty
    std::vector<std::string> plotQuantities;
    unsigned jobs = 0;      // flights processed at once; 0 = one per core
};

// Thrown through the parser when an option does not fit a flight.
[[noreturn]] void usageError(const std::string& message) { throw CLI::ValidationError(message); }

// What the command line chooses for each flight.
RunOptions runOptions(const ProcessOptions& opt)
{
    RunOptions run;
    run.cfg = opt.cfg;
    run.answerYes = opt.answer == "yes";
    run.surfaceRef = opt.surfaceRef;
    run.launchDetect = opt.launchDetect;
    run.applySfcCorr = opt.applySfcCorr;
    return run;
}

FlightRun processOne(const std::string& raw, const ProcessOptions& opt, const Preferences& prefs)
{
    try {
        return runFlight(raw, runOptions(opt), prefs);
    } catch (const OverrideError& e) {
        usageError(e.what());
    }
}

void printTropopause(const char* name, const Tropopause& t)
{
    if (!t.found()) {
        std::printf("  %s none\n", name);
        return;
    }
    std::printf("  %s %.1f hPa, %.0f m, %.1f degC%s\n", name, t.p, t.height, t.t,
                t.confirmed ? "" : " (not confirmed: the sounding ends less than 2 km above it)");
}

// "%.2f DU", or "unknown".
std::string columnText(double value)
{
    if (value == Missing)
        return "unknown";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f DU", value);
    return buf;
}

// "+/-x.xx DU", or "unknown".
std::string plusMinus(double du) { return du == Missing ? "unknown" : "+/-" + columnText(du); }

// The standard method's line of the text report; the classic run has none.
void printMethod(const O3MethodResult& m)
{
    if (m.method != O3Method::Standard)
        return;
    std::string applied, skipped;
    for (const std::string& step : m.stepsApplied)
        applied += (applied.empty() ? "" : ", ") + step;
    for (const SkippedStep& step : m.stepsSkipped)
        skipped += (skipped.empty() ? "" : ", ") + step.name;
    std::printf("    method standard%s: %s; skipped: %s; classic measured %s\n",
                m.responseCorrected ? " with response correction" : "", applied.c_str(),
                skipped.empty() ? "none" : skipped.c_str(), columnText(m.classicMeasured).c_str());
}

void printWarnings(const FlightWarnings& warnings)
{
    for (const FlightWarning& w : warnings)
        std::printf("  warning %s: %s\n", w.code.c_str(), w.message.c_str());
}

void printReport(const FlightRun& res)
{
    const Q5& q = *res.q5;
    std::printf("%s (configuration %s)\n", res.raw.c_str(), res.cfg.c_str());
    for (const ScriptedDialogs::Entry& e : res.dialogs.transcript) {
        if (e.kind == ScriptedDialogs::Entry::Question)
            std::printf("  question \"%s\" answered %s\n", e.caption.c_str(), e.answer ? "yes" : "no");
        else if (e.kind == ScriptedDialogs::Entry::Error)
            std::printf("  %s: %s\n", e.caption.c_str(), e.text.c_str());
    }
    if (!res.ok()) {
        std::printf("  %s\n", res.error.c_str());
        printWarnings(res.q5->warnings);
        return;
    }
    std::printf("  launch %s, burst %s\n", q.launchRec ? clockText(q.launchRec->time).c_str() : "none",
                q.burstRec ? clockText(q.burstRec->time).c_str() : "none");
    for (int h = 0; h < MaxSondes; ++h) {
        if (!q.o3Sonde[h].sn[0])
            continue;
        // A total that a warning below concerns says so where it is read.
        std::string doubt;
        for (const FlightWarning* w : columnWarnings(q, h))
            doubt += (doubt.empty() ? " (doubtful: " : ", ") + w->code;
        if (!doubt.empty())
            doubt += ")";
        std::printf("  ozonesonde %d (%s): measured %s, residual %s, total %s%s\n", h + 1, q.o3Sonde[h].sn,
                    columnText(q.o3Measured[h]).c_str(), columnText(q.o3Residual[h]).c_str(),
                    columnText(q.o3Total(h)).c_str(), doubt.c_str());
        std::printf("    1-sigma uncertainty: measured %s, residual %s, total %s\n", plusMinus(q.o3MeasuredUnc[h]).c_str(),
                    plusMinus(q.o3ResidualUnc[h]).c_str(), plusMinus(q.o3TotalUnc[h]).c_str());
        printMethod(q.o3MethodResult[h]);
        if (!q.reference.totalO3)
            continue;
        const double ref = *q.reference.totalO3;
        if (q.o3CorrFactor[h] != Missing) {
            const double cf = q.o3CorrFactor[h];
            std::printf("    correction factor %.3f (reference %.1f DU, not applied)%s\n", cf, ref,
                        cf < CorrFactorLow || cf > CorrFactorHigh
                            ? "; warning: outside 0.8-1.2, check the ozonesonde and the reference"
                            : "");
            continue;
        }
        const double pb = burstPressure(q);
        const bool reached = pb != Missing && pb <= CorrFactorMaxBurstP;
        const char* why = !(ref > 0) ? "the reference is not positive"
                          : !reached ? "the sounding did not reach 10 hPa"
                                     : "the sonde's total is not positive";
        std::printf("    correction factor unknown (reference %.1f DU): %s\n", ref, why);
    }
    printTropopause("tropopause", q.tropopause);
    if (q.tropopause2.found())
        printTropopause("second tropopause", q.tropopause2);
    printWarnings(q.warnings);
    for (const std::string& path : res.exports)
        std::printf("  exported %s\n", path.c_str());
    for (const std::string& w : res.archiveWarnings)
        std::printf("  archive: %s\n", w.c_str());
    for (const std::string& path : res.plots)
        std::printf("  plot %s\n", path.c_str());
}

// For each flight, the flight before it that writes export or archive files
// of the same names (the same raw file twice, or two of one name into one
// --out-dir):
// the later one must write last, as in a run on one thread.
std::vector<std::size_t> sameExportFiles(const ProcessOptions& opt, bool exporting)
{
    std::vector<std::size_t> after(opt.rawFiles.size(), OrderedRunner::NoTask);
    if (!exporting)
        return after;
    std::map<std::string, std::size_t> lastWriter;
    for (std::size_t i = 0; i < opt.rawFiles.size(); ++i) {
        std::error_code ec;
        const std::filesystem::path target(exportPath(opt.rawFiles[i], opt.outDir, ExportKind::O3));
        std::filesystem::path key = std::filesystem::absolute(target, ec).lexically_normal();
        if (ec)
            key = target.lexically_normal();
        const auto [it, added] = lastWriter.try_emplace(key.string(), i);
        if (!added) {
            after[i] = it->second;
            it->second = i;
        }
    }
    return after;
}

int runProcess(const ProcessOptions& opt)
{
    if (!opt.cfg.empty() && opt.rawFiles.size() != 1)
        usageError("--cfg needs exactly one RAWFILE");
    ExportSelection kinds;
    if (!opt.exportList.empty()) {
        std::string error;
        const auto parsed = parseExportList(opt.exportList, error);
        if (!parsed)
            usageError("--export: " + error);
        kinds = *parsed;
    }
    std::vector<std::string> quantities = opt.plotQuantities;
    if (!opt.plotsDir.empty()) {
        if (!plotsAvailable())
            usageError(plotsUnavailableReason());
        if (quantities.empty())
            quantities = defaultPlotQuantities();
        const std::vector<std::string> unknown = unknownPlotQuantities(quantities);
        if (!unknown.empty())
            usageError("--plot-quantities: no quantity " + unknown.front()
                + " (P T U Vb Ti Tp Tu ARate, O3pp Icell Tpmp Ipmp Vbat with an optional .1 to .4, Dir Spd)");
    }
    PlannedCall plan;
    plan.rawFiles = opt.rawFiles;
    for (const std::string& raw : opt.rawFiles)
        plan.cfgFiles.push_back(configPathFor(raw, runOptions(opt)));
    plan.prefs = opt.prefs;
    plan.outDir = opt.outDir;
    plan.plotsDir = opt.plotsDir;
    if (const std::string irregular = irregularInput(plan); !irregular.empty())
        usageError(irregular + "; nothing was read");
    Preferences prefs = opt.prefs.empty() ? Preferences{} : readPreferences(opt.prefs);
    if (!opt.prefs.empty())
        checkPreferencesFile(prefs, opt.prefs);
    if (const std::string clash = plannedClash(plan, kinds, prefs); !clash.empty())
        usageError(clash + "; nothing was written");
    const bool exporting = !kinds.kinds.empty() || !kinds.archives.empty();
    for (const std::string& dir : {exporting ? opt.outDir : std::string(), opt.plotsDir}) {
        if (dir.empty())
            continue;
        if (const std::string problem = outputFolderProblem(dir); !problem.empty()) {
            std::fprintf(stderr, "lumo-batch: %s\n", problem.c_str());
            return ExitFailed;
        }
    }

    const std::size_t count = opt.rawFiles.size();
    std::vector<std::unique_ptr<FlightRun>> results(count);
    // Import, processing and exports run on the workers; the plot windows
    // (Qt wants them on this thread) and the report follow in argument order.
    const auto work = [&](std::size_t i) {
        const std::string& raw = opt.rawFiles[i];
        auto res = std::make_unique<FlightRun>(processOne(raw, opt, prefs));
        // A pipeline asking for strictness gets no exports of a doubtful flight.
        if (res->ok() && opt.strict && !res->q5->warnings.empty())
            res->error = "Quality checks raised " + std::to_string(res->q5->warnings.size())
                + " warning(s); --strict makes that a failure.";
        // Exports come from the state the one processing run left.
        if (res->ok() && (!kinds.kinds.empty() || !kinds.archives.empty())) {
            ArchiveMeta meta;
            meta.station = prefs.archive;
            meta.generated = nowUtcDateTime();
            const BatchExports written = writeBatchExports(*res->q5, raw, res->cfg, kinds, opt.outDir, meta);
            res->exports = written.paths;
            res->archiveWarnings = written.warnings;
            res->error = written.error;
        }
        results[i] = std::move(res);
    };
    int exitCode = ExitOk;
    ProgressLine progress(stderr, count);
    const auto finish = [&](std::size_t i) {
        FlightRun& res = *results[i];
        if (res.ok() && !opt.plotsDir.empty()) {
            std::string error;
            const std::string name = baseNamePart(opt.rawFiles[i]);
            if (!renderPlots(*res.q5, opt.plotsDir, name, quantities, res.plots, error))
                res.error = error;
        }
        if (!res.ok())
            exitCode = ExitFailed;
        progress.hide();
        if (opt.json)
            writeJsonLine(stdout, resultJson(res));
        else
            printReport(res);
        std::fflush(stdout);
        progress.flightDone(!res.ok());
        results[i].reset();
    };
    const unsigned cores = std::thread::hardware_concurrency();
    const unsigned jobs = opt.jobs > 0 ? opt.jobs : (cores > 0 ? cores : 1);
    const OrderedRunner runner(jobs, 2 * static_cast<std::size_t>(jobs));
    runner.run(count, sameExportFiles(opt, !kinds.kinds.empty() || !kinds.archives.empty()), work, finish);
    return exitCode;
}

} // namespace

void addProcessCommand(CLI::App& app, int& exitCode)
{
    auto opt = std::make_shared<ProcessOptions>();
    CLI::App* cmd = app.add_subcommand("process", "Import and process flights as the desktop program does");
    cmd->add_option("--cfg", opt->cfg, "flight configuration (only with one RAWFILE; default RAWFILE with .cfg)");
    cmd->add_option("--prefs", opt->prefs, "preferences file (default: every preference at its default)");
    cmd->add_option("--answer", opt->answer, "answer to every surface question")
        ->check(CLI::IsMember({"yes", "no"}));
    cmd->add_option("--surface-ref", opt->surfaceRef, "surface reference: standard or radiosonde values")
        ->check(CLI::IsMember({"std", "rs"}));
    cmd->add_option("--launch-detect", opt->launchDetect, "launch and burst detection from PTU or GPS data")
        ->check(CLI::IsMember({"ptu", "gps"}));
    cmd->add_flag("--apply-sfc-corr", opt->applySfcCorr, "apply the standard-minus-radiosonde offset correction");
    cmd->add_flag("--json", opt->json, "one JSON summary object per flight and line");
    cmd->add_flag("--strict", opt->strict, "a flight whose quality checks raised warnings fails (exit 1)");
    cmd->add_option("--export", opt->exportList, "export files to write: comma list of o3, winds, all, woudc, ames, nc");
    cmd->add_option("--out-dir", opt->outDir, "folder of the export files (default: beside the raw file)");
    CLI::Option* plots = cmd->add_option("--plots", opt->plotsDir,
        "folder for PNG pictures of the surface, flight and wind plots of each flight");
    cmd->add_option("--plot-quantities", opt->plotQuantities,
           "quantities the pictures show, comma list (default O3pp,T,Dir,Spd)")
        ->delimiter(',')
        ->needs(plots);
    cmd->add_option("-j,--jobs", opt->jobs, "flights processed at once (default: one per core)")
        ->check(CLI::Range(1u, 1024u));
    cmd->add_option("RAWFILE", opt->rawFiles, "raw telemetry files (*.raw), one flight each")->required();
    cmd->callback([opt, &exitCode] { exitCode = runProcess(*opt); });
}

} // namespace lumo::batch
