#pragma once

#include "flight/datetime.h"
#include "flight/q5.h"

namespace lumo::test {

// A fixed flight day (2024-03-15); times in the tests are seconds after its midnight.
constexpr double FlightDay = 45366.0;

inline double at(double seconds) { return FlightDay + seconds / SecondsPerDay; }

inline RawRecord* addPtu(RecordList<RawRecord>& list, double sec, double p, double t, double u,
                         std::uint8_t type = TypePtu)
{
    RawRecord* r = list.append();
    r->time = at(sec);
    r->type = type;
    r->data.ptu.p = p;
    r->data.ptu.t = t;
    r->data.ptu.u = u;
    return r;
}

inline RawRecord* addGps(RecordList<RawRecord>& list, double sec, double lat, double lon, double alt, int nSats = 8)
{
    RawRecord* r = list.append();
    r->time = at(sec);
    r->type = TypeGps;
    r->data.gps.lat = lat;
    r->data.gps.lon = lon;
    r->data.gps.alt = alt;
    r->data.gps.nSats = nSats;
    return r;
}

inline RawRecord* addOzone(RecordList<RawRecord>& list, double sec, int num, double ic, double tp = 25.0)
{
    RawRecord* r = list.append();
    r->time = at(sec);
    r->type = TypeAux;
    r->kind = KindOzonesonde;
    r->data.o3.o3Num = static_cast<std::uint8_t>(num);
    r->data.o3.ic = ic;
    r->data.o3.tp = tp;
    return r;
}

// A configured ozonesonde at chain position k (1..4).
inline void addSonde(Q5& q, int k, const char* sn, double bkg = 0.05, double flow = 28.0)
{
    O3SondeCfg& s = q.o3Sonde[k - 1];
    for (int i = 0; sn[i] && i < 20; ++i)
        s.sn[i] = sn[i];
    s.bkg = bkg;
    s.flow = flow;
    if (q.o3Count < static_cast<std::uint32_t>(k))
        q.o3Count = static_cast<std::uint32_t>(k);
}

} // namespace lumo::test
