#include "qualitychecks.h"

#include <cstdio>
#include <limits>

#include "alignment.h"
#include "flight/datetime.h"
#include "flight/numbertext.h"
#include "flight/q5.h"
#include "qualitylimits.h"

namespace lumo {

using namespace quality;

namespace {

// Message numbers with "." whatever the process locale.
std::string format(const char* fmt, double value) { return formatNumbers(fmt, {value}); }

bool isFix(const RawRecord& r) { return r.isGps() && r.data.gps.nSats >= MinSatsForFix; }

// Pressure (hPa) of a record of the detection mode; 0 when it has none.
double modePressure(const Q5& q, const RawRecord& r)
{
    if (q.lDetGps)
        return r.isGps() ? r.data.gps.gpsP : 0;
    return r.isPtu() ? r.data.ptu.p - q.sfcCorrP : 0;
}

void checkBurstPressure(Q5& q)
{
    double pb = 0;
    double time = 0;
    const char* what = "Burst";
    if (q.burstRec) {
        pb = modePressure(q, *q.burstRec);
        time = q.burstRec->time;
    } else {
        // Without a burst the highest point (lowest pressure) of the flight.
        what = "Highest point";
        pb = std::numeric_limits<double>::infinity();
        for (const RawRecord& r : q.fltRecs) {
            const double p = modePressure(q, r);
            if (p > 0 && p < pb) {
                pb = p;
                time = r.time;
            }
        }
    }
    if (!(pb > MinPressureForTotal) || pb == std::numeric_limits<double>::infinity())
        return;
    addWarning(q.warnings, "burst-above-10hpa",
               std::string(what) + " at " + format("%.2f", pb) + " hPa (" + clockOf(time) + "), above "
                   + format("%.0f", MinPressureForTotal) + " hPa: the total column is not reliable"
                   + (q.reference.totalO3 ? " and no correction factor against the reference is computed." : "."),
               {{"pressure", pb}, {"time", time}});
}

// Height (m) of the flight's track: PTU heights with a pressure sensor,
// else the GPS altitudes of good fixes.
bool trackHeight(const Q5& q, const RawRecord& r, double& h)
{
    if (q.rsPrInst && r.isPtu() && r.data.ptu.hgt != Missing) {
        h = r.data.ptu.hgt;
        return true;
    }
    if (!q.rsPrInst && isFix(r)) {
        h = r.data.gps.alt;
        return true;
    }
    return false;
}

void checkEndsAscending(Q5& q)
{
    double top = -std::numeric_limits<double>::infinity(), last = 0, lastTime = 0;
    bool any = false;
    for (const RawRecord& r : q.fltRecs) {
        double h = 0;
        if (!trackHeight(q, r, h))
            continue;
        top = std::max(top, h);
        last = h;
        lastTime = r.time;
        any = true;
    }
    if (!any || top - last >= MinDescentAfterTop)
        return;
    addWarning(q.warnings, "ends-ascending",
               "The data end at " + clockOf(lastTime) + " (" + format("%.1f", last / 1000)
                   + " km) while still ascending: no burst was seen (truncated file or lost telemetry).",
               {{"time", lastTime}, {"height", last}});
}

// The longest silence of one stream during the ascent, counting up to the
// end of the ascent when the stream stops early.
struct GapTracker {
    double last = 0, longest = 0, at = 0;
    int count = 0;
    bool seen = false;

    void sample(double time)
    {
        if (seen)
            gap(last, time);
        last = time;
        seen = true;
    }
    void gap(double from, double to)
    {
        const double seconds = (to - from) * SecondsPerDay;
        if (seconds <= MaxTelemetryGap)
            return;
        ++count;
        if (seconds > longest) {
            longest = seconds;
            at = from;
        }
    }
};

void checkGaps(Q5& q)
{
    const AscentWindow ascent(q);
    // PTU, GPS, then the four ozonesondes.
    GapTracker streams[2 + MaxSondes];
    for (const RawRecord& r : q.fltRecs) {
        if (!ascent.contains(r.time))
            continue;
        if (r.isPtu())
            streams[0].sample(r.time);
        else if (r.isGps())
            streams[1].sample(r.time);
        else if (r.isOzone() && r.o3Slot() >= 0)
            streams[2 + r.o3Slot()].sample(r.time);
    }
    for (int s = 0; s < 2 + MaxSondes; ++s) {
        GapTracker& g = streams[s];
        const bool wanted = s == 0 || (s == 1 && q.rsGpsInst) || (s >= 2 && q.o3Sonde[s - 2].sn[0]);
        if (!wanted || !g.seen)
            continue;
        g.gap(g.last, ascent.to);
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
void checkUnplaced(Q5& q)
{
    int count = 0;
    double first = 0, last = 0, lastPtu = 0;
    for (const RawRecord& r : q.fltRecs) {
        if (r.isPtu())
            lastPtu = r.time;
        if (r.isOzone() && r.data.o3.t == Missing) {
            if (count++ == 0)
                first = r.time;
            last = r.time;
        }
    }
    if (count == 0 || (last - lastPtu) * SecondsPerDay <= MaxTelemetryGap)
        return;
    addWarning(q.warnings, "unplaced-samples",
               std::to_string(count) + " ozone samples from " + clockOf(first)
                   + " on came after the last PTU sample: their pressure, temperature, height and ozone are"
                     " unknown and left blank.",
               {{"count", double(count)}, {"time", first}});
}

void checkInstruments(Q5& q)
{
    int fixes = 0, ptu = 0;
    for (const RawRecord& r : q.fltRecs) {
        fixes += isFix(r) ? 1 : 0;
        ptu += r.isPtu() ? 1 : 0;
    }
    if (q.rsGpsInst && fixes == 0)
        addWarning(q.warnings, "gps-without-fixes",
                   "The configuration says a GPS is installed, but the flight holds no GPS fix with "
                       + std::to_string(MinSatsForFix) + " or more satellites.");
    if (!q.rsGpsInst && fixes >= MinFixesForGps)
        addWarning(q.warnings, "gps-not-configured",
                   "The configuration says no GPS is installed, but the flight holds " + std::to_string(fixes)
                       + " good GPS fixes; they were not used.",
                   {{"fixes", double(fixes)}});
    if (q.rsPrInst && ptu == 0)
        addWarning(q.warnings, "pressure-without-data",
                   "The configuration says a pressure sensor is installed, but the flight holds no valid PTU "
                   "packet.");
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

void checkFlightTrack(Q5& q)
{
    checkBurstPressure(q);
    checkEndsAscending(q);
    checkGaps(q);
    checkUnplaced(q);
    checkInstruments(q);
}

void checkFlight(Q5& q)
{
    checkFlightTrack(q);
    checkOzonesondes(q);
}

} // namespace lumo
