#include <cmath>

#include <nlohmann/json.hpp>

#include "flightsimulator.h"

namespace lumo::sim {

namespace {

using Json = nlohmann::ordered_json;

double rounded(double v, int decimals)
{
    const double s = std::pow(10.0, decimals);
    return std::round(v * s) / s;
}

const char* phaseName(Phase p)
{
    switch (p) {
    case Phase::Ascent: return "ascent";
    case Phase::Descent: return "descent";
    case Phase::Ground: break;
    }
    return "ground";
}

// The cell's chemistry and response as simulated: what a processing of
// the current must undo.
Json cellJson(const OzonesondeSetup& s)
{
    const CellSetup& c = s.cell;
    return Json{{"model", familyModel(c.family)}, {"kiPct", c.kiPct}, {"bufferFraction", c.buffer},
        {"tauFast", c.response.tauFast}, {"tauSlow", c.tauSlow}, {"beta", c.response.beta},
        {"calA", c.response.calA}, {"calB", c.response.calB}, {"thermistor", thermistorName(c.thermistor)},
        {"ib0", c.ib0}, {"ib1", c.ib1}, {"ib2", c.ib2}, {"ib1Delay", c.ib1Delay},
        {"slowStart", rounded(c.slowStart(), 5)}, {"flowFactor", rounded(c.flowFactor(), 6)}};
}

Json countsJson(const ExpectedCounts& c, int sondes)
{
    Json surfaceOzone = Json::array(), flightOzone = Json::array();
    for (int i = 0; i < sondes; ++i) {
        surfaceOzone.push_back(c.surfaceOzone[i]);
        flightOzone.push_back(c.flightOzone[i]);
    }
    return Json{{"lines", c.lines},
        {"surface", {{"ptu", c.surfacePtu}, {"gps", c.surfaceGps}, {"ozone", surfaceOzone}, {"aux", c.surfaceAux}}},
        {"flight", {{"ptu", c.flightPtu}, {"gps", c.flightGps}, {"ozone", flightOzone}, {"aux", c.flightAux}}},
        {"dropped",
            {{"duplicates", c.duplicates}, {"invalidPtu", c.invalidPtu}, {"invalidGps", c.invalidGps},
                {"unknownType", c.unknownType}}}};
}

} // namespace

// Units: times are date-times (days since 1899-12-30), pressure hPa,
// heights m, temperature degC, humidity %RH, ozone partial pressure nb,
// wind direction degrees (from), wind speed m/s, columns DU. The columns
// integrate the true partial pressure over ln p (Simpson's rule, steps of
// 0.001 in ln p), which is the integral of the mixing ratio over p.
std::string formatTruth(const SimulatedFlight& f)
{
    const int n = static_cast<int>(f.chain.size());
    Json head;
    head["launch"] = {{"time", f.launchTime}};
    head["burst"] = {{"time", f.burstTime}, {"pressure", rounded(f.burstPressure, 4)},
        {"heightM", rounded(f.burstHeight, 2)}};
    Json surfaceO3 = Json::array();
    for (int i = 0; i < n; ++i)
        surfaceO3.push_back(rounded(f.surface.o3[i], 4));
    head["surface"] = {{"pressure", f.surface.p}, {"temperature", f.surface.t}, {"humidity", f.surface.u},
        {"o3pp", surfaceO3}};
    head["station"] = {{"name", f.options.stationName}, {"lat", f.options.stnLat}, {"long", f.options.stnLong},
        {"alt", f.options.stnAlt}, {"profile", profileName(f.options.profile)}, {"seed", f.options.seed}};
    Json sondes = Json::array();
    for (const auto& s : f.chain) {
        Json sonde = {{"slot", s.position - 1}, {"position", s.position}, {"sn", s.sn},
            {"columnToBurst", rounded(f.columnToBurst[s.position - 1], 4)},
            {"columnAboveBurst", rounded(f.columnAboveBurst[s.position - 1], 4)}};
        if (s.hasCell)
            sonde["cell"] = cellJson(s);
        sondes.push_back(sonde);
    }
    head["sondes"] = sondes;
    head["counts"] = countsJson(f.counts, n);

    // One profile point per line keeps the file readable and diffable.
    std::string out = "{\r\n";
    for (auto it = head.begin(); it != head.end(); ++it)
        out += "\"" + it.key() + "\": " + it.value().dump() + ",\r\n";
    out += "\"profile\": [";
    bool first = true;
    for (const auto& p : f.profile) {
        Json o3 = Json::array();
        for (int i = 0; i < n; ++i)
            o3.push_back(rounded(p.o3[i], 4));
        const Json row = {{"time", p.time}, {"pressure", rounded(p.p, 4)}, {"heightM", rounded(p.z, 2)},
            {"temperature", rounded(p.t, 3)}, {"humidity", rounded(p.u, 3)}, {"o3pp", o3},
            {"windDir", rounded(p.windDir, 2)}, {"windSpeed", rounded(p.windSpeed, 3)}, {"phase", phaseName(p.phase)}};
        out += first ? "\r\n" : ",\r\n";
        out += row.dump();
        first = false;
    }
    out += "\r\n]\r\n}\r\n";
    return out;
}

} // namespace lumo::sim
