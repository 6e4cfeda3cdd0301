#pragma once

#include <cstdio>
#include <string>

#include "support/records.h"

namespace lumo::test {

// Hand-built flights for the export tests: records are appended with their
// decoded members, processed members are set by the caller, so the writers
// are tested without the processing run.

// Date-time of 2026-06-21 plus the given seconds of the day.
inline double flightTime(double secondsOfDay)
{
    double day = 0;
    encodeDate(2026, 6, 21, day);
    return day + secondsOfDay / SecondsPerDay;
}

inline RawRecord& addPtu(RecordList<RawRecord>& list, double seconds, double p, double t, double u, double vbat,
                         bool extended = false)
{
    RawRecord& r = appendPtu(list, flightTime(seconds), p, t, u, extended ? TypePtuExt : TypePtu);
    r.data.ptu.vbat = vbat;
    if (extended) {
        r.data.ptu.tint = t + 30.25;
        r.data.ptu.tpr = t + 28.75;
        r.data.ptu.tu = t - 1.05;
    }
    return r;
}

// A fix with the receiver's clock at the given seconds of the day.
inline RawRecord& addGps(RecordList<RawRecord>& list, double seconds, double lat, double lon, double alt, int nSats,
                         bool velocities = false)
{
    RawRecord& r = appendGps(list, flightTime(seconds), lat, lon, alt, nSats, velocities ? TypeGpsVel : TypeGps);
    if (velocities) {
        r.data.gps.ewv = 3.125;
        r.data.gps.nsv = -1.5;
        r.data.gps.udv = 5.0625;
    }
    const int s = static_cast<int>(seconds);
    r.data.gps.gpsHour = s / 3600;
    r.data.gps.gpsMin = s / 60 % 60;
    r.data.gps.gpsSec = s % 60;
    return r;
}

inline RawRecord& addOzone(RecordList<RawRecord>& list, double seconds, int o3Num, double ic, double tp, double ip,
                           double bat)
{
    RawRecord& r = appendOzone(list, flightTime(seconds), o3Num, ic, tp);
    r.data.o3.ip = ip;
    r.data.o3.o3Bat = bat;
    return r;
}

// The values the processing run would have put on an ozone record.
inline void setProcessed(RawRecord& z, double p, double t, double u, double tu, double gpsAlt, double gpsP, double hgt,
                         double o3pp)
{
    O3Data& d = z.data.o3;
    d.p = p;
    d.t = t;
    d.u = u;
    d.tu = tu;
    d.gpsAlt = gpsAlt;
    d.gpsP = gpsP;
    d.hgt = hgt;
    d.o3pp = o3pp;
}

inline WindRecord& addWind(Q5& q5, double seconds, double alt, double wd, double ws)
{
    return appendWind(q5.windRecs, flightTime(seconds), alt, wd, ws);
}

inline void setStation(Q5& q5)
{
    copyText(q5.stnName, "Payerne");
    q5.stnLat = 46.8125;
    q5.stnLong = 6.94375;
    q5.stnAlt = 491.0;
    copyText(q5.rsSondeId, "T4-0815");
    copyText(q5.rsProbeId, "P-2231");
}

// Runs one body (or header) writer into a scratch file and returns the bytes.
template <typename Writer>
std::string captureOutput(Writer write)
{
    std::FILE* f = std::tmpfile();
    if (!f)
        return "<no scratch file>";
    const bool ok = write(f);
    std::string text;
    std::rewind(f);
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    return ok ? text : "<writer failed>";
}

} // namespace lumo::test
