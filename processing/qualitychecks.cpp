#include "qualitychecks.h"

#include <cstdio>
#include <limits>

#include "alignment.h"
#include "flight/datetime.h"
#include "flight/numbertext.h"
#include "flight/q5.h"
#include "flightsurvey.h"
#include "qualitylimits.h"

namespace lumo {

using namespace quality;

namespace {

// Message numbers with "." whatever the process locale.
std::string format(const char* fmt, double value) { return formatNumbers(fmt, {value}); }

void checkBurstPressure(Q5& q, const FlightSurvey& s)
{
    double pb = 0;
    double time = 0;
    const char* what = "Burst";
    if (q.burstRec) {
        const RawRecord& b = *q.burstRec;
        // Pressure (hPa) of the burst in the detection mode; 0 when it has none.
        if (q.lDetGps)
            pb = b.isGps() ? b.data.gps.gpsP : 0;
        else
            pb = b.isPtu() ? b.data.ptu.p - q.sfcCorrP : 0;
        time = b.time;
    } else {
        // Without a burst the highest point (lowest pressure) of the flight.
        what = "Highest point";
        pb = s.topPressure;
        time = s.topPressureTime;
    }
    if (!(pb > MinPressureForTotal) || pb == std::numeric_limits<double>::infinity())
        return;
    addWarning(q.warnings, "burst-above-10hpa",
               std::string(what) + " at " + format("%.2f", pb) + " hPa (" + clockOf(time) + "), above "
                   + format("%.0f", MinPressureForTotal) + " hPa: the total column is not reliable"
                   + (q.reference.totalO3 ? " and no correction factor against the reference is computed." : "."),
               {{"pressure", pb}, {"time", time}});
}

void checkEndsAscending(Q5& q, const FlightSurvey& s)
{
    if (!s.anyHeight || s.topHeight - s.lastHeight >= MinDescentAfterTop)
        return;
    addWarning(q.warnings, "ends-ascending",
               "The data end at " + clockOf(s.lastHeightTime) + " (" + format("%.1f", s.lastHeight / 1000)
                   + " km) while still ascending: no burst was seen (truncated file or lost telemetry).",
               {{"time", s.lastHeightTime}, {"height", s.lastHeight}});
}

void checkGaps(Q5& q, const FlightSurvey& survey)
{
    for (int s = 0; s < 2 + MaxSondes; ++s) {
        GapTracker g = survey.streams[s];
        const bool wanted = s == 0 || (s == 1 && q.rsGpsInst) || (s >= 2 && q.o3Sonde[s - 2].sn[0]);
        if (!wanted || !g.seen)
            continue;
        g.gap(g.last, survey.ascent.to);
        if (g.count == 0)
            continue;
        const std::string name = s == 0 ? "PTU" : s == 1 ? "GPS" : "Ozonesonde " + std::to_string(s - 1);
        std::vector<WarningValue> values{{"seconds", g.longest}, {"time", g.at}, {"gaps", double(g.count)}};
        if (s >= 2)
            values.push_back({"sonde", double(s - 1)});
        addWarning(q.warnings, "telemetry-gap",
                   name + " telemetry gap of " + format("%.0f", g.longest) + " s at " + clockOf(g.at)
                       + " during the ascent (" + std::to_string(g.count) + " gap" + (g.count > 1 ? "s" : "")
                       + " longer than " + format("%.0f", MaxTelemetryGap) + " s).",
                   std::move(values));
    }
}

// Ozone samples logged after the last PTU sample keep unknown pressure,
// temperature and height. A few at the end of every file are the normal
// interleaving of the streams; over a minute of them means the PTU
// telemetry was lost while the ozonesondes went on.
void checkUnplaced(Q5& q, const FlightSurvey& s)
{
    if (s.unplaced == 0 || (s.unplacedLast - s.lastPtu) * SecondsPerDay <= MaxTelemetryGap)
        return;
    addWarning(q.warnings, "unplaced-samples",
               std::to_string(s.unplaced) + " ozone samples from " + clockOf(s.unplacedFirst)
                   + " on came after the last PTU sample: their pressure, temperature, height and ozone are"
                     " unknown and left blank.",
               {{"count", double(s.unplaced)}, {"time", s.unplacedFirst}});
}

void checkInstruments(Q5& q, const FlightSurvey& s)
{
    if (q.rsGpsInst && s.fixes == 0)
        addWarning(q.warnings, "gps-without-fixes",
                   "The configuration says a GPS is installed, but the flight holds no GPS fix with "
                       + std::to_string(MinSatsForFix) + " or more satellites.");
    if (!q.rsGpsInst && s.fixes >= MinFixesForGps)
        addWarning(q.warnings, "gps-not-configured",
                   "The configuration says no GPS is installed, but the flight holds " + std::to_string(s.fixes)
                       + " good GPS fixes; they were not used.",
                   {{"fixes", double(s.fixes)}});
    if (q.rsPrInst && s.ptu == 0)
        addWarning(q.warnings, "pressure-without-data",
                   "The configuration says a pressure sensor is installed, but the flight holds no valid PTU "
                   "packet.");
}

// The streams are aligned by time in file order: a record dated before the
// one logged ahead of it (a ground-station clock set back, or dates before
// 1900, whose times run backwards within the day) leaves what is derived
// around it unknown or misplaced.
void checkTimeOrder(Q5& q, const FlightSurvey& s)
{
    if (s.backwards == 0)
        return;
    const double back = (s.backwardsFrom - s.backwardsFirst) * SecondsPerDay;
    addWarning(q.warnings, "time-order",
               std::to_string(s.backwards) + " flight record" + (s.backwards > 1 ? "s are" : " is")
                   + " dated earlier than the record logged before, first at " + clockOf(s.backwardsFirst) + ", "
                   + format("%.3f", back)
                   + " s back: the streams cannot be aligned there, and values derived for those records may be"
                     " unknown or wrong.",
               {{"count", double(s.backwards)}, {"time", s.backwardsFirst}, {"seconds", back}});
}

} // namespace

AscentWindow::AscentWindow(const Q5& q)
{
    from = q.launchRec ? q.launchRec->time : (q.fltRecs.empty() ? 0 : q.fltRecs.first()->time);
    to = q.burstRec ? q.burstRec->time : (q.fltRecs.empty() ? 0 : q.fltRecs.last()->time);
}

std::string clockOf(double time)
{
    const DateParts d = decodeDateTime(time);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", d.hour, d.minute, d.second);
    return buf;
}

// A reference total that is no plausible column was left out on reading.
void checkReference(Q5& q)
{
    const std::string& text = q.reference.totalO3Unused;
    if (text.empty())
        return;
    std::string shown = text.substr(0, 40);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            c = '?';
    addWarning(q.warnings, "reference-value",
               "The reference total ozone \"" + shown + "\" is not a number from " + format("%.0f", MinReferenceTotalDu)
                   + " to " + format("%.0f", MaxReferenceTotalDu)
                   + " DU; it is not used (no correction factor, none in the archive files).");
}

void checkFlightTrack(Q5& q, const FlightSurvey& survey)
{
    checkReference(q);
    checkBurstPressure(q, survey);
    checkEndsAscending(q, survey);
    checkGaps(q, survey);
    checkUnplaced(q, survey);
    checkInstruments(q, survey);
    checkTimeOrder(q, survey);
}

void checkFlight(Q5& q)
{
    FlightSurvey survey(q);
    for (const RawRecord& r : q.fltRecs)
        survey.visit(r);
    checkFlight(q, survey);
}

void checkFlight(Q5& q, const FlightSurvey& survey)
{
    checkFlightTrack(q, survey);
    checkOzonesondes(q, survey);
}

} // namespace lumo
