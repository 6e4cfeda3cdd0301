#include "launchburst.h"

#include "flight/q5.h"

namespace lumo {

namespace {

constexpr int LaunchRun = 10;         // consecutive ascending samples
constexpr double MinBurstPressure = 1.0; // hPa; lower PTU pressures are sensor noise

bool isModeRecord(const Q5& q, const RawRecord& r) { return q.lDetGps ? r.isGps() : r.isPtu(); }

double ascentRate(const Q5& q, const RawRecord& r) { return q.lDetGps ? r.data.gps.gpsRate : r.data.ptu.rate; }

RawRecord* burstPtu(const Q5& q)
{
    RawRecord* accepted = nullptr;
    RawRecord* candidate = nullptr;
    bool first = true;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (!r->isPtu())
            continue;
        if (first) {
            candidate = accepted;
            accepted = r;
            first = false;
            continue;
        }
        const double p = r->data.ptu.p - q.sfcCorrP;
        if (q.endFltPr > 0 && p < q.endFltPr)
            break;
        if (q.endFltAlt > 0 && r->data.ptu.hgt > q.endFltAlt)
            break;
        if (accepted->data.ptu.p - q.sfcCorrP >= p && p >= MinBurstPressure) {
            candidate = accepted;
            accepted = r;
        }
    }
    return candidate;
}

RawRecord* burstGps(const Q5& q)
{
    RawRecord* accepted = nullptr;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (!r->isGps())
            continue;
        if (!accepted) {
            accepted = r;
            continue;
        }
        const GpsData& g = r->data.gps;
        if (!(g.gpsP > 0))
            continue; // weak fix: no pressure
        if (q.endFltPr > 0 && g.gpsP < q.endFltPr)
            break;
        if (q.endFltAlt > 0 && g.alt > q.endFltAlt)
            break;
        if (g.gpsP <= accepted->data.gps.gpsP)
            accepted = r;
    }
    return accepted;
}

} // namespace

RawRecord* findLaunch(const Q5& q)
{
    int count = 0;
    RawRecord* tenth = nullptr;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (!isModeRecord(q, *r))
            continue;
        count = ascentRate(q, *r) >= q.lDetVal ? count + 1 : 0;
        if (count == LaunchRun) {
            tenth = r;
            break;
        }
    }
    if (!tenth)
        return q.fltRecs.first();
    // Back over the ten ascending samples to the mode record before them.
    RawRecord* w = tenth;
    --count;
    while (count >= 0 && w->prev) {
        w = w->prev;
        if (isModeRecord(q, *w))
            --count;
    }
    return w;
}

RawRecord* findBurst(const Q5& q) { return q.lDetGps ? burstGps(q) : burstPtu(q); }

void detectLaunchAndBurst(Q5& q)
{
    q.launchRec = findLaunch(q);
    q.burstRec = findBurst(q);
}

} // namespace lumo
