#pragma once

#include "support/records.h"

namespace lumo::test {

// The processing tests' records: times in seconds after the midnight of a
// fixed flight day (2024-03-15).
constexpr double FlightDay = 45366.0;

inline double at(double seconds) { return FlightDay + seconds / SecondsPerDay; }

inline RawRecord* addPtu(RecordList<RawRecord>& list, double sec, double p, double t, double u,
                         std::uint8_t type = TypePtu)
{
    return &appendPtu(list, at(sec), p, t, u, type);
}

inline RawRecord* addGps(RecordList<RawRecord>& list, double sec, double lat, double lon, double alt, int nSats = 8)
{
    return &appendGps(list, at(sec), lat, lon, alt, nSats);
}

inline RawRecord* addOzone(RecordList<RawRecord>& list, double sec, int num, double ic, double tp = 25.0)
{
    return &appendOzone(list, at(sec), num, ic, tp);
}

} // namespace lumo::test
