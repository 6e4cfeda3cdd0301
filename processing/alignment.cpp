#include "alignment.h"

#include "atmosphere.h"
#include "flight/datetime.h"
#include "surfacereference.h"

namespace lumo {

namespace {

// Lambdas rather than functions, so that the alignments inline them.
constexpr auto isPtu = [](const RawRecord& r) { return r.isPtu(); };
constexpr auto isGps = [](const RawRecord& r) { return r.isGps(); };
constexpr auto isOzone = [](const RawRecord& r) { return r.isOzone(); };

// Ascent rate (m/s) of a height change dz over the time step t0 -> t1 (days);
// 0 when the step is not forward, so equal time stamps give no infinity.
double rateOver(double dz, double t1, double t0)
{
    const double dt = (t1 - t0) * SecondsPerDay;
    return dt > 0 ? dz / dt : 0;
}

} // namespace

void clearDerived(const Q5& q, RawRecord& r)
{
    if (r.isPtu()) {
        r.data.ptu.hgt = r.data.ptu.gpsAlt = Missing;
        r.data.ptu.rate = 0;
    } else if (r.isGps()) {
        r.data.gps.gpsP = r.data.gps.gpsRate = 0;
        if (q.rsGpsInst)
            r.data.gps.ptuT = r.data.gps.ptuU = Missing;
    } else if (r.isOzone()) {
        O3Data& o = r.data.o3;
        o.p = o.t = o.u = o.tu = o.gpsAlt = o.gpsP = o.hgt = o.o3pp = Missing;
    }
}

void GpsPressureStep::visit(RawRecord& r)
{
    if (!r.isGps())
        return;
    GpsData& g = r.data.gps;
    if (!good_) {
        // The first fix is taken to be at the launch site.
        g.gpsP = gpsSurfaceP(q_);
        g.alt = q_.stnAlt;
        good_ = &r;
    } else if (g.nSats < MinSatsForFix || g.ptuT == Missing) {
        // Too few satellites, or no temperature after the last PTU sample.
        g.gpsP = 0;
    } else {
        const GpsData& b = good_->data.gps;
        g.gpsP = hypsometricPressure(b.gpsP, b.alt, b.ptuT, b.ptuU, g.alt, g.ptuT, g.ptuU);
        good_ = &r;
    }
}

void PtuHeightStep::visit(RawRecord& r)
{
    if (!r.isPtu())
        return;
    PtuData& d = r.data.ptu;
    if (!prev_) {
        d.hgt = q_.stnAlt;
    } else {
        const double cp = q_.sfcCorrP, ct = q_.sfcCorrT, cu = q_.sfcCorrU;
        const PtuData& b = prev_->data.ptu;
        d.hgt = hypsometricHeight(b.hgt, b.p - cp, b.t - ct, b.u - cu, d.p - cp, d.t - ct, d.u - cu);
    }
    prev_ = &r;
}

void AscentRateStep::visit(RawRecord& r)
{
    if (q_.rsPrInst && r.isPtu()) {
        if (prevPtu_)
            r.data.ptu.rate = rateOver(r.data.ptu.hgt - prevPtu_->data.ptu.hgt, r.time, prevPtu_->time);
        prevPtu_ = &r;
    } else if (q_.rsGpsInst && r.isGps()) {
        // The previous fix counts whatever its satellites.
        if (prevGps_ && r.data.gps.nSats >= MinSatsForFix)
            r.data.gps.gpsRate = rateOver(r.data.gps.alt - prevGps_->data.gps.alt, r.time, prevGps_->time);
        prevGps_ = &r;
    }
}

void gpsPressures(Q5& q)
{
    GpsPressureStep step(q);
    for (RawRecord& r : q.fltRecs)
        step.visit(r);
}

void ptuHeights(Q5& q)
{
    PtuHeightStep step(q);
    for (RawRecord& r : q.fltRecs)
        step.visit(r);
}

void ascentRates(Q5& q)
{
    AscentRateStep step(q);
    for (RawRecord& r : q.fltRecs)
        step.visit(r);
}

void alignStreams(Q5& q)
{
    RecordList<RawRecord>& list = q.fltRecs;
    const double cp = q.sfcCorrP, ct = q.sfcCorrT, cu = q.sfcCorrU;
    const bool pr = q.rsPrInst != 0;
    const bool gps = q.rsGpsInst != 0;
    const std::array<double, 1> stnAlt{q.stnAlt};
    const std::array<double, 2> refTU{refSurfaceT(q), refSurfaceU(q)};

    // Each record afresh; temperature and humidity at each GPS fix, for its
    // pressure; height at each PTU sample.
    auto tuOntoGps = timeAlignment<2>(
        isPtu, [ct, cu](const RawRecord& r) { return std::array<double, 2>{r.data.ptu.t - ct, r.data.ptu.u - cu}; },
        isGps,
        [](RawRecord& r, const std::array<double, 2>& v) {
            r.data.gps.ptuT = v[0];
            r.data.gps.ptuU = v[1];
        },
        KeepUnplaced{}, refTU);
    PtuHeightStep heights(q);
    for (RawRecord* r = list.first(); r; r = r->next) {
        clearDerived(q, *r);
        if (gps)
            tuOntoGps.visit(*r);
        if (pr)
            heights.visit(*r);
    }

    // Pressure at each GPS fix. PTU pressure, temperature and humidity,
    // humidity-sensor temperature (plain PTU packets carry none, 0) and height
    // at each ozone sample: all come from the same source records onto the
    // same targets, so one alignment places them alike. GPS altitude at each
    // PTU and ozone sample; GPS pressure at each ozone sample, only from fixes
    // that have one. A fix gets its pressure before the alignments see it.
    const bool ext = q.hasPtuExt != 0;
    auto ptuOntoOzone = timeAlignment<5>(
        isPtu,
        [cp, ct, cu](const RawRecord& r) {
            const PtuData& d = r.data.ptu;
            return std::array<double, 5>{d.p - cp, d.t - ct, d.u - cu, r.type == TypePtuExt ? d.tu : 0.0, d.hgt};
        },
        isOzone,
        [pr, ext](RawRecord& r, const std::array<double, 5>& v) {
            O3Data& o = r.data.o3;
            if (pr)
                o.p = v[0];
            o.t = v[1];
            o.u = v[2];
            if (ext)
                o.tu = v[3];
            if (pr)
                o.hgt = v[4];
        },
        KeepUnplaced{},
        std::array<double, 5>{refSurfaceP(q), refSurfaceT(q), refSurfaceU(q), refSurfaceT(q), q.stnAlt});
    auto gpsAlt = [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.alt}; };
    auto altOntoPtu = timeAlignment<1>(
        isGps, gpsAlt, isPtu, [](RawRecord& r, const std::array<double, 1>& v) { r.data.ptu.gpsAlt = v[0]; },
        KeepUnplaced{}, stnAlt);
    auto altOntoOzone = timeAlignment<1>(
        isGps, gpsAlt, isOzone, [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.gpsAlt = v[0]; },
        KeepUnplaced{}, stnAlt);
    auto pressureOntoOzone = timeAlignment<1>(
        [](const RawRecord& r) { return r.isGps() && r.data.gps.gpsP > 0; },
        [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.gpsP}; }, isOzone,
        [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.gpsP = v[0]; },
        [](RawRecord& r) { r.data.o3.gpsP = Missing; }, std::array<double, 1>{gpsSurfaceP(q)});
    GpsPressureStep pressures(q);
    for (RawRecord* r = list.first(); r; r = r->next) {
        if (gps)
            pressures.visit(*r);
        ptuOntoOzone.visit(*r);
        if (gps) {
            altOntoPtu.visit(*r);
            altOntoOzone.visit(*r);
            pressureOntoOzone.visit(*r);
        }
    }
}

} // namespace lumo
