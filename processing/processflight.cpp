#include "flight/plotsink.h"
#include "flight/q5.h"

#include "alignment.h"
#include "column.h"
#include "launchburst.h"
#include "ozone.h"
#include "qualitychecks.h"
#include "surface.h"
#include "tropopause.h"
#include "uncertainty.h"
#include "wind.h"

namespace lumo {

namespace {

// Every member a run derives starts again as unknown: what the time
// alignment cannot place (samples after the last sample of their source
// stream) stays Missing, never a plausible-looking 0. Rates start at 0 and
// a GPS fix without a derived pressure has gpsP 0.
void clearDerived(Q5& q)
{
    const bool gps = q.rsGpsInst != 0;
    for (RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs}) {
        for (RawRecord& r : *list) {
            if (r.isPtu()) {
                r.data.ptu.hgt = r.data.ptu.gpsAlt = Missing;
                r.data.ptu.rate = 0;
            } else if (r.isGps()) {
                r.data.gps.gpsP = r.data.gps.gpsRate = 0;
                if (gps)
                    r.data.gps.ptuT = r.data.gps.ptuU = Missing;
            } else if (r.isOzone()) {
                O3Data& o = r.data.o3;
                o.p = o.t = o.u = o.tu = o.gpsAlt = o.gpsP = o.hgt = o.o3pp = Missing;
            }
        }
    }
    for (int h = 0; h < MaxSondes; ++h) {
        q.o3Measured[h] = Missing;
        q.o3Residual[h] = Missing;
    }
    for (int h = 0; h < MaxSondes; ++h)
        q.o3MeasuredUnc[h] = q.o3ResidualUnc[h] = q.o3TotalUnc[h] = q.o3CorrFactor[h] = Missing;
    q.tropopause = q.tropopause2 = Tropopause{};
    q.launchRec = nullptr;
    q.burstRec = nullptr;
    q.windRecs.clear();
}

// Partial pressure of every flight ozone sample that has a
// pressure, then the optional filter. The filter only looks back, so it
// follows each record at once.
void flightOzone(Q5& q)
{
    const bool filter = q.lpFilter > 0;
    OzoneLowPass lowPass(q.lpFilter);
    for (RawRecord& r : q.fltRecs) {
        if (!r.isOzone())
            continue;
        if (r.o3Slot() < 0) {
            r.data.o3.o3pp = Missing;
            continue;
        }
        const double p = q.rsPrInst ? r.data.o3.p : r.data.o3.gpsP;
        if (p > 0)
            computeO3pp(q, r, p);
        if (filter)
            lowPass.apply(r);
    }
}

} // namespace

bool Q5::processFlight()
{
    if (sfcRecs.empty() || fltRecs.empty())
        return false;
    clearDerived(*this);
    warnings = setupWarnings;
    referBackgrounds(*this);
    if (!surfaceStatistics(*this))
        return false;
    surfaceOzone(*this);
    alignStreams(*this);
    flightOzone(*this);
    ascentRates(*this);
    detectLaunchAndBurst(*this);
    if (rsGpsInst)
        buildWinds(*this);
    totalOzone(*this);
    columnUncertainties(*this);
    correctionFactors(*this);
    tropopauses(*this);
    checkFlight(*this);
    for (PlotSink* sink : plotSinks)
        if (sink)
            sink->LoadPlotData(*this);
    return true;
}

} // namespace lumo
