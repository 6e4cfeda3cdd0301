#include "launchburst.h"

#include "flight/q5.h"

namespace lumo {

namespace {

constexpr int LaunchRun = 10;         // consecutive ascending samples
constexpr double MinBurstPressure = 1.0; // hPa; lower PTU pressures are sensor noise

bool isModeRecord(const Q5& q, const RawRecord& r) { return q.lDetGps ? r.isGps() : r.isPtu(); }

double ascentRate(const Q5& q, const RawRecord& r) { return q.lDetGps ? r.data.gps.gpsRate : r.data.ptu.rate; }

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

void BurstSearch::visit(RawRecord& r)
{
    if (done_)
        return;
    if (q_.lDetGps)
        gps(r);
    else
        ptu(r);
}

void BurstSearch::ptu(RawRecord& r)
{
    if (!r.isPtu())
        return;
    if (!accepted_) {
        accepted_ = &r;
        return;
    }
    const double p = r.data.ptu.p - q_.sfcCorrP;
    if ((q_.endFltPr > 0 && p < q_.endFltPr) || (q_.endFltAlt > 0 && r.data.ptu.hgt > q_.endFltAlt)) {
        done_ = true;
        return;
    }
    if (accepted_->data.ptu.p - q_.sfcCorrP >= p && p >= MinBurstPressure) {
        candidate_ = accepted_;
        accepted_ = &r;
    }
}

void BurstSearch::gps(RawRecord& r)
{
    if (!r.isGps())
        return;
    if (!accepted_) {
        accepted_ = &r;
        return;
    }
    const GpsData& g = r.data.gps;
    if (!(g.gpsP > 0))
        return; // weak fix: no pressure
    if ((q_.endFltPr > 0 && g.gpsP < q_.endFltPr) || (q_.endFltAlt > 0 && g.alt > q_.endFltAlt)) {
        done_ = true;
        return;
    }
    if (g.gpsP <= accepted_->data.gps.gpsP)
        accepted_ = &r;
}

// In PTU mode the sample accepted before the last one; in GPS mode the last
// accepted fix.
RawRecord* BurstSearch::burst() const { return q_.lDetGps ? accepted_ : candidate_; }

RawRecord* findBurst(const Q5& q)
{
    BurstSearch search(q);
    for (RawRecord* r = q.fltRecs.first(); r && !search.done(); r = r->next)
        search.visit(*r);
    return search.burst();
}

} // namespace lumo
