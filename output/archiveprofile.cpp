#include "archiveprofile.h"

#include <algorithm>

#include "flight/datetime.h"
#include "flight/q5.h"
#include "processing/standardmethod.h"
#include "processing/uncertainty.h"

namespace lumo {

namespace {

// Earth radius of the geopotential conversion (WMO), m.
constexpr double EarthRadius = 6356766.0;
constexpr double StandardLevels[] = {1000, 700, 500, 300, 200, 150, 100, 70, 50, 30, 20, 10, 7, 5, 3, 2, 1};

// Samples of a quantity in time, for linear interpolation between the two
// around a level; outside their span the value is unknown.
struct TimeSeries {
    std::vector<double> time;
    std::vector<double> a, b;

    void add(double t, double va, double vb)
    {
        if (!time.empty() && !(t > time.back()))
            return; // a repeated or earlier time: the first one counts
        time.push_back(t);
        a.push_back(va);
        b.push_back(vb);
    }

    // Index i with time[i] <= t <= time[i+1] and the weight of i+1; false
    // outside the span.
    bool locate(double t, std::size_t& i, double& w) const
    {
        if (time.empty() || t < time.front() || t > time.back())
            return false;
        const auto it = std::upper_bound(time.begin(), time.end(), t);
        i = static_cast<std::size_t>(it - time.begin()) - 1;
        if (i + 1 >= time.size()) {
            w = 0;
            return true;
        }
        w = (t - time[i]) / (time[i + 1] - time[i]);
        return true;
    }
};

double lerp(double x, double y, double w) { return x + (y - x) * w; }

// Angles along the shorter arc, so 350 and 10 degrees meet at 0.
double lerpAngle(double x, double y, double w, double full)
{
    double d = std::fmod(y - x, full);
    if (d > full / 2)
        d -= full;
    else if (d < -full / 2)
        d += full;
    double v = x + d * w;
    if (full == 360.0) {
        v = std::fmod(v, 360.0);
        if (v < 0)
            v += 360.0;
    } else if (v > 180.0) {
        v -= 360.0;
    } else if (v < -180.0) {
        v += 360.0;
    }
    return v;
}

struct Context {
    const Q5& q;
    TimeSeries gps;  // latitude, longitude
    TimeSeries wind; // speed, direction
};

ArchiveLevel makeLevel(const Context& c, const RawRecord& r, double pressure, double launchTime)
{
    const Q5& q = c.q;
    const O3Data& o = r.data.o3;
    ArchiveLevel l;
    // Time stamps carry milliseconds; the rest is rounding of the day count.
    l.duration = std::round((r.time - launchTime) * SecondsPerDay * 1000) / 1000;
    l.pressure = pressure;
    if (o.o3pp != Missing && std::isfinite(o.o3pp)) {
        l.o3pp = o.o3pp / 10; // nb to mPa
        l.o3Mix = o.o3pp / pressure; // nb / hPa = ppmv
        const double unc = o3ppUncertainty(q, r);
        if (unc != Missing && std::isfinite(unc))
            l.o3ppUnc = unc / 10;
    }
    if (q.o3MethodResult[r.o3Slot()].method == O3Method::Standard) {
        const double classic = classicO3pp(q, r);
        if (classic != Missing && std::isfinite(classic))
            l.o3ppClassic = classic / 10; // nb to mPa
    }
    l.temperature = o.t;
    l.humidity = o.u;
    if (q.rsGpsInst)
        l.gpsAlt = o.gpsAlt;
    const bool gpsAltKnown = q.rsGpsInst && o.gpsAlt != Missing && std::isfinite(o.gpsAlt);
    l.gph = q.rsPrInst ? o.hgt : (gpsAltKnown ? geopotentialHeight(o.gpsAlt) : Unknown);
    std::size_t i = 0;
    double w = 0;
    if (c.gps.locate(r.time, i, w)) {
        const std::size_t j = w > 0 ? i + 1 : i;
        l.lat = lerp(c.gps.a[i], c.gps.a[j], w);
        l.lon = lerpAngle(c.gps.b[i], c.gps.b[j], w, 360.0);
        if (l.lon > 180.0)
            l.lon -= 360.0;
    }
    if (c.wind.locate(r.time, i, w)) {
        const std::size_t j = w > 0 ? i + 1 : i;
        l.windSpeed = lerp(c.wind.a[i], c.wind.a[j], w);
        l.windDir = lerpAngle(c.wind.b[i], c.wind.b[j], w, 360.0);
    }
    l.pumpTemp = o.tp;
    l.cellCurrent = o.ic;
    // A running pump draws current and needs voltage: a reading of 0 is a
    // missing one, not a value.
    l.pumpCurrent = o.ip == 0 ? Unknown : o.ip;
    l.battery = o.o3Bat == 0 ? Unknown : o.o3Bat;
    // Unknown stays unknown: the marker never reaches a file as a number.
    for (double* v : {&l.temperature, &l.humidity, &l.gph, &l.gpsAlt, &l.pumpTemp, &l.cellCurrent, &l.pumpCurrent,
                      &l.battery})
        if (*v == Missing)
            *v = Unknown;
    return l;
}

// The level nearest in pressure to each standard level the ascent crosses
// is the standard level; pressures are measured, so equality would almost
// never hold.
void markStandardLevels(ArchiveSonde& s)
{
    if (s.ascent.empty())
        return;
    double lowest = s.ascent.front().pressure, highest = lowest;
    for (const ArchiveLevel& l : s.ascent) {
        lowest = std::min(lowest, l.pressure);
        highest = std::max(highest, l.pressure);
    }
    for (double standard : StandardLevels) {
        if (standard > highest || standard < lowest)
            continue;
        std::size_t best = 0;
        for (std::size_t i = 1; i < s.ascent.size(); ++i)
            if (std::fabs(s.ascent[i].pressure - standard) < std::fabs(s.ascent[best].pressure - standard))
                best = i;
        s.ascent[best].levelCode |= 1;
    }
}

// What the run subtracted: ib * factor(p), with ib the surface-referred
// background and the factor from the background table (1 without one).
Background appliedBackground(const Q5& q, int h)
{
    const int rows = std::min<int>(q.bkgCount, MaxTableRows);
    if (!(q.bkgRef[h] != 0) || q.bkgRef[h] == Missing)
        return Background::None;
    if (rows == 0)
        return Background::Constant;
    bool allZero = true, flat = true;
    for (int r = 0; r < rows; ++r) {
        allZero = allZero && q.bkgVal[r] == 0;
        flat = flat && q.bkgVal[r] == q.bkgVal[0];
    }
    return allZero ? Background::None : flat ? Background::Constant : Background::PressureDependent;
}

// A sounding that ends while still ascending has no burst, even though the
// processing takes its highest point as the end of the ascent.
bool burstSeen(const Q5& q)
{
    if (!q.burstRec)
        return false;
    return std::none_of(q.warnings.begin(), q.warnings.end(),
                        [](const FlightWarning& w) { return w.code == "ends-ascending"; });
}

// The ascent level nearest to the tropopause pressure is significant.
void markTropopause(ArchiveSonde& s)
{
    if (!known(s.tropopausePressure) || s.ascent.empty())
        return;
    std::size_t best = 0;
    for (std::size_t i = 1; i < s.ascent.size(); ++i)
        if (std::fabs(s.ascent[i].pressure - s.tropopausePressure)
            < std::fabs(s.ascent[best].pressure - s.tropopausePressure))
            best = i;
    s.ascent[best].levelCode |= 2;
}


double orUnknown(double v, bool ok) { return ok && std::isfinite(v) && v != Missing ? v : Unknown; }

} // namespace

double geopotentialHeight(double z) { return EarthRadius * z / (EarthRadius + z); }

// ECC serial numbers begin with the model: a digit and A (Science Pump)
// or Z (EN-SCI), as 6A28340 or 2Z12345.
std::string sondeModel(const O3SondeCfg& cfg)
{
    if (!cfg.model.empty())
        return cfg.model;
    const char* sn = cfg.sn;
    if (sn[0] >= '0' && sn[0] <= '9' && (sn[1] == 'A' || sn[1] == 'Z'))
        return std::string(sn, 2);
    return {};
}

ArchiveProfile buildArchiveProfile(const Q5& q)
{
    ArchiveProfile profile;
    if (!q.launchRec) {
        profile.error = "No launch detected: the archive files need the time after launch.";
        return profile;
    }
    Context c{q, {}, {}};
    const bool withBurst = burstSeen(q);
    if (q.rsGpsInst) {
        for (const RawRecord& r : q.fltRecs)
            if (r.isGps())
                c.gps.add(r.time, r.data.gps.lat, r.data.gps.lon);
        for (const WindRecord& w : q.windRecs)
            c.wind.add(w.time, w.ws, w.wd);
    }
    int index[MaxSondes];
    for (int h = 0; h < MaxSondes; ++h) {
        index[h] = -1;
        if (!q.o3Sonde[h].sn[0])
            continue;
        index[h] = static_cast<int>(profile.sondes.size());
        ArchiveSonde s;
        s.slot = h;
        s.sn = q.o3Sonde[h].sn;
        s.model = sondeModel(q.o3Sonde[h]);
        s.standardMethod = q.o3MethodResult[h].method == O3Method::Standard;
        s.launchTime = q.launchRec->time;
        s.measured = orUnknown(q.o3Measured[h], true);
        s.residual = orUnknown(q.o3Residual[h], q.burstRec != nullptr);
        s.total = orUnknown(s.measured + s.residual, true);
        s.measuredUnc = orUnknown(q.o3MeasuredUnc[h], true);
        s.residualUnc = orUnknown(q.o3ResidualUnc[h], true);
        s.totalUnc = orUnknown(q.o3TotalUnc[h], true);
        s.correctionFactor = orUnknown(q.o3CorrFactor[h], true);
        // An unconfirmed candidate (the sounding ends within 2 km above it)
        // is no tropopause by the WMO definition.
        s.tropopausePressure = orUnknown(q.tropopause.p, q.tropopause.found() && q.tropopause.confirmed);
        s.residualByTable = q.resTable != 0;
        s.flowRate = orUnknown(q.o3Sonde[h].flow, q.o3Sonde[h].flow > 0);
        s.background = orUnknown(q.bkgRef[h], true);
        s.backgroundApplied = appliedBackground(q, h);
        if (withBurst) {
            const double pb = q.lDetGps ? q.burstRec->data.gps.gpsP : q.burstRec->data.ptu.p - q.sfcCorrP;
            s.burstPressure = orUnknown(pb, pb > 0);
        }
        profile.sondes.push_back(std::move(s));
    }
    const double launch = q.launchRec->time;
    const double burst = withBurst ? q.burstRec->time : Unknown;
    for (const RawRecord& r : q.fltRecs) {
        const int h = r.isOzone() ? r.o3Slot() : -1;
        if (h < 0 || index[h] < 0)
            continue;
        const double p = q.rsPrInst ? r.data.o3.p : r.data.o3.gpsP;
        if (!(p > 0) || !std::isfinite(p))
            continue;
        ArchiveSonde& s = profile.sondes[static_cast<std::size_t>(index[h])];
        std::vector<ArchiveLevel>& part =
            r.time < launch ? s.prelaunch : (!withBurst || r.time < burst ? s.ascent : s.descent);
        part.push_back(makeLevel(c, r, p, launch));
    }
    for (ArchiveSonde& s : profile.sondes) {
        markStandardLevels(s);
        if (!s.ascent.empty())
            s.ascent.front().levelCode |= 2; // the surface
        markTropopause(s);
        if (withBurst && !s.ascent.empty())
            s.burstO3pp = s.ascent.back().o3pp; // the last level before the burst
    }
    return profile;
}

} // namespace lumo
