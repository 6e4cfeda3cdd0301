#include "profiledata.h"

#include "processing/uncertainty.h"

#include <algorithm>
#include <cmath>

namespace lumo {

namespace {

constexpr double Km = 0.001;

bool known(double v)
{
    return std::isfinite(v) && v != Missing;
}

bool knownPressure(double p)
{
    return std::isfinite(p) && p > 0;
}

// Height marks every 2 km up to 12 km of ascent, every 5 km above.
double heightStep(double topKm)
{
    return topKm > 12 ? 5 : 2;
}

struct Collector {
    const RawRecord* burst = nullptr;
    bool descent = false;
    std::vector<ProfilePoint> ascentHeights; // (p, km) of the height source

    void add(ProfileSeries& series, double p, double value) const
    {
        if (knownPressure(p) && known(value))
            (descent ? series.descent : series.ascent).push_back({p, value});
    }

    void addHeight(double p, double metres)
    {
        if (!descent && knownPressure(p) && known(metres))
            ascentHeights.push_back({p, metres * Km});
    }
};

} // namespace

std::vector<HeightMark> heightMarks(const std::vector<ProfilePoint>& ascentHeightsKm, double stepKm)
{
    std::vector<HeightMark> marks;
    if (ascentHeightsKm.empty() || !(stepKm > 0))
        return marks;
    const ProfilePoint& first = ascentHeightsKm.front();
    double next = std::ceil(first.value / stepKm) * stepKm;
    if (first.value == next) {
        marks.push_back({first.p, next});
        next += stepKm;
    }
    for (std::size_t i = 1; i < ascentHeightsKm.size(); ++i) {
        const ProfilePoint& a = ascentHeightsKm[i - 1];
        const ProfilePoint& b = ascentHeightsKm[i];
        // Each whole height once, where the climb first passes it.
        while (b.value >= next && a.value < next) {
            const double f = (next - a.value) / (b.value - a.value);
            marks.push_back({std::exp(std::log(a.p) + f * (std::log(b.p) - std::log(a.p))), next});
            next += stepKm;
        }
    }
    return marks;
}

ProfileData collectProfile(const Q5& q)
{
    ProfileData out;
    Collector c;
    c.burst = q.burstRec;
    const bool gps = q.rsGpsInst != 0;
    const bool pr = q.rsPrInst != 0;
    for (const RawRecord& r : q.fltRecs) {
        if (!c.descent && c.burst && r.time > c.burst->time)
            c.descent = true;
        if (r.isPtu() && pr) {
            const PtuData& d = r.data.ptu;
            const double p = d.p - q.sfcCorrP;
            c.add(out.temperature, p, d.t - q.sfcCorrT);
            c.addHeight(p, gps ? d.gpsAlt : d.hgt);
        } else if (r.isGps() && !pr && gps) {
            // Without a pressure sensor the pressures come from the GPS heights.
            const GpsData& g = r.data.gps;
            c.add(out.temperature, g.gpsP, g.ptuT);
            c.addHeight(g.gpsP, g.alt);
        } else if (r.isOzone() && r.o3Slot() >= 0) {
            const O3Data& o = r.data.o3;
            const double p = pr ? o.p : o.gpsP;
            const auto n = static_cast<std::size_t>(r.o3Slot());
            if (q.o3MethodResult[n].method == O3Method::Standard && known(o.o3ppClassic))
                c.add(out.ozoneClassic[n], p, o.o3ppClassic * MilliPascalPerNanobar);
            if (!known(o.o3pp))
                continue;
            c.add(out.ozone[n], p, o.o3pp * MilliPascalPerNanobar);
            const double dp = o3ppUncertainty(q, r);
            if (dp != Missing) {
                c.add(out.ozoneLow[n], p, (o.o3pp - dp) * MilliPascalPerNanobar);
                c.add(out.ozoneHigh[n], p, (o.o3pp + dp) * MilliPascalPerNanobar);
            }
            if (knownPressure(p))
                c.add(out.mixingRatio[n], p, mixingRatioPpmv(o.o3pp, p));
        }
    }
    double top = 0;
    for (const ProfilePoint& h : c.ascentHeights)
        top = std::max(top, h.value);
    out.heights = heightMarks(c.ascentHeights, heightStep(top));
    for (const Tropopause* t : {&q.tropopause, &q.tropopause2})
        if (t->found())
            out.tropopauses.push_back(t->p);
    return out;
}

} // namespace lumo
