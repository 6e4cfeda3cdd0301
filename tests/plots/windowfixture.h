#pragma once

// Builders of surface, flight and wind records for the plot window tests.

#include "flight/q5.h"

namespace plotfixture {

using lumo::RawRecord;
using lumo::RecordList;

inline RawRecord* addPtu(RecordList<RawRecord>& list, double time, double p, double t, double u, double hgt,
    double gpsAlt, bool extended = false)
{
    RawRecord* r = list.append();
    r->time = time;
    r->type = extended ? lumo::TypePtuExt : lumo::TypePtu;
    r->data.ptu.p = p;
    r->data.ptu.t = t;
    r->data.ptu.u = u;
    r->data.ptu.vbat = 9.1;
    r->data.ptu.tint = 21;
    r->data.ptu.tpr = 22;
    r->data.ptu.tu = 23;
    r->data.ptu.hgt = hgt;
    r->data.ptu.gpsAlt = gpsAlt;
    r->data.ptu.rate = 5;
    return r;
}

inline RawRecord* addO3(RecordList<RawRecord>& list, double time, int chain, double o3pp, double hgt, double gpsAlt)
{
    RawRecord* r = list.append();
    r->time = time;
    r->type = lumo::TypeAux;
    r->kind = lumo::KindOzonesonde;
    r->data.o3.o3Num = static_cast<std::uint8_t>(chain);
    r->data.o3.o3pp = o3pp;
    r->data.o3.ic = 1.5;
    r->data.o3.tp = 30;
    r->data.o3.ip = 80;
    r->data.o3.o3Bat = 12;
    r->data.o3.hgt = hgt;
    r->data.o3.gpsAlt = gpsAlt;
    return r;
}

inline RawRecord* addGps(RecordList<RawRecord>& list, double time, double alt, double gpsRate)
{
    RawRecord* r = list.append();
    r->time = time;
    r->type = lumo::TypeGps;
    r->data.gps.alt = alt;
    r->data.gps.gpsRate = gpsRate;
    return r;
}

inline lumo::WindRecord* addWind(RecordList<lumo::WindRecord>& list, double time, double alt, double wd, double ws)
{
    lumo::WindRecord* w = list.append();
    w->time = time;
    w->alt = alt;
    w->wd = wd;
    w->ws = ws;
    return w;
}

} // namespace plotfixture
