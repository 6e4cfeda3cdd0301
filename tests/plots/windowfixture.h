#pragma once

// The plot window tests' records: plot-ready values (heights, GPS altitude,
// ozone partial pressure) set as the processing run would leave them; times
// are date-times as given.

#include "support/records.h"

namespace plotfixture {

using lumo::RawRecord;
using lumo::RecordList;

inline RawRecord* addPtu(RecordList<RawRecord>& list, double time, double p, double t, double u, double hgt,
    double gpsAlt, bool extended = false)
{
    RawRecord& r = lumo::test::appendPtu(list, time, p, t, u, extended ? lumo::TypePtuExt : lumo::TypePtu);
    r.data.ptu.vbat = 9.1;
    r.data.ptu.tint = 21;
    r.data.ptu.tpr = 22;
    r.data.ptu.tu = 23;
    r.data.ptu.hgt = hgt;
    r.data.ptu.gpsAlt = gpsAlt;
    r.data.ptu.rate = 5;
    return &r;
}

inline RawRecord* addO3(RecordList<RawRecord>& list, double time, int chain, double o3pp, double hgt, double gpsAlt)
{
    RawRecord& r = lumo::test::appendOzone(list, time, chain, 1.5, 30);
    r.data.o3.o3pp = o3pp;
    r.data.o3.ip = 80;
    r.data.o3.o3Bat = 12;
    r.data.o3.hgt = hgt;
    r.data.o3.gpsAlt = gpsAlt;
    return &r;
}

inline RawRecord* addGps(RecordList<RawRecord>& list, double time, double alt, double gpsRate)
{
    RawRecord& r = lumo::test::appendGps(list, time, 0, 0, alt, 0);
    r.data.gps.gpsRate = gpsRate;
    return &r;
}

inline lumo::WindRecord* addWind(RecordList<lumo::WindRecord>& list, double time, double alt, double wd, double ws)
{
    return &lumo::test::appendWind(list, time, alt, wd, ws);
}

} // namespace plotfixture
