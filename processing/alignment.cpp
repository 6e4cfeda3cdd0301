#include "alignment.h"

#include "atmosphere.h"
#include "flight/datetime.h"
#include "surfacereference.h"

namespace lumo {

namespace {

bool isPtu(const RawRecord& r) { return r.isPtu(); }
bool isGps(const RawRecord& r) { return r.isGps(); }
bool isOzone(const RawRecord& r) { return r.isOzone(); }

// Ascent rate (m/s) of a height change dz over the time step t0 -> t1 (days);
// 0 when the step is not forward, so equal time stamps give no infinity.
double rateOver(double dz, double t1, double t0)
{
    const double dt = (t1 - t0) * SecondsPerDay;
    return dt > 0 ? dz / dt : 0;
}

} // namespace

void gpsPressures(Q5& q)
{
    RawRecord* good = nullptr;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (!r->isGps())
            continue;
        GpsData& g = r->data.gps;
        if (!good) {
            // The first fix is taken to be at the launch site.
            g.gpsP = gpsSurfaceP(q);
            g.alt = q.stnAlt;
            good = r;
        } else if (g.nSats < MinSatsForFix || g.ptuT == Missing) {
            // Too few satellites, or no temperature after the last PTU sample.
            g.gpsP = 0;
        } else {
            const GpsData& b = good->data.gps;
            g.gpsP = hypsometricPressure(b.gpsP, b.alt, b.ptuT, b.ptuU, g.alt, g.ptuT, g.ptuU);
            good = r;
        }
    }
}

void ptuHeights(Q5& q)
{
    RawRecord* prev = nullptr;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (!r->isPtu())
            continue;
        PtuData& d = r->data.ptu;
        if (!prev) {
            d.hgt = q.stnAlt;
        } else {
            const PtuData& b = prev->data.ptu;
            d.hgt = hypsometricHeight(b.hgt, b.p - q.sfcCorrP, b.t - q.sfcCorrT, b.u - q.sfcCorrU, d.p - q.sfcCorrP,
                                      d.t - q.sfcCorrT, d.u - q.sfcCorrU);
        }
        prev = r;
    }
}

void ascentRates(Q5& q)
{
    const RawRecord* prevPtu = nullptr;
    const RawRecord* prevGps = nullptr;
    for (RawRecord* r = q.fltRecs.first(); r; r = r->next) {
        if (q.rsPrInst && r->isPtu()) {
            if (prevPtu)
                r->data.ptu.rate = rateOver(r->data.ptu.hgt - prevPtu->data.ptu.hgt, r->time, prevPtu->time);
            prevPtu = r;
        } else if (q.rsGpsInst && r->isGps()) {
            // The previous fix counts whatever its satellites.
            if (prevGps && r->data.gps.nSats >= MinSatsForFix)
                r->data.gps.gpsRate = rateOver(r->data.gps.alt - prevGps->data.gps.alt, r->time, prevGps->time);
            prevGps = r;
        }
    }
}

void alignStreams(Q5& q)
{
    RecordList<RawRecord>& list = q.fltRecs;
    const double cp = q.sfcCorrP, ct = q.sfcCorrT, cu = q.sfcCorrU;
    const bool pr = q.rsPrInst != 0;
    const bool gps = q.rsGpsInst != 0;
    const std::array<double, 1> stnAlt{q.stnAlt};
    auto ptuTU = [ct, cu](const RawRecord& r) {
        return std::array<double, 2>{r.data.ptu.t - ct, r.data.ptu.u - cu};
    };
    const std::array<double, 2> refTU{refSurfaceT(q), refSurfaceU(q)};

    // Temperature and humidity at each GPS fix, for its pressure.
    if (gps)
        alignByTime<2>(list, isPtu, ptuTU, isGps,
                       [](RawRecord& r, const std::array<double, 2>& v) {
                           r.data.gps.ptuT = v[0];
                           r.data.gps.ptuU = v[1];
                       },
                       refTU);
    // Pressure at each GPS fix, height at each PTU sample.
    if (gps)
        gpsPressures(q);
    if (pr)
        ptuHeights(q);
    // PTU pressure, temperature and humidity, humidity-sensor temperature
    // (plain PTU packets carry none, 0) and height at each ozone sample. All
    // come from the same source records onto the same targets, so one walk
    // places them alike.
    const bool ext = q.hasPtuExt != 0;
    alignByTime<5>(
        list, isPtu,
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
        std::array<double, 5>{refSurfaceP(q), refSurfaceT(q), refSurfaceU(q), refSurfaceT(q), q.stnAlt});
    auto gpsAlt = [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.alt}; };
    // GPS altitude at each PTU sample and at each ozone sample.
    if (gps) {
        alignByTime<1>(list, isGps, gpsAlt, isPtu,
                       [](RawRecord& r, const std::array<double, 1>& v) { r.data.ptu.gpsAlt = v[0]; }, stnAlt);
        alignByTime<1>(list, isGps, gpsAlt, isOzone,
                       [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.gpsAlt = v[0]; }, stnAlt);
    }
    // GPS pressure at each ozone sample, only from fixes that have one.
    if (gps)
        alignByTime<1>(
            list, [](const RawRecord& r) { return r.isGps() && r.data.gps.gpsP > 0; },
            [](const RawRecord& r) { return std::array<double, 1>{r.data.gps.gpsP}; }, isOzone,
            [](RawRecord& r, const std::array<double, 1>& v) { r.data.o3.gpsP = v[0]; },
            [](RawRecord& r) { r.data.o3.gpsP = Missing; }, std::array<double, 1>{gpsSurfaceP(q)});
}

} // namespace lumo
