#pragma once

#include <cstdint>

#include "flight/datetime.h"
#include "flight/q5.h"
#include "flight/textfield.h"

namespace lumo::test {

// Record builders shared by the tests: each appends one record at the
// date-time `time` (days) with the decoded values given; every other member
// stays zero for the caller to set.

inline RawRecord& appendPtu(RecordList<RawRecord>& list, double time, double p, double t, double u,
                            std::uint8_t type = TypePtu)
{
    RawRecord& r = *list.append();
    r.time = time;
    r.type = type;
    r.data.ptu.p = p;
    r.data.ptu.t = t;
    r.data.ptu.u = u;
    return r;
}

inline RawRecord& appendGps(RecordList<RawRecord>& list, double time, double lat, double lon, double alt, int nSats,
                            std::uint8_t type = TypeGps)
{
    RawRecord& r = *list.append();
    r.time = time;
    r.type = type;
    r.data.gps.lat = lat;
    r.data.gps.lon = lon;
    r.data.gps.alt = alt;
    r.data.gps.nSats = nSats;
    return r;
}

// An ozonesonde packet of chain position `o3Num` (1..4).
inline RawRecord& appendOzone(RecordList<RawRecord>& list, double time, int o3Num, double ic, double tp)
{
    RawRecord& r = *list.append();
    r.time = time;
    r.type = TypeAux;
    r.kind = KindOzonesonde;
    r.data.o3.o3Num = static_cast<std::uint8_t>(o3Num);
    r.data.o3.ic = ic;
    r.data.o3.tp = tp;
    return r;
}

inline WindRecord& appendWind(RecordList<WindRecord>& list, double time, double alt, double wd, double ws)
{
    WindRecord& w = *list.append();
    w.time = time;
    w.alt = alt;
    w.wd = wd;
    w.ws = ws;
    return w;
}

// A configured ozonesonde at chain position k (1..4).
inline void addSonde(Q5& q, int k, const char* sn, double bkg = 0.05, double flow = 28.0)
{
    O3SondeCfg& s = q.o3Sonde[k - 1];
    copyText(s.sn, sn);
    s.bkg = bkg;
    s.flow = flow;
    if (q.o3Count < static_cast<std::uint32_t>(k))
        q.o3Count = static_cast<std::uint32_t>(k);
}

} // namespace lumo::test
