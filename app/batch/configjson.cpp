#include "configjson.h"

#include <optional>

#include "flight/q5.h"

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

} // namespace

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
        o["thermistor"] = s.thermistorText;
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

} // namespace lumo::batch
