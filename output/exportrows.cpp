#include "exportrows.h"

#include <cmath>
#include <numbers>

#include "flight/datetime.h"

namespace lumo {

namespace {

constexpr const char* BlankPressure = "        ,";
constexpr const char* BlankGroup = ",         ,         ,        ,         ,         ";
constexpr const char* BlankPtuExt = "        ,        ,      ,        ,        ,        ,        ,";
constexpr const char* BlankPtu = "        ,        ,      ,        ,";
constexpr const char* BlankGpsVel = "          ,           ,        ,         ,         ,         ,      ,         ,";
constexpr const char* BlankGps = "          ,           ,        ,      ,         ,";
constexpr const char* BlankGpsPressure = "         ,";

constexpr const char* PtuHeaderExt =
    "   PC_date,      PC_time,  Pr(mb), Tamb(C), RH(%), Vbat(V), Tint(C),  Tpr(C),   Tu(C),";
constexpr const char* PtuHeader = "   PC_date,      PC_time,  Pr(mb), Tamb(C), RH(%), Vbat(V),";
constexpr const char* GpsHeaderVel =
    "  Lat(deg),  Long(deg),  Alt(m), EWv(m/s), NSv(m/s), UDv(m/s), nSats, GPS_time, gpPr(mb), gpHgt(m)";
constexpr const char* GpsHeaderSurface = "  Lat(deg),  Long(deg),  Alt(m), nSats, GPS_time, gpPr(mb), gpHgt(m)";
// The flight section of the files without velocities has always carried
// "(M)" in these two columns; programs reading the files match on it.
constexpr const char* GpsHeaderFlight = "  Lat(deg),  Long(deg),  Alt(M), nSats, GPS_time, gpPr(mb), gpHgt(M)";
constexpr const char* WindHeader = ", Ws(m/s), Wd(deg),  u(m/s),  v(m/s)";

} // namespace

FlightWindow::FlightWindow(const Q5& q5)
{
    all_ = q5.showAll != 0;
    if (q5.launchRec) {
        open_ = true;
        from_ = q5.launchRec->time;
        if (q5.burstRec) {
            bounded_ = true;
            to_ = q5.burstRec->time;
        }
    }
}

namespace {

void twoDigits(char* at, int value)
{
    at[0] = static_cast<char>('0' + value / 10);
    at[1] = static_cast<char>('0' + value % 10);
}

} // namespace

void ExportRows::dateTime(double time)
{
    const DateParts d = decodeDateTime(time);
    if (d.year >= 0 && d.year <= 9999) {
        // "yyyy/mm/dd, hh:nn:ss.zzz," in place; the parts below the year are
        // always within their two or three digits.
        char* p = out_.room(25);
        twoDigits(p, d.year / 100);
        twoDigits(p + 2, d.year % 100);
        p[4] = '/';
        twoDigits(p + 5, d.month);
        p[7] = '/';
        twoDigits(p + 8, d.day);
        p[10] = ',';
        p[11] = ' ';
        twoDigits(p + 12, d.hour);
        p[14] = ':';
        twoDigits(p + 15, d.minute);
        p[17] = ':';
        twoDigits(p + 18, d.second);
        p[20] = '.';
        p[21] = static_cast<char>('0' + d.msec / 100);
        twoDigits(p + 22, d.msec % 100);
        p[24] = ',';
        out_.advance(p + 25);
        return;
    }
    out_.zeroPadded(d.year, 4).text("/").zeroPadded(d.month, 2).text("/").zeroPadded(d.day, 2).text(", ");
    out_.zeroPadded(d.hour, 2).text(":").zeroPadded(d.minute, 2).text(":").zeroPadded(d.second, 2).text(".");
    out_.zeroPadded(d.msec, 3).text(",");
}

void ExportRows::ptuFromPtu(const RawRecord& r, bool allData)
{
    const PtuData& d = r.data.ptu;
    if (q5_.rsPrInst)
        out_.fixed(d.p - q5_.sfcCorrP, 8, 2).text(",");
    else
        out_.text(BlankPressure);
    out_.fixed(d.t - q5_.sfcCorrT, 8, 2).text(",");
    out_.fixed(d.u - q5_.sfcCorrU, 6, allData && !q5_.rsPrInst ? 2 : 1).text(",");
    out_.fixed(d.vbat, 8, 1).text(",");
    if (q5_.hasPtuExt) {
        out_.fixed(d.tint, 8, 1).text(",");
        out_.fixed(d.tpr, 8, 1).text(",");
        out_.fixed(d.tu, 8, 1).text(",");
    }
}

void ExportRows::ptuFromOzone(const RawRecord& ozone, const RawRecord& lastPtu)
{
    const O3Data& z = ozone.data.o3;
    const PtuData& l = lastPtu.data.ptu;
    if (q5_.rsPrInst)
        out_.known(z.p, 8, 2).text(",");
    else
        out_.text(BlankPressure);
    out_.known(z.t, 8, 2).text(",");
    out_.known(z.u, 6, 1).text(",");
    out_.fixed(l.vbat, 8, 1).text(",");
    if (q5_.hasPtuExt) {
        out_.fixed(l.tint, 8, 1).text(",");
        out_.fixed(l.tpr, 8, 1).text(",");
        out_.known(z.tu, 8, 1).text(",");
    }
}

void ExportRows::ptuBlank() { out_.text(q5_.hasPtuExt ? BlankPtuExt : BlankPtu); }

void ExportRows::gpsFix(const RawRecord& gps, double altitude)
{
    const GpsData& g = gps.data.gps;
    out_.fixed(g.lat, 10, 5).text(",").fixed(g.lon, 11, 5).text(",").known(altitude, 8, 1).text(",");
    if (q5_.hasGpsVel)
        out_.fixed(g.ewv, 9, 3).text(",").fixed(g.nsv, 9, 3).text(",").fixed(g.udv, 9, 3).text(",");
    out_.integer(g.nSats, 6).text(", ");
    const auto twoDigitsFit = [](std::int32_t v) { return v >= 0 && v < 100; };
    if (twoDigitsFit(g.gpsHour) && twoDigitsFit(g.gpsMin) && twoDigitsFit(g.gpsSec)) {
        char* p = out_.room(9);
        twoDigits(p, g.gpsHour);
        p[2] = ':';
        twoDigits(p + 3, g.gpsMin);
        p[5] = ':';
        twoDigits(p + 6, g.gpsSec);
        p[8] = ',';
        out_.advance(p + 9);
        return;
    }
    out_.zeroPadded(g.gpsHour, 2).text(":").zeroPadded(g.gpsMin, 2).text(":").zeroPadded(g.gpsSec, 2).text(",");
}

void ExportRows::gpsFixWithPressure(const RawRecord& gps, const RawRecord& ozone)
{
    gpsFix(gps, ozone.data.o3.gpsAlt);
    // 0 means no pressure could be derived from the GPS altitude.
    const double gpsP = ozone.data.o3.gpsP;
    out_.known(gpsP > 0 ? gpsP : Missing, 9, 2).text(",");
}

void ExportRows::gpsAltitudeOnly(double altitude)
{
    out_.text("          ,           ,").known(altitude, 8, 1);
    out_.text(q5_.hasGpsVel ? ",         ,         ,         ,      ,         ,         ,"
                            : ",      ,         ,         ,");
}

void ExportRows::gpsBlank(bool withPressure)
{
    out_.text(q5_.hasGpsVel ? BlankGpsVel : BlankGps);
    if (withPressure)
        out_.text(BlankGpsPressure);
}

// With several ozonesondes every row still comes from one packet of one of
// them: its values go into the group of its own chain position and the other
// groups stay blank. A chain number outside 1..N belongs to no group.
void ExportRows::ozoneGroups(const RawRecord& ozone)
{
    const std::uint32_t n = q5_.o3Count;
    if (n == 1) {
        ozoneGroup(ozone);
        return;
    }
    const std::uint32_t own = ozone.data.o3.o3Num;
    for (std::uint32_t k = 1; k <= n; ++k) {
        if (k == own)
            ozoneGroup(ozone);
        else
            out_.text(BlankGroup);
    }
}

void ExportRows::ozoneGroup(const RawRecord& ozone)
{
    const O3Data& z = ozone.data.o3;
    out_.text(",").known(z.o3pp, 9, 2).text(",").fixed(z.ic, 9, 2).text(",").fixed(z.tp, 8, 1);
    out_.text(",").fixed(z.ip, 9, 0).text(",").fixed(z.o3Bat, 9, 1);
}

void ExportRows::blankGroups()
{
    for (std::uint32_t k = 0; k < q5_.o3Count; ++k)
        out_.text(BlankGroup);
}

void ExportRows::columnHeader(bool allData, ExportSection section)
{
    out_.text(q5_.hasPtuExt ? PtuHeaderExt : PtuHeader);
    if (q5_.hasGpsVel)
        out_.text(GpsHeaderVel);
    else
        out_.text(section == ExportSection::Surface ? GpsHeaderSurface : GpsHeaderFlight);
    if (allData)
        out_.text(WindHeader);
    for (std::uint32_t k = 1; k <= q5_.o3Count; ++k) {
        const auto i = static_cast<long long>(k);
        out_.text(", O3_").integer(i, 0).text("(nb), Ic_").integer(i, 0).text("(uA), Tp_").integer(i, 0);
        out_.text("(C), Ip_").integer(i, 0).text("(mA), Bat_").integer(i, 0).text("(V)");
    }
    out_.endLine();
}

// u and v of the wind vector: the direction is where the wind comes from, so
// the vector points the opposite way.
void ExportRows::windComponents(const WindRecord& wind)
{
    const double a = std::fmod(wind.wd + 180.0, 360.0) * std::numbers::pi / 180.0;
    out_.fixed(wind.ws * std::sin(a), 8, 1).text(",").fixed(wind.ws * std::cos(a), 8, 1);
}

void ExportRows::hourMinuteSecond(const char* what, const RawRecord* record)
{
    if (!record) {
        out_.text(what).line(" not detected");
        return;
    }
    const DateParts d = decodeDateTime(record->time);
    out_.text(what).text(" detected by ").text(q5_.lDetGps ? "GPS" : "PTU").text(" at ");
    out_.zeroPadded(d.hour, 2).text(":").zeroPadded(d.minute, 2).text(":").zeroPadded(d.second, 2).text(".");
    out_.zeroPadded(d.msec, 3).endLine();
}

void ExportRows::launchBurstAndTotals()
{
    out_.endLine();
    hourMinuteSecond("Launch", q5_.launchRec);
    hourMinuteSecond("Burst", q5_.launchRec ? q5_.burstRec : nullptr);

    const char* method = q5_.resTable ? "TABLE" : "CMR";
    for (int i = 0; i < MaxSondes; ++i) {
        const O3SondeCfg& sonde = q5_.o3Sonde[i];
        if (fieldText(sonde.sn).empty())
            continue;
        out_.endLine();
        out_.text("Ozonesonde #").integer(i + 1, 0).text(" (").text(fieldText(sonde.sn)).line(") total ozone:");
        out_.text("  Measured = ").known(q5_.o3Measured[i], 1, 1).endLine();
        out_.text("  Residual = ").known(q5_.o3Residual[i], 1, 1).text("  (").text(method).line(")");
        out_.text("  Total = ").known(q5_.o3Total(i), 1, 1).endLine();
        if (q5_.o3Residual[i] == Missing)
            for (const FlightWarning& w : q5_.warnings)
                if (w.code == "residual-unknown")
                    out_.text("Warning: ").line(w.message);
    }
}

} // namespace lumo
