#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "fileproblems.h"
#include "flight/q5.h"
#include "flight/readconfig.h"
#include "jsonout.h"

namespace lumo::batch {

namespace {

Json column(const double* values, int count)
{
    Json a = Json::array();
    for (int i = 0; i < count; ++i)
        a.push_back(values[i]);
    return a;
}

Json optional(const std::optional<double>& v) { return v ? Json(*v) : Json(nullptr); }

// The configuration group as read, with the reader's status word.
Json configJson(const FlightConfig& c, unsigned status)
{
    Json j;
    j["ok"] = status == 0;
    j["status"] = status;
    j["stnName"] = std::string(c.stnName);
    j["stnLat"] = c.stnLat;
    j["stnLong"] = c.stnLong;
    j["stnAlt"] = c.stnAlt;
    j["fltYear"] = c.fltYear;
    j["fltMonth"] = c.fltMonth;
    j["fltDay"] = c.fltDay;
    j["rsSondeId"] = std::string(c.rsSondeId);
    j["rsProbeId"] = std::string(c.rsProbeId);
    j["rsPrInst"] = c.rsPrInst != 0;
    j["rsGpsInst"] = c.rsGpsInst != 0;
    j["sfcP"] = c.sfcP;
    j["sfcT"] = c.sfcT;
    j["sfcU"] = c.sfcU;
    j["stdP"] = c.stdP;
    j["stdT"] = c.stdT;
    j["stdU"] = c.stdU;
    j["sfcO3"] = column(c.sfcO3, MaxSondes);
    j["bkgFile"] = std::string(c.bkgFile);
    j["bkgP"] = column(c.bkgP, c.bkgCount);
    j["bkgVal"] = column(c.bkgVal, c.bkgCount);
    j["effFile"] = std::string(c.effFile);
    j["effP"] = column(c.effP, c.effCount);
    j["effVal"] = column(c.effVal, c.effCount);
    Json sondes = Json::array();
    for (const O3SondeCfg& s : c.o3Sonde) {
        Json o;
        o["sn"] = std::string(s.sn);
        o["bkg"] = s.bkg;
        o["flow"] = s.flow;
        o["model"] = s.model;
        o["solutionType"] = s.solutionType;
        o["solutionVolume"] = optional(s.solutionVolume);
        o["ib0"] = optional(s.ib0);
        o["ib1"] = optional(s.ib1);
        o["ib2"] = optional(s.ib2);
        o["flowTemp"] = optional(s.flowTemp);
        o["flowHumidity"] = optional(s.flowHumidity);
        sondes.push_back(o);
    }
    j["o3Sonde"] = sondes;
    Json ref;
    ref["totalO3"] = optional(c.reference.totalO3);
    ref["instrument"] = c.reference.instrument;
    ref["model"] = c.reference.model;
    ref["number"] = c.reference.number;
    ref["wlCode"] = c.reference.wlCode;
    ref["obsType"] = c.reference.obsType;
    ref["utcMean"] = c.reference.utcMean;
    j["reference"] = ref;
    return j;
}

int runConfig(const std::string& path)
{
    if (const std::string reason = unsafeInputReason(path); !reason.empty()) {
        std::fprintf(stderr, "lumo-batch: %s: %s\n", path.c_str(), reason.c_str());
        return ExitFailed;
    }
    auto q5 = std::make_unique<Q5>();
    q5->clearConfig();
    const unsigned status = readFlightConfig(*q5, path);
    writeJsonLine(stdout, configJson(*q5, status));
    std::fflush(stdout);
    return status == 0 ? ExitOk : ExitFailed;
}

} // namespace

void addConfigCommand(CLI::App& app, int& exitCode)
{
    auto path = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("config", "Read a flight configuration file and print it as one JSON object");
    cmd->add_option("CFGFILE", *path, "flight configuration file (*.cfg)")->required();
    cmd->callback([path, &exitCode] { exitCode = runConfig(*path); });
}

} // namespace lumo::batch
