#include "flightsurvey.h"

#include <algorithm>

#include "alignment.h"
#include "flight/datetime.h"
#include "qualitylimits.h"

namespace lumo {

using namespace quality;

void GapTracker::sample(double time)
{
    if (seen)
        gap(last, time);
    last = time;
    seen = true;
}

void GapTracker::gap(double from, double to)
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

FlightSurvey::FlightSurvey(const Q5& q)
    : ascent(q), q_(q)
{
}

void FlightSurvey::visit(const RawRecord& r)
{
    if (previous_ && r.time < previous_->time && backwards++ == 0) {
        backwardsFirst = r.time;
        backwardsFrom = previous_->time;
    }
    previous_ = &r;
    const bool inAscent = ascent.contains(r.time);
    if (r.isPtu())
        ptuSample(r, inAscent);
    else if (r.isGps())
        gpsSample(r, inAscent);
    else if (r.isOzone())
        ozoneSample(r, inAscent);
}

// The track height comes from the PTU heights with a pressure sensor, else
// from the GPS altitudes of good fixes; the highest point is looked for in
// the pressure of the detection mode (PTU pressure corrected to the
// surface reference, or the pressure derived from GPS).
void FlightSurvey::ptuSample(const RawRecord& r, bool inAscent)
{
    const PtuData& ptuData = r.data.ptu;
    if (!q_.burstRec && !q_.lDetGps)
        pressure(r, ptuData.p - q_.sfcCorrP);
    if (q_.rsPrInst && ptuData.hgt != Missing)
        height(r, ptuData.hgt);
    if (inAscent)
        streams[0].sample(r.time);
    lastPtu = r.time;
    ++ptu;
}

void FlightSurvey::gpsSample(const RawRecord& r, bool inAscent)
{
    const GpsData& gps = r.data.gps;
    if (!q_.burstRec && q_.lDetGps)
        pressure(r, gps.gpsP);
    const bool fix = gps.nSats >= MinSatsForFix;
    if (!q_.rsPrInst && fix)
        height(r, gps.alt);
    if (inAscent)
        streams[1].sample(r.time);
    fixes += fix ? 1 : 0;
}

void FlightSurvey::ozoneSample(const RawRecord& r, bool inAscent)
{
    const O3Data& o = r.data.o3;
    const int h = r.o3Slot();
    if (h >= 0 && inAscent)
        streams[2 + h].sample(r.time);
    if (o.t == Missing) {
        if (unplaced++ == 0)
            unplacedFirst = r.time;
        unplacedLast = r.time;
    }
    if (h < 0 || !q_.o3Sonde[h].sn[0]) {
        if (stray++ == 0) {
            firstStray = r.time;
            strayNum = o.o3Num;
        }
    }
    if (h < 0)
        return;
    ++records[h];
    if (!inAscent)
        return;
    SondeAscent& a = sonde[h];
    ++a.samples;
    a.atBackground += o.ic <= q_.o3Sonde[h].bkg ? 1 : 0;
    if (o.tp < MinPumpTemperature || o.tp > MaxPumpTemperature) {
        if (a.pumpOut++ == 0)
            a.pumpFirst = r.time;
        a.pumpMin = std::min(a.pumpMin, o.tp);
        a.pumpMax = std::max(a.pumpMax, o.tp);
    }
}

void FlightSurvey::height(const RawRecord& r, double h)
{
    topHeight = std::max(topHeight, h);
    lastHeight = h;
    lastHeightTime = r.time;
    anyHeight = true;
}

void FlightSurvey::pressure(const RawRecord& r, double p)
{
    if (p > 0 && p < topPressure) {
        topPressure = p;
        topPressureTime = r.time;
    }
}

} // namespace lumo
