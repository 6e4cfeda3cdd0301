#include "flightrun.h"

#include <filesystem>

#include "fileproblems.h"
#include "flight/filepath.h"
#include "processing/flightimport.h"
#include "processing/preferences.h"

namespace lumo::batch {

std::string configPathFor(const std::string& raw, const RunOptions& opt)
{
    return opt.cfg.empty() ? replaceExtension(raw, ".cfg") : opt.cfg;
}

void applyOverrides(Q5& q, const RunOptions& opt, const std::string& cfg)
{
    if (!opt.surfaceRef.empty())
        q.sfcUseStd = opt.surfaceRef == "std" ? 1 : 0;
    if (opt.launchDetect == "gps") {
        if (!q.rsGpsInst)
            throw OverrideError("--launch-detect gps: no GPS installed in " + cfg);
        q.lDetGps = 1;
    } else if (opt.launchDetect == "ptu") {
        if (!q.rsPrInst)
            throw OverrideError("--launch-detect ptu: no pressure sensor installed in " + cfg);
        q.lDetGps = 0;
    }
    if (opt.applySfcCorr)
        applySurfaceCorrection(q, true);
}

FlightRun runFlight(const std::string& raw, const RunOptions& opt, const Preferences& prefs)
{
    FlightRun res(opt.answerYes);
    res.raw = raw;
    res.cfg = configPathFor(raw, opt);
    Q5& q = *res.q5;
    applyPreferences(q, prefs);
    if (const std::string reason = unreadableReason(raw); !reason.empty()) {
        res.error = "Raw file " + raw + ": " + reason + ", load aborted.";
        return res;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(res.cfg, ec)) {
        res.error = "Flight config not found, load aborted.";
        return res;
    }
    const ImportResult imported = importFlight(q, raw, res.cfg);
    // An override that does not fit the configuration is a usage error,
    // whether or not the raw file could be read.
    if (imported.configRead)
        applyOverrides(q, opt, res.cfg);
    const std::string rawProblem = !imported.configRead
        ? std::string()
        : readRawProblem(raw, imported.ok(), q.sfcRecs.size() + q.fltRecs.size());
    if (!imported.ok() || !rawProblem.empty()) {
        res.error = rawProblem.empty() ? imported.error : "Error loading flight data, load aborted: " + rawProblem + ".";
        return res;
    }
    q.dialogs = &res.dialogs;
    res.processed = q.processFlight();
    q.dialogs = nullptr;
    if (!res.processed)
        res.error = "Error calculating total ozone data.";
    return res;
}

} // namespace lumo::batch
