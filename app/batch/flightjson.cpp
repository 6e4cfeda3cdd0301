#include "flightjson.h"

#include <cstdio>

#include "flight/datetime.h"
#include "flightrun.h"
#include "processing/o3methodprefs.h"

namespace lumo::batch {

namespace {

Json recordTime(const RawRecord* r)
{
    if (!r)
        return nullptr;
    Json j;
    j["time"] = r->time;
    j["text"] = clockText(r->time);
    return j;
}

// A value the run could not determine is null.
Json known(double v) { return v == Missing ? Json(nullptr) : Json(v); }

Json tropopauseJson(const Tropopause& t)
{
    if (!t.found())
        return nullptr;
    Json j;
    j["pressure"] = t.p;
    j["height"] = t.height;
    j["temperature"] = t.t;
    j["confirmed"] = t.confirmed;
    return j;
}

Json warningsJson(const FlightWarnings& warnings)
{
    Json list = Json::array();
    for (const FlightWarning& w : warnings) {
        Json j;
        j["code"] = w.code;
        j["message"] = w.message;
        Json values = Json::object();
        for (const WarningValue& v : w.values)
            values[v.name] = v.value;
        j["values"] = values;
        list.push_back(j);
    }
    return list;
}


// What the processing method did to one sonde.
void addMethodJson(Json& s, const O3MethodResult& m)
{
    s["method"] = methodName(m.method);
    s["responseCorrected"] = m.responseCorrected;
    s["stepsApplied"] = m.stepsApplied;
    Json skipped = Json::array();
    for (const SkippedStep& step : m.stepsSkipped) {
        Json k;
        k["step"] = step.name;
        k["warning"] = step.warning;
        skipped.push_back(k);
    }
    s["stepsSkipped"] = skipped;
    s["classicMeasured"] = known(m.classicMeasured);
}

} // namespace

std::string clockText(double time)
{
    const DateParts d = decodeDateTime(time);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", d.hour, d.minute, d.second, d.msec);
    return buf;
}

Json resultJson(const FlightRun& res)
{
    const Q5& q = *res.q5;
    Json j;
    j["raw"] = res.raw;
    j["cfg"] = res.cfg;
    j["ok"] = res.ok();
    j["error"] = res.ok() ? Json(nullptr) : Json(res.error);
    j["o3Count"] = q.o3Count;
    j["launch"] = recordTime(q.launchRec);
    j["burst"] = recordTime(q.burstRec);
    // A flight that was not processed has no surface values, and a chain
    // position without an ozonesonde no surface ozone: they are unknown, not
    // the 0 the flight object holds.
    const auto computed = [&](double v) { return res.processed ? known(v) : Json(nullptr); };
    Json sfc;
    sfc["sfcP"] = computed(q.sfcP);
    sfc["sfcT"] = computed(q.sfcT);
    sfc["sfcU"] = computed(q.sfcU);
    Json sfcO3 = Json::array();
    for (int h = 0; h < MaxSondes; ++h)
        sfcO3.push_back(q.o3Sonde[h].sn[0] ? computed(q.sfcO3[h]) : Json(nullptr));
    sfc["sfcO3"] = sfcO3;
    j["surface"] = sfc;
    Json sondes = Json::array();
    for (int h = 0; h < MaxSondes; ++h) {
        if (!q.o3Sonde[h].sn[0])
            continue;
        Json s;
        s["slot"] = h + 1;
        s["sn"] = q.o3Sonde[h].sn;
        // Without a processing run the columns were never computed.
        s["measured"] = computed(q.o3Measured[h]);
        s["residual"] = computed(q.o3Residual[h]);
        s["total"] = computed(q.o3Total(h));
        s["topMix"] = computed(q.o3TopMix[h]);
        s["measuredUncertainty"] = computed(q.o3MeasuredUnc[h]);
        s["residualUncertainty"] = computed(q.o3ResidualUnc[h]);
        s["totalUncertainty"] = computed(q.o3TotalUnc[h]);
        s["correctionFactor"] = computed(q.o3CorrFactor[h]);
        addMethodJson(s, q.o3MethodResult[h]);
        sondes.push_back(s);
    }
    j["sondes"] = sondes;
    j["tropopause"] = tropopauseJson(q.tropopause);
    j["tropopause2"] = tropopauseJson(q.tropopause2);
    Json questions = Json::array();
    for (const ScriptedDialogs::Entry& e : res.dialogs.transcript) {
        if (e.kind != ScriptedDialogs::Entry::Question)
            continue;
        Json qj;
        qj["caption"] = e.caption;
        qj["text"] = e.text;
        qj["answer"] = e.answer ? "yes" : "no";
        questions.push_back(qj);
    }
    j["questions"] = questions;
    Json counts;
    counts["sfc"] = q.sfcRecs.size();
    counts["flt"] = q.fltRecs.size();
    counts["wind"] = q.windRecs.size();
    j["counts"] = counts;
    j["warnings"] = warningsJson(q.warnings);
    j["exports"] = res.exports;
    if (!res.archiveWarnings.empty())
        j["archiveWarnings"] = res.archiveWarnings;
    if (!res.plots.empty())
        j["plots"] = res.plots;
    return j;
}

} // namespace lumo::batch
