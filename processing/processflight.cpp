#include "flight/plotsink.h"
#include "flight/q5.h"

#include "alignment.h"
#include "column.h"
#include "flightsurvey.h"
#include "launchburst.h"
#include "ozone.h"
#include "qualitychecks.h"
#include "standardmethod.h"
#include "surface.h"
#include "tropopause.h"
#include "uncertainty.h"
#include "wind.h"

namespace lumo {

namespace {

// What a run derives of the flight as a whole starts again as unknown, and
// so do the surface records. The flight records start afresh in the first
// walk of the alignment.
void clearResults(Q5& q)
{
    for (RawRecord& r : q.sfcRecs)
        clearDerived(q, r);
    for (int h = 0; h < MaxSondes; ++h) {
        q.o3Measured[h] = Missing;
        q.o3Residual[h] = Missing;
    }
    for (int h = 0; h < MaxSondes; ++h)
        q.o3MeasuredUnc[h] = q.o3ResidualUnc[h] = q.o3TotalUnc[h] = q.o3CorrFactor[h] = Missing;
    for (O3MethodResult& m : q.o3MethodResult)
        m = O3MethodResult{};
    q.tropopause = q.tropopause2 = Tropopause{};
    q.launchRec = nullptr;
    q.burstRec = nullptr;
    q.windRecs.clear();
}

// Once the streams are aligned: the partial pressure of every flight ozone
// sample that has a pressure, then the optional filter (it only looks
// back, so it follows each record at once); the ascent rates; the burst.
// Each needs a record and those before it only, so they share one walk.
void afterAlignment(Q5& q)
{
    const bool filter = q.lpFilter > 0;
    OzoneLowPass lowPass(q.lpFilter);
    AscentRateStep rates(q);
    BurstSearch burst(q);
    for (RawRecord& r : q.fltRecs) {
        rates.visit(r);
        burst.visit(r);
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
    q.launchRec = findLaunch(q);
    q.burstRec = burst.burst();
}

// Once launch and burst are known: the winds, the sums of the measured
// columns and of their uncertainties, the ascent levels for the tropopauses
// and the statistics of the quality checks each need every record once, in
// list order, so they share one walk. The results that follow from the sums
// come after it, in the order they depend on each other.
void afterLaunchAndBurst(Q5& q)
{
    const bool winds = q.rsGpsInst != 0;
    WindStep wind(q);
    MeasuredColumnSum measured(q);
    ColumnUncertaintySum uncertainty(q);
    const bool standard = q.o3Method.standard();
    ClassicColumnSum classic(q);
    ColumnSamples columns(q, [&](int h, const RawRecord* prev, double prevP, const RawRecord& r, double p) {
        measured.add(h, prev, prevP, r, p);
        uncertainty.add(h, prev, prevP, r, p);
        if (standard)
            classic.add(h, prev, prevP, r, p);
    });
    AscentLevels ascent(q);
    FlightSurvey survey(q);
    for (RawRecord& r : q.fltRecs) {
        if (winds)
            wind.visit(r);
        columns.visit(r);
        ascent.visit(r);
        survey.visit(r);
    }
    residualColumns(q);
    uncertainty.finish(q);
    if (standard)
        classic.finish(q);
    else
        for (int h = 0; h < MaxSondes; ++h) {
            q.o3MethodResult[h].classicMeasured = q.o3Measured[h];
            q.o3MethodResult[h].classicSfcO3 = q.sfcO3[h];
        }
    correctionFactors(q);
    tropopauses(q, ascent.levels());
    checkFlight(q, survey);
}

} // namespace

bool Q5::processFlight()
{
    if (sfcRecs.empty() || fltRecs.empty())
        return false;
    clearResults(*this);
    warnings = setupWarnings;
    referBackgrounds(*this);
    if (!surfaceStatistics(*this)) {
        for (RawRecord& r : fltRecs)
            clearDerived(*this, r);
        return false;
    }
    surfaceOzone(*this);
    alignStreams(*this);
    afterAlignment(*this);
    // The standard method takes the classic partial pressures' place; what
    // follows is shared by both methods.
    if (o3Method.standard())
        applyStandardMethod(*this);
    afterLaunchAndBurst(*this);
    for (PlotSink* sink : plotSinks)
        if (sink)
            sink->LoadPlotData(*this);
    return true;
}

} // namespace lumo
